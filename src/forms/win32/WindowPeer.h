// The base of every Win32 peer that owns a window: it makes the window (of the program's own
// classes or a subclassed system control), cracks each of its messages once into the control's
// events (paint, mouse, capture, the notifications its children send), and keeps the window's
// place, size, visibility, Z order and tip in step with the control's properties.
#pragma once

#include <memory>
#include <string>

#include "forms/Backend.h"
#include "forms/Control.h"
#include "forms/win32/Win32Internal.h"

namespace forms::win32 {

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
  // The window procedure put in front of a system control's own (buttons, lists, edit fields).
  // It is installed in the window itself rather than through the common controls' subclass
  // chain, which looks its data up as a window property on every message: under Wine each
  // lookup is a round trip to the server, tens of thousands of them while the program starts.
  static LRESULT CALLBACK SystemControlProc(HWND hwnd, UINT msg, WPARAM wParam,
                                            LPARAM lParam) noexcept;

 protected:
  // Makes the window: one of the program's classes (kControlClass, kFormClass) or a system
  // control class, which is then subclassed.
  void CreateNativeWindow(const wchar_t* className, DWORD style, DWORD exStyle,
                          const std::string& text);
  // A message to a window of the program's own classes; forms first pass it through their
  // window procedure chain.
  virtual LRESULT Receive(UINT msg, WPARAM wParam, LPARAM lParam);
  // The toolkit's own handling, ending in DefWindowProc.
  LRESULT Handle(UINT msg, WPARAM wParam, LPARAM lParam);
  // A message to a subclassed system control; true when it was consumed.
  virtual bool Intercept(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result);
  // The system control's own handling of a message.
  LRESULT SystemHandling(UINT msg, WPARAM wParam, LPARAM lParam);
  virtual void Paint(HDC dc, const RECT& client) { (void)dc, (void)client; }
  virtual RECT PixelRect() const;
  // The scale of the control's form (dots per inch) and the font the control's text is drawn
  // in at that scale; the system's controls are given it, the program's own answer WM_GETFONT
  // with it.
  int Dpi() const;
  virtual HFONT TextFont() const { return context_.DefaultFont(Dpi()); }
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
  WNDPROC systemProc_ = nullptr;  // a system control's own window procedure
  bool creating_ = false;
  bool syncing_ = false;  // applying a change that came from the window itself
  bool toolAdded_ = false;
  int pressed_ = 0;  // buttons pressed on this window and not yet released
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

// The window of the control's container, or none when the container has no window (yet).
HWND ContainerWindow(Control& control);

}  // namespace forms::win32
