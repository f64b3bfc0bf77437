// The peers of the Win32 backend: each control's window, and the translation between the
// window's messages and the control's properties and events.
// clang-format off
#include <windows.h>
#include <windowsx.h>
// clang-format on

#include <algorithm>
#include <cmath>

#include "forms/Controls.h"
#include "forms/Form.h"
#include "forms/win32/Win32Internal.h"

namespace forms::win32 {

namespace {

int Round(float v) { return static_cast<int>(std::lround(v)); }

WindowPeer* PeerOf(HWND hwnd) {
  return reinterpret_cast<WindowPeer*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

WindowPeer* PeerOf(Control& control) { return dynamic_cast<WindowPeer*>(control.GetPeer()); }

HWND ContainerWindow(Control& control) {
  Container* parent = control.Parent();
  WindowPeer* peer = parent ? PeerOf(*parent) : nullptr;
  return peer ? peer->Hwnd() : nullptr;
}

// Draws off screen and copies the result in one step, so nothing flickers.
class BufferedPaint {
 public:
  BufferedPaint(HDC target, const RECT& client)
      : target_(target),
        width_(client.right - client.left),
        height_(client.bottom - client.top),
        dc_(::CreateCompatibleDC(target)),
        bitmap_(::CreateCompatibleBitmap(target, std::max(width_, 1), std::max(height_, 1))),
        select_(dc_.Get(), bitmap_.Get()) {}
  ~BufferedPaint() { ::BitBlt(target_, 0, 0, width_, height_, dc_.Get(), 0, 0, SRCCOPY); }
  BufferedPaint(const BufferedPaint&) = delete;
  BufferedPaint& operator=(const BufferedPaint&) = delete;
  HDC Dc() const { return dc_.Get(); }

 private:
  HDC target_;
  int width_, height_;
  MemoryDc dc_;
  OwnedBitmap bitmap_;
  SelectGuard select_;
};

void FillColor(Context& context, HDC dc, const RECT& rect, uint32_t color) {
  ::FillRect(dc, &rect, context.GetBrush(Context::Color(color)));
}

}  // namespace

// ---- Drawing helpers ----------------------------------------------------------------------

RECT EdgeRoundedRect(float left, float top, float width, float height) {
  return RECT{Round(left), Round(top), Round(left + width), Round(top + height)};
}

void DrawBitmap(HDC dc, int x, int y, const vd::Bitmap& bitmap, int srcX, int srcY, int width,
                int height) {
  if (srcX < 0) {
    width += srcX;
    x -= srcX;
    srcX = 0;
  }
  if (srcY < 0) {
    height += srcY;
    y -= srcY;
    srcY = 0;
  }
  width = std::min(width, bitmap.Width() - srcX);
  height = std::min(height, bitmap.Height() - srcY);
  if (width <= 0 || height <= 0) return;
  // The bitmap holds 0x00BBGGRR values; a 32-bit device-independent bitmap wants 0x00RRGGBB.
  std::vector<uint32_t> rows(static_cast<size_t>(width) * static_cast<size_t>(height));
  for (int row = 0; row < height; ++row) {
    const uint32_t* from = bitmap.Pixels().data() +
                           static_cast<size_t>(srcY + row) * static_cast<size_t>(bitmap.Width()) +
                           static_cast<size_t>(srcX);
    uint32_t* to = rows.data() + static_cast<size_t>(row) * static_cast<size_t>(width);
    for (int col = 0; col < width; ++col) {
      const uint32_t p = from[col];
      to[col] = ((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF);
    }
  }
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  ::SetDIBitsToDevice(dc, x, y, static_cast<DWORD>(width), static_cast<DWORD>(height), 0, 0, 0,
                      static_cast<UINT>(height), rows.data(), &info, DIB_RGB_COLORS);
}

// The surface, then the container's shapes from the back to the front (under the child
// windows, which clip themselves out of the container).
void PaintSurface(Context& context, HDC dc, const RECT& client, const vd::Bitmap& surface,
                  Container& container) {
  BufferedPaint buffer(dc, client);
  HDC out = buffer.Dc();
  FillColor(context, out, client, container.BackColor());
  DrawBitmap(out, 0, 0, surface, 0, 0, surface.Width(), surface.Height());
  // The window's size comes from its rounded edges, the surface's from its rounded size: they
  // may differ by a pixel, which takes the surface's last column or row rather than showing a
  // line of the background colour along the edge.
  const int w = surface.Width(), h = surface.Height();
  const bool wider = client.right - client.left == w + 1;
  const bool taller = client.bottom - client.top == h + 1;
  if (w > 0 && h > 0) {
    if (wider) DrawBitmap(out, w, 0, surface, w - 1, 0, 1, h);
    if (taller) DrawBitmap(out, 0, h, surface, 0, h - 1, w, 1);
    if (wider && taller) DrawBitmap(out, w, h, surface, w - 1, h - 1, 1, 1);
  }
  const std::vector<Control*>& children = container.Children();
  for (auto it = children.rbegin(); it != children.rend(); ++it) {
    if ((*it)->Kind() != ControlKind::kShape || !(*it)->Visible()) continue;
    const auto& shape = static_cast<const Shape&>(**it);
    const RECT box = EdgeRoundedRect(
        container.ToPixelsX(shape.Left()), container.ToPixelsY(shape.Top()),
        container.ToPixelsX(shape.Width()), container.ToPixelsY(shape.Height()));
    OwnedPen pen(::CreatePen(PS_SOLID, std::max(shape.BorderWidth(), 1),
                             Context::Color(shape.BorderColor())));
    SelectGuard usePen(out, pen.Get());
    SelectGuard noFill(out, ::GetStockObject(NULL_BRUSH));
    ::Rectangle(out, box.left, box.top, box.right, box.bottom);
  }
}

// ---- WindowPeer ---------------------------------------------------------------------------

WindowPeer::WindowPeer(Context& context, Control& control)
    : context_(context), control_(control), kind_(control.Kind()) {}

WindowPeer::~WindowPeer() {
  *alive_ = false;
  if (!hwnd_) return;
  if (toolAdded_) {
    if (auto* form = dynamic_cast<FormPeer*>(control_.OwnerForm().GetPeer())) {
      TOOLINFOA info{};
      info.cbSize = TTTOOLINFOA_V2_SIZE;
      info.hwnd = ::GetParent(hwnd_) ? ::GetParent(hwnd_) : hwnd_;
      info.uId = reinterpret_cast<UINT_PTR>(hwnd_);
      if (HWND tips = form->ToolTips())
        ::SendMessageA(tips, TTM_DELTOOL, 0, reinterpret_cast<LPARAM>(&info));
    }
  }
  // From here on the window's messages no longer reach the control, which is going away.
  if (::IsWindow(hwnd_)) {
    if (systemClass_) ::RemoveWindowSubclass(hwnd_, SubclassProc, 1);
    ::SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
    window_.Reset();
  } else {
    window_.Release();  // gone already, with the window of its container
  }
}

int32_t WindowPeer::Handle() const {
  return static_cast<int32_t>(reinterpret_cast<intptr_t>(hwnd_));
}

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
  return EdgeRoundedRect(parent.ToPixelsX(control_.Left()), parent.ToPixelsY(control_.Top()),
                         parent.ToPixelsX(control_.Width()), parent.ToPixelsY(control_.Height()));
}

void WindowPeer::CreateNativeWindow(const char* className, DWORD style, DWORD exStyle,
                                    const std::string& text) {
  const RECT r = PixelRect();
  HWND parent = kind_ == ControlKind::kForm ? nullptr : ContainerWindow(control_);
  HMENU id = nullptr;
  if (kind_ != ControlKind::kForm) {
    style |= WS_CHILD | WS_CLIPSIBLINGS;
    id = reinterpret_cast<HMENU>(static_cast<UINT_PTR>(context_.nextControlId++));
  }
  systemClass_ = std::string(className) != kControlClass && std::string(className) != kFormClass;
  creating_ = true;
  hwnd_ = ::CreateWindowExA(exStyle, className, text.c_str(), style, r.left, r.top,
                            r.right - r.left, r.bottom - r.top, parent, id, context_.instance,
                            systemClass_ ? nullptr : this);
  creating_ = false;
  if (!hwnd_) return;
  window_.Reset(hwnd_);
  if (systemClass_) {
    ::SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    ::SetWindowSubclass(hwnd_, SubclassProc, 1, reinterpret_cast<DWORD_PTR>(this));
    ::SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(context_.DefaultFont()), FALSE);
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
  static const UINT liveHandles = ::RegisterWindowMessageA(vd::win32::kLiveHandlesMessage);
  if (msg == liveHandles && liveHandles != 0) return vd::win32::LiveHandles::Answer(wParam);
  try {
    if (msg == WM_NCCREATE) {
      auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
      auto* peer = static_cast<WindowPeer*>(create->lpCreateParams);
      ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(peer));
      if (peer) peer->hwnd_ = hwnd;
    }
    if (WindowPeer* peer = PeerOf(hwnd)) return peer->Receive(msg, wParam, lParam);
  } catch (...) {
    // A handler failed: the message gets the system's default handling instead.
  }
  return ::DefWindowProcA(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK WindowPeer::SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                          UINT_PTR, DWORD_PTR data) noexcept {
  try {
    if (msg == WM_NCDESTROY) ::RemoveWindowSubclass(hwnd, SubclassProc, 1);
    auto* peer = reinterpret_cast<WindowPeer*>(data);
    LRESULT result = 0;
    if (peer && PeerOf(hwnd) == peer && peer->Intercept(msg, wParam, lParam, &result)) {
      return result;
    }
  } catch (...) {
    // Fall through to the control's own handling.
  }
  return ::DefSubclassProc(hwnd, msg, wParam, lParam);
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
  return ::DefWindowProcA(hwnd_, msg, wParam, lParam);
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
  const float x = units->FromPixelsX(static_cast<float>(px));
  const float y = units->FromPixelsY(static_cast<float>(py));
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
  const bool is = (::GetWindowLongA(hwnd_, GWL_STYLE) & WS_VISIBLE) != 0;
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
  TOOLINFOA info{};
  info.cbSize = TTTOOLINFOA_V2_SIZE;
  info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  info.hwnd = ::GetParent(hwnd_) ? ::GetParent(hwnd_) : hwnd_;
  info.uId = reinterpret_cast<UINT_PTR>(hwnd_);
  info.hinst = context_.instance;
  std::string copy = text;
  info.lpszText = copy.data();
  if (text.empty()) {
    ::SendMessageA(tips, TTM_DELTOOL, 0, reinterpret_cast<LPARAM>(&info));
    toolAdded_ = false;
  } else if (toolAdded_) {
    ::SendMessageA(tips, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&info));
  } else {
    toolAdded_ = ::SendMessageA(tips, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info)) != 0;
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
    case Property::kZOrder:
      PlaceInZOrder();
      break;
    case Property::kText:
      if (kind_ == ControlKind::kLabel) {
        ::SetWindowTextA(hwnd_, static_cast<Label&>(control_).Caption().c_str());
      } else if (kind_ == ControlKind::kFrame) {
        ::SetWindowTextA(hwnd_, static_cast<Frame&>(control_).Caption().c_str());
      }
      ::InvalidateRect(hwnd_, nullptr, FALSE);
      break;
    default:
      ::InvalidateRect(hwnd_, nullptr, FALSE);
      break;
  }
}

// ---- Forms --------------------------------------------------------------------------------

FormPeer::FormPeer(Context& context, Form& form) : WindowPeer(context, form) {
  context_.forms.push_back(this);
  CreateNativeWindow(kFormClass, WS_POPUP | WS_CLIPCHILDREN,
                     form.ShowInTaskbar() ? WS_EX_APPWINDOW : WS_EX_TOOLWINDOW, form.Caption());
}

FormPeer::~FormPeer() {
  tooltips_.Reset();
  std::erase(context_.forms, this);
}

Form& FormPeer::GetForm() { return static_cast<Form&>(control_); }

HWND FormPeer::ToolTips() {
  if (!tooltips_ && hwnd_) {
    // TTS_ALWAYSTIP: the pager is seldom the active window, its tips must show all the same.
    // The tip window has no owner. Wine places a window's owned pop-ups in front of it on every
    // Z-order change and then the window right behind the last of them; when that pop-up is a
    // top-most tip with no other top-most window behind it, the form loses its top-most state
    // (the program's SetWindowPos(HWND_TOPMOST) on the pager came to nothing). The form
    // destroys the tip window itself, so nothing needs the ownership.
    tooltips_.Reset(::CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                                      WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                      CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr,
                                      nullptr, context_.instance, nullptr));
  }
  return tooltips_.Get();
}

bool FormPeer::IsShown() const { return hwnd_ && ::IsWindowVisible(hwnd_); }

RECT FormPeer::PixelRect() const {
  const float tx = static_cast<float>(context_.twipsPerPixelX);
  const float ty = static_cast<float>(context_.twipsPerPixelY);
  return EdgeRoundedRect(control_.Left() / tx, control_.Top() / ty, control_.Width() / tx,
                         control_.Height() / ty);
}

// Every message goes through the form's window procedure chain, whose first procedure passes
// what it leaves alone back here (DefaultProcedure). While the window is being made the form
// does not know its peer yet, so those messages take the default path directly.
LRESULT FormPeer::Receive(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (creating_ || control_.GetPeer() != this) return Handle(msg, wParam, lParam);
  return static_cast<LRESULT>(GetForm().Dispatch(msg, wParam, lParam));
}

intptr_t FormPeer::DefaultProcedure(uint32_t msg, uintptr_t wParam, intptr_t lParam) {
  if (!hwnd_) return 0;
  if (msg == WM_WINDOWPOSCHANGED) SyncFromWindow();
  return Handle(msg, wParam, lParam);
}

// The user dragged the form (a caption drag the program started) or the program moved its
// window through the window system: the form's twips follow.
void FormPeer::SyncFromWindow() {
  if (syncing_ || creating_) return;
  RECT r;
  if (!::GetWindowRect(hwnd_, &r)) return;
  const RECT mine = PixelRect();
  if (r.left == mine.left && r.top == mine.top && r.right == mine.right &&
      r.bottom == mine.bottom) {
    return;
  }
  syncing_ = true;
  Form& form = GetForm();
  const float tx = static_cast<float>(context_.twipsPerPixelX);
  const float ty = static_cast<float>(context_.twipsPerPixelY);
  form.Move(r.left != mine.left ? r.left * tx : form.Left(),
            r.top != mine.top ? r.top * ty : form.Top(),
            r.right - r.left != mine.right - mine.left ? (r.right - r.left) * tx : form.Width(),
            r.bottom - r.top != mine.bottom - mine.top ? (r.bottom - r.top) * ty : form.Height());
  syncing_ = false;
}

void FormPeer::Changed(Property property) {
  if (!hwnd_ || syncing_) return;
  Form& form = GetForm();
  switch (property) {
    case Property::kGeometry: {
      const RECT r = PixelRect();
      syncing_ = true;
      ::SetWindowPos(hwnd_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
      syncing_ = false;
      ::InvalidateRect(hwnd_, nullptr, FALSE);
      break;
    }
    case Property::kVisible: {
      const bool want = form.IsLoaded() && form.Visible();
      if (want != (::IsWindowVisible(hwnd_) != FALSE))
        ::ShowWindow(hwnd_, want ? SW_SHOW : SW_HIDE);
      // Wakes a modal loop waiting for this form to go away.
      ::PostMessageA(hwnd_, WM_NULL, 0, 0);
      break;
    }
    case Property::kText:
      ::SetWindowTextA(hwnd_, form.Caption().c_str());
      break;
    case Property::kZOrder:
      ::SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      break;
    case Property::kStyle: {
      LONG_PTR ex = ::GetWindowLongPtrA(hwnd_, GWL_EXSTYLE);
      ex = form.ShowInTaskbar() ? ((ex & ~WS_EX_TOOLWINDOW) | WS_EX_APPWINDOW)
                                : ((ex & ~WS_EX_APPWINDOW) | WS_EX_TOOLWINDOW);
      ::SetWindowLongPtrA(hwnd_, GWL_EXSTYLE, ex);
      ::SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
      break;
    }
    default:
      WindowPeer::Changed(property);
      break;
  }
}

void FormPeer::Paint(HDC dc, const RECT& client) {
  PaintSurface(context_, dc, client, GetForm().Surface(), GetForm());
}

namespace {

// ---- Picture boxes ------------------------------------------------------------------------

class PicturePeer : public WindowPeer {
 public:
  PicturePeer(Context& context, PictureBox& box) : WindowPeer(context, box) {
    CreateNativeWindow(kControlClass, Style(), 0, {});
  }
  void Changed(Property property) override {
    if (hwnd_ && property == Property::kStyle) {
      ::SetWindowLongPtrA(hwnd_, GWL_STYLE,
                          (::GetWindowLongPtrA(hwnd_, GWL_STYLE) & ~WS_BORDER) |
                              (Box().BorderStyle() ? WS_BORDER : 0));
      ::SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
    WindowPeer::Changed(property);
  }

 protected:
  void Paint(HDC dc, const RECT& client) override {
    PaintSurface(context_, dc, client, Box().Surface(), Box());
  }

 private:
  PictureBox& Box() { return static_cast<PictureBox&>(control_); }
  DWORD Style() { return WS_CLIPCHILDREN | (Box().BorderStyle() ? WS_BORDER : 0); }
};

// ---- Labels -------------------------------------------------------------------------------

class LabelPeer : public WindowPeer {
 public:
  LabelPeer(Context& context, Label& label) : WindowPeer(context, label) {
    CreateNativeWindow(kControlClass, 0, 0, label.Caption());
  }

 protected:
  // A transparent label shows what its container drew under it.
  void Paint(HDC dc, const RECT& client) override {
    Label& label = static_cast<Label&>(control_);
    BufferedPaint buffer(dc, client);
    HDC out = buffer.Dc();
    Container& parent = *label.Parent();
    const vd::Bitmap* under = nullptr;
    if (label.Transparent()) {
      if (parent.Kind() == ControlKind::kPictureBox) {
        under = &static_cast<PictureBox&>(parent).Surface();
      } else if (parent.Kind() == ControlKind::kForm) {
        under = &static_cast<Form&>(parent).Surface();
      }
    }
    FillColor(context_, out, client, label.Transparent() ? parent.BackColor() : label.BackColor());
    if (under) {
      const RECT r = PixelRect();
      DrawBitmap(out, 0, 0, *under, r.left, r.top, client.right, client.bottom);
    }
    SelectGuard font(out, context_.GetFont(label.GetFont()));
    ::SetBkMode(out, TRANSPARENT);
    ::SetTextColor(out, Context::Color(label.ForeColor()));
    UINT format = DT_WORDBREAK | DT_NOPREFIX;
    switch (label.GetAlignment()) {
      case Alignment::kLeft:
        format |= DT_LEFT;
        break;
      case Alignment::kRight:
        format |= DT_RIGHT;
        break;
      case Alignment::kCenter:
        format |= DT_CENTER;
        break;
    }
    RECT text = client;
    ::DrawTextA(out, label.Caption().c_str(), -1, &text, format);
  }
};

// ---- Frames -------------------------------------------------------------------------------

class FramePeer : public WindowPeer {
 public:
  FramePeer(Context& context, Frame& frame) : WindowPeer(context, frame) {
    CreateNativeWindow(kControlClass, WS_CLIPCHILDREN, 0, frame.Caption());
  }

 protected:
  void Paint(HDC dc, const RECT& client) override {
    Frame& frame = static_cast<Frame&>(control_);
    BufferedPaint buffer(dc, client);
    HDC out = buffer.Dc();
    FillColor(context_, out, client, frame.BackColor());
    if (!frame.BorderStyle()) return;
    SelectGuard font(out, context_.DefaultFont());
    TEXTMETRICA metrics{};
    ::GetTextMetricsA(out, &metrics);
    RECT edge = client;
    edge.top += metrics.tmHeight / 2;
    ::DrawEdge(out, &edge, EDGE_ETCHED, BF_RECT);
    if (!frame.Caption().empty()) {
      const std::string caption = " " + frame.Caption() + " ";
      ::SetBkMode(out, OPAQUE);
      ::SetBkColor(out, Context::Color(frame.BackColor()));
      ::SetTextColor(out, Context::Color(frame.ForeColor()));
      ::TextOutA(out, 6, 0, caption.c_str(), static_cast<int>(caption.size()));
    }
  }
};

// ---- Shapes: drawn by their container -----------------------------------------------------

class ShapePeer : public Peer {
 public:
  explicit ShapePeer(Shape& shape) : shape_(shape), container_(ContainerWindow(shape)) {
    Invalidate();
  }
  ~ShapePeer() override { Invalidate(); }
  void Changed(Property) override { Invalidate(); }
  void Refresh() override {
    if (container_) ::UpdateWindow(container_);
  }
  int32_t Handle() const override { return 0; }
  bool IsShown() const override {
    const Peer* parent = shape_.Parent() ? shape_.Parent()->GetPeer() : nullptr;
    return shape_.Visible() && parent && parent->IsShown();
  }

 private:
  void Invalidate() {
    if (container_ && ::IsWindow(container_)) ::InvalidateRect(container_, nullptr, FALSE);
  }
  Shape& shape_;
  HWND container_;
};

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
    CreateNativeWindow("BUTTON", WS_TABSTOP | BS_OWNERDRAW, 0, button.Caption());
  }
  void OnCommand(WORD code) override {
    if (code == BN_CLICKED) control_.RaiseClick();
  }
  void Changed(Property property) override {
    if (!hwnd_) return;
    if (property == Property::kText) ::SetWindowTextA(hwnd_, Self().Caption().c_str());
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
    const bool focusCue = (item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT) &&
                          enabled && !dark;
    ::FillRect(out, &r, context_.GetBrush(focusCue ? kAccent : look.border));
    RECT face = r;
    ::InflateRect(&face, -1, -1);
    ::FillRect(out, &face, context_.GetBrush(look.face));

    const vd::Bitmap& icon = button.Icon();
    const std::string& caption = button.Caption();
    const bool glyph = icon.Empty() && DrawGlyph(out, face, caption, context_.GetBrush(look.text));
    if (!glyph) {
      SelectGuard font(out, context_.DefaultFont());
      SIZE text{0, 0};
      if (!caption.empty()) {
        ::GetTextExtentPoint32A(out, caption.c_str(), static_cast<int>(caption.size()), &text);
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
        ::TextOutA(out, x, r.top + (height - static_cast<int>(text.cy)) / 2, caption.c_str(),
                   static_cast<int>(caption.size()));
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
        *result = *alive ? ::DefSubclassProc(hwnd_, WM_LBUTTONDOWN, wParam, lParam) : 0;
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

// ---- Check boxes --------------------------------------------------------------------------

class CheckPeer : public WindowPeer {
 public:
  CheckPeer(Context& context, CheckBox& check) : WindowPeer(context, check) {
    CreateNativeWindow("BUTTON", WS_TABSTOP | BS_CHECKBOX, 0, check.Caption());
    ApplyValue();
  }
  // The box does not toggle itself: the new value goes through SetValue, whose Click runs once.
  void OnCommand(WORD code) override {
    if (code == BN_CLICKED) Self().SetValue(Self().Value() == 1 ? 0 : 1);
  }
  void Changed(Property property) override {
    if (!hwnd_) return;
    if (property == Property::kValue) {
      ApplyValue();
    } else if (property == Property::kText) {
      ::SetWindowTextA(hwnd_, Self().Caption().c_str());
    }
    WindowPeer::Changed(property);
  }
  HBRUSH OnControlColor(HDC dc) override {
    ::SetTextColor(dc, Context::Color(control_.ForeColor()));
    ::SetBkColor(dc, Context::Color(control_.BackColor()));
    return context_.GetBrush(Context::Color(control_.BackColor()));
  }

 private:
  CheckBox& Self() { return static_cast<CheckBox&>(control_); }
  void ApplyValue() {
    const int value = Self().Value();
    ::SendMessageA(hwnd_, BM_SETCHECK,
                   value == 1 ? BST_CHECKED : (value == 2 ? BST_INDETERMINATE : BST_UNCHECKED), 0);
  }
};

// ---- Drop-down lists ----------------------------------------------------------------------

class ComboPeer : public WindowPeer {
 public:
  ComboPeer(Context& context, ComboBox& combo) : WindowPeer(context, combo) {
    CreateNativeWindow("COMBOBOX", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0, {});
    ApplyItems();
  }
  void OnCommand(WORD code) override {
    if (code != CBN_SELCHANGE) return;
    const auto index = static_cast<int>(::SendMessageA(hwnd_, CB_GETCURSEL, 0, 0));
    Self().SetListIndex(index);
  }
  void Changed(Property property) override {
    if (!hwnd_) return;
    if (property == Property::kItems) {
      ApplyItems();
    } else if (property == Property::kListIndex) {
      ::SendMessageA(hwnd_, CB_SETCURSEL, static_cast<WPARAM>(Self().ListIndex()), 0);
    }
    WindowPeer::Changed(property);
  }

 protected:
  // The window's height includes the dropped-down list; the closed box takes the font's height.
  RECT PixelRect() const override {
    RECT r = WindowPeer::PixelRect();
    r.bottom += 200;
    return r;
  }

 private:
  ComboBox& Self() { return static_cast<ComboBox&>(control_); }
  void ApplyItems() {
    ComboBox& combo = Self();
    ::SendMessageA(hwnd_, CB_RESETCONTENT, 0, 0);
    for (int i = 0; i < combo.ListCount(); ++i) {
      ::SendMessageA(hwnd_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(combo.List(i).c_str()));
    }
    ::SendMessageA(hwnd_, CB_SETCURSEL, static_cast<WPARAM>(combo.ListIndex()), 0);
  }
};

// ---- Text fields --------------------------------------------------------------------------

class EditPeer : public WindowPeer {
 public:
  EditPeer(Context& context, TextBox& box) : WindowPeer(context, box) {
    CreateNativeWindow("EDIT", WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, box.Text());
  }
  void OnCommand(WORD code) override {
    if (code == EN_SETFOCUS) {
      Self().RaiseGotFocus();
    } else if (code == EN_CHANGE && !pushing_) {
      // The user edited the field: the control takes its text and selection, then Change runs.
      const int length = ::GetWindowTextLengthA(hwnd_);
      std::string text(static_cast<size_t>(length) + 1, '\0');
      ::GetWindowTextA(hwnd_, text.data(), length + 1);
      text.resize(static_cast<size_t>(length));
      DWORD start = 0, end = 0;
      ::SendMessageA(hwnd_, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                     reinterpret_cast<LPARAM>(&end));
      syncing_ = true;
      const std::shared_ptr<bool> alive = alive_;
      struct Reset {
        bool& flag;
        const std::shared_ptr<bool>& alive;
        ~Reset() {
          if (*alive) flag = false;
        }
      } reset{syncing_, alive};
      Self().SetText(std::move(text));
      if (*alive) {
        Self().SetSelection(static_cast<int>(start), static_cast<int>(end - start));
      }
    }
  }
  // While the field's own edit is being taken over, only a text that a Change handler
  // replaced goes back to the window; the caret stays where the user left it.
  void Changed(Property property) override {
    if (!hwnd_) return;
    if (property == Property::kText) {
      TextBox& box = Self();
      const int length = ::GetWindowTextLengthA(hwnd_);
      std::string current(static_cast<size_t>(length) + 1, '\0');
      ::GetWindowTextA(hwnd_, current.data(), length + 1);
      current.resize(static_cast<size_t>(length));
      if (current != box.Text()) {
        pushing_ = true;
        ::SetWindowTextA(hwnd_, box.Text().c_str());
        pushing_ = false;
      }
      if (!syncing_) {
        ::SendMessageA(hwnd_, EM_SETSEL, static_cast<WPARAM>(box.SelStart()),
                       static_cast<LPARAM>(box.SelStart() + box.SelLength()));
      }
      return;
    }
    WindowPeer::Changed(property);
  }

 protected:
  // KeyPress sees each typed character first and may discard or replace it.
  bool Intercept(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override {
    if (msg != WM_CHAR) return WindowPeer::Intercept(msg, wParam, lParam, result);
    TextBox& box = Self();
    int key = static_cast<int>(wParam & 0xFF);
    const std::shared_ptr<bool> alive = alive_;
    if (box.KeyPress) {
      auto handler = box.KeyPress;
      handler(key);
    }
    *result = 0;
    if (!*alive || key == 0) return true;
    if (key >= 32 && box.MaxLength() > 0) {
      DWORD start = 0, end = 0;
      ::SendMessageA(hwnd_, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                     reinterpret_cast<LPARAM>(&end));
      const int length = ::GetWindowTextLengthA(hwnd_) - static_cast<int>(end - start);
      if (length + 1 > box.MaxLength()) {
        ::MessageBeep(MB_OK);
        return true;
      }
    }
    *result = ::DefSubclassProc(hwnd_, WM_CHAR, static_cast<WPARAM>(key), lParam);
    return true;
  }

 private:
  TextBox& Self() { return static_cast<TextBox&>(control_); }
  bool pushing_ = false;
};

}  // namespace

std::unique_ptr<Peer> CreateWin32Peer(Context& context, Control& control) {
  switch (control.Kind()) {
    case ControlKind::kForm:
      return std::make_unique<FormPeer>(context, static_cast<Form&>(control));
    case ControlKind::kLabel:
      return std::make_unique<LabelPeer>(context, static_cast<Label&>(control));
    case ControlKind::kPictureBox:
      return std::make_unique<PicturePeer>(context, static_cast<PictureBox&>(control));
    case ControlKind::kFrame:
      return std::make_unique<FramePeer>(context, static_cast<Frame&>(control));
    case ControlKind::kShape:
      return std::make_unique<ShapePeer>(static_cast<Shape&>(control));
    case ControlKind::kButton:
      return std::make_unique<ButtonPeer>(context, static_cast<Button&>(control));
    case ControlKind::kCheckBox:
      return std::make_unique<CheckPeer>(context, static_cast<CheckBox&>(control));
    case ControlKind::kComboBox:
      return std::make_unique<ComboPeer>(context, static_cast<ComboBox&>(control));
    case ControlKind::kTextBox:
      return std::make_unique<EditPeer>(context, static_cast<TextBox&>(control));
  }
  return nullptr;
}

}  // namespace forms::win32
