// Every text the program keeps is UTF-8: window titles, the ignore list, captions. These are the
// few things it needs to know about that encoding: whether a text is valid UTF-8, how to shorten
// a title without breaking a character, and how to name a file whose path is UTF-8.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

namespace vd {

// The code point that starts at byte `at`, and its length in bytes; kNotACodePoint and 1 for a
// byte that does not start a well-formed sequence.
inline constexpr char32_t kNotACodePoint = 0xFFFFFFFF;
char32_t DecodeUtf8(const std::string& text, size_t at, size_t* length);

// True when every byte is below 0x80 (a text the same in UTF-8 and every ANSI code page).
bool IsAscii(const std::string& text);

// True when the bytes are well-formed UTF-8 (no overlong forms, no surrogates, nothing past
// U+10FFFF, no cut-off sequence).
bool IsValidUtf8(const std::string& text);

// The first `count` characters of the text. A character is what the user sees as one: a code
// point with the marks that combine with it (accents, variation selectors, skin tones, the
// parts joined to it by a zero-width joiner), or a pair of regional indicators (a flag). A
// byte that is not part of a well-formed sequence counts as one character.
std::string FirstCharacters(const std::string& text, size_t count);

// A title shortened for a menu or a prompt: more than `count` characters give the first
// `count` and "...".
std::string ShortTitle(const std::string& title, size_t count);

// The path a UTF-8 file name stands for, on every system.
std::filesystem::path PathFromUtf8(const std::string& utf8);

}  // namespace vd
