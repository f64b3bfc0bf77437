// Working with windows from the pager, seen from outside: a miniature dragged into another
// desktop's cell sends its window there (hidden, at the place the drop shows) and back; the
// window menu of a miniature makes its window top-most for good, half transparent or no longer
// managed (its title kept in the ignore list); the main menu's Exit asks first and, answered
// Yes, gives back the windows of every desktop.
//
// The popup menus are worked with the keyboard (Home, arrows, Enter): a click on an entry needs
// the entry's place, and another process's menu cannot be read under Wine to find it. The
// screenshots show the entries.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "ProgramTest.h"

namespace vde2e {
namespace {

// A wait for something that must not happen: the pager's timers run every 100 ms, so anything
// it did would show well within this time.
constexpr DWORD kNothingHappensMs = 700;

class Gestures : public ProgramTest {
 protected:
  // Opens a window on desktop n (its hotkey, then the window taken on once the pager shows the
  // desktop open) at `place`, waits until its miniature shows it there, as the user sees it,
  // and goes back to desktop 1.
  HWND OpenOnDesktop(int n, const std::string& caption, const RECT& place, uint32_t color) {
    const PagerGrid grid(Pager(), settings);
    const RECT cell = grid.Cell(n);
    if (!PressDesktopHotkey(n) ||
        !ShotUntil("desktop-" + std::to_string(n) + "-open", [&](const vdtools::Image& shot) {
          return ShowsSelectedCell(shot, cell, settings);
        })) {
      ADD_FAILURE() << "the pager does not show desktop " << n << " open";
      return nullptr;
    }
    HWND hwnd = OpenOnCurrentDesktop(caption, place, color);
    if (!hwnd) return nullptr;
    // The pager follows the window to its place within a tick or two of its 100 ms timer.
    const RECT miniature = grid.Miniature(n, place);
    if (!WaitUntil([&] { return MiniatureAt(Pager(), miniature) != nullptr; }, 3000) ||
        !ShotUntil("desktop-" + std::to_string(n) + "-pictured", [&](const vdtools::Image& shot) {
          return ColorAround(shot, Middle(miniature), color);
        })) {
      ADD_FAILURE() << "no miniature showing " << caption << " at " << Describe(miniature);
      return nullptr;
    }
    if (!PressDesktopHotkey(1) || !WaitVisibility({hwnd}, false)) return nullptr;
    return hwnd;
  }

  // Right-clicks the miniature and waits for the window menu, drawn.
  ::testing::AssertionResult OpenWindowMenu(const RECT& miniature, const std::string& step) {
    if (!ClickPoint(Middle(miniature), true)) {
      return ::testing::AssertionFailure() << "the right click could not be given";
    }
    if (!WaitUntil([] { return VisiblePopupMenu() != nullptr; }, 5000)) {
      return ::testing::AssertionFailure()
             << "a right click on the miniature " << Describe(miniature) << " opened no menu";
    }
    if (!ShotUntil(step, MenuDrawn)) return ::testing::AssertionFailure() << "no entries drawn";
    return ::testing::AssertionSuccess();
  }

  // Clicks the button of a question of the program and waits for the question to go.
  ::testing::AssertionResult Answer(HWND question, const std::string& button) {
    HWND b = ButtonCaptioned(question, button);
    if (!b || !ClickPoint(Middle(RectOf(b)))) {
      return ::testing::AssertionFailure() << "no button " << button << ButtonsOf(question);
    }
    if (!WaitUntil([&] { return !IsWindowVisible(question); }, 3000)) {
      return ::testing::AssertionFailure() << "the question stays after " << button;
    }
    return ::testing::AssertionSuccess();
  }

  // The menu window drawn with its entries: enough dark text on the light menu.
  static bool MenuDrawn(const vdtools::Image& shot) {
    HWND menu = VisiblePopupMenu();
    if (!menu) return false;
    const RECT m = RectOf(menu);
    int dark = 0;
    for (int y = m.top + 2; y < m.bottom - 2; ++y) {
      for (int x = m.left + 2; x < m.right - 2; ++x) {
        const uint32_t c = shot.ColorAt(x, y);
        dark += (c & 0xFF) + ((c >> 8) & 0xFF) + ((c >> 16) & 0xFF) < 200;
      }
    }
    return dark >= 40;
  }

  // The question drawn: its title strip black, its face and each of its buttons light (a form
  // not yet painted shows black boxes where its controls are).
  static bool QuestionDrawn(const vdtools::Image& shot, HWND question) {
    auto light = [](uint32_t c) {
      return (c & 0xFF) + ((c >> 8) & 0xFF) + ((c >> 16) & 0xFF) > 450;
    };
    auto mostlyLight = [&](const RECT& r) {
      int lit = 0, all = 0;
      for (int y = r.top + 2; y < r.bottom - 2; y += 2) {
        for (int x = r.left + 2; x < r.right - 2; x += 2, ++all) lit += light(shot.ColorAt(x, y));
      }
      return all > 0 && lit * 2 > all;
    };
    const RECT q = RectOf(question);
    const std::vector<Child> buttons = VisibleButtons(question);
    return shot.ColorAt(q.left + 4, q.top + 4) == 0x000000 &&
           mostlyLight(RECT{q.left, q.bottom - 12, q.right, q.bottom}) && !buttons.empty() &&
           std::all_of(buttons.begin(), buttons.end(),
                       [&](const Child& b) { return mostlyLight(b.rect); });
  }

  static std::string ButtonsOf(HWND form) {
    std::string captions;
    for (const Child& b : VisibleButtons(form)) captions += " \"" + b.text + "\"";
    return captions;
  }
};

TEST_F(Gestures, ADroppedMiniatureSendsItsWindowToThatDesktopAndPlace) {
  HWND window = Open("Traveller", {256, 512, 640, 768}, 0x40A0E0);
  ASSERT_NE(window, nullptr);
  HWND pager = StartAndWaitForPager();
  ASSERT_NE(pager, nullptr) << "vuedeck.exe showed no window";
  const PagerGrid grid(pager, settings);
  const RECT start = RectOf(window);
  const LONG tolX = static_cast<LONG>(grid.ScreenPerPagerX()) + 1;
  const LONG tolY = static_cast<LONG>(grid.ScreenPerPagerY()) + 1;

  // Into cell 3, 8 pager pixels right of and 16 below the place it had in cell 1.
  const POINT grab = Middle(grid.Miniature(1, start));
  const POINT cellStep{grid.Cell(3).left - grid.Cell(1).left, grid.Cell(3).top - grid.Cell(1).top};
  const POINT drop{grab.x + cellStep.x + 8, grab.y + cellStep.y + 16};
  ASSERT_TRUE(DragAndRest(grab, drop, 12, 300));
  // The miniature travels with the pointer once the drag started, one pixel below the grab.
  const LONG wantLeft = start.left + std::lround(8 * grid.ScreenPerPagerX());
  const LONG wantTop = start.top + std::lround(15 * grid.ScreenPerPagerY());
  EXPECT_TRUE(WaitVisibility({window}, false))
      << "the window dropped on desktop 3 is still shown: " << ReadWindowFacts(window);
  auto landed = [&](LONG left, LONG top) {
    const RECT r = RectOf(window);
    return std::abs(r.left - left) <= tolX && std::abs(r.top - top) <= tolY &&
           std::abs((r.right - r.left) - (start.right - start.left)) <= 1 &&
           std::abs((r.bottom - r.top) - (start.bottom - start.top)) <= 1;
  };
  EXPECT_TRUE(WaitUntil([&] { return landed(wantLeft, wantTop); }, 2000))
      << "dropped 8,15 pager pixels from its place in cell 1, expected near (" << wantLeft << ","
      << wantTop << ") within " << tolX << "," << tolY
      << " at its size: " << ReadWindowFacts(window);
  ParkCursor();
  Shot("on-desktop-3");

  // The hidden window's miniature stays in cell 3; dragged into cell 1, 4 pager pixels left of
  // and 8 above, the window shows there.
  const RECT moved = RectOf(window);
  const POINT grab3 = Middle(grid.Miniature(3, moved));
  EXPECT_NE(MiniatureAt(pager, grid.Miniature(3, moved)), nullptr)
      << "no miniature in cell 3 at " << Describe(grid.Miniature(3, moved));
  const POINT back{grab3.x - cellStep.x - 4, grab3.y - cellStep.y - 8};
  ASSERT_TRUE(DragAndRest(grab3, back, 12, 300));
  EXPECT_TRUE(WaitVisibility({window}, true))
      << "the window dropped back on desktop 1 stays hidden: " << ReadWindowFacts(window);
  const LONG backLeft = moved.left - std::lround(4 * grid.ScreenPerPagerX());
  const LONG backTop = moved.top - std::lround(9 * grid.ScreenPerPagerY());
  EXPECT_TRUE(WaitUntil([&] { return landed(backLeft, backTop); }, 2000))
      << "expected near (" << backLeft << "," << backTop << "): " << ReadWindowFacts(window);
  ParkCursor();
  Shot("back-on-desktop-1");
}

// One session with the menus: a window of desktop 1 made top-most and half transparent from its
// miniature's menu, a window of desktop 2 removed from the program's care, a window of desktop
// 3 left there; then Exit from the main menu, answered No and then Yes.
TEST_F(Gestures, TheWindowMenuActsOnItsWindowAndExitAsksFirstThenGivesBackEveryDesktop) {
  const RECT targetPlace{120, 480, 520, 780}, leavingPlace{560, 480, 900, 700},
      awayPlace{940, 560, 1240, 760};
  HWND target = Open("Menu target", targetPlace, 0x3080D0);
  ASSERT_NE(target, nullptr);
  HWND pager = StartAndWaitForPager();
  ASSERT_NE(pager, nullptr) << "vuedeck.exe showed no window";
  HWND leaving = OpenOnDesktop(2, "Leaving", leavingPlace, 0x60C040);
  HWND away = OpenOnDesktop(3, "Away", awayPlace, 0xC02080);
  ASSERT_TRUE(leaving && away) << FactsOf({target, leaving, away});
  const PagerGrid grid(pager, settings);
  ASSERT_FALSE(ReadWindowFacts(target).topmost);

  // Summon, Show on All Desktop, Always On Top, Move To, Tranparent, Remove, the windows.
  ASSERT_TRUE(OpenWindowMenu(grid.Miniature(1, targetPlace), "window-menu"));
  ASSERT_TRUE(ChooseFromPopupMenu({VK_DOWN, VK_DOWN})) << "Always On Top could not be chosen";
  EXPECT_TRUE(WaitUntil([&] { return ReadWindowFacts(target).topmost; }, 2000))
      << "Always On Top:" << FactsOf({target});
  // Tranparent, then its third entry: Opaque, High, Medium, Low.
  ASSERT_TRUE(OpenWindowMenu(grid.Miniature(1, targetPlace), "window-menu-again"));
  ASSERT_TRUE(ChooseFromPopupMenu({VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RIGHT, VK_DOWN, VK_DOWN}))
      << "Tranparent, Medium could not be chosen";
  EXPECT_TRUE(WaitUntil(
      [&] {
        const WindowFacts f = ReadWindowFacts(target);
        return f.alpha && *f.alpha == 150;
      },
      2000))
      << "Medium:" << FactsOf({target});
  ParkCursor();
  Shot("medium");

  // Remove, answered Yes: the hidden window of desktop 2 shows and no longer switches.
  ASSERT_TRUE(OpenWindowMenu(grid.Miniature(2, leavingPlace), "remove-menu"));
  ASSERT_TRUE(ChooseFromPopupMenu({VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN}))
      << "Remove could not be chosen";
  HWND question = WaitForQuestion(Vuedeck().Pid(), {"Yes", "No", "Just Remove"});
  ASSERT_NE(question, nullptr) << "no question with the buttons Yes, No and Just Remove";
  EXPECT_TRUE(ShotUntil("remove-question",
                        [&](const vdtools::Image& shot) { return QuestionDrawn(shot, question); }))
      << "the question is not drawn:" << FactsOf({question}) << ButtonsOf(question);
  ASSERT_TRUE(Answer(question, "Yes"));
  EXPECT_TRUE(WaitVisibility({leaving}, true)) << "the removed window stays hidden";
  EXPECT_TRUE(SameRect(RectOf(leaving), leavingPlace)) << FactsOf({leaving});
  ASSERT_TRUE(PressDesktopHotkey(2));
  EXPECT_FALSE(WaitUntil([&] { return !IsWindowVisible(leaving); }, kNothingHappensMs))
      << "the removed window is still switched with desktop 2:" << FactsOf({leaving});
  ASSERT_TRUE(PressDesktopHotkey(1));
  ParkCursor();
  Shot("removed");

  // Exit: Options..., About, Exit on the menu of the button "...".
  const WindowFacts before[] = {ReadWindowFacts(target), ReadWindowFacts(leaving),
                                ReadWindowFacts(away)};
  ASSERT_TRUE(before[0].visible && before[1].visible && !before[2].visible)
      << FactsOf({target, leaving, away});
  HWND menuButton = ButtonCaptioned(pager, "...");
  ASSERT_NE(menuButton, nullptr) << "no menu button on the title strip:" << ButtonsOf(pager);
  auto askToExit = [&](const std::string& step) -> HWND {
    if (!ClickPoint(Middle(RectOf(menuButton))) ||
        !WaitUntil([] { return VisiblePopupMenu() != nullptr; }, 5000)) {
      ADD_FAILURE() << "the menu button opened no menu";
      return nullptr;
    }
    EXPECT_TRUE(ShotUntil(step + "-menu", MenuDrawn)) << "the menu shows no entries";
    if (!ChooseFromPopupMenu({VK_DOWN, VK_DOWN})) {
      ADD_FAILURE() << "Exit could not be chosen";
      return nullptr;
    }
    HWND asked = WaitForQuestion(Vuedeck().Pid(), {"Yes", "No"});
    EXPECT_TRUE(asked &&
                ShotUntil(step + "-question",
                          [&](const vdtools::Image& shot) { return QuestionDrawn(shot, asked); }))
        << "Exit asked nothing, or its question is not drawn";
    return asked;
  };
  auto unchanged = [&] {
    for (const WindowFacts& b : before) {
      const WindowFacts now = ReadWindowFacts(b.hwnd);
      if (now.visible != b.visible || !SameRect(now.rect, b.rect)) return false;
    }
    return true;
  };
  question = askToExit("exit-no");
  ASSERT_NE(question, nullptr);
  ASSERT_TRUE(Answer(question, "No"));
  EXPECT_FALSE(WaitUntil([&] { return !unchanged(); }, kNothingHappensMs))
      << "No changed the windows:" << FactsOf({target, leaving, away});
  EXPECT_TRUE(Vuedeck().Running()) << "the program ended after No";
  EXPECT_TRUE(IsWindowVisible(pager)) << FactsOf({pager});

  question = askToExit("exit-yes");
  ASSERT_NE(question, nullptr);
  ASSERT_TRUE(ClickPoint(Middle(RectOf(ButtonCaptioned(question, "Yes")))));
  EXPECT_TRUE(Vuedeck().WaitExit(kExitTimeoutMs)) << "the program still runs after Yes";
  for (const WindowFacts& b : before) {
    const WindowFacts now = ReadWindowFacts(b.hwnd);
    EXPECT_TRUE(now.visible && SameRect(now.rect, b.rect))
        << "was " << Describe(b.rect) << ": " << now;
  }
  EXPECT_TRUE(ReadWindowFacts(target).topmost) << "after the program ended:" << FactsOf({target});
  const std::optional<std::string> list = ReadWholeFile(ScratchFile("ignore.list"));
  ASSERT_TRUE(list.has_value()) << "no ignore.list after the program ended";
  const std::vector<std::string> lines = Lines(*list);
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "Leaving"), 1) << Printable(*list);
  ParkCursor();
  Shot("after-exit");
}

}  // namespace
}  // namespace vde2e
