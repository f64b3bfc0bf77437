// The keyboard, seen from outside: each desktop's hotkey shows that desktop's windows and hides
// the others' (windows there at the start, one left of the screen brought in, and one opened
// later), closing the pager gives back the windows of every desktop, the hide/unhide hotkey puts
// the pager away and back, and the panic hotkey opens its desktop and hides the pager.
//
// Keys go in through SendInput, so they reach the program exactly as a user's would; what is
// asserted is read with Win32 calls on the real windows.
#include "ProgramTest.h"

namespace vde2e {
namespace {

constexpr int kPanicDesktop = 5;
// See the settings below: Ctrl+F12 hides and unhides the pager, Ctrl+F11 is the panic key.
constexpr WORD kHideKey = VK_F12;
constexpr WORD kPanicKey = VK_F11;
constexpr DWORD kPagerFadeTimeoutMs = 3000;

class HotkeySwitching : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    // Three columns by two rows and Alt+n for desktop n come with the test settings; the
    // hide/unhide and panic hotkeys are spelled out here.
    settings.Set("SETUP", "hide", "1,50");  // Ctrl (1) + F12 (key 50)
    settings.Set("ALERT", "enabled", "1");
    settings.Set("ALERT", "key1", "1");   // Ctrl
    settings.Set("ALERT", "key2", "49");  // F11
    settings.Set("ALERT", "desktop", std::to_string(kPanicDesktop));
  }

  // The hide/unhide or panic chord; true when the pager then shows (or not) on the screen.
  ::testing::AssertionResult PagerAfter(WORD key, bool shown, const std::string& step) {
    HWND pager = Pager();
    if (!PressChord({VK_CONTROL, key})) return ::testing::AssertionFailure() << "no key sent";
    const bool state = WaitUntil(
        [&] {
          const WindowFacts f = ReadWindowFacts(pager);  // shown means opaque again, too
          return shown ? f.visible && (!f.alpha || *f.alpha == 255) : !f.visible;
        },
        kPagerFadeTimeoutMs);
    if (!state) return ::testing::AssertionFailure() << "after the fade: " << FactsOf({pager});
    if (!Vuedeck().Running()) return ::testing::AssertionFailure() << "the program ended";
    if (!ShotUntil(step, [&](const vdtools::Image& s) { return PagerOnScreen(s) == shown; })) {
      return ::testing::AssertionFailure() << "the screen disagrees: " << FactsOf({pager});
    }
    return ::testing::AssertionSuccess();
  }

  // Whether the pager is drawn on the screen: its title strip, black with the program's name on
  // it, differs from the desktop's own colour (read at the screen's right edge, where no test
  // puts a window).
  bool PagerOnScreen(const vdtools::Image& shot) {
    const RECT r = RectOf(Pager());  // a hidden window keeps its rectangle
    const uint32_t desktop = shot.ColorAt(shot.width - 5, shot.height / 2);
    int differing = 0, total = 0;
    for (int y = r.top + 2; y < r.top + 18; y += 4) {
      for (int x = r.left + 2; x < r.right - 2; x += 4, ++total) {
        differing += shot.ColorAt(x, y) != desktop;
      }
    }
    return total > 0 && differing * 2 > total;
  }
};

TEST_F(HotkeySwitching, EachDesktopsHotkeyShowsItsWindowsAndClosingGivesBackEveryDesktops) {
  // The start-up scan brings a window it finds wholly left of the screen to the screen's
  // top-left corner, at its size; a window on the screen stays where it is.
  HWND parked = Maker().Open("Parked", kFarLeft, 120, 360, 240, "color 0x2080E0");
  const RECT plainPlace{520, 560, 840, 780};
  HWND plain = Open("Plain", plainPlace, 0x20C060);
  ASSERT_TRUE(parked && plain);
  ASSERT_NE(StartAndWaitForPager(), nullptr) << "vuedeck.exe showed no window";
  EXPECT_TRUE(WaitTopLeftAt(parked, 0, 0)) << "not brought in: " << FactsOf({parked});
  const RECT parkedRect = RectOf(parked);
  EXPECT_TRUE(SameRect(parkedRect, RECT{0, 0, 360, 240})) << FactsOf({parked});
  EXPECT_TRUE(SameRect(RectOf(plain), plainPlace)) << FactsOf({plain});
  Shot("desktop-1");

  ASSERT_TRUE(PressDesktopHotkey(2));
  EXPECT_TRUE(WaitVisibility({parked, plain}, false)) << FactsOf({parked, plain});
  Shot("desktop-2-empty");
  // A window that comes to the front now belongs to desktop 2.
  const RECT laterPlace{300, 300, 640, 520};
  HWND later = OpenOnCurrentDesktop("Later", laterPlace, 0xC02080);
  ASSERT_NE(later, nullptr);
  EXPECT_FALSE(IsWindowVisible(parked) || IsWindowVisible(plain)) << FactsOf({parked, plain});

  ASSERT_TRUE(PressDesktopHotkey(1));
  EXPECT_TRUE(WaitVisibility({parked, plain}, true) && WaitVisibility({later}, false))
      << FactsOf({parked, plain, later});
  EXPECT_TRUE(SameRect(RectOf(parked), parkedRect)) << FactsOf({parked});
  EXPECT_TRUE(SameRect(RectOf(plain), plainPlace)) << FactsOf({plain});
  Shot("desktop-1-again");
  ASSERT_TRUE(PressDesktopHotkey(2));
  EXPECT_TRUE(WaitVisibility({later}, true) && WaitVisibility({parked, plain}, false))
      << FactsOf({parked, plain, later});
  EXPECT_TRUE(SameRect(RectOf(later), laterPlace)) << FactsOf({later});
  Shot("desktop-2-again");

  // Closed from desktop 2, the program shows desktop 1's windows too, at their places, opaque,
  // and to be seen: the middle of each shows its colour.
  ASSERT_TRUE(CloseAndWaitForExit());
  for (HWND w : {parked, plain, later}) {
    const WindowFacts facts = ReadWindowFacts(w);
    EXPECT_TRUE(facts.visible && !(facts.exStyle & WS_EX_LAYERED)) << facts;
  }
  EXPECT_TRUE(SameRect(RectOf(parked), parkedRect) && SameRect(RectOf(plain), plainPlace) &&
              SameRect(RectOf(later), laterPlace))
      << FactsOf({parked, plain, later});
  EXPECT_TRUE(ShotUntil("after-close", [&](const vdtools::Image& shot) {
    return MiddlesShow(shot,
                       {{parkedRect, 0x2080E0}, {plainPlace, 0x20C060}, {laterPlace, 0xC02080}});
  })) << FactsOf({parked, plain, later});
}

TEST_F(HotkeySwitching, TheHideAndPanicHotkeysPutThePagerAwayAndTheHideHotkeyBringsItBack) {
  HWND one = Open("Work A", {100, 480, 460, 720}, 0x2060C0);
  HWND two = Open("Work B", {520, 560, 840, 780}, 0x20C060);
  ASSERT_TRUE(one && two);
  ASSERT_NE(StartAndWaitForPager(), nullptr) << "vuedeck.exe showed no window";
  EXPECT_TRUE(PagerAfter(kHideKey, false, "hidden"));
  EXPECT_TRUE(PagerAfter(kHideKey, true, "shown-again"));

  // A window of the panic desktop, then back to desktop 1.
  ASSERT_TRUE(PressDesktopHotkey(kPanicDesktop));
  ASSERT_TRUE(WaitVisibility({one, two}, false)) << FactsOf({one, two});
  const RECT coverPlace{200, 300, 700, 700};
  HWND cover = OpenOnCurrentDesktop("Innocent", coverPlace, 0xE0E0E0);
  ASSERT_NE(cover, nullptr);
  ASSERT_TRUE(PressDesktopHotkey(1));
  ASSERT_TRUE(WaitVisibility({one, two}, true) && WaitVisibility({cover}, false))
      << FactsOf({one, two, cover});
  Shot("desktop-1");

  EXPECT_TRUE(PagerAfter(kPanicKey, false, "panic"));
  EXPECT_TRUE(WaitVisibility({one, two}, false) && WaitVisibility({cover}, true))
      << FactsOf({one, two, cover});
  EXPECT_TRUE(SameRect(RectOf(cover), coverPlace)) << FactsOf({cover});
  EXPECT_TRUE(PagerAfter(kHideKey, true, "pager-back"));
}

}  // namespace
}  // namespace vde2e
