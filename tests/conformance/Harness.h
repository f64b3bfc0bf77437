// What the conformance suite runs against: the window system under test plus a way to make
// windows of the test's own and to act as the user. Natively it is the in-memory desktop; in
// the Windows build it is the real system, with real windows and real keyboard input.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/WindowSystem.h"

namespace vd::conformance {

struct TestWindowTraits {
  std::string caption = "Conformance window";
  Rect rect{100, 100, 400, 300};  // screen pixels; relative to the parent for a child
  Hwnd parent = 0;
  uint32_t color = 0x00FFFFFF;  // what the window paints itself with (0x00BBGGRR)
};

// The WM_HOTKEY messages a window received: (wParam, lParam) = (id, keys).
using Hotkeys = std::vector<std::pair<uintptr_t, intptr_t>>;
inline intptr_t HotkeyLParam(uint32_t modifiers, uint32_t virtualKey) {
  return static_cast<intptr_t>((virtualKey << 16) | modifiers);
}

class TestDesktop {
 public:
  virtual ~TestDesktop() = default;
  virtual WindowSystem& System() = 0;
  // A shown window of the test. It records its hotkeys and answers a message from WM_USER up
  // with wParam + lParam.
  virtual Hwnd MakeWindow(const TestWindowTraits& traits) = 0;
  virtual void Destroy(Hwnd hwnd) = 0;
  // A shown window of another thread: one that answers but takes `hideMs` to hide itself, or
  // (answers false) one whose thread has stopped taking messages.
  virtual Hwnd MakeOtherThreadWindow(bool answers, uint32_t hideMs = 0) = 0;
  virtual void Pump() = 0;  // lets pending work run (posted messages, painting)
  virtual void PressKeys(uint32_t modifiers, uint32_t virtualKey) = 0;
  // The window's hotkeys once one for the combination has come, or two seconds have passed.
  virtual Hotkeys HotkeysAfter(Hwnd hwnd, uint32_t modifiers, uint32_t virtualKey) = 0;
  virtual uint32_t OwnProcessId() = 0;  // the process id that windows made here carry
};

std::unique_ptr<TestDesktop> MakeTestDesktop();

class ConformanceTest : public ::testing::Test {
 protected:
  WindowSystem& Ws() { return desktop_->System(); }
  std::unique_ptr<TestDesktop> desktop_ = MakeTestDesktop();
};

}  // namespace vd::conformance
