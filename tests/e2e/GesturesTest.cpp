// Working with real windows from the pager, in one run: a miniature dragged into another
// desktop's cell sends its window there, to the place the drop shows, and dragged back shows it
// again; a click on a cell opens its desktop; the window menu of a miniature makes its window
// top-most and half transparent, and removes another window from the program's care (its title
// kept in the ignore list); the main menu's Exit asks first and, answered Yes, ends the program
// with the windows as they were.
//
// The popup menus are worked with the keyboard: another process's menu cannot be read under
// Wine to find an entry's place. The screenshots show the entries.
#include <algorithm>
#include <cstdlib>

#include "E2eTest.h"

namespace vde2e {
namespace {

// A wait for something that must not happen: the pager's timers run every 100 ms, so anything
// it did would show well within this time.
constexpr DWORD kNothingHappensMs = 700;

class Gestures : public E2eTest {
 protected:
  // Drags the window's miniature from one cell into another, `by` pager pixels off the place it
  // had; true once the miniature stands there in the new cell (it follows the pointer from the
  // drag's first move, one pixel below the grab) and the window where the miniature shows it.
  bool DragMiniature(HWND window, const RECT& from, const RECT& to, POINT by) {
    const RECT was = RectOf(window), grabbed = MiniatureOf(Pager(), from, was);
    const POINT grab = Middle(grabbed);
    return !IsRectEmpty(&grabbed) &&
           Drag(grab, {grab.x + to.left - from.left + by.x, grab.y + to.top - from.top + by.y}) &&
           WaitUntil([&] {
             const RECT w = RectOf(window), now = MiniatureOf(Pager(), to, w, 0);
             return std::abs(now.left - grabbed.left - to.left + from.left - by.x) <= 1 &&
                    std::abs(now.top - grabbed.top - to.top + from.top - by.y + 1) <= 1 &&
                    w.right - w.left == was.right - was.left &&
                    w.bottom - w.top == was.bottom - was.top;
           });
  }

  // The question the program shows: a window of it with a button "Yes"; then a click on its
  // button `answer`, true once it has gone.
  bool Answer(const char* answer, const std::string& step) {
    HWND question = nullptr;
    WaitUntil([&] {
      for (HWND w : WindowsOf(Vuedeck().Pid())) {
        if (ChildWith(w, "Button", "Yes")) question = w;
      }
      return question != nullptr;
    });
    Shot(step);
    return question && ClickOn(ChildWith(question, "Button", answer)) &&
           WaitUntil([&] { return !IsWindowVisible(question); });
  }

  // Exit from the main menu (the button "..." of the title strip: Options..., About, Exit).
  bool ChooseExit() {
    return ClickOn(ChildWith(Pager(), "Button", "...")) && ChooseFromMenu({VK_DOWN, VK_DOWN});
  }
};

TEST_F(Gestures, DragAndDropCellClicksTheWindowMenuAndExitWorkOnRealWindows) {
  const RECT travellerPlace{256, 512, 640, 768}, leavingPlace{700, 480, 1040, 700};
  HWND traveller = Open("Traveller", travellerPlace, 0x40A0E0);
  HWND leaving = Open("Leaving", leavingPlace, 0x60C040);
  ASSERT_TRUE(traveller && leaving);
  HWND pager = Start();
  ASSERT_NE(pager, nullptr) << "no window of vuedeck.exe showed";
  const std::vector<RECT> cells = Cells(pager);
  ASSERT_EQ(cells.size(), 6u);

  // Into cell 3, 8 pager pixels right of and 16 below its place in cell 1: the window goes to
  // desktop 3; dragged back into cell 1, 4 left and 8 up, it shows again.
  EXPECT_TRUE(DragMiniature(traveller, cells[0], cells[2], {8, 16}));
  EXPECT_TRUE(WaitShown({traveller}, false)) << Facts({traveller});
  Shot("dropped-on-desktop-3");
  EXPECT_TRUE(DragMiniature(traveller, cells[2], cells[0], {-4, -8}));
  EXPECT_TRUE(WaitShown({traveller}, true)) << Facts({traveller});
  const RECT travellerNow = RectOf(traveller);

  // A click on a cell's free corner opens its desktop.
  ASSERT_TRUE(ClickAt({cells[1].right - 6, cells[1].bottom - 6}));
  EXPECT_TRUE(WaitShown({traveller, leaving}, false)) << Facts({traveller, leaving});
  ASSERT_TRUE(ClickAt({cells[0].right - 6, cells[0].bottom - 6}));
  EXPECT_TRUE(WaitShown({traveller, leaving}, true)) << Facts({traveller, leaving});

  // The window menu: Summon, Show on All Desktop, Always On Top, Move To, Tranparent (Opaque,
  // High, Medium, Low), Remove, then the windows.
  const RECT miniature = MiniatureOf(pager, cells[0], travellerNow);
  ASSERT_TRUE(ClickAt(Middle(miniature), true) && ChooseFromMenu({VK_DOWN, VK_DOWN}));
  EXPECT_TRUE(WaitUntil([&] { return Topmost(traveller); })) << Facts({traveller});
  ASSERT_TRUE(ClickAt(Middle(miniature), true));
  Shot("window-menu");
  ASSERT_TRUE(ChooseFromMenu({VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RIGHT, VK_DOWN, VK_DOWN}));
  EXPECT_TRUE(WaitUntil([&] { return AlphaOf(traveller) == 150; })) << Facts({traveller});
  Shot("medium");

  // Remove, answered Yes: the window no longer switches with its desktop.
  ASSERT_TRUE(ClickAt(Middle(MiniatureOf(pager, cells[0], leavingPlace)), true));
  ASSERT_TRUE(ChooseFromMenu({VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN}));
  ASSERT_TRUE(Answer("Yes", "remove-question"));
  ASSERT_TRUE(Hotkey(2) && WaitShown({traveller}, false));
  EXPECT_FALSE(WaitShown({leaving}, false, kNothingHappensMs)) << Facts({leaving});
  ASSERT_TRUE(Hotkey(1) && WaitShown({traveller}, true));

  // Exit, answered No, changes nothing; answered Yes, it ends the program, and the windows stay
  // as they were, the top-most one top-most.
  ASSERT_TRUE(ChooseExit() && Answer("No", "exit-question"));
  EXPECT_TRUE(Vuedeck().Running() && IsWindowVisible(pager)) << Facts({pager});
  ASSERT_TRUE(ChooseExit() && Answer("Yes", "exit-question-again"));
  EXPECT_TRUE(Vuedeck().WaitExit(kExitMs)) << "the program still runs after Yes";
  EXPECT_TRUE(IsWindowVisible(traveller) && IsWindowVisible(leaving) && Topmost(traveller) &&
              At(traveller, travellerNow) && At(leaving, leavingPlace))
      << Facts({traveller, leaving});
  // The ignore list names it once, on a line of its own.
  const std::string list = "\n" + ReadWholeFile(ScratchFile("ignore.list")).value_or("");
  const size_t at = list.find("\nLeaving\r\n");
  EXPECT_TRUE(at != std::string::npos && list.find("\nLeaving\r\n", at + 1) == std::string::npos)
      << list;
  Shot("after-exit");
}

}  // namespace
}  // namespace vde2e
