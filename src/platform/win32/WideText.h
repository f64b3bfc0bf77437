// The program keeps every text as UTF-8; the system's wide calls take and give UTF-16. These
// convert at the edge, both ways, and never fail: a malformed sequence becomes U+FFFD (and an
// unpaired surrogate read from a window comes back as U+FFFD too), so a title is never lost.
#pragma once

// clang-format off
#include <windows.h>
// clang-format on

#include <string>

namespace vd::win32 {

inline std::wstring Widen(const std::string& utf8) {
  if (utf8.empty()) return {};
  const int n =
      ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(n > 0 ? n : 0), L'\0');
  if (n > 0) {
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
  }
  return wide;
}

inline std::string Narrow(const wchar_t* wide, size_t length) {
  if (length == 0) return {};
  const int n = ::WideCharToMultiByte(CP_UTF8, 0, wide, static_cast<int>(length), nullptr, 0,
                                      nullptr, nullptr);
  std::string utf8(static_cast<size_t>(n > 0 ? n : 0), '\0');
  if (n > 0) {
    ::WideCharToMultiByte(CP_UTF8, 0, wide, static_cast<int>(length), utf8.data(), n, nullptr,
                          nullptr);
  }
  return utf8;
}

inline std::string Narrow(const std::wstring& wide) { return Narrow(wide.data(), wide.size()); }

// A text of the system's ANSI code page (what earlier versions wrote) as UTF-8, and back.
// Characters the code page lacks become '?' (or their nearest look-alike), as they did when
// earlier versions read a title with the ANSI calls.
inline std::string AnsiToUtf8(const std::string& ansi) {
  if (ansi.empty()) return {};
  const int n =
      ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(n > 0 ? n : 0), L'\0');
  if (n > 0) {
    ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(), n);
  }
  return Narrow(wide);
}

inline std::string Utf8ToAnsi(const std::string& utf8) {
  const std::wstring wide = Widen(utf8);
  if (wide.empty()) return {};
  const int n = ::WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()),
                                      nullptr, 0, nullptr, nullptr);
  std::string ansi(static_cast<size_t>(n > 0 ? n : 0), '\0');
  if (n > 0) {
    ::WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), ansi.data(), n,
                          nullptr, nullptr);
  }
  return ansi;
}

}  // namespace vd::win32
