#include "ChildProcess.h"

namespace vdbench {
namespace {

void CloseIfOpen(HANDLE& handle) {
  if (handle) CloseHandle(handle);
  handle = nullptr;
}

// A job that ends every process assigned to it once its last handle closes: should the driver
// program itself die, the programs it started die with it.
HANDLE TestJob() {
  static HANDLE job = [] {
    HANDLE j = CreateJobObjectA(nullptr, nullptr);
    if (j) {
      JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
      limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
      SetInformationJobObject(j, JobObjectExtendedLimitInformation, &limits, sizeof limits);
    }
    return j;
  }();
  return job;
}

}  // namespace

ChildProcess::~ChildProcess() { Kill(); }

bool ChildProcess::Start(const std::string& exe, const std::string& arguments,
                         const std::string& folder, bool pipes) {
  Kill();
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  HANDLE childInput = nullptr, childOutput = nullptr;
  if (pipes) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    if (!CreatePipe(&childInput, &input_, &inherit, 0)) return false;
    if (!CreatePipe(&output_, &childOutput, &inherit, 0)) {
      CloseIfOpen(childInput);
      CloseIfOpen(input_);
      return false;
    }
    // Only the child's ends are inherited; ours stay here, so the child sees the end of its
    // input when we close it.
    SetHandleInformation(input_, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(output_, HANDLE_FLAG_INHERIT, 0);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = childInput;
    startup.hStdOutput = childOutput;
    startup.hStdError = childOutput;
  }
  std::string commandLine = "\"" + exe + "\"";
  if (!arguments.empty()) commandLine += " " + arguments;
  BOOL ok = CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, pipes ? TRUE : FALSE,
                           CREATE_NO_WINDOW, nullptr, folder.empty() ? nullptr : folder.c_str(),
                           &startup, &info_);
  CloseIfOpen(childInput);
  CloseIfOpen(childOutput);
  if (!ok) {
    info_ = PROCESS_INFORMATION{};
    CloseIfOpen(input_);
    CloseIfOpen(output_);
    return false;
  }
  if (HANDLE job = TestJob()) AssignProcessToJobObject(job, info_.hProcess);
  CloseIfOpen(info_.hThread);
  return true;
}

bool ChildProcess::Running() const { return Started() && !WaitExit(0); }

bool ChildProcess::WaitExit(DWORD timeoutMs) const {
  return Started() && WaitForSingleObject(info_.hProcess, timeoutMs) == WAIT_OBJECT_0;
}

std::optional<DWORD> ChildProcess::ExitCode() const {
  DWORD code = 0;
  if (!WaitExit(0) || !GetExitCodeProcess(info_.hProcess, &code)) return std::nullopt;
  return code;
}

void ChildProcess::Kill() {
  if (info_.hProcess) {
    if (WaitForSingleObject(info_.hProcess, 0) != WAIT_OBJECT_0) {
      TerminateProcess(info_.hProcess, 1);
      WaitForSingleObject(info_.hProcess, 5000);
    }
    CloseIfOpen(info_.hProcess);
  }
  info_ = PROCESS_INFORMATION{};
  CloseIfOpen(input_);
  CloseIfOpen(output_);
  pending_.clear();
}

bool ChildProcess::WriteLine(const std::string& line) {
  if (!input_) return false;
  std::string text = line + "\n";
  DWORD written = 0;
  return WriteFile(input_, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
         written == text.size();
}

std::optional<std::string> ChildProcess::ReadLine(DWORD timeoutMs) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  for (;;) {
    size_t newline = pending_.find('\n');
    if (newline != std::string::npos) {
      std::string line = pending_.substr(0, newline);
      pending_.erase(0, newline + 1);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      return line;
    }
    if (!output_) return std::nullopt;
    // Anonymous pipes have no overlapped reads: look before reading, so a silent child can
    // never block the driver beyond its deadline.
    DWORD available = 0;
    if (!PeekNamedPipe(output_, nullptr, 0, nullptr, &available, nullptr)) return std::nullopt;
    if (available > 0) {
      char buffer[4096];
      DWORD got = 0;
      DWORD want = available < sizeof buffer ? available : sizeof buffer;
      if (!ReadFile(output_, buffer, want, &got, nullptr) || got == 0) return std::nullopt;
      pending_.append(buffer, got);
      continue;
    }
    if (GetTickCount64() >= deadline) return std::nullopt;
    Sleep(5);
  }
}

void ChildProcess::CloseInput() { CloseIfOpen(input_); }

}  // namespace vdbench
