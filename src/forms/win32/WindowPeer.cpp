// The window peer base: the window procedures of the program's classes and of the subclassed
// system controls, the toolkit's own handling of paint, mouse, capture and child notifications,
// and the translation of the control's property changes to its window.
#include "forms/win32/WindowPeer.h"

#include <windowsx.h>

#include <algorithm>
#include <string>
#include <string_view>

#include "forms/Controls.h"
#include "forms/win32/FormPeer.h"
#include "forms/win32/PeerDrawing.h"

namespace forms::win32 {

namespace {

WindowPeer* PeerOf(HWND hwnd) {
  return reinterpret_cast<WindowPeer*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

WindowPeer* PeerOf(Control& control) { return dynamic_cast<WindowPeer*>(control.GetPeer()); }

}  // namespace

HWND ContainerWindow(Control& control) {
  Container* parent = control.Parent();
  WindowPeer* peer = parent ? PeerOf(*parent) : nullptr;
  return peer ? peer->Hwnd() : nullptr;
}

// ---- WindowPeer ---------------------------------------------------------------------------

WindowPeer::WindowPeer(Context& context, Control& control)
    : context_(context), control_(control), kind_(control.Kind()) {}

WindowPeer::~WindowPeer() {
  *alive_ = false;
  if (!hwnd_) return;
  if (toolAdded_) {
    if (auto* form = dynamic_cast<FormPeer*>(control_.OwnerForm().GetPeer())) {
      TTTOOLINFOW info{};
      info.cbSize = TTTOOLINFOW_V2_SIZE;
      info.hwnd = ::GetParent(hwnd_) ? ::GetParent(hwnd_) : hwnd_;
      info.uId = reinterpret_cast<UINT_PTR>(hwnd_);
      if (HWND tips = form->ToolTips())
        ::SendMessageW(tips, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    }
  }
  // From here on the window's messages no longer reach the control, which is going away.
  if (::IsWindow(hwnd_)) {
    if (systemClass_ && systemProc_ != nullptr &&
        ::GetWindowLongPtrW(hwnd_, GWLP_WNDPROC) ==
            reinterpret_cast<LONG_PTR>(&SystemControlProc)) {
      ::SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(systemProc_));
    }
    ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    window_.Reset();
  } else {
    window_.Release();  // gone already, with the window of its container
  }
}

int32_t WindowPeer::Handle() const {
  return static_cast<int32_t>(reinterpret_cast<intptr_t>(hwnd_));
}

int WindowPeer::Dpi() const { return control_.OwnerForm().Dpi(); }

bool WindowPeer::IsShown() const { return hwnd_ && ::IsWindowVisible(hwnd_); }

void WindowPeer::SetFocus() {
  if (hwnd_) ::SetFocus(hwnd_);
}

void WindowPeer::Refresh() {
  if (hwnd_)
    ::RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

RECT WindowPeer::PixelRect() const {
  Container& parent = *control_.Parent();
  return EdgeRoundedRect(
      parent.ToScreenPixelsX(control_.Left()), parent.ToScreenPixelsY(control_.Top()),
      parent.ToScreenPixelsX(control_.Width()), parent.ToScreenPixelsY(control_.Height()));
}

void WindowPeer::CreateNativeWindow(const wchar_t* className, DWORD style, DWORD exStyle,
                                    const std::string& text) {
  const RECT r = PixelRect();
  HWND parent = kind_ == ControlKind::kForm ? nullptr : ContainerWindow(control_);
  HMENU id = nullptr;
  if (kind_ != ControlKind::kForm) {
    style |= WS_CHILD | WS_CLIPSIBLINGS;
    id = reinterpret_cast<HMENU>(static_cast<UINT_PTR>(context_.nextControlId++));
  }
  systemClass_ =
      std::wstring_view(className) != kControlClass && std::wstring_view(className) != kFormClass;
  creating_ = true;
  hwnd_ = ::CreateWindowExW(exStyle, className, Widen(text).c_str(), style, r.left, r.top,
                            r.right - r.left, r.bottom - r.top, parent, id, context_.instance,
                            systemClass_ ? nullptr : this);
  creating_ = false;
  if (!hwnd_) return;
  window_.Reset(hwnd_);
  if (systemClass_) {
    ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    systemProc_ = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SystemControlProc)));
    ::SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(TextFont()), FALSE);
  }
  if (kind_ != ControlKind::kForm) {
    PlaceInZOrder();
    ApplyVisible();
  }
  UpdateToolTip();
}

LRESULT CALLBACK WindowPeer::ClassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
  // Any of the program's windows tells how many handles of a kind its owners hold (the pager
  // is the one found from outside).
  static const UINT liveHandles =
      ::RegisterWindowMessageW(Widen(vd::win32::kLiveHandlesMessage).c_str());
  if (msg == liveHandles && liveHandles != 0) return vd::win32::LiveHandles::Answer(wParam);
  try {
    if (msg == WM_NCCREATE) {
      auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
      auto* peer = static_cast<WindowPeer*>(create->lpCreateParams);
      ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(peer));
      if (peer) peer->hwnd_ = hwnd;
    }
    if (WindowPeer* peer = PeerOf(hwnd)) return peer->Receive(msg, wParam, lParam);
  } catch (...) {
    // A handler failed: the message gets the system's default handling instead.
  }
  return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK WindowPeer::SystemControlProc(HWND hwnd, UINT msg, WPARAM wParam,
                                               LPARAM lParam) noexcept {
  WindowPeer* peer = PeerOf(hwnd);
  if (peer == nullptr || peer->systemProc_ == nullptr) {
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
  }
  // Kept before the program's handling, which may end the peer.
  const WNDPROC system = peer->systemProc_;
  try {
    LRESULT result = 0;
    if (peer->Intercept(msg, wParam, lParam, &result)) return result;
  } catch (...) {
    // Fall through to the control's own handling.
  }
  return ::CallWindowProcW(system, hwnd, msg, wParam, lParam);
}

LRESULT WindowPeer::SystemHandling(UINT msg, WPARAM wParam, LPARAM lParam) {
  return systemProc_ != nullptr ? ::CallWindowProcW(systemProc_, hwnd_, msg, wParam, lParam)
                                : ::DefWindowProcW(hwnd_, msg, wParam, lParam);
}

LRESULT WindowPeer::Receive(UINT msg, WPARAM wParam, LPARAM lParam) {
  return Handle(msg, wParam, lParam);
}

bool WindowPeer::Intercept(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT*) {
  // The system's controls keep their own mouse handling; the program just hears of it.
  if ((msg >= WM_MOUSEFIRST && msg <= WM_MBUTTONUP) && msg != WM_LBUTTONDBLCLK &&
      msg != WM_RBUTTONDBLCLK) {
    Mouse(msg, wParam, lParam, false);
  }
  return false;
}

LRESULT WindowPeer::Handle(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;  // WM_PAINT covers everything
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(TextFont());
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = ::BeginPaint(hwnd_, &ps);
      RECT client;
      ::GetClientRect(hwnd_, &client);
      if (dc) Paint(dc, client);
      ::EndPaint(hwnd_, &ps);
      return 0;
    }
    case WM_PRINTCLIENT: {
      RECT client;
      ::GetClientRect(hwnd_, &client);
      Paint(reinterpret_cast<HDC>(wParam), client);
      return 0;
    }
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      Mouse(msg, wParam, lParam,
            kind_ == ControlKind::kForm || kind_ == ControlKind::kPictureBox ||
                kind_ == ControlKind::kLabel);
      return 0;
    case WM_CAPTURECHANGED:
      // The release of the last button lets go of the capture itself, with nothing pressed
      // any more; a capture taken while a button is down ends the gesture without a release.
      if (reinterpret_cast<HWND>(lParam) != hwnd_ && pressed_ != 0) {
        pressed_ = 0;
        control_.RaiseCaptureLost();
        return 0;
      }
      break;
    case WM_COMMAND:
      if (lParam != 0) {
        if (WindowPeer* child = PeerOf(reinterpret_cast<HWND>(lParam))) {
          child->OnCommand(HIWORD(wParam));
          return 0;
        }
      }
      break;
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (WindowPeer* child = item ? PeerOf(item->hwndItem) : nullptr) {
        if (child->OnDrawItem(*item)) return TRUE;
      }
      break;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      if (WindowPeer* child = PeerOf(reinterpret_cast<HWND>(lParam))) {
        if (HBRUSH brush = child->OnControlColor(reinterpret_cast<HDC>(wParam))) {
          return reinterpret_cast<LRESULT>(brush);
        }
      }
      break;
    default:
      break;
  }
  return ::DefWindowProcW(hwnd_, msg, wParam, lParam);
}

// Button 1 left, 2 right, 4 middle; shift state 1 Shift, 2 Ctrl, 4 Alt. A container reports
// in its own scale units, any other control in its container's. A press captures the mouse
// (moves and the release outside still reach the control), and Click follows the release of
// the left button over the control it was pressed on.
void WindowPeer::Mouse(UINT msg, WPARAM wParam, LPARAM lParam, bool synthesizeClick) {
  const int shift = ((wParam & MK_SHIFT) ? 1 : 0) | ((wParam & MK_CONTROL) ? 2 : 0) |
                    (::GetKeyState(VK_MENU) < 0 ? 4 : 0);
  const int px = GET_X_LPARAM(lParam), py = GET_Y_LPARAM(lParam);
  Container* units = kind_ == ControlKind::kForm || kind_ == ControlKind::kPictureBox ||
                             kind_ == ControlKind::kFrame
                         ? static_cast<Container*>(&control_)
                         : control_.Parent();
  const float x = units->FromScreenPixelsX(static_cast<float>(px));
  const float y = units->FromScreenPixelsY(static_cast<float>(py));
  int button = 0;
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
      button = kLeftButton;
      break;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
      button = kRightButton;
      break;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
      button = kMiddleButton;
      break;
    default:
      break;
  }
  const std::shared_ptr<bool> alive = alive_;
  if (msg == WM_MOUSEMOVE) {
    const int held = ((wParam & MK_LBUTTON) ? kLeftButton : 0) |
                     ((wParam & MK_RBUTTON) ? kRightButton : 0) |
                     ((wParam & MK_MBUTTON) ? kMiddleButton : 0);
    control_.RaiseMouseMove(held, shift, x, y);
  } else if (msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN) {
    if (synthesizeClick) {
      pressed_ |= button;
      ::SetCapture(hwnd_);
    }
    control_.RaiseMouseDown(button, shift, x, y);
  } else {
    const bool wasPressed = (pressed_ & button) != 0;
    pressed_ &= ~button;
    if (synthesizeClick && pressed_ == 0 && ::GetCapture() == hwnd_) ::ReleaseCapture();
    control_.RaiseMouseUp(button, shift, x, y);
    if (!*alive) return;  // the handler unloaded the control
    RECT client;
    ::GetClientRect(hwnd_, &client);
    const POINT at{px, py};
    if (synthesizeClick && wasPressed && button == kLeftButton && ::PtInRect(&client, at)) {
      control_.RaiseClick();
    }
  }
}

void WindowPeer::ApplyVisible() {
  const bool want = control_.Visible();
  const bool is = (::GetWindowLongW(hwnd_, GWL_STYLE) & WS_VISIBLE) != 0;
  if (want != is) ::ShowWindow(hwnd_, want ? SW_SHOWNA : SW_HIDE);
}

// Front of the container: top of the sibling windows; back: the bottom; elsewhere right under
// the nearest windowed sibling in front of it.
void WindowPeer::PlaceInZOrder() {
  HWND after = HWND_TOP;
  if (Container* parent = control_.Parent()) {
    const std::vector<Control*>& siblings = parent->Children();
    auto self = std::find(siblings.begin(), siblings.end(), &control_);
    if (self != siblings.begin() && self != siblings.end()) {
      after = HWND_BOTTOM;
      if (self + 1 != siblings.end()) {
        for (auto it = self; it != siblings.begin();) {
          --it;
          if (WindowPeer* peer = PeerOf(**it); peer && peer->Hwnd()) {
            after = peer->Hwnd();
            break;
          }
        }
      }
    }
  }
  ::SetWindowPos(hwnd_, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void WindowPeer::UpdateToolTip() {
  const std::string& text = control_.ToolTipText();
  if (text.empty() && !toolAdded_) return;
  auto* form = dynamic_cast<FormPeer*>(control_.OwnerForm().GetPeer());
  if (kind_ == ControlKind::kForm) form = static_cast<FormPeer*>(this);
  HWND tips = form ? form->ToolTips() : nullptr;
  if (!tips) return;
  TTTOOLINFOW info{};
  info.cbSize = TTTOOLINFOW_V2_SIZE;
  info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  info.hwnd = ::GetParent(hwnd_) ? ::GetParent(hwnd_) : hwnd_;
  info.uId = reinterpret_cast<UINT_PTR>(hwnd_);
  info.hinst = context_.instance;
  std::wstring wide = Widen(text);
  info.lpszText = wide.data();
  if (text.empty()) {
    ::SendMessageW(tips, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    toolAdded_ = false;
  } else if (toolAdded_) {
    ::SendMessageW(tips, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
  } else {
    toolAdded_ = ::SendMessageW(tips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info)) != 0;
  }
}

void WindowPeer::Changed(Property property) {
  if (!hwnd_ || syncing_) return;
  switch (property) {
    case Property::kGeometry: {
      const RECT r = PixelRect();
      ::MoveWindow(hwnd_, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
      ::InvalidateRect(hwnd_, nullptr, FALSE);
      break;
    }
    case Property::kVisible:
      ApplyVisible();
      break;
    case Property::kEnabled:
      ::EnableWindow(hwnd_, control_.Enabled());
      break;
    case Property::kToolTip:
      UpdateToolTip();
      break;
    case Property::kFont:
      // A system control letters itself in the font it was given; the program's own draw
      // their text at paint time.
      if (systemClass_) {
        ::SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(TextFont()), TRUE);
      } else {
        ::InvalidateRect(hwnd_, nullptr, FALSE);
      }
      break;
    case Property::kZOrder:
      PlaceInZOrder();
      break;
    case Property::kText:
      if (kind_ == ControlKind::kLabel) {
        ::SetWindowTextW(hwnd_, Widen(static_cast<Label&>(control_).Caption()).c_str());
      } else if (kind_ == ControlKind::kFrame) {
        ::SetWindowTextW(hwnd_, Widen(static_cast<Frame&>(control_).Caption()).c_str());
      }
      ::InvalidateRect(hwnd_, nullptr, FALSE);
      break;
    default:
      ::InvalidateRect(hwnd_, nullptr, FALSE);
      break;
  }
}

}  // namespace forms::win32
