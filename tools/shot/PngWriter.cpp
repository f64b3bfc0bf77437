#include "PngWriter.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace vdtools {
namespace {

// Writes deflate's bit stream: values least significant bit first; Huffman codes are stored
// most significant bit first, so they are reversed before they go in.
class BitWriter {
 public:
  explicit BitWriter(std::vector<uint8_t>& out) : out_(out) {}

  void Bits(uint32_t value, int count) {
    acc_ |= static_cast<uint64_t>(value) << used_;
    used_ += count;
    while (used_ >= 8) {
      out_.push_back(static_cast<uint8_t>(acc_));
      acc_ >>= 8;
      used_ -= 8;
    }
  }
  void Code(uint32_t code, int length) {
    uint32_t reversed = 0;
    for (int i = 0; i < length; ++i) reversed |= ((code >> i) & 1u) << (length - 1 - i);
    Bits(reversed, length);
  }
  void Flush() {
    if (used_ > 0) out_.push_back(static_cast<uint8_t>(acc_));
    acc_ = 0;
    used_ = 0;
  }

 private:
  std::vector<uint8_t>& out_;
  uint64_t acc_ = 0;
  int used_ = 0;
};

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

// The fixed literal/length code of deflate.
void PutSymbol(BitWriter& bits, int symbol) {
  if (symbol <= 143) {
    bits.Code(0x30 + symbol, 8);
  } else if (symbol <= 255) {
    bits.Code(0x190 + (symbol - 144), 9);
  } else if (symbol <= 279) {
    bits.Code(symbol - 256, 7);
  } else {
    bits.Code(0xC0 + (symbol - 280), 8);
  }
}

void PutMatch(BitWriter& bits, int length, int distance) {
  int li = 28;
  while (kLengthBase[li] > length) --li;
  PutSymbol(bits, 257 + li);
  bits.Bits(length - kLengthBase[li], kLengthExtra[li]);
  int di = 29;
  while (kDistBase[di] > distance) --di;
  bits.Code(di, 5);
  bits.Bits(distance - kDistBase[di], kDistExtra[di]);
}

uint32_t Adler32(const uint8_t* data, size_t size) {
  uint32_t a = 1, b = 0;
  for (size_t i = 0; i < size; ++i) {
    a = (a + data[i]) % 65521;
    b = (b + a) % 65521;
  }
  return (b << 16) | a;
}

void PutBigEndian(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v >> 24));
  out.push_back(static_cast<uint8_t>(v >> 16));
  out.push_back(static_cast<uint8_t>(v >> 8));
  out.push_back(static_cast<uint8_t>(v));
}

void PutChunk(std::vector<uint8_t>& png, const char type[4], const std::vector<uint8_t>& data) {
  PutBigEndian(png, static_cast<uint32_t>(data.size()));
  size_t start = png.size();
  png.insert(png.end(), type, type + 4);
  png.insert(png.end(), data.begin(), data.end());
  PutBigEndian(png, Crc32(png.data() + start, png.size() - start));
}

}  // namespace

uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc) {
  static const std::array<uint32_t, 256> table = [] {
    std::array<uint32_t, 256> t{};
    for (uint32_t n = 0; n < 256; ++n) {
      uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  crc = ~crc;
  for (size_t i = 0; i < size; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

std::vector<uint8_t> ZlibCompress(const uint8_t* data, size_t size) {
  constexpr int kWindow = 32768, kMinMatch = 3, kMaxMatch = 258, kMaxChain = 32;
  constexpr int kHashBits = 15;
  std::vector<uint8_t> out = {0x78, 0x01};
  BitWriter bits(out);
  bits.Bits(1, 1);  // the final block
  bits.Bits(1, 2);  // fixed codes

  // head: the latest position of each 3-byte hash; prev: the position before it with the same
  // hash, so candidates are walked newest first.
  std::vector<int32_t> head(size_t{1} << kHashBits, -1);
  std::vector<int32_t> prev(size, -1);
  auto hash = [&](size_t i) {
    uint32_t v = data[i] | (data[i + 1] << 8) | (data[i + 2] << 16);
    return (v * 2654435761u) >> (32 - kHashBits);
  };
  auto insert = [&](size_t i) {
    if (i + kMinMatch > size) return;
    uint32_t h = hash(i);
    prev[i] = head[h];
    head[h] = static_cast<int32_t>(i);
  };

  size_t i = 0;
  while (i < size) {
    int bestLength = 0, bestDistance = 0;
    if (i + kMinMatch <= size) {
      int candidate = head[hash(i)];
      size_t limit = std::min<size_t>(kMaxMatch, size - i);
      for (int chain = 0; candidate >= 0 && chain < kMaxChain; ++chain) {
        int distance = static_cast<int>(i) - candidate;
        if (distance > kWindow) break;
        size_t n = 0;
        while (n < limit && data[candidate + n] == data[i + n]) ++n;
        if (static_cast<int>(n) > bestLength) {
          bestLength = static_cast<int>(n);
          bestDistance = distance;
          if (n == limit) break;
        }
        candidate = prev[candidate];
      }
    }
    if (bestLength >= kMinMatch) {
      PutMatch(bits, bestLength, bestDistance);
      for (int k = 0; k < bestLength; ++k) insert(i + k);
      i += bestLength;
    } else {
      PutSymbol(bits, data[i]);
      insert(i);
      ++i;
    }
  }
  PutSymbol(bits, 256);  // end of block
  bits.Flush();
  PutBigEndian(out, Adler32(data, size));
  return out;
}

std::vector<uint8_t> EncodePng(const uint8_t* rgb, int width, int height) {
  // Each row starts with its filter type; 0 (none) keeps the flat areas as long repeats.
  const size_t stride = static_cast<size_t>(width) * 3;
  std::vector<uint8_t> raw;
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
  PutChunk(png, "IDAT", ZlibCompress(raw.data(), raw.size()));
  PutChunk(png, "IEND", {});
  return png;
}

bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

}  // namespace vdtools
