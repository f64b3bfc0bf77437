// The arithmetic and the parsing behind the benchmarks under Wine, kept free of Windows so that
// the native build tests it: summaries of noisy samples, the Linux process files that tell how
// much processor time and memory a Wine process used, and the bookkeeping that tells when a
// desktop switch has taken effect on every window.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace vdbench {

// ---- Samples ------------------------------------------------------------------------------

// What the reports give of a set of samples. With no samples every figure is NaN.
struct Summary {
  size_t count = 0;
  double median = 0;
  double q1 = 0;  // lower and upper quartile (the medians of the lower and upper halves)
  double q3 = 0;
  double min = 0;
  double max = 0;
};
Summary Summarize(std::vector<double> samples);
double Median(std::vector<double> samples);

// a[i] - b[i] for each pair that both lists have: the cost of one run above the baseline run
// next to it.
std::vector<double> PairedDifferences(const std::vector<double>& a, const std::vector<double>& b);

// ---- Linux process files (read through Wine's drive Z:) -----------------------------------

// What /proc/<pid>/stat tells: the command name (in parentheses, and it may itself hold
// blanks and parentheses) and the processor time in clock ticks.
struct ProcStat {
  int pid = 0;
  std::string comm;
  char state = '?';
  uint64_t utimeTicks = 0;
  uint64_t stimeTicks = 0;
};
std::optional<ProcStat> ParseProcStat(std::string_view text);

// The time a task has run on a processor, in nanoseconds: the first number of
// /proc/<pid>/task/<tid>/schedstat.
std::optional<uint64_t> ParseSchedstatRunNs(std::string_view text);

// A "Key:   1234 kB" line of /proc/<pid>/status, in KiB; nothing when the key is missing.
std::optional<uint64_t> StatusKib(std::string_view status, std::string_view key);

// The NUL-separated strings of /proc/<pid>/cmdline or /proc/<pid>/environ.
std::vector<std::string> SplitNul(std::string_view bytes);

// One Linux process as the search for a Wine process sees it.
struct UnixProcessInfo {
  int pid = 0;
  std::string comm;     // as /proc/<pid>/comm and stat give it: at most 15 characters
  std::string cmdline;  // the arguments joined by blanks
  std::vector<std::string> environment;
};

// The process of `exeName` (e.g. "vuedeck.exe") running in the Wine prefix `prefix` whose
// command line holds `marker` (e.g. the folder the copy was started from; empty: any). The
// kernel cuts the command name at 15 characters. Nothing when no process or more than one
// matches: a measurement must never be charged to the wrong process.
std::optional<int> FindWineProcess(const std::vector<UnixProcessInfo>& processes,
                                   const std::string& exeName, const std::string& prefix,
                                   const std::string& marker);

// The Wine server of the prefix: its command name starts with "wineserver" (Debian names the
// 64-bit one wineserver64).
std::optional<int> FindWineServer(const std::vector<UnixProcessInfo>& processes,
                                  const std::string& prefix);

// ---- Switches -----------------------------------------------------------------------------

// Tells when every window of a switch is in the state it must reach (shown or hidden), asking
// as few questions per poll as it can: each poll starts at the first window not yet seen in
// its state and stops at the next one that is not there yet. When every window was seen in
// its state once, one more pass asks every window again, since a window may have been put back
// after it was seen (a switch that shows and then hides again is not finished).
class SwitchWatch {
 public:
  // `probe(i)` answers whether window i is in its state now.
  explicit SwitchWatch(size_t windowCount) : count_(windowCount) {}
  // One poll; true once every window is in its state (and stays true).
  bool Poll(const std::function<bool(size_t)>& probe);
  bool Done() const { return done_; }
  size_t Probes() const { return probes_; }  // questions asked so far
  // The first window not seen in its state (windowCount when all were).
  size_t Waiting() const { return next_; }

 private:
  size_t count_;
  size_t next_ = 0;
  size_t probes_ = 0;
  bool done_ = false;
};

// ---- The driver's command line and its windows ---------------------------------------------

struct DriverOptions {
  std::string vuedeck, winmaker, bare, scratch, out, prefix;
  std::vector<int> counts{10, 50, 100};
  int runs = 16;
  int intervalMs = 4000;
  std::set<std::string> phases{"switch", "spread", "idle", "startup"};
  bool marks = false;
};

// Reads bench_driver.exe's options (without the program's name). Nothing, and `error` saying
// why, when an option is unknown or lacks its value, a number or a list is not usable, or a
// required option is missing: a run must never measure something else than was asked.
std::optional<DriverOptions> ParseDriverOptions(const std::vector<std::string>& args,
                                                std::string& error);

// Where window i of a set stands (left, top, width, height in pixels): spread over a screen
// of 1280 x 1024 with a task bar at the bottom, overlapping as a busy desktop's windows do.
struct WindowBox {
  int left, top, width, height;
};
WindowBox WindowPlace(int i);

// ---- Results ------------------------------------------------------------------------------

// The figures of a run as "key value" lines, in the order they were first set; run.sh builds
// the report from them. Keys are single words; values are numbers or single-line text.
class Results {
 public:
  void Set(const std::string& key, const std::string& value);
  void Set(const std::string& key, double value, int decimals = 2);
  void SetSummary(const std::string& key, const Summary& s, int decimals = 2);
  std::optional<std::string> Get(const std::string& key) const;
  std::string Text() const;

 private:
  std::vector<std::string> order_;
  std::map<std::string, std::string> values_;
};

std::string FormatNumber(double value, int decimals);

}  // namespace vdbench
