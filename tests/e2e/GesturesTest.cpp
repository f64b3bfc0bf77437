// Working with windows from the pager, seen from outside: a miniature dragged into another
// desktop's cell sends its window there (hidden, at the place the drop shows) and back, the
// window menu of a miniature makes its window top-most, half transparent or no longer managed
// (its title kept in the ignore list), and the main menu's Exit asks first and, answered Yes,
// gives back the windows of every desktop.
//
// The popup menus are worked with the keyboard (Home, arrows, Enter): a click on an entry needs
// the entry's place, and another process's menu cannot be read under Wine to find it. The
// screenshots show the entries.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <sstream>

#include "E2eTest.h"
#include "Managed.h"
#include "Pager.h"

namespace vde2e {
namespace {

// A wait for something that must not happen: the pager's timers run every 100 ms, so anything
// it did would show well within this time.
constexpr DWORD kNothingHappensMs = 700;

class Gestures : public E2eTest {
 protected:
  HWND StartAndWaitForPager() {
    vuedeck_ = &StartVuedeck();
    if (!vuedeck_->Started()) return nullptr;
    pager_ = WaitForPager(*vuedeck_);
    return pager_;
  }

  ChildProcess& Vuedeck() { return *vuedeck_; }

  // Opens a window on desktop n (its hotkey, then the window taken on once the pager shows
  // the desktop open) at `place`, waits until its miniature shows it there, as the user sees
  // it, and goes back to desktop 1.
  HWND OpenOnDesktop(int n, const std::string& caption, const RECT& place, uint32_t color) {
    const PagerGrid grid(pager_, settings);
    const RECT cell = grid.Cell(n);
    if (!PressDesktopHotkey(n) ||
        !ShotUntil("desktop-" + std::to_string(n) + "-open", [&](const vdtools::Image& shot) {
          return ShowsSelectedCell(shot, cell, settings);
        })) {
      ADD_FAILURE() << "the pager does not show desktop " << n << " open";
      return nullptr;
    }
    std::string why;
    HWND hwnd = OpenManagedWindow(Maker(), caption, place.right - place.left,
                                  place.bottom - place.top, "color " + Hex(color), &place, why);
    EXPECT_NE(hwnd, nullptr) << why;
    if (!hwnd) return nullptr;
    // The pager follows the window to its place within a tick or two of its 100 ms timer.
    const RECT miniature = grid.Miniature(n, place);
    if (!WaitUntil([&] { return MiniatureAt(pager_, miniature) != nullptr; }, 3000) ||
        !ShotUntil("desktop-" + std::to_string(n) + "-pictured", [&](const vdtools::Image& shot) {
          return ColorAround(shot, Middle(miniature), color);
        })) {
      ADD_FAILURE() << "no miniature showing " << caption << " at " << Describe(miniature);
      return nullptr;
    }
    if (!PressDesktopHotkey(1) || !WaitVisibility({hwnd}, false)) return nullptr;
    return hwnd;
  }

  // Closes the pager the way the task bar does and waits for the program to end.
  ::testing::AssertionResult CloseAndWaitForExit() {
    if (!PostMessageA(pager_, WM_CLOSE, 0, 0)) {
      return ::testing::AssertionFailure() << "WM_CLOSE could not be posted to the pager";
    }
    if (!vuedeck_->WaitExit(kExitTimeoutMs)) {
      return ::testing::AssertionFailure()
             << "vuedeck.exe still runs " << kExitTimeoutMs << " ms after WM_CLOSE";
    }
    return ::testing::AssertionSuccess();
  }

  // Right-clicks the miniature and waits for the window menu.
  ::testing::AssertionResult OpenWindowMenu(const RECT& miniature) {
    if (!ClickPoint(Middle(miniature), true)) {
      return ::testing::AssertionFailure() << "the right click could not be given";
    }
    if (!WaitUntil([] { return VisiblePopupMenu() != nullptr; }, 5000)) {
      return ::testing::AssertionFailure()
             << "a right click on the miniature " << Describe(miniature) << " opened no menu";
    }
    return ::testing::AssertionSuccess();
  }

 private:
  ChildProcess* vuedeck_ = nullptr;
  HWND pager_ = nullptr;
};

// The menu window drawn with its entries: enough dark text on the light menu.
bool MenuDrawn(const vdtools::Image& shot) {
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
bool QuestionDrawn(const vdtools::Image& shot, HWND question) {
  auto light = [](uint32_t c) { return (c & 0xFF) + ((c >> 8) & 0xFF) + ((c >> 16) & 0xFF) > 450; };
  auto mostlyLight = [&](const RECT& r) {
    int lit = 0, all = 0;
    for (int y = r.top + 2; y < r.bottom - 2; y += 2) {
      for (int x = r.left + 2; x < r.right - 2; x += 2, ++all) lit += light(shot.ColorAt(x, y));
    }
    return all > 0 && lit * 2 > all;
  };
  const RECT q = RectOf(question);
  if (shot.ColorAt(q.left + 4, q.top + 4) != 0x000000) return false;
  if (!mostlyLight(RECT{q.left, q.bottom - 12, q.right, q.bottom})) return false;
  const std::vector<ButtonInfo> buttons = VisibleButtons(question);
  return !buttons.empty() && std::all_of(buttons.begin(), buttons.end(),
                                         [&](const ButtonInfo& b) { return mostlyLight(b.rect); });
}

std::string FactsOf(std::initializer_list<HWND> windows) {
  std::ostringstream out;
  for (HWND w : windows) out << "\n  " << ReadWindowFacts(w);
  return out.str();
}

std::string ButtonsOf(HWND form) {
  std::string captions;
  for (const ButtonInfo& b : VisibleButtons(form)) captions += " \"" + b.caption + "\"";
  return captions;
}

TEST_F(Gestures, ADroppedMiniatureSendsItsWindowToThatDesktopAndPlace) {
  HWND window = Maker().Open("Traveller", 256, 512, 384, 256, "color 0x40A0E0");
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

TEST_F(Gestures, TheWindowMenuMakesAWindowTopMostForGoodAndHalfTransparent) {
  HWND window = Maker().Open("Menu target", 120, 480, 400, 300, "color 0x3080D0");
  ASSERT_NE(window, nullptr);
  HWND pager = StartAndWaitForPager();
  ASSERT_NE(pager, nullptr) << "vuedeck.exe showed no window";
  const PagerGrid grid(pager, settings);
  const RECT miniature = grid.Miniature(1, RectOf(window));
  ASSERT_FALSE(ReadWindowFacts(window).topmost);

  // Summon, Show on All Desktop, Always On Top, Move To, Tranparent, Remove, the windows.
  ASSERT_TRUE(OpenWindowMenu(miniature));
  EXPECT_TRUE(ShotUntil("window-menu", MenuDrawn)) << "the menu shows no entries";
  ASSERT_TRUE(ChooseFromPopupMenu({VK_DOWN, VK_DOWN})) << "Always On Top could not be chosen";
  EXPECT_TRUE(WaitUntil([&] { return ReadWindowFacts(window).topmost; }, 2000))
      << "Always On Top: " << ReadWindowFacts(window);

  // Tranparent, then its third entry: Opaque, High, Medium, Low.
  ASSERT_TRUE(OpenWindowMenu(miniature));
  ASSERT_TRUE(ChooseFromPopupMenu({VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RIGHT, VK_DOWN, VK_DOWN}))
      << "Tranparent, Medium could not be chosen";
  EXPECT_TRUE(WaitUntil(
      [&] {
        const WindowFacts f = ReadWindowFacts(window);
        return f.alpha && *f.alpha == 150;
      },
      2000))
      << "Medium: " << ReadWindowFacts(window);
  ParkCursor();
  Shot("medium");

  ASSERT_TRUE(CloseAndWaitForExit());
  const WindowFacts after = ReadWindowFacts(window);
  EXPECT_TRUE(after.topmost) << "after the program ended: " << after;
  EXPECT_TRUE(after.visible) << after;
}

TEST_F(Gestures, RemoveAnsweredYesShowsTheWindowAndKeepsItsTitleInTheIgnoreList) {
  const RECT place{700, 480, 1060, 720};
  HWND pager = StartAndWaitForPager();
  ASSERT_NE(pager, nullptr) << "vuedeck.exe showed no window";
  HWND window = OpenOnDesktop(2, "Leaving", place, 0x60C040);
  ASSERT_NE(window, nullptr);
  const PagerGrid grid(pager, settings);
  ASSERT_TRUE(OpenWindowMenu(grid.Miniature(2, place)));
  EXPECT_TRUE(ShotUntil("window-menu", MenuDrawn)) << "the menu shows no entries";
  ASSERT_TRUE(ChooseFromPopupMenu({VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN}))
      << "Remove could not be chosen";

  HWND question = WaitForQuestion(Vuedeck().Pid(), {"Yes", "No", "Just Remove"});
  ASSERT_NE(question, nullptr) << "no question with the buttons Yes, No and Just Remove";
  EXPECT_TRUE(ShotUntil("remove-question",
                        [&](const vdtools::Image& shot) { return QuestionDrawn(shot, question); }))
      << "the question is not drawn: " << ReadWindowFacts(question) << ButtonsOf(question);
  ASSERT_TRUE(ClickPoint(Middle(RectOf(ButtonCaptioned(question, "Yes")))));
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(question); }, 3000))
      << "the question stays after Yes: " << ReadWindowFacts(question);
  EXPECT_TRUE(WaitVisibility({window}, true))
      << "the removed window of desktop 2 stays hidden: " << ReadWindowFacts(window);
  EXPECT_TRUE(SameRect(RectOf(window), place)) << ReadWindowFacts(window);
  ParkCursor();
  Shot("removed");

  // No longer managed: desktop 2's hotkey leaves it shown.
  ASSERT_TRUE(PressDesktopHotkey(2));
  EXPECT_FALSE(WaitUntil([&] { return !IsWindowVisible(window); }, kNothingHappensMs))
      << "the removed window is still switched with desktop 2: " << ReadWindowFacts(window);
  ASSERT_TRUE(PressDesktopHotkey(1));

  ASSERT_TRUE(CloseAndWaitForExit());
  const std::optional<std::string> list = ReadWholeFile(ScratchFile("ignore.list"));
  ASSERT_TRUE(list.has_value()) << "no ignore.list after the program ended";
  const std::vector<std::string> lines = Lines(*list);
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "Leaving"), 1) << Printable(*list);
}

TEST_F(Gestures, ExitAsksFirstAndAnsweredYesBringsBackTheWindowsOfEveryDesktop) {
  HWND first = Maker().Open("Exit one", 60, 460, 360, 240, "color 0x2060C0");
  ASSERT_NE(first, nullptr);
  HWND pager = StartAndWaitForPager();
  ASSERT_NE(pager, nullptr) << "vuedeck.exe showed no window";
  HWND second = OpenOnDesktop(2, "Exit two", RECT{460, 520, 760, 720}, 0x20C060);
  HWND third = OpenOnDesktop(3, "Exit three", RECT{800, 560, 1100, 760}, 0xC02080);
  ASSERT_TRUE(second && third) << FactsOf({first, second, third});
  ASSERT_TRUE(WaitVisibility({first}, true)) << FactsOf({first});
  const WindowFacts before[] = {ReadWindowFacts(first), ReadWindowFacts(second),
                                ReadWindowFacts(third)};
  ASSERT_TRUE(before[0].visible && !before[1].visible && !before[2].visible)
      << FactsOf({first, second, third});

  HWND menuButton = ButtonCaptioned(pager, "...");
  ASSERT_NE(menuButton, nullptr) << "no menu button on the title strip:" << ButtonsOf(pager);
  auto askToExit = [&](const char* step) -> HWND {
    if (!ClickPoint(Middle(RectOf(menuButton)))) return nullptr;
    if (!WaitUntil([] { return VisiblePopupMenu() != nullptr; }, 5000)) {
      ADD_FAILURE() << "the menu button opened no menu";
      return nullptr;
    }
    EXPECT_TRUE(ShotUntil(std::string(step) + "-menu", MenuDrawn)) << "the menu shows no entries";
    // Options..., About, Exit.
    if (!ChooseFromPopupMenu({VK_DOWN, VK_DOWN})) {
      ADD_FAILURE() << "Exit could not be chosen";
      return nullptr;
    }
    HWND question = WaitForQuestion(Vuedeck().Pid(), {"Yes", "No"});
    if (!question) ADD_FAILURE() << "Exit asked nothing";
    return question;
  };
  auto unchanged = [&] {
    for (const WindowFacts& b : before) {
      const WindowFacts now = ReadWindowFacts(b.hwnd);
      if (now.visible != b.visible || !SameRect(now.rect, b.rect)) return false;
    }
    return true;
  };

  HWND question = askToExit("no");
  ASSERT_NE(question, nullptr);
  EXPECT_TRUE(ShotUntil("exit-question",
                        [&](const vdtools::Image& shot) { return QuestionDrawn(shot, question); }))
      << "the question is not drawn: " << ReadWindowFacts(question) << ButtonsOf(question);
  ASSERT_TRUE(ClickPoint(Middle(RectOf(ButtonCaptioned(question, "No")))));
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(question); }, 3000))
      << "the question stays after No: " << ReadWindowFacts(question);
  EXPECT_FALSE(WaitUntil([&] { return !unchanged(); }, kNothingHappensMs))
      << "No changed the windows:" << FactsOf({first, second, third});
  EXPECT_TRUE(Vuedeck().Running()) << "the program ended after No";
  EXPECT_TRUE(IsWindowVisible(pager)) << ReadWindowFacts(pager);

  question = askToExit("yes");
  ASSERT_NE(question, nullptr);
  ASSERT_TRUE(ClickPoint(Middle(RectOf(ButtonCaptioned(question, "Yes")))));
  EXPECT_TRUE(Vuedeck().WaitExit(kExitTimeoutMs)) << "the program still runs after Yes";
  for (const WindowFacts& b : before) {
    const WindowFacts now = ReadWindowFacts(b.hwnd);
    EXPECT_TRUE(now.visible) << now;
    EXPECT_TRUE(SameRect(now.rect, b.rect)) << "was " << Describe(b.rect) << ": " << now;
  }
  ParkCursor();
  Shot("after-exit");
}

}  // namespace
}  // namespace vde2e
