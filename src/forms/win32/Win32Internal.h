// What the Win32 backend shares with its peers: the window classes, the caches of fonts and
// brushes, the program's forms, and the factory of the peers. Private to src/forms/win32.
// The program's windows are Unicode windows: every text the toolkit holds is UTF-8 and is widened
// to UTF-16 for the system's wide calls, and narrowed back from what they give (WideText.h).
#pragma once

// <windows.h> comes first: the other system headers build on it.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "forms/Backend.h"
#include "forms/Control.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideText.h"

namespace forms {
struct Font;
}

namespace forms::win32 {

struct MenuCloser {
  static constexpr vd::win32::HandleKind kKind = vd::win32::HandleKind::kMenu;
  void operator()(HMENU menu) const { ::DestroyMenu(menu); }
};
struct WindowCloser {
  static constexpr vd::win32::HandleKind kKind = vd::win32::HandleKind::kWindow;
  void operator()(HWND window) const { ::DestroyWindow(window); }
};
// The context's caches of fonts and brushes.
using CachedFont = vd::win32::UniqueHandle<HFONT, vd::win32::CachedGdiObjectCloser>;
using CachedBrush = vd::win32::UniqueHandle<HBRUSH, vd::win32::CachedGdiObjectCloser>;
using OwnedPen = vd::win32::UniqueHandle<HPEN, vd::win32::GdiObjectCloser>;
using OwnedBitmap = vd::win32::UniqueHandle<HBITMAP, vd::win32::GdiObjectCloser>;
using OwnedMenu = vd::win32::UniqueHandle<HMENU, MenuCloser>;
using OwnedWindow = vd::win32::UniqueHandle<HWND, WindowCloser>;
using vd::win32::MemoryDc;
using vd::win32::Narrow;
using vd::win32::SelectGuard;
using vd::win32::Widen;

inline constexpr wchar_t kFormClass[] = L"VuedeckForm";
inline constexpr wchar_t kControlClass[] = L"VuedeckControl";
inline constexpr wchar_t kTimerClass[] = L"VuedeckTimers";

class FormPeer;

// Shared by the backend and its peers; lives as long as the backend.
struct Context {
  HINSTANCE instance = nullptr;
  int systemDpi = 96;            // the scale forms start at, until their window knows its screen's
  std::vector<FormPeer*> forms;  // every form of the program, in creation order
  std::map<std::tuple<std::string, int, bool>, CachedFont> fonts;
  std::map<COLORREF, CachedBrush> brushes;
  UINT nextControlId = 100;

  // The font at a form's scale (dots per inch).
  HFONT GetFont(const Font& font, int dpi);
  HFONT DefaultFont(int dpi);
  HBRUSH GetBrush(COLORREF color);
  // A colour property as the system draws it: 0x8000000F is the system colour 15.
  static COLORREF Color(uint32_t value);
};

std::unique_ptr<Peer> CreateWin32Peer(Context& context, Control& control);

}  // namespace forms::win32
