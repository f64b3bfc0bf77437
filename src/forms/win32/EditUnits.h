// What an edit field counts and what the toolkit's TextBox counts. The system's edit field holds
// UTF-16 and gives its caret and selection in UTF-16 units; the TextBox holds the UTF-8 the
// field's text narrows to (WideText.h) and counts its selection and length in bytes of it. A
// character beyond the basic plane reaches the field as two WM_CHAR messages, one surrogate
// each; the program's KeyPress sees it once, as one code point.
//
// Plain C++ (no system header), so that the native tests check it as it is.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string_view>

namespace forms::win32 {

inline bool IsHighSurrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
inline bool IsLowSurrogate(char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// The bytes a code point takes in UTF-8; 0 for what is no character (a surrogate, or beyond
// U+10FFFF).
inline int Utf8Length(char32_t c) {
  if (c < 0x80) return 1;
  if (c < 0x800) return 2;
  if (IsHighSurrogate(c) || IsLowSurrogate(c)) return 0;
  if (c < 0x10000) return 3;
  return c <= 0x10FFFF ? 4 : 0;
}

// The UTF-16 units of a code point into `units`; answers how many (0 for what is no character).
inline int Utf16Units(char32_t c, wchar_t (&units)[2]) {
  if (Utf8Length(c) == 0) return 0;
  if (c < 0x10000) {
    units[0] = static_cast<wchar_t>(c);
    return 1;
  }
  units[0] = static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10));
  units[1] = static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
  return 2;
}

// The byte offset in the narrowed text of a UTF-16 position in `text`: a pair of surrogates
// narrows to 4 bytes, an unpaired surrogate to the 3 of U+FFFD. A position between the halves of
// a pair is taken as the pair's start, one past the end as the end: a character is never split.
inline int Utf8Offset(std::wstring_view text, int position) {
  const size_t end = static_cast<size_t>(std::clamp(position, 0, static_cast<int>(text.size())));
  int bytes = 0;
  for (size_t i = 0; i < end; ++i) {
    const auto unit = static_cast<char32_t>(text[i]) & 0xFFFF;
    if (IsHighSurrogate(unit) && i + 1 < text.size() &&
        IsLowSurrogate(static_cast<char32_t>(text[i + 1]) & 0xFFFF)) {
      if (i + 1 == end) break;  // the position falls inside the pair
      bytes += 4;
      ++i;
    } else {
      const int length = Utf8Length(unit);
      bytes += length != 0 ? length : 3;  // an unpaired surrogate as U+FFFD
    }
  }
  return bytes;
}

// The UTF-16 position of a byte offset in the TextBox's UTF-8 text. An offset inside a character
// is taken as the character's start, one past the end as the end. A byte that is no part of a
// well-formed character counts as one unit; the TextBox holds none such, its texts being the
// program's own or narrowed ones.
inline int Utf16Offset(std::string_view text, int offset) {
  const size_t end = static_cast<size_t>(std::clamp(offset, 0, static_cast<int>(text.size())));
  int units = 0;
  size_t i = 0;
  while (i < end) {
    const auto lead = static_cast<unsigned char>(text[i]);
    size_t length = lead < 0xC2 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : lead < 0xF5 ? 4 : 1;
    for (size_t k = 1; k < length; ++k) {
      if (i + k >= text.size() || (static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) {
        length = 1;  // a broken sequence: its lead byte alone
        break;
      }
    }
    if (i + length > end) break;  // the offset falls inside the character
    units += length == 4 ? 2 : 1;
    i += length;
  }
  return units;
}

// The characters typed into one edit field, from the UTF-16 units of its WM_CHAR messages: the
// first half of a pair is held until the second comes. Take answers the character a unit
// completes, or 0 when it completes none (a first half, held; a half without its partner,
// dropped, as the text would only show it as U+FFFD).
class TypedCharacters {
 public:
  char32_t Take(char32_t unit) {
    const char32_t high = high_;
    high_ = 0;
    if (IsHighSurrogate(unit)) {
      high_ = unit;
      return 0;
    }
    if (IsLowSurrogate(unit)) {
      return high ? 0x10000 + ((high - 0xD800) << 10) + (unit - 0xDC00) : 0;
    }
    return unit;
  }

 private:
  char32_t high_ = 0;
};

}  // namespace forms::win32
