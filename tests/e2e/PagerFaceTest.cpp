// The pager's face seen from outside: the miniatures on a 3 x 2 grid show the pictures of their
// windows (of the open desktop and of a hidden one) without flicker, with a tip, and a click on a
// cell opens its desktop; a miniature keeps its picture when the user leaves the desktop right
// after the start; resting the mouse on a hidden window's miniature fades its preview in at the
// window's place and out again; the title strip's button is drawn flat and answers hover, tip
// and click while the pager stays top-most, neighbouring cells keep their gaps, and a drag by the
// title strip moves the pager with the program following.
#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <vector>

#include "ProgramTest.h"

namespace vde2e {
namespace {

constexpr uint32_t kPagerBack = 0x202020;  // the pager's background (0x00BBGGRR)
constexpr uint32_t kHover = 0xFF8000;      // color_hover of the test settings

struct Painted {
  const char* caption;
  RECT rect;       // screen pixels; off the pager (600,100 326x300) and off one another
  uint32_t color;  // 0x00BBGGRR, as the helper paints it and a screenshot pixel reads it
};

struct Miniature {
  const Painted* window;
  int desktop;
  RECT rect;  // where the miniature should be
};

// Each miniature's middle shows its window's colour; `wrong` says which do not.
bool Pictured(const vdtools::Image& shot, const std::vector<Miniature>& miniatures,
              std::string& wrong) {
  std::ostringstream out;
  for (const Miniature& m : miniatures) {
    const POINT mid = Middle(m.rect);
    if (!ColorAround(shot, mid, m.window->color)) {
      out << " " << m.window->caption << " (desktop " << m.desktop << ") at (" << mid.x << ","
          << mid.y << ") shows " << Hex(shot.ColorAt(mid.x, mid.y)) << ", not "
          << Hex(m.window->color) << ";";
    }
  }
  wrong = out.str();
  return wrong.empty();
}

std::string ClassOf(HWND hwnd) {
  char name[64] = "";
  GetClassNameA(hwnd, name, sizeof name);
  return name;
}

// The desktop cells: the pager's own large child windows, row by row.
std::vector<RECT> Cells(HWND pager) {
  std::vector<RECT> cells;
  for (HWND c = GetWindow(pager, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    const RECT r = RectOf(c);
    if (IsWindowVisible(c) && ClassOf(c) == "VuedeckControl" && r.right - r.left >= 60 &&
        r.bottom - r.top >= 60) {
      cells.push_back(r);
    }
  }
  std::sort(cells.begin(), cells.end(), [](const RECT& a, const RECT& b) {
    return a.top != b.top ? a.top < b.top : a.left < b.left;
  });
  return cells;
}

int Brightness(uint32_t c) {
  return (static_cast<int>(c & 0xFF) * 299 + static_cast<int>((c >> 8) & 0xFF) * 587 +
          static_cast<int>((c >> 16) & 0xFF) * 114) /
         1000;
}

// A visible tip window of the process, if one shows.
HWND VisibleTip(DWORD pid) {
  for (HWND w : TopLevelWindowsOf(pid, true)) {
    if (_stricmp(ClassOf(w).c_str(), "tooltips_class32") == 0) return w;
  }
  return nullptr;
}

class PagerFace : public ProgramTest {
 protected:
  HWND Open(const Painted& w) { return ProgramTest::Open(w.caption, w.rect, w.color); }
};

TEST_F(PagerFace, MiniaturesShowTheirWindowsPicturesSteadilyAndAClickOnACellOpensItsDesktop) {
  const Painted red{"Red", {40, 120, 400, 380}, 0x2020E0};
  const Painted amber{"Amber", {180, 560, 580, 860}, 0x00B0F0};
  const Painted violet{"Violet", {700, 500, 1080, 780}, 0xC030A0};
  HWND redWindow = Open(red), amberWindow = Open(amber);
  ASSERT_TRUE(redWindow && amberWindow);
  HWND pager = StartAndWaitForPager();
  ASSERT_NE(pager, nullptr) << "vuedeck.exe showed no window";
  const PagerGrid grid(pager, settings);
  const std::vector<Miniature> open = {{&red, 1, grid.Miniature(1, red.rect)},
                                       {&amber, 1, grid.Miniature(1, amber.rect)}};
  std::string wrong;
  EXPECT_TRUE(
      ShotUntil("desktop-1", [&](const vdtools::Image& s) { return Pictured(s, open, wrong); }))
      << "miniatures without their window's picture:" << wrong;
  // Ten looks over a second of 100 ms repaints: the pictures are there every time (a picture
  // presented wrongly flickers black or white).
  int missing = 0;
  for (int i = 0; i < 10; ++i) {
    Sleep(100);
    vdtools::Image shot;
    missing += vdtools::CaptureScreen(shot) && !Pictured(shot, open, wrong);
  }
  EXPECT_EQ(missing, 0) << "looks at the miniatures without their pictures; last:" << wrong;
  // The pointer on a miniature brings up its tip (the window's title, on the screenshot).
  ASSERT_TRUE(PointerTo(Middle(open[0].rect)));
  EXPECT_TRUE(WaitUntil([&] { return VisibleTip(Vuedeck().Pid()) != nullptr; }, 5000))
      << "no tip over the miniature";
  Shot("miniature-tip");
  ParkCursor();

  // A window of desktop 2, hidden again once desktop 1 is back: its miniature keeps the
  // picture taken while it was shown.
  ASSERT_TRUE(PressDesktopHotkey(2));
  ASSERT_TRUE(WaitVisibility({redWindow, amberWindow}, false));
  HWND hidden = OpenOnCurrentDesktop(violet.caption, violet.rect, violet.color);
  ASSERT_NE(hidden, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return SameRect(RectOf(hidden), violet.rect); }, 3000))
      << FactsOf({hidden});
  const std::vector<Miniature> shown = {{&violet, 2, grid.Miniature(2, violet.rect)}};
  EXPECT_TRUE(
      ShotUntil("desktop-2", [&](const vdtools::Image& s) { return Pictured(s, shown, wrong); }))
      << "the shown window's miniature:" << wrong;
  ASSERT_TRUE(PressDesktopHotkey(1));
  ASSERT_TRUE(WaitVisibility({hidden}, false)) << FactsOf({hidden});

  std::vector<Miniature> all = open;
  all.push_back(shown[0]);
  // Each miniature is a window of its own in the pager, placed and sized as the window scaled
  // into its desktop's cell (to the pixel, give or take the rounding of its edges).
  for (const Miniature& m : all) {
    EXPECT_NE(MiniatureAt(pager, m.rect), nullptr)
        << m.window->caption << ": no miniature at " << Describe(m.rect) << "; at its middle "
        << Describe(RectOf(WindowFromPoint(Middle(m.rect))));
  }
  EXPECT_TRUE(
      ShotUntil("all-miniatures", [&](const vdtools::Image& s) { return Pictured(s, all, wrong); }))
      << "miniatures without their window's picture:" << wrong;

  // A click on a cell's free area opens its desktop.
  ASSERT_TRUE(ClickPoint(grid.FreePoint(2)));
  EXPECT_TRUE(WaitVisibility({redWindow, amberWindow}, false) && WaitVisibility({hidden}, true))
      << "after a click on cell 2:" << FactsOf({redWindow, amberWindow, hidden});
  ASSERT_TRUE(ClickPoint(grid.FreePoint(1)));
  EXPECT_TRUE(WaitVisibility({redWindow, amberWindow}, true) && WaitVisibility({hidden}, false))
      << "after a click on cell 1:" << FactsOf({redWindow, amberWindow, hidden});
  EXPECT_TRUE(SameRect(RectOf(redWindow), red.rect) && SameRect(RectOf(amberWindow), amber.rect))
      << FactsOf({redWindow, amberWindow});
  ParkCursor();
  Shot("desktop-1-again");
}

// A window's first picture is taken 100 ms after the program takes the window on. When the
// user leaves the desktop within that time, the picture must still be the window's: a copy of
// a hidden window comes back all black (the copy and the rendering by the window alike), and
// the miniature and the preview made from it would show a black box. (On a slow run the
// picture may be taken before the hotkey arrives; the test then passes either way.)
TEST_F(PagerFace, LeavingTheDesktopRightAfterTheStartLeavesNoBlackMiniature) {
  const Painted early{"Early", {80, 520, 500, 820}, 0x3090E0};
  HWND window = Open(early);
  ASSERT_NE(window, nullptr);
  HWND pager = StartAndWaitForPager();
  ASSERT_NE(pager, nullptr) << "vuedeck.exe showed no window";
  ASSERT_TRUE(PressDesktopHotkey(2));
  ASSERT_TRUE(WaitVisibility({window}, false)) << FactsOf({window});
  const PagerGrid grid(pager, settings);
  const std::vector<Miniature> hidden = {{&early, 1, grid.Miniature(1, early.rect)}};
  ASSERT_NE(MiniatureAt(pager, hidden[0].rect), nullptr) << Describe(hidden[0].rect);
  std::string wrong;
  EXPECT_TRUE(ShotUntil(
      "desktop-2", [&](const vdtools::Image& s) { return Pictured(s, hidden, wrong); }, 2000))
      << "the hidden window's miniature:" << wrong;
}

// The preview's timeline from the moment the mouse rests on the miniature: ten ticks of the
// pager's 100 ms timer open it (alpha 0), four 100 ms steps of 50 bring it to 200, it holds
// 3 s and four steps take it down to 0. Timers under Wine drift by tens of milliseconds when the
// machine is busy, hence the tolerance.
TEST_F(PagerFace, RestingOnAHiddenWindowsMiniatureFadesItsPreviewInAndOut) {
  constexpr long kTolerance = 400;
  settings.Set("SETUP", "preview", "1");
  const Painted away{"Away", {80, 520, 500, 820}, 0x3090E0};
  HWND window = Open(away);
  ASSERT_NE(window, nullptr);
  HWND pager = StartAndWaitForPager();
  ASSERT_NE(pager, nullptr) << "vuedeck.exe showed no window";
  const RECT place = RectOf(window);
  const PagerGrid grid(pager, settings);
  // The user sees the window's picture in its miniature before leaving its desktop.
  const std::vector<Miniature> miniature = {{&away, 1, grid.Miniature(1, place)}};
  std::string wrong;
  ASSERT_TRUE(ShotUntil("pictured", [&](const vdtools::Image& s) {
    return Pictured(s, miniature, wrong);
  })) << wrong;
  ASSERT_TRUE(PressDesktopHotkey(2));
  ASSERT_TRUE(WaitVisibility({window}, false)) << FactsOf({window});

  // The preview: a window of the program at the hidden window's place and size.
  auto preview = [&]() -> HWND {
    for (HWND w : TopLevelWindowsOf(Vuedeck().Pid(), true)) {
      if (w != pager && SameRect(RectOf(w), place)) return w;
    }
    return nullptr;
  };
  ASSERT_EQ(preview(), nullptr) << "a preview shows before the mouse rests anywhere";

  // The rest begins with the pointer's arrival, when PointerTo starts waiting for it to stay.
  const ULONGLONG rest = GetTickCount64();
  ASSERT_TRUE(PointerTo(Middle(miniature[0].rect)));
  auto since = [&] { return static_cast<long>(GetTickCount64() - rest); };
  std::vector<int> alphas;  // the alpha values the preview went through, each once
  HWND shown = nullptr;
  auto watch = [&](const std::function<bool(int)>& until, DWORD timeoutMs) {
    return WaitUntil(
        [&] {
          if (!shown) shown = preview();
          if (!shown) return false;
          const WindowFacts f = ReadWindowFacts(shown);
          const int alpha = f.alpha ? *f.alpha : -1;  // -1: not layered with an alpha
          if (alphas.empty() || alphas.back() != alpha) alphas.push_back(alpha);
          return until(alpha);
        },
        timeoutMs, 10);
  };
  auto seen = [&] {
    std::ostringstream out;
    for (int a : alphas) out << " " << a;
    return out.str();
  };

  ASSERT_TRUE(watch([](int) { return true; }, 3000)) << "no preview within 3 s of the rest";
  const long opened = since();
  EXPECT_NEAR(opened, 1000, kTolerance) << "ms from the rest until the preview showed";

  ASSERT_TRUE(watch([](int a) { return a == 200; }, 2000))
      << "the preview never reached alpha 200; it went through" << seen();
  EXPECT_NEAR(since() - opened, 400, kTolerance) << "ms from the preview's opening to alpha 200";
  // The window's own picture, at its place: its colour, or that colour blended over the
  // desktop where the display draws the alpha.
  const POINT centre = Middle(place);
  uint32_t colour = 0;
  EXPECT_TRUE(ShotUntil(
      "preview",
      [&](const vdtools::Image& shot) {
        colour = shot.ColorAt(centre.x, centre.y);
        const uint32_t behind = shot.ColorAt(place.right + 20, place.top);
        uint32_t blend = 0;
        for (int shift = 0; shift <= 16; shift += 8) {
          const uint32_t c = (away.color >> shift) & 0xFF, b = (behind >> shift) & 0xFF;
          blend |= ((c * 200 + b * 55) / 255) << shift;
        }
        return NearColor(colour, away.color, 40) || NearColor(colour, blend, 40);
      },
      1500))
      << "the preview shows " << Hex(colour) << " where the window's colour " << Hex(away.color)
      << " was expected";

  ASSERT_TRUE(watch([&](int a) { return a == 0 && alphas.size() > 2; }, 6000))
      << "the preview never faded out to alpha 0; it went through" << seen();
  EXPECT_NEAR(since(), 4700, kTolerance) << "ms from the rest until alpha 0";
  EXPECT_EQ(seen(), " 0 50 100 150 200 150 100 50 0") << "alpha values in the order seen";

  // A move onto a cell's free area hides it at once.
  ASSERT_TRUE(PointerTo(grid.FreePoint(1)));
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(shown); }, 300))
      << "the preview stays after the mouse moved onto cell 1's free area:" << FactsOf({shown});
  ParkCursor();
}

// The pager's tip window once cost it its top-most state (Wine put the form right behind its
// owned top-most tip); it stays top-most after a tip showed and a menu opened. Cells 106.67
// pixels wide (a 3 x 2 grid on a pager a quarter of 1280 pixels wide): rounding a cell's left
// and width apart once made cell 2 touch cell 3.
TEST_F(PagerFace, TitleButtonAnswersHoverTipAndClickCellsKeepTheirGapsAndTheTitleStripDrags) {
  HWND pager = StartAndWaitForPager();
  ASSERT_NE(pager, nullptr);
  EXPECT_TRUE(ReadWindowFacts(pager).topmost) << FactsOf({pager});

  HWND button = ButtonCaptioned(pager, "...");
  ASSERT_NE(button, nullptr) << "no push button on the title strip";
  EXPECT_EQ(GetWindowLongA(button, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
  const RECT b = RectOf(button);
  // Inside the one-pixel border: the face, and the strokes of the menu glyph.
  const POINT face{b.left + 2, b.top + 2};
  uint32_t restFace = 0, hotFace = 0;
  int lightPixels = 0;
  EXPECT_TRUE(ShotUntil("button-at-rest",
                        [&](const vdtools::Image& shot) {
                          restFace = shot.ColorAt(face.x, face.y);
                          lightPixels = 0;
                          for (int y = b.top + 2; y < b.bottom - 2; ++y) {
                            for (int x = b.left + 2; x < b.right - 2; ++x) {
                              lightPixels += Brightness(shot.ColorAt(x, y)) > 200;
                            }
                          }
                          return Brightness(restFace) < 80 && lightPixels >= 12;
                        }))
      << "a dark face with light strokes expected: face " << Hex(restFace) << ", " << lightPixels
      << " light pixels";

  // The mouse over the button lights its face and, after a moment, shows its tip.
  ASSERT_TRUE(PointerTo(Middle(b)));
  EXPECT_TRUE(ShotUntil("button-hovered",
                        [&](const vdtools::Image& shot) {
                          hotFace = shot.ColorAt(face.x, face.y);
                          return Brightness(hotFace) > Brightness(restFace) + 8;
                        }))
      << "face at rest " << Hex(restFace) << ", hovered " << Hex(hotFace);
  EXPECT_TRUE(WaitUntil([&] { return VisibleTip(Vuedeck().Pid()) != nullptr; }, 5000))
      << "no tip showed over the title button";
  Shot("button-tip");
  EXPECT_TRUE(ReadWindowFacts(pager).topmost) << "after the tip:" << FactsOf({pager});

  // A click reaches the program: its main menu opens with its entries drawn (dark text on the
  // light menu).
  ASSERT_TRUE(ClickAt(Middle(b).x, Middle(b).y));
  EXPECT_TRUE(ShotUntil("button-clicked", [](const vdtools::Image& shot) {
    HWND menu = VisiblePopupMenu();
    if (!menu) return false;
    const RECT m = RectOf(menu);
    int text = 0;
    for (int y = m.top + 2; y < m.bottom - 2; ++y) {
      for (int x = m.left + 2; x < m.right - 2; ++x) text += Brightness(shot.ColorAt(x, y)) < 100;
    }
    return text >= 20;
  })) << "the click on the title button opened no menu with entries";
  PressChord({VK_ESCAPE});
  EXPECT_TRUE(WaitUntil([] { return VisiblePopupMenu() == nullptr; }, 5000));
  ParkCursor();
  EXPECT_TRUE(ReadWindowFacts(pager).topmost) << "after the menu:" << FactsOf({pager});

  // Every pair of neighbouring cells keeps a gap that shows the pager's background; the gaps
  // beside cell 1 carry its selection box and are left out.
  std::vector<RECT> cells = Cells(pager);
  ASSERT_EQ(cells.size(), 6u);
  std::string wrong;
  EXPECT_TRUE(ShotUntil(
      "gaps",
      [&](const vdtools::Image& shot) {
        std::ostringstream found;
        auto gap = [&](int x, int y, bool between) {
          const uint32_t c = shot.ColorAt(x, y);
          if (!between || c != kPagerBack) found << " (" << x << "," << y << ")=" << Hex(c);
        };
        const std::pair<int, int> across[] = {{1, 2}, {3, 4}, {4, 5}}, down[] = {{1, 4}, {2, 5}};
        for (const auto& [l, r] : across) {  // counted from 0
          gap(cells[l].right, Middle(cells[l]).y, cells[l].right < cells[r].left);
        }
        for (const auto& [u, d] : down) {
          gap(Middle(cells[u]).x, cells[u].bottom, cells[u].bottom < cells[d].top);
        }
        wrong = found.str();
        return wrong.empty();
      }))
      << "gap pixels missing or not in the pager's background " << Hex(kPagerBack) << ":" << wrong;

  // A drag by the title strip moves the pager; the program follows (its hover tracking works
  // from the form's place), so the cell under the pointer at the new place lights up.
  const RECT before = RectOf(pager);
  const POINT grab{before.left + 100, before.top + 8};
  const int dx = -350, dy = 300;
  ASSERT_TRUE(PointerTo(grab));
  ASSERT_TRUE(DragFromTo(grab, POINT{grab.x + dx, grab.y + dy}, 15));
  EXPECT_TRUE(WaitUntil(
      [&] {
        const RECT now = RectOf(pager);
        return now.left == before.left + dx && now.top == before.top + dy;
      },
      5000))
      << "after a drag by (" << dx << "," << dy << ") from " << Describe(before) << ":"
      << FactsOf({pager});
  EXPECT_TRUE(ReadWindowFacts(pager).topmost) << FactsOf({pager});
  cells = Cells(pager);
  ASSERT_EQ(cells.size(), 6u);
  const POINT corner{cells[1].left + 3, cells[1].top + 3};
  ASSERT_TRUE(PointerTo(Middle(cells[1])));
  uint32_t seen = 0;
  EXPECT_TRUE(ShotUntil("hover-after-drag",
                        [&](const vdtools::Image& shot) {
                          seen = shot.ColorAt(corner.x, corner.y);
                          return NearColor(seen, kHover, 48);
                        }))
      << "cell 2 under the pointer shows " << Hex(seen) << " by its corner, not the hover colour";
  ParkCursor();
}

}  // namespace
}  // namespace vde2e
