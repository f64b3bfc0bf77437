// Global hotkeys: who may hold a combination, and which id a pressed combination reports.
#include <gtest/gtest.h>

#include "Harness.h"

namespace vd::conformance {
namespace {

constexpr uint32_t kF7 = 0x76, kF8 = 0x77, kF9 = 0x78, kF10 = 0x79, kF11 = 0x7A;

intptr_t HotkeyLParam(uint32_t modifiers, uint32_t virtualKey) {
  return static_cast<intptr_t>((virtualKey << 16) | modifiers);
}

class HotkeyConformance : public ::testing::Test {
 protected:
  void SetUp() override {
    desktop_ = MakeTestDesktop();
    TestWindowTraits desc;
    desc.caption = "Hotkey owner";
    desc.rect = {50, 50, 200, 150};
    owner_ = desktop_->MakeWindow(desc);
    ASSERT_NE(owner_, 0);
  }

  WindowSystem& Ws() { return desktop_->System(); }

  // Presses the combination and waits for the WM_HOTKEY it should produce.
  bool PressAndArrive(uint32_t modifiers, uint32_t virtualKey) {
    desktop_->PressKeys(modifiers, virtualKey);
    return desktop_->WaitFor(owner_, [&](const Received& m) {
      return m.msg == WM_HOTKEY && m.lParam == HotkeyLParam(modifiers, virtualKey);
    });
  }

  size_t CountHotkeys(uint32_t modifiers, uint32_t virtualKey) {
    size_t count = 0;
    for (const Received& m : desktop_->MessagesOf(owner_)) {
      if (m.msg == WM_HOTKEY && m.lParam == HotkeyLParam(modifiers, virtualKey)) ++count;
    }
    return count;
  }

  std::unique_ptr<TestDesktop> desktop_;
  Hwnd owner_ = 0;
};

TEST_F(HotkeyConformance, PressedCombinationReachesTheWindowWithItsId) {
  ASSERT_TRUE(Ws().RegisterHotKey(owner_, 5, MOD_SHIFT, kF8));
  ASSERT_TRUE(PressAndArrive(MOD_SHIFT, kF8));
  const std::vector<Received> got = desktop_->MessagesOf(owner_);
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].wParam, 5u);
  EXPECT_TRUE(Ws().UnregisterHotKey(owner_, 5));
}

TEST_F(HotkeyConformance, ACombinationHasOneHolder) {
  TestWindowTraits desc;
  desc.caption = "Other owner";
  const Hwnd other = desktop_->MakeWindow(desc);

  ASSERT_TRUE(Ws().RegisterHotKey(owner_, 1, MOD_CONTROL, kF9));
  EXPECT_FALSE(Ws().RegisterHotKey(owner_, 2, MOD_CONTROL, kF9));  // same window, other id
  EXPECT_FALSE(Ws().RegisterHotKey(owner_, 1, MOD_CONTROL, kF9));  // the very same again
  EXPECT_FALSE(Ws().RegisterHotKey(other, 1, MOD_CONTROL, kF9));   // another window
  EXPECT_TRUE(Ws().RegisterHotKey(owner_, 2, MOD_ALT, kF9));       // other modifier: free

  EXPECT_TRUE(Ws().UnregisterHotKey(owner_, 1));
  EXPECT_FALSE(Ws().UnregisterHotKey(owner_, 1));  // nothing left under that id
  EXPECT_TRUE(Ws().RegisterHotKey(other, 1, MOD_CONTROL, kF9));

  EXPECT_TRUE(Ws().UnregisterHotKey(other, 1));
  EXPECT_TRUE(Ws().UnregisterHotKey(owner_, 2));
}

// An id given a new combination, whether unregistered first or registered again over the old
// one, fires for the new combination only; the old one is free for others, and one
// unregistration clears the id.
TEST_F(HotkeyConformance, AnIdGivenANewCombinationFiresForItAloneAndFreesTheOldOne) {
  for (bool unregisterFirst : {true, false}) {
    SCOPED_TRACE(unregisterFirst ? "unregistered first" : "registered again");
    const uint32_t next = unregisterFirst ? kF10 : kF11;
    ASSERT_TRUE(Ws().RegisterHotKey(owner_, 3, MOD_CONTROL, kF9));
    if (unregisterFirst) {
      ASSERT_TRUE(Ws().UnregisterHotKey(owner_, 3));
    }
    ASSERT_TRUE(Ws().RegisterHotKey(owner_, 3, MOD_CONTROL, next));

    // Keys are handled in order, so the old combination had its chance before the new one.
    desktop_->PressKeys(MOD_CONTROL, kF9);
    ASSERT_TRUE(PressAndArrive(MOD_CONTROL, next));
    EXPECT_EQ(CountHotkeys(MOD_CONTROL, kF9), 0u);
    EXPECT_EQ(desktop_->MessagesOf(owner_).back().wParam, 3u);

    EXPECT_TRUE(Ws().RegisterHotKey(owner_, 6, MOD_CONTROL, kF9));
    EXPECT_TRUE(Ws().UnregisterHotKey(owner_, 3));
    EXPECT_FALSE(Ws().UnregisterHotKey(owner_, 3));
    EXPECT_TRUE(Ws().UnregisterHotKey(owner_, 6));
  }
}

TEST_F(HotkeyConformance, AWindowsHotkeysGoWithIt) {
  TestWindowTraits desc;
  desc.caption = "Short-lived owner";
  const Hwnd shortLived = desktop_->MakeWindow(desc);
  ASSERT_TRUE(Ws().RegisterHotKey(shortLived, 1, MOD_SHIFT, kF7));
  desktop_->Destroy(shortLived);
  EXPECT_TRUE(Ws().RegisterHotKey(owner_, 1, MOD_SHIFT, kF7));
  EXPECT_TRUE(Ws().UnregisterHotKey(owner_, 1));
}

}  // namespace
}  // namespace vd::conformance
