// The program entry of vuedeck.exe: the real seams, then the program, then the message loop.
// An unexpected fault brings every hidden window back before the process ends.
#include <windows.h>

#include <exception>

#include "core/Program.h"
#include "forms/win32/Win32Backend.h"
#include "platform/win32/Win32WindowSystem.h"

namespace {

vd::Program* runningProgram = nullptr;

LONG WINAPI OnUnexpectedFault(EXCEPTION_POINTERS*) noexcept {
  if (runningProgram) runningProgram->BringEveryWindowBack();
  return EXCEPTION_CONTINUE_SEARCH;
}

void OnTerminate() noexcept {
  if (runningProgram) runningProgram->BringEveryWindowBack();
  ::ExitProcess(3);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // The program is DPI aware, per monitor, by its manifest (vuedeck.manifest): positions are in
  // real screen pixels also on displays scaled above 96 dots per inch, from the first window on.
  SetUnhandledExceptionFilter(OnUnexpectedFault);
  std::set_terminate(OnTerminate);
  vd::win32::Win32WindowSystem ws;
  forms::win32::Win32Backend backend;
  vd::Program program(ws, backend);
  runningProgram = &program;
  int result = 1;
  try {
    if (!program.Start()) return 0;  // another copy runs: end silently
    result = backend.Run();
  } catch (...) {
    program.BringEveryWindowBack();
  }
  runningProgram = nullptr;
  return result;
}
