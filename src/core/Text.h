// Conversions between the text the program stores (window-table cells, settings values) and
// numbers, done at the point of use. A text that does not convert gives no value, and the
// caller skips it; nothing here throws.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vd {

// A whole number: optional blanks, an optional sign, digits, optionally a fraction (rounded to
// the nearest whole number, halves to the even neighbour); empty or anything else gives none,
// as does a value outside the target range.
std::optional<int16_t> ToInt16(const std::string& text);
std::optional<int32_t> ToInt32(const std::string& text);
// A table cell read as a whole number, 0 when it does not convert (an empty cell, a missing
// row).
inline int32_t AsNumber(const std::string& text) { return ToInt32(text).value_or(0); }

// A single-precision number (optional blanks, sign, digits, '.', exponent).
std::optional<float> ToSingle(const std::string& text);

// The ordinary number-to-text conversion of a single: up to seven significant digits, no
// trailing zeros, '.' as decimal separator ("12.5", "-0.8", "1234").
std::string FormatSingle(float value);

// The parts of a text between the separators ("1,12,1" gives "1", "12", "1"; "" gives one
// empty part).
std::vector<std::string> Split(const std::string& text, char separator);

// Rounds to the nearest whole number, halves to the even neighbour (as window-system
// coordinates are rounded from cell units).
int32_t RoundEven(double value);

}  // namespace vd
