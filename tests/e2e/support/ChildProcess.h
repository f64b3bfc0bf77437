// A program the tests start (vuedeck.exe, winmaker.exe), talked to over pipes when asked.
#pragma once

#include <windows.h>

#include <string>

namespace vde2e {

class ChildProcess {  // started by its constructor, ended with its object
 public:
  // With `pipes`, its standard input and output are pipes to us.
  ChildProcess(const std::string& exe, const std::string& folder, bool pipes = false) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    HANDLE childIn = nullptr, childOut = nullptr;
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    if (pipes && CreatePipe(&childIn, &input_, &inherit, 0) &&
        CreatePipe(&output_, &childOut, &inherit, 0)) {
      // Only the child's ends are inherited: it sees the end of its input when we close ours.
      SetHandleInformation(input_, HANDLE_FLAG_INHERIT, 0);
      SetHandleInformation(output_, HANDLE_FLAG_INHERIT, 0);
      startup.dwFlags = STARTF_USESTDHANDLES;
      startup.hStdInput = childIn;
      startup.hStdOutput = startup.hStdError = childOut;
    }
    std::string commandLine = "\"" + exe + "\"";
    CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, pipes, CREATE_NO_WINDOW,
                   nullptr, folder.c_str(), &startup, &info_);
    for (HANDLE h : {childIn, childOut, info_.hThread}) CloseHandle(h);  // null ones fail
  }
  ~ChildProcess() {
    Kill();
    for (HANDLE h : {info_.hProcess, input_, output_}) CloseHandle(h);
  }
  DWORD Pid() const { return info_.dwProcessId; }
  bool WaitExit(DWORD ms) const { return WaitForSingleObject(info_.hProcess, ms) == WAIT_OBJECT_0; }
  bool Running() const { return info_.hProcess && !WaitExit(0); }
  void Kill() {  // as the task manager ends a program
    if (Running() && TerminateProcess(info_.hProcess, 1)) WaitExit(5000);
  }
  // A line to its input; the line it answers, read a byte at a time (or none if it died).
  std::string Ask(const std::string& line) {
    const std::string text = line + "\n";
    std::string answer;
    DWORD done = 0;
    char c = 0;
    if (!input_ || !WriteFile(input_, text.data(), text.size(), &done, nullptr)) return answer;
    while (ReadFile(output_, &c, 1, &done, nullptr) && done == 1 && c != '\n') answer += c;
    return answer;
  }

 private:
  PROCESS_INFORMATION info_{};
  HANDLE input_ = nullptr, output_ = nullptr;
};

}  // namespace vde2e
