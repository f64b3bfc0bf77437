#include "Trend.h"

#include <algorithm>
#include <cmath>

namespace vdsoak {

std::vector<std::string> HandleGrowth(const std::vector<QuietPoint>& points) {
  std::vector<std::string> grew;
  if (points.empty()) return grew;
  const HandleCounts& first = points.front().counts;
  for (size_t i = 0; i < points.size(); ++i) {
    const QuietPoint& p = points[i];
    const std::string at = " at the quiet point of " +
                           std::to_string(static_cast<long>(std::lround(p.seconds))) + " s";
    for (int kind : {kWindowDcKind, kMemoryDcKind}) {
      if (p.counts[kind] != 0) {
        grew.push_back(std::string(kHandleKindNames[kind]) + ": " + std::to_string(p.counts[kind]) +
                       " held" + at);
      }
    }
    if (p.counts[kCachedGdiKind] > kCachedGdiLimit) {
      grew.push_back(std::string(kHandleKindNames[kCachedGdiKind]) + ": " +
                     std::to_string(p.counts[kCachedGdiKind]) + ", above " +
                     std::to_string(kCachedGdiLimit) + at);
    }
    if (i == 0) continue;
    for (int kind = 0; kind < kHandleKinds; ++kind) {
      if (kind == kWindowDcKind || kind == kMemoryDcKind || kind == kCachedGdiKind) continue;
      if (p.counts[kind] > first[kind]) {
        grew.push_back(std::string(kHandleKindNames[kind]) + ": " + std::to_string(first[kind]) +
                       " after the warm-up, " + std::to_string(p.counts[kind]) + at);
      }
    }
  }
  return grew;
}

double Slope(const std::vector<double>& x, const std::vector<double>& y) {
  const size_t n = std::min(x.size(), y.size());
  if (n < 2) return 0;
  double mx = 0, my = 0;
  for (size_t i = 0; i < n; ++i) {
    mx += x[i];
    my += y[i];
  }
  mx /= static_cast<double>(n);
  my /= static_cast<double>(n);
  double sxy = 0, sxx = 0;
  for (size_t i = 0; i < n; ++i) {
    sxy += (x[i] - mx) * (y[i] - my);
    sxx += (x[i] - mx) * (x[i] - mx);
  }
  return sxx > 0 ? sxy / sxx : 0;
}

double KilobytesPerMinute(const std::vector<MemorySample>& samples, double fromSeconds) {
  std::vector<double> minutes, kilobytes;
  for (const MemorySample& s : samples) {
    if (s.seconds < fromSeconds) continue;
    minutes.push_back(s.seconds / 60.0);
    kilobytes.push_back(s.bytes / 1024.0);
  }
  return Slope(minutes, kilobytes);
}

}  // namespace vdsoak
