// The processes a test starts: each is ended when its object goes (and, through a job object,
// when the test program itself dies), so no test leaves a program running behind it. WinMaker
// drives winmaker.exe, the helper that makes real top-level windows, one command a line.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

namespace vde2e {

class ChildProcess {
 public:
  ChildProcess() = default;
  ~ChildProcess() { Kill(); }
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // Starts `exe` in `folder`; with `pipes`, its standard input and output are pipes to us.
  bool Start(const std::string& exe, const std::string& folder, bool pipes = false);
  DWORD Pid() const { return info_.dwProcessId; }
  bool Started() const { return info_.hProcess != nullptr; }
  bool Running() const { return Started() && !WaitExit(0); }
  bool WaitExit(DWORD ms) const {
    return Started() && WaitForSingleObject(info_.hProcess, ms) == WAIT_OBJECT_0;
  }
  void Kill();  // TerminateProcess, as the task manager ends a program
  bool WriteLine(const std::string& line);
  // The next line of its output, waited for; nothing once the output has ended.
  std::optional<std::string> ReadLine();

 private:
  PROCESS_INFORMATION info_{};
  HANDLE input_ = nullptr, output_ = nullptr;  // our ends of its pipes
};

class WinMaker {
 public:
  bool Start(const std::string& exe, const std::string& folder) {
    return process_.Start(exe, folder, true);
  }
  void Stop();
  bool Running() const { return process_.Running(); }
  // "VERB "CAPTION" REST"; the handle its "ok" answer names, null on an error or no answer.
  HWND Do(const std::string& verb, const std::string& caption, const std::string& rest = "");
  HWND Open(const std::string& caption, const RECT& r, uint32_t color,
            const std::string& options = "");
  bool Move(const std::string& caption, const RECT& r);

 private:
  ChildProcess process_;
};

}  // namespace vde2e
