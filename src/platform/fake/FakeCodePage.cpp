// The fake desktop's text: captions are UTF-8 as the program keeps them, lengths are counted in
// UTF-16 units as the system counts them, and its ANSI code page is Western European
// (windows-1252), without look-alikes: a character the page lacks is one '?' per UTF-16 unit.
#include <array>
#include <string>

#include "platform/Utf8.h"
#include "platform/fake/FakeState.h"
#include "platform/fake/FakeWindowSystem.h"

namespace vd::fake {

namespace {

// Bytes 0x80 to 0x9F of the code page; the five it leaves undefined stand for themselves.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void Append(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

}  // namespace

size_t Utf16Length(const std::string& utf8) {
  size_t units = 0;
  for (size_t at = 0; at < utf8.size();) {
    size_t length = 0;
    const char32_t cp = DecodeUtf8(utf8, at, &length);
    units += cp != kNotACodePoint && cp >= 0x10000 ? 2 : 1;
    at += length;
  }
  return units;
}

std::string FirstUtf16Units(const std::string& utf8, size_t units) {
  size_t at = 0;
  for (size_t used = 0; at < utf8.size();) {
    size_t length = 0;
    const char32_t cp = DecodeUtf8(utf8, at, &length);
    const size_t need = cp != kNotACodePoint && cp >= 0x10000 ? 2 : 1;
    if (used + need > units) break;  // a surrogate pair is never split
    used += need;
    at += length;
  }
  return utf8.substr(0, at);
}

std::string FakeWindowSystem::AnsiToUtf8(const std::string& ansi) {
  state_->Record("AnsiToUtf8", {ansi});
  std::string out;
  for (const char c : ansi) {
    const auto byte = static_cast<unsigned char>(c);
    Append(out, byte >= 0x80 && byte <= 0x9F ? kHighControls[byte - 0x80] : char32_t{byte});
  }
  return out;
}

std::string FakeWindowSystem::Utf8ToAnsi(const std::string& utf8) {
  state_->Record("Utf8ToAnsi", {utf8});
  std::string out;
  for (size_t at = 0; at < utf8.size();) {
    size_t length = 0;
    const char32_t cp = DecodeUtf8(utf8, at, &length);
    at += length;
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
      out += static_cast<char>(cp);
      continue;
    }
    char mapped = '?';
    for (size_t i = 0; i < kHighControls.size(); ++i) {
      if (kHighControls[i] == cp) mapped = static_cast<char>(0x80 + i);
    }
    out += mapped;
    if (mapped == '?' && cp != kNotACodePoint && cp >= 0x10000) out += '?';  // a surrogate pair
  }
  return out;
}

}  // namespace vd::fake
