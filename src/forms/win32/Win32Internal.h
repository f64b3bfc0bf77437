// What the Win32 backend shares with its peers: the window classes, the caches of fonts and
// brushes, the program's forms, and the base of every peer that owns a window. Private to
// src/forms/win32.
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
#include "platform/Bitmap.h"
#include "platform/win32/UniqueHandle.h"

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
using vd::win32::SelectGuard;

inline constexpr char kFormClass[] = "VuedeckForm";
inline constexpr char kControlClass[] = "VuedeckControl";
inline constexpr char kTimerClass[] = "VuedeckTimers";

class FormPeer;

// Shared by the backend and its peers; lives as long as the backend.
struct Context {
  HINSTANCE instance = nullptr;
  int twipsPerPixelX = 15;
  int twipsPerPixelY = 15;
  int dpiY = 96;
  std::vector<FormPeer*> forms;  // every form of the program, in creation order
  std::map<std::tuple<std::string, int, bool>, CachedFont> fonts;
  std::map<COLORREF, CachedBrush> brushes;
  UINT nextControlId = 100;

  HFONT GetFont(const Font& font);
  HFONT DefaultFont();
  HBRUSH GetBrush(COLORREF color);
  // A colour property as the system draws it: 0x8000000F is the system colour 15.
  static COLORREF Color(uint32_t value);
};

// The pixel rectangle of a control whose place and size in pixels may be fractional: each edge
// is rounded on its own (right = left + width, bottom = top + height) and the size is what lies
// between them, so two neighbours that do not touch keep the gap between them whatever the
// fractions.
RECT EdgeRoundedRect(float left, float top, float width, float height);

// Copies a part of a bitmap to a device context, pixel for pixel.
void DrawBitmap(HDC dc, int x, int y, const vd::Bitmap& bitmap, int srcX, int srcY, int width,
                int height);

// The peer of every control that has a window of its own. Its window procedure cracks each
// message once; nothing thrown by a handler leaves it.
class WindowPeer : public Peer {
 public:
  WindowPeer(Context& context, Control& control);
  ~WindowPeer() override;

  HWND Hwnd() const { return hwnd_; }
  Control& GetControl() { return control_; }
  int32_t Handle() const override;
  bool IsShown() const override;
  void SetFocus() override;
  void Refresh() override;
  void Changed(Property property) override;

  // Notifications that reach the container's window on behalf of this child.
  virtual void OnCommand(WORD code) { (void)code; }
  virtual bool OnDrawItem(const DRAWITEMSTRUCT& item) {
    (void)item;
    return false;
  }
  virtual HBRUSH OnControlColor(HDC dc) {
    (void)dc;
    return nullptr;
  }

  // The window procedure of the program's own window classes.
  static LRESULT CALLBACK ClassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
  // The subclass procedure of the system's controls (buttons, lists, edit fields).
  static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR id, DWORD_PTR data) noexcept;

 protected:
  // Makes the window: one of the program's classes (kControlClass, kFormClass) or a system
  // control class, which is then subclassed.
  void CreateNativeWindow(const char* className, DWORD style, DWORD exStyle,
                          const std::string& text);
  // A message to a window of the program's own classes; forms first pass it through their
  // window procedure chain.
  virtual LRESULT Receive(UINT msg, WPARAM wParam, LPARAM lParam);
  // The toolkit's own handling, ending in DefWindowProc.
  LRESULT Handle(UINT msg, WPARAM wParam, LPARAM lParam);
  // A message to a subclassed system control; true when it was consumed.
  virtual bool Intercept(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result);
  virtual void Paint(HDC dc, const RECT& client) { (void)dc, (void)client; }
  virtual RECT PixelRect() const;
  // Mouse events: the position converted to the control's units.
  void Mouse(UINT msg, WPARAM wParam, LPARAM lParam, bool synthesizeClick);
  void UpdateToolTip();
  void PlaceInZOrder();
  void ApplyVisible();

  Context& context_;
  Control& control_;
  ControlKind kind_;
  // The window, known from WM_NCCREATE on (its first messages come before CreateWindowEx
  // returns); window_ owns it once it is made.
  HWND hwnd_ = nullptr;
  OwnedWindow window_;
  bool systemClass_ = false;
  bool creating_ = false;
  bool syncing_ = false;  // applying a change that came from the window itself
  bool toolAdded_ = false;
  int pressed_ = 0;  // buttons pressed on this window and not yet released
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

class FormPeer : public WindowPeer {
 public:
  FormPeer(Context& context, Form& form);
  ~FormPeer() override;
  Form& GetForm();
  HWND ToolTips();
  intptr_t DefaultProcedure(uint32_t msg, uintptr_t wParam, intptr_t lParam) override;
  bool IsShown() const override;
  void Changed(Property property) override;

 protected:
  LRESULT Receive(UINT msg, WPARAM wParam, LPARAM lParam) override;
  void Paint(HDC dc, const RECT& client) override;
  RECT PixelRect() const override;

 private:
  void SyncFromWindow();
  OwnedWindow tooltips_;
};

// Draws a container's surface and its shapes (the form's, a picture box's).
void PaintSurface(Context& context, HDC dc, const RECT& client, const vd::Bitmap& surface,
                  Container& container);

std::unique_ptr<Peer> CreateWin32Peer(Context& context, Control& control);

}  // namespace forms::win32
