// The verdict of a long run on what the program holds: the handle counts its owners report at
// quiet points (no window of another application open, desktop 1, nothing in flight), and the
// process memory sampled every few seconds.
//
//  - Handles: at each quiet point after the first, no kind may be above its count at the first
//    one (the caches fill during the warm-up, which runs every kind of step). Window and memory
//    device contexts must be 0 at every quiet point: they live only within a call. The fonts
//    and brushes the drawing code keeps, one per look it has drawn, fill as looks are first
//    seen (a hovered button, a focus cue), which a short warm-up may not reach: they are held
//    to a bound instead, far above the program's few looks and far below a leak's growth.
//  - Memory: the slope of a least-squares line through the samples from the first to the last
//    quiet point, in kilobytes a minute, must stay within a limit.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace vdsoak {

// The kinds the program counts, in the order of its HandleKind (the wParam of its message).
inline constexpr int kHandleKinds = 8;
inline constexpr const char* kHandleKindNames[kHandleKinds] = {
    "window DCs",    "memory DCs", "GDI objects", "kernel handles",
    "registry keys", "menus",      "windows",     "cached fonts and brushes"};
inline constexpr int kWindowDcKind = 0;
inline constexpr int kMemoryDcKind = 1;
inline constexpr int kCachedGdiKind = 7;
inline constexpr long kCachedGdiLimit = 64;

using HandleCounts = std::array<long, kHandleKinds>;

struct QuietPoint {
  double seconds = 0;  // since the start of the run
  HandleCounts counts{};
  double committedBytes = 0;
};

// What grew: one line per kind and quiet point that exceeds the first quiet point, or a device
// context held at a quiet point. Empty when nothing did.
std::vector<std::string> HandleGrowth(const std::vector<QuietPoint>& points);

// The slope of the least-squares line through (x, y); 0 with fewer than two distinct x.
double Slope(const std::vector<double>& x, const std::vector<double>& y);

// Memory samples: seconds since the start, bytes.
struct MemorySample {
  double seconds = 0;
  double bytes = 0;
};

// The slope in kilobytes a minute of the samples taken at or after `fromSeconds`.
double KilobytesPerMinute(const std::vector<MemorySample>& samples, double fromSeconds);

}  // namespace vdsoak
