// How a window was layered by its own application when it was first managed: "opaque again"
// brings such a window back to this state instead of removing its layered style.
#pragma once

#include <cstdint>

namespace vd {

struct OwnLayering {
  bool hasAttributes = false;  // false: layered without attributes the program can read
  uint32_t colorKey = 0;
  uint8_t alpha = 255;
  uint32_t flags = 0;
};

}  // namespace vd
