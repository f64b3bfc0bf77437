// The fake desktop's mouse, messages and hotkeys: the cursor position and the window under a
// point, messages sent and posted to a window's sink (or handled as a window procedure that
// takes the defaults would), a hung window that lets a timed send fail, and the table of
// registered hotkeys, in which a combination belongs to one registration at a time.
#include <algorithm>

#include "platform/fake/FakeState.h"
#include "platform/fake/FakeWindowSystem.h"

namespace vd::fake {

// ---- Mouse and messages -------------------------------------------------------------------------

bool FakeWindowSystem::GetCursorPos(Point* point) {
  state_->Record("GetCursorPos", {});
  if (!point) return false;
  *point = state_->cursor;
  return true;
}

Hwnd FakeWindowSystem::WindowFromPoint(Point point) {
  state_->Record("WindowFromPoint", {Dec(point.x), Dec(point.y)});
  return state_->HitTest(state_->zOrder, point);
}

bool FakeWindowSystem::ReleaseCapture() {
  state_->Record("ReleaseCapture", {});
  return true;
}

namespace {

// What a window procedure that takes the defaults does with a message: a close request
// destroys the window.
constexpr uint32_t kDefaultHandled = WM_CLOSE;

}  // namespace

intptr_t FakeWindowSystem::SendMessageA(Hwnd hwnd, uint32_t msg, uintptr_t wParam,
                                        intptr_t lParam) {
  State& s = *state_;
  s.Record("SendMessageA", {Dec(hwnd), Dec(msg), Dec(uint64_t{wParam}), Dec(int64_t{lParam})});
  State::Window* window = s.Find(hwnd);
  if (!window) return 0;
  if (window->sink) {
    const MessageSink sink = window->sink;
    return sink(msg, wParam, lParam);
  }
  if (msg == kDefaultHandled) s.Destroy(hwnd);
  return 0;
}

bool FakeWindowSystem::PostMessageA(Hwnd hwnd, uint32_t msg, uintptr_t wParam, intptr_t lParam) {
  State& s = *state_;
  s.Record("PostMessageA", {Dec(hwnd), Dec(msg), Dec(uint64_t{wParam}), Dec(int64_t{lParam})});
  State::Window* window = s.Find(hwnd);
  if (!window) return false;
  if (window->sink) {
    const MessageSink sink = window->sink;
    sink(msg, wParam, lParam);
  } else if (msg == kDefaultHandled) {
    s.Destroy(hwnd);
  }
  return true;
}

bool FakeWindowSystem::SendMessageTimeoutA(Hwnd hwnd, uint32_t msg, uintptr_t wParam,
                                           intptr_t lParam, uint32_t timeoutMs, intptr_t* result) {
  State& s = *state_;
  s.Record("SendMessageTimeoutA",
           {Dec(hwnd), Dec(msg), Dec(uint64_t{wParam}), Dec(int64_t{lParam}), Dec(timeoutMs)});
  State::Window* window = s.Find(hwnd);
  if (!window || window->hung) return false;
  intptr_t answer = 0;
  if (window->sink) {
    const MessageSink sink = window->sink;
    answer = sink(msg, wParam, lParam);
  } else if (msg == kDefaultHandled) {
    s.Destroy(hwnd);
  }
  if (result) *result = answer;
  return true;
}

// ---- Hotkeys ------------------------------------------------------------------------------------

bool FakeWindowSystem::RegisterHotKey(Hwnd hwnd, int id, uint32_t modifiers, uint32_t virtualKey) {
  State& s = *state_;
  s.Record("RegisterHotKey", {Dec(hwnd), Dec(id), Dec(modifiers), Dec(virtualKey)});
  if (hwnd != 0 && !s.Find(hwnd)) return false;
  const uint32_t mods = modifiers & kHotkeyModifierMask;
  // A combination belongs to one registration in the whole session, whoever holds it.
  for (const auto& held : s.heldElsewhere) {
    if (held.first == mods && held.second == virtualKey) return false;
  }
  for (const State::Hotkey& hotkey : s.hotkeys) {
    if (hotkey.modifiers == mods && hotkey.virtualKey == virtualKey) return false;
  }
  // The same window and id again: the new combination replaces the old one.
  for (State::Hotkey& hotkey : s.hotkeys) {
    if (hotkey.hwnd == hwnd && hotkey.id == id) {
      hotkey.modifiers = mods;
      hotkey.virtualKey = virtualKey;
      return true;
    }
  }
  s.hotkeys.push_back(State::Hotkey{hwnd, id, mods, virtualKey});
  return true;
}

bool FakeWindowSystem::UnregisterHotKey(Hwnd hwnd, int id) {
  State& s = *state_;
  s.Record("UnregisterHotKey", {Dec(hwnd), Dec(id)});
  auto it = std::find_if(s.hotkeys.begin(), s.hotkeys.end(),
                         [&](const State::Hotkey& h) { return h.hwnd == hwnd && h.id == id; });
  if (it == s.hotkeys.end()) return false;
  s.hotkeys.erase(it);
  return true;
}

}  // namespace vd::fake
