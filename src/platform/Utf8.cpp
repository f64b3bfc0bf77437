#include "platform/Utf8.h"

#include <cstdint>

namespace vd {

char32_t DecodeUtf8(const std::string& text, size_t at, size_t* length) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(at);
  *length = 1;
  size_t n = 0;
  char32_t cp = 0;
  char32_t least = 0;
  if (lead < 0x80) return lead;
  if (lead >= 0xC2 && lead <= 0xDF) {
    n = 2, cp = lead & 0x1F, least = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    n = 3, cp = lead & 0x0F, least = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    n = 4, cp = lead & 0x07, least = 0x10000;
  } else {
    return kNotACodePoint;
  }
  if (at + n > text.size()) return kNotACodePoint;
  for (size_t i = 1; i < n; ++i) {
    if ((byte(at + i) & 0xC0) != 0x80) return kNotACodePoint;
    cp = (cp << 6) | (byte(at + i) & 0x3F);
  }
  if (cp < least || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return kNotACodePoint;
  *length = n;
  return cp;
}

namespace {

constexpr char32_t kZeroWidthJoiner = 0x200D;

// Marks that never stand alone: they belong to the character before them.
bool Combines(char32_t cp) {
  return (cp >= 0x0300 && cp <= 0x036F) || (cp >= 0x1AB0 && cp <= 0x1AFF) ||
         (cp >= 0x1DC0 && cp <= 0x1DFF) || (cp >= 0x20D0 && cp <= 0x20FF) ||
         (cp >= 0xFE00 && cp <= 0xFE0F) || (cp >= 0xFE20 && cp <= 0xFE2F) ||
         (cp >= 0x1F3FB && cp <= 0x1F3FF) || (cp >= 0xE0020 && cp <= 0xE007F) ||
         (cp >= 0xE0100 && cp <= 0xE01EF) || cp == kZeroWidthJoiner;
}

bool RegionalIndicator(char32_t cp) { return cp >= 0x1F1E6 && cp <= 0x1F1FF; }

// Where the character that starts at `at` ends.
size_t CharacterEnd(const std::string& text, size_t at) {
  size_t length = 0;
  const char32_t first = DecodeUtf8(text, at, &length);
  size_t end = at + length;
  if (first == kNotACodePoint) return end;
  bool joined = false;
  if (RegionalIndicator(first) && end < text.size()) {
    size_t next = 0;
    if (RegionalIndicator(DecodeUtf8(text, end, &next))) end += next;  // a flag is two of them
  }
  while (end < text.size()) {
    size_t next = 0;
    const char32_t cp = DecodeUtf8(text, end, &next);
    if (cp == kNotACodePoint) break;
    if (!joined && !Combines(cp)) break;
    joined = cp == kZeroWidthJoiner;  // what follows a joiner is part of the same character
    end += next;
  }
  return end;
}

}  // namespace

bool IsAscii(const std::string& text) {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

bool IsValidUtf8(const std::string& text) {
  for (size_t at = 0; at < text.size();) {
    size_t length = 0;
    if (DecodeUtf8(text, at, &length) == kNotACodePoint) return false;
    at += length;
  }
  return true;
}

std::string FirstCharacters(const std::string& text, size_t count) {
  size_t end = 0;
  for (size_t i = 0; i < count && end < text.size(); ++i) end = CharacterEnd(text, end);
  return text.substr(0, end);
}

std::string ShortTitle(const std::string& title, size_t count) {
  std::string first = FirstCharacters(title, count);
  return first.size() < title.size() ? first + "..." : title;
}

std::filesystem::path PathFromUtf8(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

}  // namespace vd
