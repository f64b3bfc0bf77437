// The pager's face seen from outside: the miniatures on a 3 x 2 grid show the pictures of their
// windows (those of the open desktop and those of a hidden one), a click on a cell opens its
// desktop, and resting the mouse on a hidden window's miniature fades its preview in at the
// window's place and out again, gone at once when the mouse moves onto a cell's free area.
#include <cstdlib>
#include <sstream>
#include <vector>

#include "E2eTest.h"
#include "Managed.h"
#include "Pager.h"

namespace vde2e {
namespace {

struct Painted {
  const char* caption;
  RECT rect;       // screen pixels; off the pager (600,100 326x300) and off one another
  uint32_t color;  // 0x00BBGGRR, as the helper paints it and a screenshot pixel reads it
};

class PagerFace : public E2eTest {
 protected:
  HWND StartAndWaitForPager() {
    vuedeck_ = &StartVuedeck();
    if (!vuedeck_->Started()) return nullptr;
    return WaitForPager(*vuedeck_);
  }

  HWND Open(const Painted& w) {
    return Maker().Open(w.caption, w.rect.left, w.rect.top, w.rect.right - w.rect.left,
                        w.rect.bottom - w.rect.top, "color " + Hex(w.color));
  }

  ChildProcess& Vuedeck() { return *vuedeck_; }

 private:
  ChildProcess* vuedeck_ = nullptr;
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

TEST_F(PagerFace, MiniaturesShowTheirWindowsPicturesOnTheOpenAndAHiddenDesktop) {
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

  // A window of desktop 2, hidden again once desktop 1 is back: its miniature keeps the
  // picture taken while it was shown.
  ASSERT_TRUE(PressDesktopHotkey(2));
  ASSERT_TRUE(WaitVisibility({redWindow, amberWindow}, false));
  std::string why;
  HWND hidden = OpenManagedWindow(Maker(), violet.caption, violet.rect.right - violet.rect.left,
                                  violet.rect.bottom - violet.rect.top,
                                  "color " + Hex(violet.color), &violet.rect, why);
  ASSERT_NE(hidden, nullptr) << why;
  ASSERT_TRUE(WaitUntil([&] { return SameRect(RectOf(hidden), violet.rect); }, 3000))
      << ReadWindowFacts(hidden);
  const std::vector<Miniature> shown = {{&violet, 2, grid.Miniature(2, violet.rect)}};
  EXPECT_TRUE(
      ShotUntil("desktop-2", [&](const vdtools::Image& s) { return Pictured(s, shown, wrong); }))
      << "the shown window's miniature:" << wrong;
  ASSERT_TRUE(PressDesktopHotkey(1));
  ASSERT_TRUE(WaitVisibility({hidden}, false)) << ReadWindowFacts(hidden);

  std::vector<Miniature> all = open;
  all.push_back({&violet, 2, grid.Miniature(2, violet.rect)});
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
  ASSERT_TRUE(WaitVisibility({window}, false)) << ReadWindowFacts(window);
  const PagerGrid grid(pager, settings);
  const std::vector<Miniature> hidden = {{&early, 1, grid.Miniature(1, early.rect)}};
  ASSERT_NE(MiniatureAt(pager, hidden[0].rect), nullptr) << Describe(hidden[0].rect);
  std::string wrong;
  EXPECT_TRUE(ShotUntil(
      "desktop-2", [&](const vdtools::Image& s) { return Pictured(s, hidden, wrong); }, 2000))
      << "the hidden window's miniature:" << wrong;
}

TEST_F(PagerFace, AClickOnACellOpensItsDesktop) {
  const Painted one{"Cell one A", {60, 480, 420, 720}, 0x2060C0};
  const Painted two{"Cell one B", {460, 560, 780, 780}, 0x20C060};
  HWND a = Open(one), b = Open(two);
  ASSERT_TRUE(a && b);
  HWND pager = StartAndWaitForPager();
  ASSERT_NE(pager, nullptr) << "vuedeck.exe showed no window";
  const PagerGrid grid(pager, settings);
  const RECT rectA = RectOf(a), rectB = RectOf(b);

  ASSERT_TRUE(ClickPoint(grid.FreePoint(2)));
  EXPECT_TRUE(WaitVisibility({a, b}, false))
      << "a click on cell 2 left desktop 1's windows shown: " << ReadWindowFacts(a) << " / "
      << ReadWindowFacts(b);
  Shot("desktop-2");

  ASSERT_TRUE(ClickPoint(grid.FreePoint(1)));
  EXPECT_TRUE(WaitVisibility({a, b}, true))
      << "a click on cell 1 did not bring its windows back: " << ReadWindowFacts(a) << " / "
      << ReadWindowFacts(b);
  EXPECT_TRUE(SameRect(RectOf(a), rectA)) << Describe(rectA) << " " << ReadWindowFacts(a);
  EXPECT_TRUE(SameRect(RectOf(b), rectB)) << Describe(rectB) << " " << ReadWindowFacts(b);
  ParkCursor();
  Shot("desktop-1-again");
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
  ASSERT_TRUE(WaitVisibility({window}, false)) << ReadWindowFacts(window);

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
  const long full = since();
  EXPECT_NEAR(full - opened, 400, kTolerance) << "ms from the preview's opening to alpha 200";
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
      << "the preview stays after the mouse moved onto cell 1's free area: "
      << ReadWindowFacts(shown);
  ParkCursor();
}

}  // namespace
}  // namespace vde2e
