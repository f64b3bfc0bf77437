#include "PngWriter.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace vdtools {
namespace {

// Deflate's bit stream: values least significant bit first, Huffman codes most significant first.
struct BitWriter {
  std::vector<uint8_t>& out;
  uint64_t acc = 0;
  int used = 0;
  void Bits(uint32_t value, int count) {
    acc |= static_cast<uint64_t>(value) << used;
    for (used += count; used >= 8; used -= 8, acc >>= 8) out.push_back(static_cast<uint8_t>(acc));
  }
  void Code(uint32_t code, int length) {
    uint32_t reversed = 0;
    for (int i = 0; i < length; ++i) reversed |= ((code >> i) & 1u) << (length - 1 - i);
    Bits(reversed, length);
  }
};

// The fixed literal/length code of deflate.
void PutSymbol(BitWriter& bits, int s) {
  if (s <= 143) return bits.Code(0x30 + s, 8);
  if (s <= 255) return bits.Code(0x190 + (s - 144), 9);
  if (s <= 279) return bits.Code(s - 256, 7);
  bits.Code(0xC0 + (s - 280), 8);
}

// A length or distance as its code (from the table of bases, each with its extra bits).
template <size_t N>
void PutRange(BitWriter& bits, int value, const std::array<uint16_t, N>& base,
              const std::array<uint8_t, N>& extra, int first, bool symbol) {
  int i = N - 1;
  while (base[i] > value) --i;
  symbol ? PutSymbol(bits, first + i) : bits.Code(first + i, 5);
  bits.Bits(value - base[i], extra[i]);
}

constexpr std::array<uint16_t, 29> kLengthBase = {3,  4,  5,  6,   7,   8,   9,   10,  11, 13,
                                                  15, 17, 19, 23,  27,  31,  35,  43,  51, 59,
                                                  67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::array<uint8_t, 29> kLengthExtra = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                                  2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::array<uint16_t, 30> kDistBase = {
    1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
    193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr std::array<uint8_t, 30> kDistExtra = {0, 0, 0,  0,  1,  1,  2,  2,  3,  3,
                                                4, 4, 5,  5,  6,  6,  7,  7,  8,  8,
                                                9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

void PutBigEndian(std::vector<uint8_t>& out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

uint32_t Crc32(const uint8_t* data, size_t size) {
  uint32_t crc = ~0u;
  for (size_t i = 0; i < size; ++i) {
    crc ^= data[i];
    for (int k = 0; k < 8; ++k) crc = (crc & 1) ? 0xEDB88320u ^ (crc >> 1) : crc >> 1;
  }
  return ~crc;
}

void PutChunk(std::vector<uint8_t>& png, const char type[4], const std::vector<uint8_t>& data) {
  PutBigEndian(png, static_cast<uint32_t>(data.size()));
  const size_t start = png.size();
  png.insert(png.end(), type, type + 4);
  png.insert(png.end(), data.begin(), data.end());
  PutBigEndian(png, Crc32(png.data() + start, png.size() - start));
}

// One fixed-code deflate block in a zlib stream. Screens are flat colour, so repeats of the
// pixel before (3 bytes back) and of the row above are all the matches searched for.
std::vector<uint8_t> ZlibCompress(const std::vector<uint8_t>& data, size_t row) {
  std::vector<uint8_t> out = {0x78, 0x01};
  BitWriter bits{out};
  bits.Bits(3, 3);  // the final block, fixed codes
  uint32_t a = 1, b = 0;
  for (size_t i = 0; i < data.size();) {
    size_t best = 0, distance = 0;
    for (size_t d : {size_t{3}, row}) {
      size_t n = 0;
      while (d <= i && i + n < data.size() && n < 258 && data[i + n - d] == data[i + n]) ++n;
      if (n > best) best = n, distance = d;
    }
    const size_t step = best >= 3 ? best : 1;
    if (best >= 3) {
      PutRange(bits, static_cast<int>(best), kLengthBase, kLengthExtra, 257, true);
      PutRange(bits, static_cast<int>(distance), kDistBase, kDistExtra, 0, false);
    } else {
      PutSymbol(bits, data[i]);
    }
    for (size_t k = i; k < i + step; ++k) a = (a + data[k]) % 65521, b = (b + a) % 65521;
    i += step;
  }
  PutSymbol(bits, 256);  // end of block
  bits.Bits(0, 7);       // to the byte
  PutBigEndian(out, (b << 16) | a);
  return out;
}

}  // namespace

std::vector<uint8_t> EncodePng(const uint8_t* rgb, int width, int height) {
  const size_t stride = static_cast<size_t>(width) * 3;
  std::vector<uint8_t> raw;  // each row starts with its filter type, 0: none
  raw.reserve((stride + 1) * height);
  for (int y = 0; y < height; ++y) {
    raw.push_back(0);
    raw.insert(raw.end(), rgb + y * stride, rgb + (y + 1) * stride);
  }
  std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<uint8_t> header;
  PutBigEndian(header, static_cast<uint32_t>(width));
  PutBigEndian(header, static_cast<uint32_t>(height));
  header.insert(header.end(), {8, 2, 0, 0, 0});  // 8 bits, RGB, deflate, filters, no interlace
  PutChunk(png, "IHDR", header);
  PutChunk(png, "IDAT", ZlibCompress(raw, stride + 1));
  PutChunk(png, "IEND", {});
  return png;
}

bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

}  // namespace vdtools
