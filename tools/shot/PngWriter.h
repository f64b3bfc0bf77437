// A small PNG encoder for the end-to-end screenshots: 8-bit RGB, no interlace, compressed with
// fixed-code deflate and a greedy LZ77 match search. Screens are mostly flat colour, so this
// keeps a 1280x1024 shot to tens of kilobytes without any library.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vdtools {

// `rgb` holds `height` rows of `width` pixels, top row first, three bytes (R, G, B) a pixel.
std::vector<uint8_t> EncodePng(const uint8_t* rgb, int width, int height);

// The zlib stream (header, one fixed-code deflate block, Adler-32) of `data`.
std::vector<uint8_t> ZlibCompress(const uint8_t* data, size_t size);

uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc = 0);

// Writes `bytes` to `path` (replacing it); false when the file cannot be written whole.
bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);

}  // namespace vdtools
