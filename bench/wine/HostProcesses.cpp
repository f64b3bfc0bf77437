#include "HostProcesses.h"

#include <algorithm>

namespace vdbench {
namespace {

// Wine maps the host's / to drive Z:.
std::string WindowsPathOf(const std::string& hostPath) {
  std::string path = "Z:" + hostPath;
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

std::string Lower(std::string s) {
  for (char& c : s) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return s;
}

bool AllDigits(const char* s) {
  if (!*s) return false;
  for (; *s; ++s) {
    if (*s < '0' || *s > '9') return false;
  }
  return true;
}

std::vector<std::string> Subfolders(const std::string& hostPath) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA entry;
  HANDLE find = FindFirstFileA((WindowsPathOf(hostPath) + "\\*").c_str(), &entry);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    if (AllDigits(entry.cFileName)) names.push_back(entry.cFileName);
  } while (FindNextFileA(find, &entry));
  FindClose(find);
  return names;
}

using NtProcessCall = LONG(NTAPI*)(HANDLE);

NtProcessCall NtFunction(const char* name) {
  HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  return ntdll
             ? reinterpret_cast<NtProcessCall>(reinterpret_cast<void*>(GetProcAddress(ntdll, name)))
             : nullptr;
}

}  // namespace

std::optional<std::string> ReadHostFile(const std::string& hostPath) {
  HANDLE file = CreateFileA(WindowsPathOf(hostPath).c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  // Files under /proc report a size of 0: read until the end.
  std::string content;
  char buffer[8192];
  DWORD got = 0;
  bool ok = true;
  while ((ok = ReadFile(file, buffer, sizeof buffer, &got, nullptr) != FALSE) && got > 0) {
    content.append(buffer, got);
    if (content.size() > (4u << 20)) break;
  }
  CloseHandle(file);
  if (!ok && content.empty()) return std::nullopt;
  return content;
}

std::vector<UnixProcessInfo> ListUnixProcesses(const std::vector<std::string>& names) {
  std::vector<std::string> wanted;
  for (const std::string& n : names) wanted.push_back(Lower(n.substr(0, 15)));
  std::vector<UnixProcessInfo> found;
  for (const std::string& pid : Subfolders("/proc")) {
    auto comm = ReadHostFile("/proc/" + pid + "/comm");
    if (!comm) continue;
    while (!comm->empty() && (comm->back() == '\n' || comm->back() == '\r')) comm->pop_back();
    const std::string lower = Lower(*comm);
    if (lower.rfind("wineserver", 0) != 0 &&
        std::find(wanted.begin(), wanted.end(), lower) == wanted.end()) {
      continue;
    }
    UnixProcessInfo info;
    info.pid = std::atoi(pid.c_str());
    info.comm = *comm;
    if (auto cmdline = ReadHostFile("/proc/" + pid + "/cmdline")) {
      for (const std::string& arg : SplitNul(*cmdline)) {
        if (!info.cmdline.empty()) info.cmdline += ' ';
        info.cmdline += arg;
      }
    }
    if (auto environment = ReadHostFile("/proc/" + pid + "/environ")) {
      info.environment = SplitNul(*environment);
    }
    found.push_back(std::move(info));
  }
  return found;
}

std::optional<uint64_t> ProcessCpuNs(int pid) {
  const std::string base = "/proc/" + std::to_string(pid);
  uint64_t total = 0;
  bool any = false;
  for (const std::string& tid : Subfolders(base + "/task")) {
    auto text = ReadHostFile(base + "/task/" + tid + "/schedstat");
    if (!text) continue;
    auto ns = ParseSchedstatRunNs(*text);
    if (!ns) {
      any = false;
      break;
    }
    total += *ns;
    any = true;
  }
  if (any) return total;
  auto stat = ReadHostFile(base + "/stat");
  if (!stat) return std::nullopt;
  auto parsed = ParseProcStat(*stat);
  if (!parsed) return std::nullopt;
  return (parsed->utimeTicks + parsed->stimeTicks) * 10'000'000ull;  // USER_HZ is 100
}

std::optional<ResidentMemory> ProcessMemory(int pid) {
  auto status = ReadHostFile("/proc/" + std::to_string(pid) + "/status");
  if (!status) return std::nullopt;
  auto rss = StatusKib(*status, "VmRSS");
  if (!rss) return std::nullopt;
  ResidentMemory m;
  m.rssKib = *rss;
  m.anonKib = StatusKib(*status, "RssAnon").value_or(0);
  return m;
}

bool SuspendProcess(HANDLE process) {
  static const NtProcessCall suspend = NtFunction("NtSuspendProcess");
  return suspend && suspend(process) >= 0;
}

bool ResumeProcess(HANDLE process) {
  static const NtProcessCall resume = NtFunction("NtResumeProcess");
  return resume && resume(process) >= 0;
}

}  // namespace vdbench
