// The peer of a push button: a system button drawn by the backend, flat, in the colours of
// its state (light or dark by its container, hovered, pressed, disabled), with its icon and
// caption or the glyph of a title button; every click of the user counts, double ones too.
#include <algorithm>
#include <memory>
#include <string>

#include "forms/win32/PeerDrawing.h"
#include "forms/win32/PeerFactory.h"
#include "forms/win32/WindowPeer.h"

namespace forms::win32 {

namespace {

// ---- Buttons ------------------------------------------------------------------------------

constexpr COLORREF kAccent = RGB(0, 120, 215);

// The colours of a flat push button in one of its states.
struct ButtonColors {
  COLORREF face, border, text;
};

// Every button is drawn flat by the backend: light on a light container (the dialogs), dark on
// a dark one (the pager's title strip and status row); the hovered button is lit, the pressed
// one darker with an accent border, the disabled one faded.
ButtonColors ButtonLook(bool dark, bool enabled, bool pressed, bool hot) {
  if (dark) {
    if (!enabled) return {RGB(38, 38, 38), RGB(58, 58, 58), RGB(110, 110, 110)};
    if (pressed) return {RGB(20, 20, 20), kAccent, RGB(255, 255, 255)};
    if (hot) return {RGB(66, 66, 66), RGB(100, 100, 100), RGB(255, 255, 255)};
    return {RGB(45, 45, 45), RGB(70, 70, 70), RGB(235, 235, 235)};
  }
  if (!enabled) return {RGB(244, 244, 244), RGB(216, 216, 216), RGB(160, 160, 160)};
  if (pressed) return {RGB(204, 228, 247), RGB(0, 84, 153), RGB(0, 0, 0)};
  if (hot) return {RGB(229, 241, 251), kAccent, RGB(0, 0, 0)};
  return {RGB(253, 253, 253), RGB(200, 200, 200), RGB(26, 26, 26)};
}

bool IsDark(COLORREF color) {
  return GetRValue(color) * 299 + GetGValue(color) * 587 + GetBValue(color) * 114 < 128000;
}

// The pager's title buttons carry the captions "..." (the main menu) and "+" (offer a window);
// without an icon of their own they get a crisp glyph instead of the text: three bars, a plus.
// Returns false for any other caption.
bool DrawGlyph(HDC dc, const RECT& r, const std::string& caption, HBRUSH brush) {
  if (caption != "..." && caption != "+") return false;
  const int size = std::min(r.right - r.left, r.bottom - r.top);
  const int span = std::max(5, size / 2 + 1);    // the glyph's width and height
  const int bar = std::max(1, (size + 8) / 14);  // the thickness of its strokes
  const int left = r.left + (r.right - r.left - span) / 2;
  const int top = r.top + (r.bottom - r.top - span) / 2;
  if (caption == "...") {
    for (int i = 0; i < 3; ++i) {
      const int y = top + (span - bar) * i / 2;
      const RECT stroke{left, y, left + span, y + bar};
      ::FillRect(dc, &stroke, brush);
    }
  } else {
    const int middle = (span - bar) / 2;
    const RECT across{left, top + middle, left + span, top + middle + bar};
    const RECT down{left + middle, top, left + middle + bar, top + span};
    ::FillRect(dc, &across, brush);
    ::FillRect(dc, &down, brush);
  }
  return true;
}

class ButtonPeer : public WindowPeer {
 public:
  ButtonPeer(Context& context, Button& button) : WindowPeer(context, button) {
    CreateNativeWindow(L"BUTTON", WS_TABSTOP | BS_OWNERDRAW, 0, button.Caption());
  }
  void OnCommand(WORD code) override {
    if (code == BN_CLICKED) control_.RaiseClick();
  }
  void Changed(Property property) override {
    if (!hwnd_) return;
    if (property == Property::kText) ::SetWindowTextW(hwnd_, Widen(Self().Caption()).c_str());
    if (property == Property::kEnabled && !control_.Enabled()) hot_ = false;
    WindowPeer::Changed(property);
  }
  // The face inside a one-pixel border, then the icon and the caption centred (a glyph for the
  // title buttons).
  bool OnDrawItem(const DRAWITEMSTRUCT& item) override {
    Button& button = Self();
    const RECT r = item.rcItem;
    BufferedPaint buffer(item.hDC, r);
    HDC out = buffer.Dc();
    const bool enabled = !(item.itemState & ODS_DISABLED);
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    Container* parent = button.Parent();
    const bool dark = parent && IsDark(Context::Color(parent->BackColor()));
    const ButtonColors look = ButtonLook(dark, enabled, pressed, hot_ && enabled);
    // The keyboard's button has an accent border. Not on a dark container: the pager's buttons
    // are used with the mouse and keep the focus after a click.
    const bool focusCue =
        (item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT) && enabled && !dark;
    ::FillRect(out, &r, context_.GetBrush(focusCue ? kAccent : look.border));
    RECT face = r;
    ::InflateRect(&face, -1, -1);
    ::FillRect(out, &face, context_.GetBrush(look.face));

    const vd::Bitmap& icon = button.Icon();
    const std::string& caption = button.Caption();
    const bool glyph = icon.Empty() && DrawGlyph(out, face, caption, context_.GetBrush(look.text));
    if (!glyph) {
      SelectGuard font(out, TextFont());
      const std::wstring wide = Widen(caption);
      SIZE text{0, 0};
      if (!wide.empty()) {
        ::GetTextExtentPoint32W(out, wide.c_str(), static_cast<int>(wide.size()), &text);
      }
      const int gap = (!icon.Empty() && text.cx > 0) ? 4 : 0;
      const int width = r.right - r.left, height = r.bottom - r.top;
      int x = r.left + (width - icon.Width() - gap - static_cast<int>(text.cx)) / 2;
      DrawBitmap(out, x, r.top + (height - icon.Height()) / 2, icon, 0, 0, icon.Width(),
                 icon.Height());
      x += icon.Width() + gap;
      if (text.cx > 0) {
        ::SetBkMode(out, TRANSPARENT);
        ::SetTextColor(out, look.text);
        ::TextOutW(out, x, r.top + (height - static_cast<int>(text.cy)) / 2, wide.c_str(),
                   static_cast<int>(wide.size()));
      }
    }
    return true;
  }

 protected:
  bool Intercept(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override {
    switch (msg) {
      case WM_ERASEBKGND:  // the drawing covers everything
        *result = 1;
        return true;
      case WM_MOUSEMOVE:
        if (!hot_ && control_.Enabled()) {
          hot_ = true;
          TRACKMOUSEEVENT leave{sizeof(TRACKMOUSEEVENT), TME_LEAVE, hwnd_, 0};
          ::TrackMouseEvent(&leave);
          ::InvalidateRect(hwnd_, nullptr, FALSE);
        }
        break;
      case WM_MOUSELEAVE:
        hot_ = false;
        ::InvalidateRect(hwnd_, nullptr, FALSE);
        break;
      case WM_LBUTTONDBLCLK: {
        // An owner-drawn button turns a quick second click into a double-click notice and no
        // click; here it is a press like the first, so that every click of the user counts.
        const std::shared_ptr<bool> alive = alive_;
        WindowPeer::Intercept(WM_LBUTTONDOWN, wParam, lParam, result);
        *result = *alive ? SystemHandling(WM_LBUTTONDOWN, wParam, lParam) : 0;
        return true;
      }
      default:
        break;
    }
    return WindowPeer::Intercept(msg, wParam, lParam, result);
  }

 private:
  Button& Self() { return static_cast<Button&>(control_); }
  bool hot_ = false;  // the mouse is over the button
};

}  // namespace

std::unique_ptr<Peer> MakeButtonPeer(Context& context, Button& button) {
  return std::make_unique<ButtonPeer>(context, button);
}

}  // namespace forms::win32
