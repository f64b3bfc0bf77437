// The form peer: its window, the tip window of its controls, its messages through the form's
// window procedure chain, its twips following the window's pixels, and the form's properties
// (place, visibility, caption, task-bar button) applied to the window.
#include "forms/win32/FormPeer.h"

#include <vector>

#include "forms/win32/PeerDrawing.h"

namespace forms::win32 {

namespace {

// Sent to a window whose screen's scale changed (it moved to another monitor, or the user
// changed the scale); not in older headers under this name.
constexpr UINT kDpiChanged = 0x02E0;

// The scale of the screen the window is on; 0 where the system cannot tell (before
// Windows 10), and the form then keeps the system's.
UINT WindowDpi(HWND window) {
  using GetDpiForWindowCall = UINT(WINAPI*)(HWND);
  static const auto call = reinterpret_cast<GetDpiForWindowCall>(reinterpret_cast<void*>(
      ::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  return call != nullptr ? call(window) : 0;
}

}  // namespace

// ---- Forms --------------------------------------------------------------------------------

FormPeer::FormPeer(Context& context, Form& form) : WindowPeer(context, form) {
  context_.forms.push_back(this);
  CreateNativeWindow(kFormClass, WS_POPUP | WS_CLIPCHILDREN,
                     form.ShowInTaskbar() ? WS_EX_APPWINDOW : WS_EX_TOOLWINDOW, form.Caption());
  // Made at the system's scale, the window may stand on a screen of another: the form (which
  // has no controls yet) takes that one's.
  const UINT dpi = hwnd_ ? WindowDpi(hwnd_) : 0;
  if (dpi != 0 && static_cast<int>(dpi) != form.Dpi()) {
    const RECT r = PixelRect();
    form.ChangeDpi(static_cast<int>(dpi), r.left, r.top);
    const RECT scaled = PixelRect();
    ::SetWindowPos(hwnd_, nullptr, scaled.left, scaled.top, scaled.right - scaled.left,
                   scaled.bottom - scaled.top, SWP_NOZORDER | SWP_NOACTIVATE);
  }
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
    tooltips_.Reset(::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                      WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                      CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                                      context_.instance, nullptr));
  }
  return tooltips_.Get();
}

bool FormPeer::IsShown() const { return hwnd_ && ::IsWindowVisible(hwnd_); }

RECT FormPeer::PixelRect() const {
  const float tpp = static_cast<const Form&>(control_).TwipsPerScreenPixel();
  return EdgeRoundedRect(control_.Left() / tpp, control_.Top() / tpp, control_.Width() / tpp,
                         control_.Height() / tpp);
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
  if (msg == kDpiChanged && lParam != 0) {
    MoveToScale(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
    return 0;
  }
  return Handle(msg, wParam, lParam);
}

// The form keeps its size in twips, which is the suggested size at the new scale, and takes the
// suggested place; every control follows. The program may itself be moving the window (the
// scale changes in the middle of its SetWindowPos): the new place is applied all the same.
void FormPeer::MoveToScale(int dpi, const RECT& suggested) {
  const bool wasSyncing = syncing_;
  syncing_ = false;
  GetForm().ChangeDpi(dpi, suggested.left, suggested.top);
  syncing_ = wasSyncing;
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
  const float tpp = form.TwipsPerScreenPixel();
  form.Move(r.left != mine.left ? static_cast<float>(r.left) * tpp : form.Left(),
            r.top != mine.top ? static_cast<float>(r.top) * tpp : form.Top(),
            r.right - r.left != mine.right - mine.left ? static_cast<float>(r.right - r.left) * tpp
                                                       : form.Width(),
            r.bottom - r.top != mine.bottom - mine.top ? static_cast<float>(r.bottom - r.top) * tpp
                                                       : form.Height());
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
        ::ShowWindow(hwnd_, want ? (form.ActivatesWhenShown() ? SW_SHOW : SW_SHOWNA) : SW_HIDE);
      // Wakes a modal loop waiting for this form to go away.
      ::PostMessageW(hwnd_, WM_NULL, 0, 0);
      break;
    }
    case Property::kText:
      ::SetWindowTextW(hwnd_, Widen(form.Caption()).c_str());
      break;
    case Property::kZOrder:
      ::SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      break;
    case Property::kStyle: {
      LONG_PTR ex = ::GetWindowLongPtrW(hwnd_, GWL_EXSTYLE);
      ex = form.ShowInTaskbar() ? ((ex & ~WS_EX_TOOLWINDOW) | WS_EX_APPWINDOW)
                                : ((ex & ~WS_EX_APPWINDOW) | WS_EX_TOOLWINDOW);
      ::SetWindowLongPtrW(hwnd_, GWL_EXSTYLE, ex);
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

}  // namespace forms::win32
