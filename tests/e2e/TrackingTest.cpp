// Which windows the program takes on, seen from outside: the windows already there when it
// starts, a window that comes to the front later, the ignore list (kept out, and saved once per
// caption), and windows that slide away and back with the animation on.
//
// A window parked wholly left of the screen shows by its place whether it was taken on: the
// program brings such a window to the screen's top-left corner (support/Managed.h).
#include "E2eTest.h"
#include "Managed.h"

namespace vde2e {
namespace {

constexpr int kParkedWidth = 360, kParkedHeight = 240;

// A wait for something that must not happen: long enough for the 1 ms foreground poll to have
// seen the window many times over.
constexpr DWORD kNothingHappensMs = 700;

class WindowTracking : public E2eTest {
 protected:
  // Starts the program and waits for its pager; its load (the start-up scan included) has run
  // to its end once the pager shows.
  HWND StartAndWaitForPager() {
    ChildProcess& vuedeck = StartVuedeck();
    if (!vuedeck.Started()) return nullptr;
    return WaitForPager(vuedeck);
  }

  // Closes the pager the way the task bar does and waits for the program to end.
  ::testing::AssertionResult CloseAndWaitForExit(ChildProcess& vuedeck, HWND pager) {
    if (!PostMessageA(pager, WM_CLOSE, 0, 0)) {
      return ::testing::AssertionFailure() << "WM_CLOSE could not be posted to the pager";
    }
    if (!vuedeck.WaitExit(kExitTimeoutMs)) {
      return ::testing::AssertionFailure()
             << "vuedeck.exe still runs " << kExitTimeoutMs << " ms after WM_CLOSE";
    }
    return ::testing::AssertionSuccess();
  }
};

TEST_F(WindowTracking, WindowsThatExistAtStartAreManaged) {
  HWND parked = Maker().Open("Parked", kFarLeft, 120, kParkedWidth, kParkedHeight,
                             "color 0x2080E0");
  HWND plain = Maker().Open("Plain", 120, 520, 400, 260, "color 0x40C040");
  ASSERT_TRUE(parked && plain);
  const RECT plainBefore = RectOf(plain);
  Shot("before-start");

  ChildProcess& vuedeck = StartVuedeck();
  ASSERT_TRUE(vuedeck.Started());
  ASSERT_NE(WaitForPager(vuedeck), nullptr) << "vuedeck.exe showed no window";

  EXPECT_TRUE(WaitTopLeftAt(parked, 0, 0))
      << "the window left of the screen was not brought in: " << ReadWindowFacts(parked);
  WindowFacts parkedFacts = ReadWindowFacts(parked);
  EXPECT_EQ(parkedFacts.Width(), kParkedWidth) << parkedFacts;
  EXPECT_EQ(parkedFacts.Height(), kParkedHeight) << parkedFacts;
  EXPECT_TRUE(parkedFacts.visible) << parkedFacts;
  WindowFacts plainFacts = ReadWindowFacts(plain);
  EXPECT_TRUE(SameRect(plainFacts.rect, plainBefore))
      << "the window on the screen moved from " << Describe(plainBefore) << ": " << plainFacts;
  EXPECT_TRUE(plainFacts.visible) << plainFacts;
  Shot("after-start");

  // Both belong to desktop 1: desktop 2's hotkey hides them, desktop 1's brings them back
  // where they were.
  const RECT parkedNow = RectOf(parked);
  ASSERT_TRUE(PressDesktopHotkey(2));
  EXPECT_TRUE(WaitVisibility({parked, plain}, false))
      << ReadWindowFacts(parked) << " / " << ReadWindowFacts(plain);
  Shot("desktop-2");
  ASSERT_TRUE(PressDesktopHotkey(1));
  EXPECT_TRUE(WaitVisibility({parked, plain}, true))
      << ReadWindowFacts(parked) << " / " << ReadWindowFacts(plain);
  EXPECT_TRUE(SameRect(RectOf(parked), parkedNow)) << ReadWindowFacts(parked);
  EXPECT_TRUE(SameRect(RectOf(plain), plainBefore)) << ReadWindowFacts(plain);
  Shot("desktop-1-again");
}

TEST_F(WindowTracking, AWindowBroughtToTheFrontLaterIsAdded) {
  ASSERT_NE(StartAndWaitForPager(), nullptr) << "vuedeck.exe showed no window";

  // A window without a border is not taken by the poll (the pager offers it instead).
  HWND bare = Maker().Open("Bare", kFarLeft, 500, 300, 180, "style noborder color 0x808080");
  ASSERT_NE(bare, nullptr);
  ASSERT_TRUE(Maker().Front("Bare"));
  EXPECT_FALSE(WaitUntil([&] { return RectOf(bare).left != kFarLeft; }, kNothingHappensMs))
      << "the window without a border was taken on: " << ReadWindowFacts(bare);
  Shot("borderless-in-front");

  HWND late = Maker().Open("Late", kFarLeft, 150, 320, 200, "color 0xC06020");
  ASSERT_NE(late, nullptr);
  ASSERT_TRUE(Maker().Front("Late"));
  EXPECT_EQ(GetForegroundWindow(), late);
  EXPECT_TRUE(WaitTopLeftAt(late, 0, 0))
      << "the front window was not taken on: " << ReadWindowFacts(late);
  WindowFacts facts = ReadWindowFacts(late);
  EXPECT_EQ(facts.Width(), 320) << facts;
  EXPECT_EQ(facts.Height(), 200) << facts;
  EXPECT_TRUE(facts.visible) << facts;
  EXPECT_EQ(RectOf(bare).left, kFarLeft) << ReadWindowFacts(bare);
  Shot("taken-on");
}

TEST_F(WindowTracking, TheIgnoreListKeepsItsWindowsOutAndIsSavedOncePerCaption) {
  const std::string listFile = ScratchFile("ignore.list");
  ASSERT_TRUE(WriteWholeFile(listFile, "Ignored Window\r\n"));
  HWND ignored = Maker().Open("Ignored Window", kFarLeft, 100, 300, 200, "color 0x0000C0");
  HWND otherCase = Maker().Open("ignored window", kFarLeft, 350, 300, 200, "color 0xC0C000");
  ASSERT_TRUE(ignored && otherCase);

  ChildProcess& vuedeck = StartVuedeck();
  ASSERT_TRUE(vuedeck.Started());
  HWND pager = WaitForPager(vuedeck);
  ASSERT_NE(pager, nullptr) << "vuedeck.exe showed no window";

  // The start-up scan takes the caption that differs in letter case only...
  EXPECT_TRUE(WaitTopLeftAt(otherCase, 0, 0))
      << "a caption the list does not hold exactly was left alone: " << ReadWindowFacts(otherCase);
  // ...and the foreground poll leaves the listed one alone too. The window that comes to the
  // front after it is taken, so the poll ran while the listed window was in front.
  ASSERT_TRUE(Maker().Front("Ignored Window"));
  std::string why;
  HWND probe = OpenManagedWindow(Maker(), "Probe", 260, 160, "color 0x606060", nullptr, why);
  EXPECT_NE(probe, nullptr) << why;
  EXPECT_EQ(RectOf(ignored).left, kFarLeft)
      << "the window the ignore list names was taken on: " << ReadWindowFacts(ignored);
  Shot("first-run");

  const std::string expected = "Start Menu\r\nProgram Manager\r\nOpen\r\nIgnored Window\r\n";
  ASSERT_TRUE(CloseAndWaitForExit(vuedeck, pager));
  std::optional<std::string> saved = ReadWholeFile(listFile);
  ASSERT_TRUE(saved.has_value()) << "no ignore.list after the first run";
  EXPECT_EQ(Printable(*saved), Printable(expected)) << "ignore.list after the first run";

  // A second run reads the list it wrote and writes back the same bytes.
  ChildProcess& again = StartAnotherCopy();
  ASSERT_TRUE(again.Started());
  HWND pager2 = WaitForPager(again);
  ASSERT_NE(pager2, nullptr) << "the second run showed no window";
  ASSERT_TRUE(Maker().Front("Ignored Window"));
  EXPECT_FALSE(WaitUntil([&] { return RectOf(ignored).left != kFarLeft; }, kNothingHappensMs))
      << "the second run took on the listed window: " << ReadWindowFacts(ignored);
  Shot("second-run");
  ASSERT_TRUE(CloseAndWaitForExit(again, pager2));
  saved = ReadWholeFile(listFile);
  ASSERT_TRUE(saved.has_value()) << "no ignore.list after the second run";
  EXPECT_EQ(Printable(*saved), Printable(expected)) << "ignore.list after the second run";
}

TEST_F(WindowTracking, AnAnimatedSwitchPutsWindowsBackToThePixelAndOpaque) {
  settings.Set("SETUP", "animate", "1");
  struct Slider {
    HWND hwnd;
    uint32_t color;  // 0xBBGGRR, as a screenshot pixel reads
    WindowFacts before;
  };
  Slider sliders[] = {
      {Maker().Open("Slider one", 120, 480, 380, 250, "color 0x3060C0"), 0x3060C0, {}},
      {Maker().Open("Slider two", 560, 560, 300, 220, "color 0x30C060"), 0x30C060, {}}};
  for (Slider& s : sliders) ASSERT_NE(s.hwnd, nullptr);

  ASSERT_NE(StartAndWaitForPager(), nullptr) << "vuedeck.exe showed no window";
  for (Slider& s : sliders) s.before = ReadWindowFacts(s.hwnd);
  Shot("before");

  // Slid away, each is hidden exactly where it was, with no layered style left on it.
  ASSERT_TRUE(PressDesktopHotkey(2));
  auto away = [](const Slider& s) {
    WindowFacts now = ReadWindowFacts(s.hwnd);
    return !now.visible && SameRect(now.rect, s.before.rect) && !(now.exStyle & WS_EX_LAYERED);
  };
  WaitUntil([&] { return away(sliders[0]) && away(sliders[1]); }, kSwitchTimeoutMs);
  for (const Slider& s : sliders) {
    EXPECT_TRUE(away(s)) << "before " << s.before << "; on desktop 2: " << ReadWindowFacts(s.hwnd);
  }
  Shot("desktop-2");

  // Slid back in, each ends exactly at its own place, an ordinary window again: not layered.
  //
  // The slide in must end with the layered style taken off: under Wine a window that became
  // layered while hidden is not drawn at all, although it reads as visible at its place.
  ASSERT_TRUE(PressDesktopHotkey(1));
  auto back = [](const Slider& s) {
    WindowFacts now = ReadWindowFacts(s.hwnd);
    return now.visible && SameRect(now.rect, s.before.rect) && !(now.exStyle & WS_EX_LAYERED);
  };
  WaitUntil([&] { return back(sliders[0]) && back(sliders[1]); }, kSwitchTimeoutMs);
  for (const Slider& s : sliders) {
    EXPECT_TRUE(back(s)) << "before " << s.before << "; back on desktop 1: "
                         << ReadWindowFacts(s.hwnd);
  }
  EXPECT_TRUE(ShotUntil("desktop-1-again", [&](const vdtools::Image& shot) {
    for (const Slider& s : sliders) {
      const RECT& r = s.before.rect;
      if (shot.ColorAt((r.left + r.right) / 2, (r.top + r.bottom) / 2) != s.color) return false;
    }
    return true;
  }, 3000)) << "the windows slid back in are not to be seen: " << ReadWindowFacts(sliders[0].hwnd)
       << " / " << ReadWindowFacts(sliders[1].hwnd);
}

}  // namespace
}  // namespace vde2e
