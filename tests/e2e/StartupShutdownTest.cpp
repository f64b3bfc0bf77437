// The program coming up and going down, seen from outside: the pager window it shows, a second
// copy started beside it, and the end of the program when the pager is closed.
#include <set>

#include "E2eTest.h"
#include "Managed.h"

namespace vde2e {
namespace {

constexpr int kTitleStripHeight = 20;  // pixels along the pager's top edge

// What the pager's title strip looks like on a screenshot: its share of near-black pixels
// (the strip's background is black), its share of the desktop's own colour (a strip that is
// not drawn at all), and how many colours it has (a strip with nothing drawn on it has one).
struct StripLook {
  double darkShare = 0;
  double desktopShare = 0;
  size_t colors = 0;

  bool Drawn() const { return darkShare >= 0.15 && desktopShare < 0.5 && colors >= 2; }
};

StripLook LookAtTitleStrip(const vdtools::Image& shot, const RECT& pager, uint32_t desktop) {
  StripLook look;
  std::set<uint32_t> colors;
  int total = 0, dark = 0, desktopLike = 0;
  for (int y = pager.top; y < pager.top + kTitleStripHeight && y < pager.bottom; ++y) {
    for (int x = pager.left; x < pager.right; ++x) {
      uint32_t c = shot.ColorAt(x, y);
      if (c == 0xFFFFFFFFu) continue;  // off the screen
      ++total;
      colors.insert(c);
      if ((c & 0xFF) < 48 && ((c >> 8) & 0xFF) < 48 && ((c >> 16) & 0xFF) < 48) ++dark;
      if (c == desktop) ++desktopLike;
    }
  }
  if (total == 0) return look;
  look.darkShare = static_cast<double>(dark) / total;
  look.desktopShare = static_cast<double>(desktopLike) / total;
  look.colors = colors.size();
  return look;
}

std::ostream& operator<<(std::ostream& out, const StripLook& look) {
  return out << "title strip: " << look.darkShare * 100 << "% dark, " << look.desktopShare * 100
             << "% desktop colour, " << look.colors << " colours";
}

bool Inside(const RECT& r, int x, int y) {
  return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

// The desktop's background colour, read at a point of the screen the pager does not cover.
uint32_t DesktopColor(const vdtools::Image& shot, const RECT& pager) {
  const POINT candidates[] = {{shot.width - 3, shot.height / 2}, {2, shot.height / 2},
                              {shot.width / 2, shot.height - 3}, {shot.width / 2, 2}};
  for (const POINT& p : candidates) {
    if (!Inside(pager, p.x, p.y)) return shot.ColorAt(p.x, p.y);
  }
  return 0xFFFFFFFFu;
}

bool OnScreen(const RECT& r) {
  return r.left >= 0 && r.top >= 0 && r.right <= GetSystemMetrics(SM_CXSCREEN) &&
         r.bottom <= GetSystemMetrics(SM_CYSCREEN);
}

class PagerStartup : public E2eTest {};

TEST_F(PagerStartup, PagerIsVisibleTopMostBorderlessAndDrawsItsTitleStrip) {
  ChildProcess& vuedeck = StartVuedeck();
  ASSERT_TRUE(vuedeck.Started());
  HWND pager = WaitForPager(vuedeck);
  ASSERT_NE(pager, nullptr) << "no visible window of vuedeck.exe within "
                            << kStartTimeoutMs << " ms; running: " << vuedeck.Running();

  WindowFacts facts = ReadWindowFacts(pager);
  EXPECT_TRUE(facts.visible) << facts;
  EXPECT_TRUE(facts.topmost) << facts;
  EXPECT_TRUE(facts.Borderless()) << facts;
  EXPECT_GT(facts.Width(), 2 * kTitleStripHeight) << facts;
  EXPECT_GT(facts.Height(), 2 * kTitleStripHeight) << facts;
  EXPECT_TRUE(OnScreen(facts.rect)) << facts;
  // "transparent" 0 is opaque: either not layered at all or layered at full alpha.
  EXPECT_TRUE(!facts.alpha || *facts.alpha == 255) << facts;

  StripLook look;
  bool drawn = ShotUntil("title-strip", [&](const vdtools::Image& shot) {
    look = LookAtTitleStrip(shot, facts.rect, DesktopColor(shot, facts.rect));
    return look.Drawn();
  });
  EXPECT_TRUE(drawn) << look << " at " << facts;

  // An ordinary window brought to the front over the pager stays beneath it: the pager stays
  // above it in the Z order and a click on the title strip still reaches the pager. (Wine's
  // virtual desktop draws the front window over a top-most one all the same, so the
  // screenshot of this step shows the X stacking, not the system's order.)
  RECT r = facts.rect;
  HWND cover = Maker().Open("Cover", r.left - 60, r.top - 60, r.right - r.left + 120,
                            r.bottom - r.top + 120, "color 0xFF00FF");
  ASSERT_NE(cover, nullptr);
  EXPECT_TRUE(Maker().Front("Cover"));
  EXPECT_EQ(GetForegroundWindow(), cover);
  EXPECT_TRUE(IsAbove(pager, cover)) << ReadWindowFacts(pager) << " / " << ReadWindowFacts(cover);
  EXPECT_EQ(TopLevelWindowAt((r.left + r.right) / 2, r.top + kTitleStripHeight / 2), pager);
  EXPECT_TRUE(ReadWindowFacts(pager).topmost);
  Shot("with-a-front-window");
}

TEST_F(PagerStartup, SecondCopyEndsQuietlyAndLeavesOnePager) {
  ChildProcess& first = StartVuedeck();
  ASSERT_TRUE(first.Started());
  HWND pager = WaitForPager(first);
  ASSERT_NE(pager, nullptr) << "the first copy showed no window";

  ChildProcess& second = StartAnotherCopy();
  ASSERT_TRUE(second.Started());
  std::vector<HWND> shownBySecond;
  bool ended = WaitUntil(
      [&] {
        for (HWND w : TopLevelWindowsOf(second.Pid(), true)) shownBySecond.push_back(w);
        return second.WaitExit(0);
      },
      kExitTimeoutMs, 10);
  EXPECT_TRUE(ended) << "the second copy still runs after " << kExitTimeoutMs << " ms";
  ASSERT_TRUE(shownBySecond.empty()) << "the second copy showed " << ReadWindowFacts(shownBySecond[0]);

  EXPECT_TRUE(first.Running()) << "the first copy ended too";
  std::vector<HWND> visible = TopLevelWindowsOf(first.Pid(), true);
  ASSERT_EQ(visible.size(), 1u) << "visible windows of the first copy";
  EXPECT_EQ(visible[0], pager);
  EXPECT_TRUE(ReadWindowFacts(pager).visible);
  Shot("one-pager");
}

class PagerShutdown : public E2eTest {};

TEST_F(PagerShutdown, ClosingThePagerEndsTheProgramAndLeavesWindowsShown) {
  const uint32_t notesColor = 0x00C0FF;  // orange
  const uint32_t awayColor = 0xC04080;   // purple
  HWND notes = Maker().Open("Notes", 80, 560, 420, 260, "color 0x00C0FF");
  ASSERT_NE(notes, nullptr);

  ChildProcess& vuedeck = StartVuedeck();
  ASSERT_TRUE(vuedeck.Started());
  HWND pager = WaitForPager(vuedeck);
  ASSERT_NE(pager, nullptr) << "vuedeck.exe showed no window";
  Shot("running");

  // A window of desktop 2, hidden when desktop 1 is opened again: closing the pager must give
  // it back too.
  ASSERT_TRUE(PressDesktopHotkey(2));
  ASSERT_TRUE(WaitVisibility({notes}, false)) << ReadWindowFacts(notes);
  const RECT awayPlace{600, 560, 960, 780};
  std::string why;
  HWND away = OpenManagedWindow(Maker(), "Away", 360, 220, "color 0xC04080", &awayPlace, why);
  ASSERT_NE(away, nullptr) << why;
  const RECT awayRect = RectOf(away);
  ASSERT_TRUE(PressDesktopHotkey(1));
  ASSERT_TRUE(WaitVisibility({notes}, true) && WaitVisibility({away}, false))
      << ReadWindowFacts(notes) << " / " << ReadWindowFacts(away);
  Shot("away-on-desktop-2");

  // What the task bar's Close and Alt+F4 come down to.
  ASSERT_TRUE(PostMessageA(pager, WM_CLOSE, 0, 0));
  EXPECT_TRUE(vuedeck.WaitExit(kExitTimeoutMs))
      << "vuedeck.exe still runs " << kExitTimeoutMs << " ms after WM_CLOSE";
  EXPECT_FALSE(IsWindow(pager));

  WindowFacts facts = ReadWindowFacts(notes);
  EXPECT_TRUE(facts.visible) << facts;
  WindowFacts awayFacts = ReadWindowFacts(away);
  EXPECT_TRUE(awayFacts.visible) << awayFacts;
  EXPECT_TRUE(SameRect(awayFacts.rect, awayRect)) << "was " << Describe(awayRect) << ": "
                                                  << awayFacts;
  auto centre = [](HWND hwnd) {
    RECT client{};
    GetClientRect(hwnd, &client);
    POINT p{client.right / 2, client.bottom / 2};
    ClientToScreen(hwnd, &p);
    return p;
  };
  const POINT notesCentre = centre(notes), awayCentre = centre(away);
  EXPECT_TRUE(ShotUntil("after-close", [&](const vdtools::Image& shot) {
    return shot.ColorAt(notesCentre.x, notesCentre.y) == notesColor &&
           shot.ColorAt(awayCentre.x, awayCentre.y) == awayColor;
  })) << "the windows are not to be seen on the screen: " << facts << " / " << awayFacts;
}

}  // namespace
}  // namespace vde2e
