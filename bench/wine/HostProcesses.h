// The Linux side of Wine processes, read by a Windows program through Wine's drive Z: (the
// host's /): which Linux process runs a given Windows program or the Wine server, and how much
// processor time and memory it has used. Wine answers these questions for other processes only
// roughly, so the benchmarks read the kernel's own figures.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "Measure.h"

namespace vdbench {

// The whole content of a host file ("/proc/12/stat"); nothing when it cannot be read.
std::optional<std::string> ReadHostFile(const std::string& hostPath);

// Every Linux process whose command name is one of `names` (compared as the kernel keeps them,
// 15 characters, without case) or starts with "wineserver", with its command line and
// environment.
std::vector<UnixProcessInfo> ListUnixProcesses(const std::vector<std::string>& names);

// Processor time (user and system) used so far by every thread of the process, in
// nanoseconds: the sum of the threads' schedstat, or, where the kernel keeps no schedstat, the
// process's stat in clock ticks of 10 ms. Nothing when the process is gone.
std::optional<uint64_t> ProcessCpuNs(int pid);

// Resident memory of the process (VmRSS) and its anonymous part (RssAnon: memory of its own,
// not mapped from files), in KiB.
struct ResidentMemory {
  uint64_t rssKib = 0;
  uint64_t anonKib = 0;
};
std::optional<ResidentMemory> ProcessMemory(int pid);

// Stops and restarts every thread of a process (it uses no processor time while stopped).
bool SuspendProcess(HANDLE process);
bool ResumeProcess(HANDLE process);

}  // namespace vdbench
