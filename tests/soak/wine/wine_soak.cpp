// wine_soak.exe: the random run of the real vuedeck.exe (RandomRun.h), started under Wine by
// tests/soak/run-wine.sh.
//
//   wine_soak.exe [--seconds N] [--seed S] [--warmup N] [--quiet-every N] [--sample-ms N]
//                 [--slope-limit KB] [--folder DIR] [--trace]
//
// --seconds: the whole run (default 300); --seed: the steps' seed (default: a new one, printed);
// --warmup: seconds from the start to the first quiet point (default: a fifth of the run, at
// least 15); --quiet-every: seconds between quiet points (default 60); --sample-ms: how often
// the memory and the counts are sampled (default 2000); --slope-limit: the most committed
// memory may grow between the first and the last quiet point, in KB a minute (default 1024,
// judged when they are two minutes apart or more); --folder: where the program
// runs and the logs go (default VD_SCRATCH, else wine-soak beside this program); --trace: every
// step on the output too. The programs: VD_EXE and VD_WINMAKER, else beside this program.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "HostPath.h"
#include "RandomRun.h"

namespace {

std::string FolderOfThisProgram() {
  char path[MAX_PATH * 2];
  const DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
  const std::string full(path, n);
  const size_t slash = full.find_last_of("\\/");
  return slash == std::string::npos ? "." : full.substr(0, slash);
}

std::string FromEnvironment(const char* name, const std::string& fallback) {
  char value[MAX_PATH * 2];
  const DWORD n = GetEnvironmentVariableA(name, value, sizeof value);
  if (n == 0 || n >= sizeof value) return fallback;
  return vdtools::HostPathToWindows(value);
}

int Usage() {
  std::fprintf(stderr,
               "usage: wine_soak.exe [--seconds N] [--seed S] [--warmup N] [--quiet-every N] "
               "[--sample-ms N] [--slope-limit KB] [--folder DIR] [--trace]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string here = FolderOfThisProgram();
  vdsoak::RunOptions options;
  options.seed = (static_cast<uint64_t>(std::random_device{}()) << 20) ^ GetTickCount64();
  options.seed %= 1000000000ull;
  options.vuedeckExe = FromEnvironment("VD_EXE", here + "\\vuedeck.exe");
  options.winmakerExe = FromEnvironment("VD_WINMAKER", here + "\\winmaker.exe");
  options.folder = FromEnvironment("VD_SCRATCH", here + "\\wine-soak");
  double warmup = -1;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--trace") {
      options.trace = true;
    } else if (!hasValue) {
      return Usage();
    } else if (arg == "--seconds") {
      options.seconds = std::atof(argv[++i]);
    } else if (arg == "--seed") {
      options.seed = std::strtoull(argv[++i], nullptr, 10);
    } else if (arg == "--warmup") {
      warmup = std::atof(argv[++i]);
    } else if (arg == "--quiet-every") {
      options.quietEverySeconds = std::atof(argv[++i]);
    } else if (arg == "--sample-ms") {
      options.sampleMs = static_cast<DWORD>(std::atoi(argv[++i]));
    } else if (arg == "--slope-limit") {
      options.slopeLimitKbPerMinute = std::atof(argv[++i]);
    } else if (arg == "--folder") {
      options.folder = vdtools::HostPathToWindows(argv[++i]);
    } else {
      return Usage();
    }
  }
  if (options.seconds < 20 || options.quietEverySeconds < 5 || options.sampleMs < 100) {
    std::fprintf(stderr, "wine_soak.exe: at least 20 s, quiet points 5 s apart, samples 100 ms\n");
    return 2;
  }
  options.warmupSeconds = warmup >= 0 ? warmup : std::max(15.0, options.seconds / 5);
  vdsoak::RandomRun run(options);
  return run.Run();
}
