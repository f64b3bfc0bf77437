// The program coming up, seen from outside: the pager it shows (top-most, borderless, on the
// screen, its title strip drawn, above an ordinary window brought to the front) and a second copy
// started beside it, which ends quietly. How the program ends is in HotkeysTest.cpp and
// GesturesTest.cpp.
#include <set>

#include "ProgramTest.h"

namespace vde2e {
namespace {

constexpr int kTitleStripHeight = 20;  // pixels along the pager's top edge

// Whether the title strip is drawn on the screenshot: at least 15 % of it near-black (its
// background), less than half of it the desktop's own colour (a strip not drawn at all) and more
// than one colour (a strip with nothing drawn on it has one). `seen` says what it found.
bool TitleStripDrawn(const vdtools::Image& shot, const RECT& pager, std::string& seen) {
  const uint32_t desktop = shot.ColorAt(shot.width - 3, shot.height / 2);  // beside the pager
  std::set<uint32_t> colors;
  int total = 0, dark = 0, desktopLike = 0;
  for (int y = pager.top; y < pager.top + kTitleStripHeight; ++y) {
    for (int x = pager.left; x < pager.right; ++x) {
      const uint32_t c = shot.ColorAt(x, y);
      ++total;
      colors.insert(c);
      dark += (c & 0xFF) < 48 && ((c >> 8) & 0xFF) < 48 && ((c >> 16) & 0xFF) < 48;
      desktopLike += c == desktop;
    }
  }
  seen = std::to_string(dark) + " dark, " + std::to_string(desktopLike) + " desktop-coloured of " +
         std::to_string(total) + " pixels, " + std::to_string(colors.size()) + " colours";
  return total > 0 && dark * 100 >= total * 15 && desktopLike * 2 < total && colors.size() >= 2;
}

class PagerStartup : public ProgramTest {};

TEST_F(PagerStartup, PagerIsTopMostBorderlessAndDrawnASecondCopyEndsQuietlyAFrontWindowStaysBelow) {
  HWND pager = StartAndWaitForPager();
  ASSERT_NE(pager, nullptr) << "no visible window of vuedeck.exe within " << kStartTimeoutMs
                            << " ms; running: " << Vuedeck().Running();
  const WindowFacts facts = ReadWindowFacts(pager);
  const RECT r = facts.rect;
  EXPECT_TRUE(facts.visible && facts.topmost && facts.Borderless()) << facts;
  EXPECT_GT(facts.Width(), 2 * kTitleStripHeight) << facts;
  EXPECT_GT(facts.Height(), 2 * kTitleStripHeight) << facts;
  EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= GetSystemMetrics(SM_CXSCREEN) &&
              r.bottom <= GetSystemMetrics(SM_CYSCREEN))
      << "off the screen: " << facts;
  // "transparent" 0 is opaque: either not layered at all or layered at full alpha.
  EXPECT_TRUE(!facts.alpha || *facts.alpha == 255) << facts;
  std::string strip;
  EXPECT_TRUE(ShotUntil(
      "title-strip", [&](const vdtools::Image& shot) { return TitleStripDrawn(shot, r, strip); }))
      << "the title strip is not drawn: " << strip;

  // A second copy ends before it shows anything; the first one runs on with its one pager.
  ChildProcess& second = StartAnotherCopy();
  ASSERT_TRUE(second.Started());
  std::vector<HWND> shownBySecond;
  EXPECT_TRUE(WaitUntil(
      [&] {
        for (HWND w : TopLevelWindowsOf(second.Pid(), true)) shownBySecond.push_back(w);
        return second.WaitExit(0);
      },
      kExitTimeoutMs, 10))
      << "the second copy still runs after " << kExitTimeoutMs << " ms";
  ASSERT_TRUE(shownBySecond.empty()) << "the second copy showed " << FactsOf({shownBySecond[0]});
  EXPECT_TRUE(Vuedeck().Running()) << "the first copy ended too";
  EXPECT_EQ(TopLevelWindowsOf(Vuedeck().Pid(), true), std::vector<HWND>{pager});
  Shot("one-pager");

  // An ordinary window brought to the front over the pager stays beneath it: the pager stays
  // above it in the Z order and a click on the title strip still reaches the pager. (Wine's
  // virtual desktop draws the front window over a top-most one all the same, so the screenshot
  // of this step shows the X stacking, not the system's order.)
  HWND cover = Maker().Open("Cover", r.left - 60, r.top - 60, r.right - r.left + 120,
                            r.bottom - r.top + 120, "color 0xFF00FF");
  ASSERT_NE(cover, nullptr);
  EXPECT_TRUE(Maker().Front("Cover"));
  EXPECT_EQ(GetForegroundWindow(), cover);
  EXPECT_TRUE(IsAbove(pager, cover)) << FactsOf({pager, cover});
  EXPECT_EQ(TopLevelWindowAt((r.left + r.right) / 2, r.top + kTitleStripHeight / 2), pager);
  EXPECT_TRUE(ReadWindowFacts(pager).topmost);
  Shot("with-a-front-window");
}

}  // namespace
}  // namespace vde2e
