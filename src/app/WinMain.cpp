// The program entry of vuedeck.exe: the real seams, then the program, then the message loop.
#include <windows.h>

#include "core/Program.h"
#include "forms/win32/Win32Backend.h"
#include "platform/win32/Win32WindowSystem.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // Positions are in real screen pixels also on displays scaled above 96 dots per inch.
  SetProcessDPIAware();
  try {
    vd::win32::Win32WindowSystem ws;
    forms::win32::Win32Backend backend;
    vd::Program program(ws, backend);
    if (!program.Start()) return 0;  // another copy runs: end silently
    return backend.Run();
  } catch (...) {
    return 1;
  }
}
