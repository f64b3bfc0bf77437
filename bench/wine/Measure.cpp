#include "Measure.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace vdbench {
namespace {

double MedianOfSorted(const std::vector<double>& sorted, size_t begin, size_t end) {
  const size_t n = end - begin;
  if (n == 0) return std::numeric_limits<double>::quiet_NaN();
  const size_t mid = begin + n / 2;
  return n % 2 == 1 ? sorted[mid] : (sorted[mid - 1] + sorted[mid]) / 2;
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() &&
         (s.back() == ' ' || s.back() == '\t' || s.back() == '\r' || s.back() == '\n')) {
    s.remove_suffix(1);
  }
  return s;
}

// The next blank-separated word of `s`, removed from it.
std::string_view NextWord(std::string_view& s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  size_t end = s.find(' ');
  if (end == std::string_view::npos) end = s.size();
  std::string_view word = s.substr(0, end);
  s.remove_prefix(end);
  return word;
}

template <typename T>
std::optional<T> ToNumber(std::string_view word) {
  T value{};
  auto [ptr, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
  if (ec != std::errc() || ptr != word.data() + word.size() || word.empty()) return std::nullopt;
  return value;
}

}  // namespace

double Median(std::vector<double> samples) {
  std::sort(samples.begin(), samples.end());
  return MedianOfSorted(samples, 0, samples.size());
}

Summary Summarize(std::vector<double> samples) {
  Summary s;
  s.count = samples.size();
  if (samples.empty()) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    s.median = s.q1 = s.q3 = s.min = s.max = nan;
    return s;
  }
  std::sort(samples.begin(), samples.end());
  const size_t n = samples.size();
  s.median = MedianOfSorted(samples, 0, n);
  s.min = samples.front();
  s.max = samples.back();
  if (n == 1) {
    s.q1 = s.q3 = samples.front();
  } else {
    // The halves leave out the middle sample when there is one.
    s.q1 = MedianOfSorted(samples, 0, n / 2);
    s.q3 = MedianOfSorted(samples, (n + 1) / 2, n);
  }
  return s;
}

std::vector<double> PairedDifferences(const std::vector<double>& a, const std::vector<double>& b) {
  std::vector<double> d;
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) d.push_back(a[i] - b[i]);
  return d;
}

std::optional<ProcStat> ParseProcStat(std::string_view text) {
  // "pid (comm) state ppid ..." - the comm ends at the LAST ')', since it may hold one itself.
  const size_t open = text.find('(');
  const size_t close = text.rfind(')');
  if (open == std::string_view::npos || close == std::string_view::npos || close < open) {
    return std::nullopt;
  }
  ProcStat stat;
  auto pid = ToNumber<int>(Trim(text.substr(0, open)));
  if (!pid) return std::nullopt;
  stat.pid = *pid;
  stat.comm = std::string(text.substr(open + 1, close - open - 1));
  std::string_view rest = Trim(text.substr(close + 1));
  // Fields counted from 3 (state) on; utime is field 14 and stime field 15.
  std::string_view state = NextWord(rest);
  if (state.size() != 1) return std::nullopt;
  stat.state = state.front();
  for (int field = 4; field <= 13; ++field) {
    if (NextWord(rest).empty()) return std::nullopt;
  }
  auto utime = ToNumber<uint64_t>(NextWord(rest));
  auto stime = ToNumber<uint64_t>(NextWord(rest));
  if (!utime || !stime) return std::nullopt;
  stat.utimeTicks = *utime;
  stat.stimeTicks = *stime;
  return stat;
}

std::optional<uint64_t> ParseSchedstatRunNs(std::string_view text) {
  text = Trim(text);
  return ToNumber<uint64_t>(NextWord(text));
}

std::optional<uint64_t> StatusKib(std::string_view status, std::string_view key) {
  size_t at = 0;
  while (at < status.size()) {
    size_t end = status.find('\n', at);
    if (end == std::string_view::npos) end = status.size();
    std::string_view line = status.substr(at, end - at);
    at = end + 1;
    const size_t colon = line.find(':');
    if (colon == std::string_view::npos || line.substr(0, colon) != key) continue;
    std::string_view value = Trim(line.substr(colon + 1));
    std::string_view number = NextWord(value);
    std::string_view unit = Trim(value);
    auto n = ToNumber<uint64_t>(number);
    if (!n) return std::nullopt;
    if (unit == "kB" || unit.empty()) return *n;
    if (unit == "MB") return *n * 1024;
    return std::nullopt;
  }
  return std::nullopt;
}

std::vector<std::string> SplitNul(std::string_view bytes) {
  std::vector<std::string> parts;
  size_t at = 0;
  while (at < bytes.size()) {
    size_t end = bytes.find('\0', at);
    if (end == std::string_view::npos) end = bytes.size();
    if (end > at) parts.emplace_back(bytes.substr(at, end - at));
    at = end + 1;
  }
  return parts;
}

namespace {

bool InPrefix(const UnixProcessInfo& p, const std::string& prefix) {
  const std::string wanted = "WINEPREFIX=" + prefix;
  for (const std::string& entry : p.environment) {
    if (entry == wanted || entry == wanted + "/") return true;
  }
  return false;
}

std::string Lower(std::string s) {
  for (char& c : s) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return s;
}

}  // namespace

std::optional<int> FindWineProcess(const std::vector<UnixProcessInfo>& processes,
                                   const std::string& exeName, const std::string& prefix,
                                   const std::string& marker) {
  // The kernel keeps 15 characters of the name; Windows names compare without case.
  const std::string comm = Lower(exeName.substr(0, 15));
  const std::string needle = Lower(marker);
  std::optional<int> found;
  for (const UnixProcessInfo& p : processes) {
    if (Lower(p.comm) != comm || !InPrefix(p, prefix)) continue;
    if (!needle.empty() && Lower(p.cmdline).find(needle) == std::string::npos) continue;
    if (found) return std::nullopt;  // two candidates: neither is certain
    found = p.pid;
  }
  return found;
}

std::optional<int> FindWineServer(const std::vector<UnixProcessInfo>& processes,
                                  const std::string& prefix) {
  std::optional<int> found;
  for (const UnixProcessInfo& p : processes) {
    if (p.comm.rfind("wineserver", 0) != 0 || !InPrefix(p, prefix)) continue;
    if (found) return std::nullopt;
    found = p.pid;
  }
  return found;
}

bool SwitchWatch::Poll(const std::function<bool(size_t)>& probe) {
  if (done_) return true;
  while (next_ < count_) {
    ++probes_;
    if (!probe(next_)) return false;
    ++next_;
  }
  // Every window was seen in its state once; they must all be there at the same time.
  for (size_t i = 0; i < count_; ++i) {
    ++probes_;
    if (!probe(i)) {
      next_ = i;
      return false;
    }
  }
  done_ = true;
  return true;
}

namespace {

// A whole positive decimal number no larger than `most`.
std::optional<int> PositiveNumber(const std::string& text, int most) {
  auto n = ToNumber<int>(text);
  if (!n || *n < 1 || *n > most) return std::nullopt;
  return n;
}

std::vector<std::string> SplitCommas(const std::string& text) {
  std::vector<std::string> parts;
  size_t at = 0;
  for (;;) {
    const size_t comma = text.find(',', at);
    parts.push_back(text.substr(at, comma == std::string::npos ? std::string::npos : comma - at));
    if (comma == std::string::npos) return parts;
    at = comma + 1;
  }
}

}  // namespace

std::optional<DriverOptions> ParseDriverOptions(const std::vector<std::string>& args,
                                                std::string& error) {
  DriverOptions o;
  const std::map<std::string, std::string*> paths{
      {"--vuedeck", &o.vuedeck}, {"--winmaker", &o.winmaker}, {"--bare", &o.bare},
      {"--scratch", &o.scratch}, {"--out", &o.out},           {"--wineprefix", &o.prefix}};
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& name = args[i];
    if (name == "--marks") {
      o.marks = true;
      continue;
    }
    if (i + 1 >= args.size() || args[i + 1].rfind("--", 0) == 0) {
      error = name + " needs a value";
      return std::nullopt;
    }
    const std::string& value = args[++i];
    if (auto path = paths.find(name); path != paths.end()) {
      *path->second = value;
    } else if (name == "--runs" || name == "--interval-ms") {
      auto n = PositiveNumber(value, name == "--runs" ? 1000 : 600000);
      if (!n) {
        error = name + " takes a positive whole number, not " + value;
        return std::nullopt;
      }
      (name == "--runs" ? o.runs : o.intervalMs) = *n;
    } else if (name == "--counts") {
      o.counts.clear();
      for (const std::string& part : SplitCommas(value)) {
        auto n = PositiveNumber(part, 1000);
        if (!n) {
          error = "--counts takes window counts separated by commas, not " + value;
          return std::nullopt;
        }
        o.counts.push_back(*n);
      }
    } else if (name == "--phases") {
      o.phases.clear();
      for (const std::string& part : SplitCommas(value)) {
        if (part != "switch" && part != "spread" && part != "idle" && part != "startup") {
          error = "no phase " + part + " (switch, spread, idle, startup)";
          return std::nullopt;
        }
        o.phases.insert(part);
      }
    } else {
      error = "unknown option " + name;
      return std::nullopt;
    }
  }
  for (const auto& [name, path] : paths) {
    if (path->empty()) {
      error = name + " is missing";
      return std::nullopt;
    }
  }
  return o;
}

WindowBox WindowPlace(int i) {
  return WindowBox{10 + (i * 53) % 1000, 10 + (i * 37) % 780, 240, 180};
}

std::string FormatNumber(double value, int decimals) {
  if (std::isnan(value)) return "nan";
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

void Results::Set(const std::string& key, const std::string& value) {
  std::string k = key, v = value;
  for (char& c : k) {
    if (c == ' ' || c == '\t' || c == '\n' || c == '\r') c = '_';
  }
  for (char& c : v) {
    if (c == '\n' || c == '\r') c = ' ';
  }
  if (values_.find(k) == values_.end()) order_.push_back(k);
  values_[k] = v;
}

void Results::Set(const std::string& key, double value, int decimals) {
  Set(key, FormatNumber(value, decimals));
}

void Results::SetSummary(const std::string& key, const Summary& s, int decimals) {
  Set(key + ".n", std::to_string(s.count));
  Set(key + ".median", s.median, decimals);
  Set(key + ".q1", s.q1, decimals);
  Set(key + ".q3", s.q3, decimals);
  Set(key + ".min", s.min, decimals);
  Set(key + ".max", s.max, decimals);
}

std::optional<std::string> Results::Get(const std::string& key) const {
  auto it = values_.find(key);
  if (it == values_.end()) return std::nullopt;
  return it->second;
}

std::string Results::Text() const {
  std::string text;
  for (const std::string& key : order_) text += key + " " + values_.at(key) + "\n";
  return text;
}

}  // namespace vdbench
