// Which windows the program takes on, seen from outside: the ignore list keeps its windows out
// and is saved once per caption over two runs, a window without a border is left alone, and
// with the animation on windows slide away and back to the pixel, while the hotkey of the
// desktop already open moves nothing.
//
// A window parked wholly left of the screen shows by its place whether it was taken on: the
// program brings such a window to the screen's top-left corner (support/Managed.h).
#include "ProgramTest.h"

namespace vde2e {
namespace {

// A wait for something that must not happen: long enough for the 1 ms foreground poll to have
// seen the window many times over, and for the pager's 100 ms timers.
constexpr DWORD kNothingHappensMs = 1000;

class WindowTracking : public ProgramTest {};

TEST_F(WindowTracking, TheIgnoreListAndAMissingBorderKeepWindowsOutAndTheListIsSavedOnce) {
  const std::string listFile = ScratchFile("ignore.list");
  ASSERT_TRUE(WriteWholeFile(listFile, "Ignored Window\r\n"));
  HWND ignored = Maker().Open("Ignored Window", kFarLeft, 100, 300, 200, "color 0x0000C0");
  HWND otherCase = Maker().Open("ignored window", kFarLeft, 350, 300, 200, "color 0xC0C000");
  ASSERT_TRUE(ignored && otherCase);
  ASSERT_NE(StartAndWaitForPager(), nullptr) << "vuedeck.exe showed no window";

  // The start-up scan takes the caption that differs in letter case only...
  EXPECT_TRUE(WaitTopLeftAt(otherCase, 0, 0))
      << "a caption the list does not hold exactly was left alone: " << FactsOf({otherCase});
  // ...and the foreground poll leaves alone the listed one and one without a border (the pager
  // offers that one instead), each in front for a while; the window that comes to the front
  // after them is taken, so the poll ran.
  auto staysOut = [&](const char* caption, HWND hwnd) {
    return Maker().Front(caption) &&
           !WaitUntil([&] { return RectOf(hwnd).left != kFarLeft; }, kNothingHappensMs);
  };
  EXPECT_TRUE(staysOut("Ignored Window", ignored)) << FactsOf({ignored});
  HWND bare = Maker().Open("Bare", kFarLeft, 500, 300, 180, "style noborder color 0x808080");
  ASSERT_NE(bare, nullptr);
  EXPECT_TRUE(staysOut("Bare", bare)) << FactsOf({bare});
  std::string why;
  EXPECT_NE(OpenManagedWindow(Maker(), "Probe", 260, 160, "color 0x606060", nullptr, why), nullptr)
      << why;
  Shot("first-run");

  const std::string expected = "Start Menu\r\nProgram Manager\r\nOpen\r\nIgnored Window\r\n";
  ASSERT_TRUE(CloseAndWaitForExit());
  EXPECT_EQ(Printable(ReadWholeFile(listFile).value_or("(none)")), Printable(expected))
      << "ignore.list after the first run";

  // A second run reads the list it wrote and writes back the same bytes.
  ASSERT_NE(StartAndWaitForPager(true), nullptr) << "the second run showed no window";
  EXPECT_TRUE(staysOut("Ignored Window", ignored)) << "second run:" << FactsOf({ignored});
  Shot("second-run");
  ASSERT_TRUE(CloseAndWaitForExit());
  EXPECT_EQ(Printable(ReadWholeFile(listFile).value_or("(none)")), Printable(expected))
      << "ignore.list after the second run";
}

TEST_F(WindowTracking, AnAnimatedSwitchPutsWindowsBackToThePixelAndOpaque) {
  settings.Set("SETUP", "animate", "1");
  struct Slider {
    const char* caption;
    RECT place;
    uint32_t color;
    HWND hwnd;
  };
  Slider sliders[] = {{"Slider one", {120, 480, 500, 730}, 0x3060C0, nullptr},
                      {"Slider two", {560, 560, 860, 780}, 0x30C060, nullptr}};
  for (Slider& s : sliders) ASSERT_NE(s.hwnd = Open(s.caption, s.place, s.color), nullptr);
  ASSERT_NE(StartAndWaitForPager(), nullptr) << "vuedeck.exe showed no window";
  HWND one = sliders[0].hwnd, two = sliders[1].hwnd;
  Shot("before");

  // Each window is where it was and an ordinary window again (no layered style left on it),
  // hidden after the slide away and shown after the slide back. The slide in must end with the
  // layered style taken off: under Wine a window that became layered while hidden is not drawn
  // at all, although it reads as visible at its place.
  auto inPlace = [&](bool visible) {
    for (const Slider& s : sliders) {
      const WindowFacts now = ReadWindowFacts(s.hwnd);
      if (now.visible != visible || !SameRect(now.rect, s.place) || (now.exStyle & WS_EX_LAYERED)) {
        return false;
      }
    }
    return true;
  };
  auto settled = [&](bool visible) {
    return WaitUntil([&] { return inPlace(visible); }, kSwitchTimeoutMs);
  };
  ASSERT_TRUE(PressDesktopHotkey(2));
  EXPECT_TRUE(settled(false)) << "on desktop 2:" << FactsOf({one, two});
  Shot("desktop-2");
  ASSERT_TRUE(PressDesktopHotkey(1));
  EXPECT_TRUE(settled(true)) << "back on desktop 1:" << FactsOf({one, two});
  EXPECT_TRUE(ShotUntil("desktop-1-again",
                        [&](const vdtools::Image& shot) {
                          return MiddlesShow(shot, {{sliders[0].place, sliders[0].color},
                                                    {sliders[1].place, sliders[1].color}});
                        }))
      << "the windows slid back in are not to be seen:" << FactsOf({one, two});

  // The open desktop's own hotkey changes nothing: with the slide on, a switch that wrongly
  // ran would move the windows as well.
  ASSERT_TRUE(PressDesktopHotkey(1));
  EXPECT_FALSE(WaitUntil([&] { return !inPlace(true); }, kNothingHappensMs, 5))
      << "after desktop 1's hotkey on desktop 1:" << FactsOf({one, two});
  // The keys still reach the program: another desktop's hotkey does switch.
  ASSERT_TRUE(PressDesktopHotkey(2));
  EXPECT_TRUE(settled(false)) << "on desktop 2 again:" << FactsOf({one, two});
}

}  // namespace
}  // namespace vde2e
