// The keyboard, seen from outside: each desktop's hotkey shows that desktop's windows and hides
// the others', the hotkey of the desktop already open changes nothing, the hide/unhide hotkey
// puts the pager away and back, the panic hotkey opens its desktop and hides the pager, and
// closing the pager gives back the windows of every desktop.
//
// Keys go in through SendInput, so they reach the program exactly as a user's would; what is
// asserted is read with Win32 calls on the real windows.
#include <sstream>

#include "E2eTest.h"
#include "Managed.h"

namespace vde2e {
namespace {

constexpr int kPanicDesktop = 5;
// See the settings below: Ctrl+F12 hides and unhides the pager, Ctrl+F11 is the panic key.
constexpr WORD kHideKey = VK_F12;
constexpr WORD kPanicKey = VK_F11;
constexpr DWORD kPagerFadeTimeoutMs = 3000;
// A wait for something that must not happen after a hotkey: the pager handles a hotkey as
// soon as it comes, so anything it did would show well within this time.
constexpr DWORD kNothingHappensMs = 1000;

class HotkeySwitching : public E2eTest {
 protected:
  void SetUp() override {
    E2eTest::SetUp();
    // Three columns by two rows and Alt+n for desktop n come with the test settings; the
    // hide/unhide and panic hotkeys are spelled out here.
    settings.Set("SETUP", "columns", "3");
    settings.Set("SETUP", "rows", "2");
    settings.Set("SETUP", "hide", "1,50");  // Ctrl (1) + F12 (key 50)
    settings.Set("ALERT", "enabled", "1");
    settings.Set("ALERT", "key1", "1");     // Ctrl
    settings.Set("ALERT", "key2", "49");    // F11
    settings.Set("ALERT", "desktop", std::to_string(kPanicDesktop));
  }

  HWND StartAndWaitForPager() {
    vuedeck_ = &StartVuedeck();
    if (!vuedeck_->Started()) return nullptr;
    return WaitForPager(*vuedeck_);
  }

  ChildProcess& Vuedeck() { return *vuedeck_; }

  // Opens a window while the current desktop is open, so that it belongs to it (see
  // OpenManagedWindow), and moves it to `place`.
  HWND OpenOnCurrentDesktop(const std::string& caption, RECT place, const std::string& color) {
    std::string why;
    HWND hwnd = OpenManagedWindow(Maker(), caption, place.right - place.left,
                                  place.bottom - place.top, "color " + color, &place, why);
    EXPECT_NE(hwnd, nullptr) << why;
    return hwnd;
  }

 private:
  ChildProcess* vuedeck_ = nullptr;
};

// Whether the pager is drawn on the screen: its title strip, black with the program's name on
// it, differs from the desktop's own colour (read at the screen's right edge, where no test
// puts a window).
bool PagerOnScreen(const vdtools::Image& shot, HWND pager) {
  const RECT r = RectOf(pager);  // a hidden window keeps its rectangle
  const uint32_t desktop = shot.ColorAt(shot.width - 5, shot.height / 2);
  int differing = 0, total = 0;
  for (int y = r.top + 2; y < r.top + 18; y += 4) {
    for (int x = r.left + 2; x < r.right - 2; x += 4) {
      ++total;
      if (shot.ColorAt(x, y) != desktop) ++differing;
    }
  }
  return total > 0 && differing * 2 > total;
}

std::string FactsOf(std::initializer_list<HWND> windows) {
  std::ostringstream out;
  for (HWND w : windows) out << "\n  " << ReadWindowFacts(w);
  return out.str();
}

TEST_F(HotkeySwitching, EachDesktopsHotkeyShowsItsWindowsAndHidesTheOthers) {
  HWND one = Maker().Open("First A", 100, 480, 360, 240, "color 0x2060C0");
  HWND two = Maker().Open("First B", 520, 560, 320, 220, "color 0x20C060");
  ASSERT_TRUE(one && two);
  ASSERT_NE(StartAndWaitForPager(), nullptr) << "vuedeck.exe showed no window";
  const RECT oneRect = RectOf(one), twoRect = RectOf(two);
  Shot("desktop-1");

  ASSERT_TRUE(PressDesktopHotkey(2));
  EXPECT_TRUE(WaitVisibility({one, two}, false)) << FactsOf({one, two});
  Shot("desktop-2-empty");

  // A window that comes to the front now belongs to desktop 2.
  HWND later = OpenOnCurrentDesktop("Second", RECT{300, 300, 640, 520}, "0xC02080");
  ASSERT_NE(later, nullptr);
  const RECT laterRect = RectOf(later);
  EXPECT_TRUE(IsWindowVisible(one) == FALSE && IsWindowVisible(two) == FALSE)
      << FactsOf({one, two});
  Shot("desktop-2-with-a-window");

  ASSERT_TRUE(PressDesktopHotkey(1));
  EXPECT_TRUE(WaitVisibility({one, two}, true) && WaitVisibility({later}, false))
      << FactsOf({one, two, later});
  EXPECT_TRUE(SameRect(RectOf(one), oneRect)) << Describe(oneRect) << FactsOf({one});
  EXPECT_TRUE(SameRect(RectOf(two), twoRect)) << Describe(twoRect) << FactsOf({two});
  Shot("desktop-1-again");

  ASSERT_TRUE(PressDesktopHotkey(2));
  EXPECT_TRUE(WaitVisibility({later}, true) && WaitVisibility({one, two}, false))
      << FactsOf({one, two, later});
  EXPECT_TRUE(SameRect(RectOf(later), laterRect)) << Describe(laterRect) << FactsOf({later});
  Shot("desktop-2-again");
}

TEST_F(HotkeySwitching, TheCurrentDesktopsHotkeyChangesNothing) {
  // With the slide on, a switch that wrongly ran would move the windows as well.
  settings.Set("SETUP", "animate", "1");
  HWND away = Maker().Open("Stays away", 100, 480, 360, 240, "color 0x2060C0");
  ASSERT_NE(away, nullptr);
  ASSERT_NE(StartAndWaitForPager(), nullptr) << "vuedeck.exe showed no window";
  ASSERT_TRUE(PressDesktopHotkey(2));
  ASSERT_TRUE(WaitVisibility({away}, false)) << FactsOf({away});
  HWND here = OpenOnCurrentDesktop("Stays here", RECT{420, 420, 780, 660}, "0x20C060");
  ASSERT_NE(here, nullptr);
  const WindowFacts awayBefore = ReadWindowFacts(away), hereBefore = ReadWindowFacts(here);
  Shot("desktop-2");

  ASSERT_TRUE(PressDesktopHotkey(2));
  auto changed = [](const WindowFacts& before) {
    WindowFacts now = ReadWindowFacts(before.hwnd);
    return now.visible != before.visible || !SameRect(now.rect, before.rect);
  };
  EXPECT_FALSE(WaitUntil([&] { return changed(awayBefore) || changed(hereBefore); },
                         kNothingHappensMs, 5))
      << "before:\n  " << awayBefore << "\n  " << hereBefore << "\nafter:" << FactsOf({away, here});
  Shot("after-desktop-2-again");

  // The keys still reach the program: another desktop's hotkey does switch.
  ASSERT_TRUE(PressDesktopHotkey(1));
  EXPECT_TRUE(WaitVisibility({away}, true) && WaitVisibility({here}, false))
      << FactsOf({away, here});
}

TEST_F(HotkeySwitching, TheHideHotkeyPutsThePagerAwayAndBringsItBack) {
  HWND pager = StartAndWaitForPager();
  ASSERT_NE(pager, nullptr) << "vuedeck.exe showed no window";

  ASSERT_TRUE(PressChord({VK_CONTROL, kHideKey}));
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(pager); }, kPagerFadeTimeoutMs))
      << "still shown after the fade: " << ReadWindowFacts(pager);
  EXPECT_TRUE(Vuedeck().Running());
  EXPECT_TRUE(ShotUntil("hidden", [&](const vdtools::Image& shot) {
    return !PagerOnScreen(shot, pager);
  })) << "the pager is still to be seen: " << ReadWindowFacts(pager);

  ASSERT_TRUE(PressChord({VK_CONTROL, kHideKey}));
  // Back, and opaque again once the fade in is over.
  EXPECT_TRUE(WaitUntil(
      [&] {
        WindowFacts f = ReadWindowFacts(pager);
        return f.visible && (!f.alpha || *f.alpha == 255);
      },
      kPagerFadeTimeoutMs))
      << ReadWindowFacts(pager);
  EXPECT_TRUE(ShotUntil("shown-again", [&](const vdtools::Image& shot) {
    return PagerOnScreen(shot, pager);
  })) << "the pager is not to be seen: " << ReadWindowFacts(pager);
}

TEST_F(HotkeySwitching, ThePanicHotkeyOpensThePanicDesktopAndHidesThePager) {
  HWND one = Maker().Open("Work A", 100, 480, 360, 240, "color 0x2060C0");
  HWND two = Maker().Open("Work B", 520, 560, 320, 220, "color 0x20C060");
  ASSERT_TRUE(one && two);
  HWND pager = StartAndWaitForPager();
  ASSERT_NE(pager, nullptr) << "vuedeck.exe showed no window";

  // A window of the panic desktop, then back to desktop 1.
  ASSERT_TRUE(PressDesktopHotkey(kPanicDesktop));
  ASSERT_TRUE(WaitVisibility({one, two}, false)) << FactsOf({one, two});
  HWND cover = OpenOnCurrentDesktop("Innocent", RECT{200, 300, 700, 700}, "0xE0E0E0");
  ASSERT_NE(cover, nullptr);
  const RECT coverRect = RectOf(cover);
  ASSERT_TRUE(PressDesktopHotkey(1));
  ASSERT_TRUE(WaitVisibility({one, two}, true) && WaitVisibility({cover}, false))
      << FactsOf({one, two, cover});
  ASSERT_TRUE(IsWindowVisible(pager));
  Shot("desktop-1");

  ASSERT_TRUE(PressChord({VK_CONTROL, kPanicKey}));
  EXPECT_TRUE(WaitVisibility({one, two}, false) && WaitVisibility({cover}, true))
      << FactsOf({one, two, cover});
  EXPECT_TRUE(SameRect(RectOf(cover), coverRect)) << Describe(coverRect) << FactsOf({cover});
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(pager); }, kPagerFadeTimeoutMs))
      << "the pager is still shown: " << ReadWindowFacts(pager);
  EXPECT_TRUE(Vuedeck().Running());
  EXPECT_TRUE(ShotUntil("panic", [&](const vdtools::Image& shot) {
    return !PagerOnScreen(shot, pager);
  })) << "the pager is still to be seen: " << ReadWindowFacts(pager);

  // The hide/unhide hotkey brings the pager back after a panic.
  ASSERT_TRUE(PressChord({VK_CONTROL, kHideKey}));
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(pager) != FALSE; }, kPagerFadeTimeoutMs))
      << ReadWindowFacts(pager);
  EXPECT_TRUE(ShotUntil("pager-back", [&](const vdtools::Image& shot) {
    return PagerOnScreen(shot, pager);
  })) << "the pager is not to be seen: " << ReadWindowFacts(pager);
}

TEST_F(HotkeySwitching, ClosingThePagerBringsBackTheWindowsOfEveryDesktop) {
  struct Placed {
    HWND hwnd;
    RECT rect;
    uint32_t color;  // 0xBBGGRR, as a screenshot pixel reads
  };
  HWND first = Maker().Open("On one", 100, 480, 360, 240, "color 0x2060C0");
  ASSERT_NE(first, nullptr);
  HWND pager = StartAndWaitForPager();
  ASSERT_NE(pager, nullptr) << "vuedeck.exe showed no window";

  ASSERT_TRUE(PressDesktopHotkey(2));
  ASSERT_TRUE(WaitVisibility({first}, false)) << FactsOf({first});
  HWND second = OpenOnCurrentDesktop("On two", RECT{380, 420, 680, 620}, "0x20C060");
  ASSERT_NE(second, nullptr);
  ASSERT_TRUE(PressDesktopHotkey(3));
  ASSERT_TRUE(WaitVisibility({first, second}, false)) << FactsOf({first, second});
  HWND third = OpenOnCurrentDesktop("On three", RECT{760, 600, 1060, 800}, "0xC02080");
  ASSERT_NE(third, nullptr);
  const Placed windows[] = {{first, RectOf(first), 0x2060C0},
                            {second, RectOf(second), 0x20C060},
                            {third, RectOf(third), 0xC02080}};
  Shot("desktop-3");

  ASSERT_TRUE(PostMessageA(pager, WM_CLOSE, 0, 0));
  ASSERT_TRUE(Vuedeck().WaitExit(kExitTimeoutMs))
      << "vuedeck.exe still runs " << kExitTimeoutMs << " ms after WM_CLOSE";

  for (const Placed& w : windows) {
    WindowFacts facts = ReadWindowFacts(w.hwnd);
    EXPECT_TRUE(facts.visible) << facts;
    EXPECT_TRUE(SameRect(facts.rect, w.rect)) << "was " << Describe(w.rect) << ": " << facts;
    EXPECT_FALSE(facts.exStyle & WS_EX_LAYERED) << facts;
  }
  // And they are to be seen: the middle of each shows its colour.
  EXPECT_TRUE(ShotUntil("after-close", [&](const vdtools::Image& shot) {
    for (const Placed& w : windows) {
      if (shot.ColorAt((w.rect.left + w.rect.right) / 2, (w.rect.top + w.rect.bottom) / 2) !=
          w.color) {
        return false;
      }
    }
    return true;
  })) << FactsOf({first, second, third});
}

}  // namespace
}  // namespace vde2e
