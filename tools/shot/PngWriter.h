// A small PNG encoder for screenshots: 8-bit RGB, no interlace, one fixed-code deflate block
// whose matches are the pixel before and the row above, which keeps a 1280x1024 screen of
// flat colour small without any library.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vdtools {

// `rgb` holds `height` rows of `width` pixels, top row first, three bytes (R, G, B) a pixel.
std::vector<uint8_t> EncodePng(const uint8_t* rgb, int width, int height);

// Writes `bytes` to `path` (replacing it); false when the file cannot be written whole.
bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);

}  // namespace vdtools
