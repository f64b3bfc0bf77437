// The fake desktop's top-level and child windows: showing, hiding and minimising,
// the Z order and its top-most band, moves and sizes, the sibling walk, captions, styles and
// other window longs, the foreground window, owner processes, hung windows, windows that refuse
// the program changes, and the layered attributes (alpha and colour key) of layered windows.
#include <algorithm>
#include <string>
#include <vector>

#include "platform/fake/FakeState.h"
#include "platform/fake/FakeWindowSystem.h"

namespace vd::fake {

namespace {

// Window-manager details the program itself never names.
constexpr uint32_t kWsMinimize = 0x20000000;
constexpr uint32_t kSwpShowWindow = 0x0040;
constexpr uint32_t kSwpHideWindow = 0x0080;
constexpr uint32_t kGwHwndLast = 1;
constexpr uint32_t kGwHwndPrev = 3;
constexpr uint32_t kGwChild = 5;

}  // namespace

// ---- Top-level windows --------------------------------------------------------------------------

bool FakeWindowSystem::ShowWindow(Hwnd hwnd, int cmd) {
  State& s = *state_;
  s.Record("ShowWindow", {Dec(hwnd), Dec(cmd)});
  State::Window* window = s.Find(hwnd);
  if (!window) return false;
  // The answer is whether the window was visible before, not whether the call worked.
  const bool wasVisible = (window->style & WS_VISIBLE) != 0;
  if (s.Refused(*window)) return wasVisible;
  constexpr int kShowNormal = 1, kShowMinimized = 2, kShowNoActivate = 4, kShowMinNoActive = 7,
                kShowNa = 8, kRestore = 9;
  const bool topLevel = window->parent == 0;
  switch (cmd) {
    case SW_HIDE:
      s.SetVisible(hwnd, false);
      break;
    case SW_SHOW:
      s.SetVisible(hwnd, true);
      if (topLevel) s.Activate(hwnd);
      break;
    case kShowNa:
    case kShowNoActivate:
      s.SetVisible(hwnd, true);
      break;
    case kShowNormal:
    case kRestore:
      window->style &= ~kWsMinimize;
      s.SetVisible(hwnd, true);
      if (topLevel) s.Activate(hwnd);
      break;
    case SW_MINIMIZE:
    case kShowMinimized:
    case kShowMinNoActive:
      window->style |= kWsMinimize;
      s.SetVisible(hwnd, true);
      if (topLevel) s.ActivateOtherWindow(hwnd);
      break;
    default:
      break;
  }
  return wasVisible;
}

bool FakeWindowSystem::SetWindowPos(Hwnd hwnd, Hwnd insertAfter, int x, int y, int cx, int cy,
                                    uint32_t flags) {
  State& s = *state_;
  s.Record("SetWindowPos",
           {Dec(hwnd), Dec(insertAfter), Dec(x), Dec(y), Dec(cx), Dec(cy), Dec(flags)});
  State::Window* window = s.Find(hwnd);
  if (!window || s.Refused(*window)) return false;
  const bool topLevel = window->parent == 0;
  if ((flags & SWP_NOZORDER) == 0) {
    if (insertAfter == HWND_TOPMOST) {
      if (topLevel) window->exStyle |= WS_EX_TOPMOST;
      s.PlaceAtTop(hwnd);
    } else if (insertAfter == HWND_NOTOPMOST) {
      // Only a top-most window moves: to the top of the normal windows.
      if (topLevel && State::TopMost(*window)) {
        window->exStyle &= ~WS_EX_TOPMOST;
        s.PlaceAtTop(hwnd);
      }
    } else if (insertAfter == HWND_TOP) {
      s.PlaceAtTop(hwnd);
    } else if (insertAfter == HWND_BOTTOM) {
      if (topLevel) window->exStyle &= ~WS_EX_TOPMOST;
      s.PlaceAtBottom(hwnd);
    } else if (s.Find(insertAfter)) {
      s.PlaceAfter(hwnd, insertAfter);
    }
  }
  if ((flags & SWP_NOMOVE) == 0) {
    const int width = window->rect.Width(), height = window->rect.Height();
    window->rect = Rect{x, y, x + width, y + height};
  }
  if ((flags & SWP_NOSIZE) == 0) {
    window->rect.right = window->rect.left + cx;
    window->rect.bottom = window->rect.top + cy;
  }
  if ((flags & kSwpShowWindow) != 0) s.SetVisible(hwnd, true);
  if ((flags & kSwpHideWindow) != 0) s.SetVisible(hwnd, false);
  // Unless told not to, the window is activated: it takes the focus and the top of its band.
  if ((flags & SWP_NOACTIVATE) == 0 && topLevel && insertAfter != HWND_BOTTOM &&
      (window->style & WS_VISIBLE) != 0) {
    s.Activate(hwnd);
  }
  return true;
}

bool FakeWindowSystem::MoveWindow(Hwnd hwnd, int x, int y, int width, int height, bool repaint) {
  State& s = *state_;
  s.Record("MoveWindow", {Dec(hwnd), Dec(x), Dec(y), Dec(width), Dec(height), Dec(repaint)});
  State::Window* window = s.Find(hwnd);
  if (!window || s.Refused(*window)) return false;
  window->rect = Rect{x, y, x + width, y + height};
  return true;
}

Hwnd FakeWindowSystem::GetWindow(Hwnd hwnd, uint32_t cmd) {
  State& s = *state_;
  s.Record("GetWindow", {Dec(hwnd), Dec(cmd)});
  State::Window* window = s.Find(hwnd);
  if (!window) return 0;
  if (cmd == kGwChild) return window->children.empty() ? 0 : window->children.front();
  if (cmd == GW_OWNER) return s.Find(window->owner) ? window->owner : 0;
  const std::vector<Hwnd>& list = s.Siblings(*window);
  if (list.empty()) return 0;
  const auto self = std::find(list.begin(), list.end(), hwnd);
  switch (cmd) {
    case GW_HWNDFIRST:
      return list.front();
    case kGwHwndLast:
      return list.back();
    case GW_HWNDNEXT:
      return (self == list.end() || self + 1 == list.end()) ? 0 : *(self + 1);
    case kGwHwndPrev:
      return (self == list.end() || self == list.begin()) ? 0 : *(self - 1);
    default:
      return 0;
  }
}

std::vector<Hwnd> FakeWindowSystem::TopLevelWindows() {
  state_->Record("TopLevelWindows", {});
  return state_->zOrder;
}

int FakeWindowSystem::GetWindowTextLengthW(Hwnd hwnd) {
  state_->Record("GetWindowTextLengthW", {Dec(hwnd)});
  const auto* window = state_->Find(hwnd);
  return window ? static_cast<int>(Utf16Length(window->caption)) : 0;
}

std::string FakeWindowSystem::GetWindowTextW(Hwnd hwnd) {
  state_->Record("GetWindowTextW", {Dec(hwnd)});
  const auto* window = state_->Find(hwnd);
  return window ? window->caption : std::string();
}

int32_t FakeWindowSystem::GetWindowLongA(Hwnd hwnd, int index) {
  state_->Record("GetWindowLongA", {Dec(hwnd), Dec(index)});
  const auto* window = state_->Find(hwnd);
  if (!window) return 0;
  switch (index) {
    case GWL_STYLE:
      return static_cast<int32_t>(window->style);
    case GWL_EXSTYLE:
      return static_cast<int32_t>(window->exStyle);
    case GWL_WNDPROC:
      return 0;  // a procedure address does not fit the 32-bit call on 64-bit Windows
    default: {
      auto it = window->otherLongs.find(index);
      return it == window->otherLongs.end() ? 0 : it->second;
    }
  }
}

int32_t FakeWindowSystem::SetWindowLongA(Hwnd hwnd, int index, int32_t value) {
  State& s = *state_;
  s.Record("SetWindowLongA", {Dec(hwnd), Dec(index), Dec(value)});
  State::Window* window = s.Find(hwnd);
  if (!window || ((index == GWL_STYLE || index == GWL_EXSTYLE) && s.Refused(*window))) return 0;
  switch (index) {
    case GWL_STYLE: {
      const uint32_t previous = window->style;
      const uint32_t next = static_cast<uint32_t>(value);
      window->style = (next & ~WS_VISIBLE) | (previous & WS_VISIBLE);
      s.SetVisible(hwnd, (next & WS_VISIBLE) != 0);
      return static_cast<int32_t>(previous);
    }
    case GWL_EXSTYLE: {
      const uint32_t previous = window->exStyle;
      s.SetExStyle(*window, static_cast<uint32_t>(value));
      return static_cast<int32_t>(previous);
    }
    case GWL_WNDPROC:
      return 0;
    default: {
      const int32_t previous = window->otherLongs[index];
      window->otherLongs[index] = value;
      return previous;
    }
  }
}

Hwnd FakeWindowSystem::GetForegroundWindow() {
  state_->Record("GetForegroundWindow", {});
  return state_->foreground;
}

bool FakeWindowSystem::SetForegroundWindow(Hwnd hwnd) {
  State& s = *state_;
  s.Record("SetForegroundWindow", {Dec(hwnd)});
  if (!s.Find(hwnd)) return false;
  s.Activate(hwnd);
  return true;
}

bool FakeWindowSystem::GetWindowRect(Hwnd hwnd, Rect* rect) {
  State& s = *state_;
  s.Record("GetWindowRect", {Dec(hwnd)});
  if (!s.Find(hwnd) || !rect) return false;
  *rect = s.ScreenRect(hwnd);
  return true;
}

bool FakeWindowSystem::IsWindow(Hwnd hwnd) {
  state_->Record("IsWindow", {Dec(hwnd)});
  return state_->Find(hwnd) != nullptr;
}

bool FakeWindowSystem::IsWindowVisible(Hwnd hwnd) {
  state_->Record("IsWindowVisible", {Dec(hwnd)});
  return state_->Visible(hwnd);
}

uint32_t FakeWindowSystem::GetWindowThreadProcessId(Hwnd hwnd) {
  state_->Record("GetWindowThreadProcessId", {Dec(hwnd)});
  const auto* window = state_->Find(hwnd);
  return window ? window->process : 0;
}

bool FakeWindowSystem::IsHungAppWindow(Hwnd hwnd) {
  state_->Record("IsHungAppWindow", {Dec(hwnd)});
  const auto* window = state_->Find(hwnd);
  return window && window->hung;
}

bool FakeWindowSystem::IsWindowCloaked(Hwnd hwnd) {
  state_->Record("IsWindowCloaked", {Dec(hwnd)});
  const auto* window = state_->Find(hwnd);
  return window && (window->cloaked || !IsOnCurrentSystemDesktop(hwnd));
}

bool FakeWindowSystem::IsOnCurrentSystemDesktop(Hwnd hwnd) {
  state_->Record("IsOnCurrentSystemDesktop", {Dec(hwnd)});
  const auto* window = state_->Find(hwnd);
  return !window || window->systemDesktop == 0 ||
         window->systemDesktop == state_->currentSystemDesktop;
}

bool FakeWindowSystem::RefusesChanges(Hwnd hwnd) {
  state_->Record("RefusesChanges", {Dec(hwnd)});
  const auto* window = state_->Find(hwnd);
  return window && window->refusalKnown;
}

// ---- Layered windows ----------------------------------------------------------------------------

bool FakeWindowSystem::SetLayeredWindowAttributes(Hwnd hwnd, uint32_t colorKey, uint8_t alpha,
                                                  uint32_t flags) {
  State& s = *state_;
  s.Record("SetLayeredWindowAttributes",
           {Dec(hwnd), Dec(colorKey), Dec(uint32_t{alpha}), Dec(flags)});
  State::Window* window = s.Find(hwnd);
  // Refused unless the window carries the layered bit first.
  if (!window || s.Refused(*window) || (window->exStyle & WS_EX_LAYERED) == 0) return false;
  window->hasLayeredAttributes = true;
  window->colorKey = colorKey;
  window->alpha = alpha;
  window->layeredFlags = flags;
  return true;
}

bool FakeWindowSystem::GetLayeredWindowAttributes(Hwnd hwnd, uint32_t* colorKey, uint8_t* alpha,
                                                  uint32_t* flags) {
  State& s = *state_;
  s.Record("GetLayeredWindowAttributes", {Dec(hwnd)});
  const State::Window* window = s.Find(hwnd);
  if (!window || (window->exStyle & WS_EX_LAYERED) == 0 || !window->hasLayeredAttributes) {
    return false;
  }
  if (colorKey) *colorKey = window->colorKey;
  if (alpha) *alpha = window->alpha;
  if (flags) *flags = window->layeredFlags;
  return true;
}

}  // namespace vd::fake
