#include "core/Text.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace vd {

namespace {

std::string Trim(const std::string& text) {
  size_t begin = text.find_first_not_of(" \t");
  if (begin == std::string::npos) return {};
  size_t end = text.find_last_not_of(" \t");
  return text.substr(begin, end - begin + 1);
}

// Parses the whole text as a number; none when anything is left over.
std::optional<double> ToDouble(const std::string& text) {
  std::string t = Trim(text);
  if (t.empty()) return std::nullopt;
  // Only plain decimal notation: no hexadecimal, no "inf" or "nan".
  for (char c : t) {
    if (!((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.' || c == 'e' || c == 'E'))
      return std::nullopt;
  }
  errno = 0;
  char* end = nullptr;
  double v = std::strtod(t.c_str(), &end);
  if (end != t.c_str() + t.size() || errno == ERANGE || !std::isfinite(v)) return std::nullopt;
  return v;
}

template <class T>
std::optional<T> ToWhole(const std::string& text) {
  auto v = ToDouble(text);
  if (!v) return std::nullopt;
  double r = std::nearbyint(*v);  // default rounding mode: halves to even
  if (r < static_cast<double>(std::numeric_limits<T>::min()) ||
      r > static_cast<double>(std::numeric_limits<T>::max()))
    return std::nullopt;
  return static_cast<T>(r);
}

}  // namespace

std::optional<int16_t> ToInt16(const std::string& text) { return ToWhole<int16_t>(text); }
std::optional<int32_t> ToInt32(const std::string& text) { return ToWhole<int32_t>(text); }

std::optional<float> ToSingle(const std::string& text) {
  auto v = ToDouble(text);
  if (!v || std::fabs(*v) > std::numeric_limits<float>::max()) return std::nullopt;
  return static_cast<float>(*v);
}

std::string FormatSingle(float value) {
  if (value == 0.0f) return "0";  // also for -0
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.7g", static_cast<double>(value));
  return buffer;
}

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts(1);
  for (char c : text) {
    if (c == separator) {
      parts.emplace_back();
    } else {
      parts.back() += c;
    }
  }
  return parts;
}

int32_t RoundEven(double value) {
  double r = std::nearbyint(value);
  if (!(r >= std::numeric_limits<int32_t>::min())) return std::numeric_limits<int32_t>::min();
  if (!(r <= std::numeric_limits<int32_t>::max())) return std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(r);
}

}  // namespace vd
