#include "Process.h"

#include <cstdio>
#include <cstdlib>

namespace vde2e {
namespace {

void CloseIfOpen(HANDLE& handle) {
  if (handle) CloseHandle(handle);
  handle = nullptr;
}

// A job that ends every process in it once its last handle closes, i.e. when we end.
HANDLE TestJob() {
  static HANDLE job = [] {
    HANDLE j = CreateJobObjectA(nullptr, nullptr);
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (j) SetInformationJobObject(j, JobObjectExtendedLimitInformation, &limits, sizeof limits);
    return j;
  }();
  return job;
}

std::string Size(const RECT& r) {
  return std::to_string(r.left) + " " + std::to_string(r.top) + " " +
         std::to_string(r.right - r.left) + " " + std::to_string(r.bottom - r.top);
}

}  // namespace

bool ChildProcess::Start(const std::string& exe, const std::string& folder, bool pipes) {
  Kill();
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  HANDLE childIn = nullptr, childOut = nullptr;
  if (pipes) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    CreatePipe(&childIn, &input_, &inherit, 0);
    CreatePipe(&output_, &childOut, &inherit, 0);
    // Only the child's ends are inherited: it sees the end of its input when we close ours.
    SetHandleInformation(input_, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(output_, HANDLE_FLAG_INHERIT, 0);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = childIn;
    startup.hStdOutput = startup.hStdError = childOut;
  }
  std::string commandLine = "\"" + exe + "\"";
  const BOOL ok = CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, pipes,
                                 CREATE_NO_WINDOW, nullptr, folder.c_str(), &startup, &info_);
  CloseIfOpen(childIn);
  CloseIfOpen(childOut);
  if (!ok) {
    Kill();
    return false;
  }
  if (HANDLE job = TestJob()) AssignProcessToJobObject(job, info_.hProcess);
  CloseIfOpen(info_.hThread);
  return true;
}

void ChildProcess::Kill() {
  if (info_.hProcess && WaitForSingleObject(info_.hProcess, 0) != WAIT_OBJECT_0) {
    TerminateProcess(info_.hProcess, 1);
    WaitForSingleObject(info_.hProcess, 5000);
  }
  CloseIfOpen(info_.hProcess);
  info_ = PROCESS_INFORMATION{};
  CloseIfOpen(input_);
  CloseIfOpen(output_);
}

bool ChildProcess::WriteLine(const std::string& line) {
  const std::string text = line + "\n";
  DWORD written = 0;
  return input_ && WriteFile(input_, text.data(), text.size(), &written, nullptr) &&
         written == text.size();
}

std::optional<std::string> ChildProcess::ReadLine() {
  // winmaker answers every command in bounded time, and a helper that died breaks the pipe.
  std::string line;
  char c = 0;
  DWORD got = 0;
  while (output_ && ReadFile(output_, &c, 1, &got, nullptr) && got == 1) {
    if (c == '\n') return line;
    if (c != '\r') line += c;
  }
  return std::nullopt;
}

void WinMaker::Stop() {
  if (process_.WriteLine("quit")) process_.ReadLine();
  process_.Kill();
}

HWND WinMaker::Do(const std::string& verb, const std::string& caption, const std::string& rest) {
  if (!process_.WriteLine(verb + " \"" + caption + "\"" + (rest.empty() ? "" : " " + rest))) {
    return nullptr;
  }
  const std::optional<std::string> answer = process_.ReadLine();
  if (!answer || answer->rfind("ok ", 0) != 0) return nullptr;
  return reinterpret_cast<HWND>(static_cast<intptr_t>(std::strtoll(answer->c_str() + 3, 0, 10)));
}

HWND WinMaker::Open(const std::string& caption, const RECT& r, uint32_t color,
                    const std::string& options) {
  char hex[16];
  std::snprintf(hex, sizeof hex, "0x%06X", static_cast<unsigned>(color));
  return Do("open", caption, Size(r) + " color " + hex + (options.empty() ? "" : " " + options));
}

bool WinMaker::Move(const std::string& caption, const RECT& r) {
  return Do("move", caption, Size(r)) != nullptr;
}

}  // namespace vde2e
