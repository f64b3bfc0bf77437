// Real windows worked from the pager. Menus are worked with the keyboard: another process's menu
// cannot be read under Wine to find an entry's place.
#include <cstdlib>

#include "E2eTest.h"

namespace vde2e {

using Gestures = E2eTest;

TEST_F(Gestures, DragAndDropCellClicksTheWindowMenuAndExitWorkOnRealWindows) {
  const RECT travellerPlace{256, 512, 640, 768}, leavingPlace{700, 480, 1040, 700};
  HWND traveller = Open("Traveller", travellerPlace, 0x40A0E0);
  HWND leaving = Open("Leaving", leavingPlace, 0x60C040);
  ASSERT_TRUE(traveller && leaving);
  HWND pager = Start();
  ASSERT_TRUE(pager);
  const std::vector<RECT> cells = Cells(pager);
  ASSERT_EQ(cells.size(), 6u);

  // True once the miniature dragged into another cell stands `by` pager pixels off its place
  // there (one pixel below the grab: it follows from the first move), the window at its size.
  auto dragMiniature = [&](const RECT& from, const RECT& to, POINT by) {
    const RECT was = RectOf(traveller), grabbed = MiniatureOf(pager, from, was);
    const POINT grab = Middle(grabbed);
    return !IsRectEmpty(&grabbed) &&
           Drag(grab, {grab.x + to.left - from.left + by.x, grab.y + to.top - from.top + by.y}) &&
           WaitUntil([&] {
             const RECT w = RectOf(traveller), now = MiniatureOf(pager, to, w, 0);
             return std::abs(now.left - grabbed.left - to.left + from.left - by.x) <= 1 &&
                    std::abs(now.top - grabbed.top - to.top + from.top - by.y + 1) <= 1 &&
                    w.right - w.left == was.right - was.left &&
                    w.bottom - w.top == was.bottom - was.top;
           });
  };
  EXPECT_TRUE(dragMiniature(cells[0], cells[2], {8, 16}));
  EXPECT_TRUE(WaitShown({traveller}, false));
  Shot("dropped-on-desktop-3");
  EXPECT_TRUE(dragMiniature(cells[2], cells[0], {-4, -8}));
  EXPECT_TRUE(WaitShown({traveller}, true));
  const RECT travellerNow = RectOf(traveller);

  // A click on a cell's free corner opens its desktop.
  ASSERT_TRUE(ClickAt({cells[1].right - 6, cells[1].bottom - 6}));
  EXPECT_TRUE(WaitShown({traveller, leaving}, false));
  ASSERT_TRUE(ClickAt({cells[0].right - 6, cells[0].bottom - 6}));
  EXPECT_TRUE(WaitShown({traveller, leaving}, true));

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

  // The program's question (a window with a button "Yes") answered; true once it has gone.
  auto answer = [&](const char* answer, const std::string& step) {
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
  };
  // Remove, answered Yes: the window no longer switches with its desktop (the pager would have
  // hidden it well within 700 ms).
  ASSERT_TRUE(ClickAt(Middle(MiniatureOf(pager, cells[0], leavingPlace)), true));
  ASSERT_TRUE(ChooseFromMenu({VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN}));
  ASSERT_TRUE(answer("Yes", "remove-question"));
  ASSERT_TRUE(Hotkey(2) && WaitShown({traveller}, false));
  EXPECT_FALSE(WaitShown({leaving}, false, {}, 700));
  ASSERT_TRUE(Hotkey(1) && WaitShown({traveller}, true));

  // Exit from the main menu (the title strip's button "...": Options..., About, Exit), answered
  // No, changes nothing; answered Yes, it ends the program with the windows as they were.
  auto chooseExit = [&] {
    return ClickOn(ChildWith(pager, "Button", "...")) && ChooseFromMenu({VK_DOWN, VK_DOWN});
  };
  ASSERT_TRUE(chooseExit() && answer("No", "exit-question"));
  EXPECT_TRUE(Vuedeck().Running() && IsWindowVisible(pager));
  ASSERT_TRUE(chooseExit() && answer("Yes", "exit-question-again"));
  EXPECT_TRUE(Vuedeck().WaitExit(kExitMs));
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

}  // namespace vde2e
