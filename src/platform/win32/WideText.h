// The program keeps every text as UTF-8; the system's wide calls take and give UTF-16. These
// convert at the edge, both ways, and never fail: a malformed sequence becomes U+FFFD (and an
// unpaired surrogate read from a window comes back as U+FFFD too), so a title is never lost.
#pragma once

// clang-format off
#include <windows.h>
// clang-format on

#include <string>

namespace vd::win32 {

// One conversion each way, in the given code page: UTF-8, or the ANSI code page.
inline std::wstring ToWide(const std::string& text, UINT codePage) {
  if (text.empty()) return {};
  const int n =
      ::MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(n > 0 ? n : 0), L'\0');
  if (n > 0) {
    ::MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
  }
  return wide;
}

inline std::string FromWide(const wchar_t* wide, size_t length, UINT codePage) {
  if (length == 0) return {};
  const int n = ::WideCharToMultiByte(codePage, 0, wide, static_cast<int>(length), nullptr, 0,
                                      nullptr, nullptr);
  std::string text(static_cast<size_t>(n > 0 ? n : 0), '\0');
  if (n > 0) {
    ::WideCharToMultiByte(codePage, 0, wide, static_cast<int>(length), text.data(), n, nullptr,
                          nullptr);
  }
  return text;
}

inline std::wstring Widen(const std::string& utf8) { return ToWide(utf8, CP_UTF8); }
inline std::string Narrow(const wchar_t* wide, size_t length) {
  return FromWide(wide, length, CP_UTF8);
}
inline std::string Narrow(const std::wstring& wide) { return Narrow(wide.data(), wide.size()); }

// A text of the system's ANSI code page (what earlier versions wrote) as UTF-8, and back.
// Characters the code page lacks become '?' (or their nearest look-alike), as they did when
// earlier versions read a title with the ANSI calls.
inline std::string AnsiToUtf8(const std::string& ansi) { return Narrow(ToWide(ansi, CP_ACP)); }
inline std::string Utf8ToAnsi(const std::string& utf8) {
  const std::wstring wide = Widen(utf8);
  return FromWide(wide.data(), wide.size(), CP_ACP);
}

}  // namespace vd::win32
