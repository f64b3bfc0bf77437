// A process started by the benchmark. It is ended (TerminateProcess) when the object goes,
// whatever happened in the run, so no run leaves a program behind it.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace vdbench {

class ChildProcess {
 public:
  ChildProcess() = default;
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // Starts `exe` (quoted on the command line) followed by `arguments`, in `folder`. With
  // `pipes`, its standard input and output are pipes to this object (WriteLine, ReadLine).
  bool Start(const std::string& exe, const std::string& arguments, const std::string& folder,
             bool pipes);

  DWORD Pid() const { return info_.dwProcessId; }
  HANDLE Handle() const { return info_.hProcess; }
  bool Started() const { return info_.hProcess != nullptr; }
  bool Running() const;
  // Waits for the process to end; true when it has ended within `timeoutMs`.
  bool WaitExit(DWORD timeoutMs) const;
  std::optional<DWORD> ExitCode() const;
  // Ends the process if it still runs and releases every handle.
  void Kill();

  bool WriteLine(const std::string& line);
  // The next line of the process's output (without the line end); nothing when no whole line
  // came within `timeoutMs` or the output ended.
  std::optional<std::string> ReadLine(DWORD timeoutMs);
  // Closes the process's standard input: it reads the end of its input.
  void CloseInput();

 private:
  PROCESS_INFORMATION info_{};
  HANDLE input_ = nullptr;   // our end of its standard input
  HANDLE output_ = nullptr;  // our end of its standard output
  std::string pending_;
};

}  // namespace vdbench
