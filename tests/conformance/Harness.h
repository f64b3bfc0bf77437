// What the conformance suite runs against: the window system under test, windows of the test's
// own and the user's keys; the in-memory desktop natively, the real system in the Windows build.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/WindowSystem.h"

namespace vd::conformance {

inline constexpr char kCaption[] = "Conformance window";  // every window of the test

// The WM_HOTKEY messages a window received: (wParam, lParam) = (id, keys).
using Hotkeys = std::vector<std::pair<uintptr_t, intptr_t>>;

class TestDesktop {
 public:
  virtual ~TestDesktop() = default;
  virtual WindowSystem& System() = 0;
  // Shown, painted in `color`, recording its hotkeys; `rect` is relative to a parent. A
  // top-level window may have an owner.
  virtual Hwnd MakeWindow(Rect rect = {100, 100, 400, 300}, Hwnd parent = 0,
                          uint32_t color = 0x00FFFFFF, Hwnd owner = 0) = 0;
  virtual void Destroy(Hwnd hwnd) = 0;
  virtual void Retitle(Hwnd hwnd, const std::string& caption) = 0;  // UTF-8, any script
  // Shown, of another thread that takes `hideMs` to hide it or (answers false) takes no messages.
  virtual Hwnd MakeOtherThreadWindow(bool answers, uint32_t hideMs = 0) = 0;
  // Shown, of another process, in front; brought to the front (Front), renamed (Retitle) and
  // closed (Destroy) by that process itself.
  virtual Hwnd MakeOtherProcessWindow() = 0;
  virtual bool Front(Hwnd hwnd) = 0;  // false when the window did not come to the front
  virtual void Pump() = 0;  // lets pending work run (posted messages, painting, window events)
  // Pumps until `done` (true) or until `ms` passed (false); where nothing comes late, only asks.
  virtual bool PumpUntil(const std::function<bool()>& done, uint32_t ms = 2000) = 0;
  // Presses the keys; the hotkeys `hwnd` received once one for them came (or after two seconds).
  virtual Hotkeys Press(Hwnd hwnd, uint32_t modifiers, uint32_t virtualKey) = 0;
};

std::unique_ptr<TestDesktop> MakeTestDesktop();

}  // namespace vd::conformance
