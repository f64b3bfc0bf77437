// Real windows worked from the pager, and their miniatures. Menus are worked with the keyboard:
// another process's menu cannot be read under Wine to find an entry's place.
#include "E2eTest.h"

namespace vde2e {

using Gestures = E2eTest;

TEST_F(Gestures, DragAndDropCellClicksTheWindowMenuAndExitWorkOnRealWindows) {
  const RECT travellerPlace{256, 512, 640, 768}, leavingPlace{700, 480, 1040, 700};
  HWND traveller = Open("Traveller", travellerPlace, 0x40A0E0);
  HWND leaving = Open("Leaving", leavingPlace, 0x60C040);
  // The traveller's dialog goes wherever the traveller goes and has no miniature of its own.
  const RECT dialogPlace{320, 380, 560, 500};
  HWND dialog = Maker("open", "Find", Geometry(dialogPlace) + " owner Traveller");
  HWND pager = Start();
  ASSERT_TRUE(traveller && leaving && dialog && pager);
  const std::vector<RECT> cells = Cells(pager);
  ASSERT_EQ(cells.size(), 6u);
  const RECT ofTraveller = MiniatureOf(pager, cells[0], travellerPlace),
             ofDialog = MiniatureOf(pager, cells[0], dialogPlace, 0);
  EXPECT_TRUE(!IsRectEmpty(&ofTraveller) && IsRectEmpty(&ofDialog));

  // True once the miniature dragged into another cell stands `by` pager pixels off its place
  // there, the window at its size. The first pixel down starts the drag (the miniature follows
  // from one pixel below the grab); each step waits for the pointer, and a rest before the drop
  // lets the pager note the cell under it (it looks every 100 ms).
  auto dragMiniature = [&](const RECT& from, const RECT& to, POINT by) {
    const RECT was = RectOf(traveller), grabbed = MiniatureOf(pager, from, was);
    const POINT grab = Middle(grabbed);
    const POINT move{to.left - from.left + by.x, to.top - from.top + by.y - 1};
    bool ok = !IsRectEmpty(&grabbed) && PointerTo(grab) && Mouse(MOUSEEVENTF_LEFTDOWN);
    for (int i = 0; i <= 12 && ok; ++i) {
      ok = PointerTo({grab.x + move.x * i / 12, grab.y + 1 + move.y * i / 12}, 2);
    }
    Sleep(300);
    return Mouse(MOUSEEVENTF_LEFTUP) && ok && WaitUntil([&] {
             const RECT w = RectOf(traveller), now = MiniatureOf(pager, to, w, 0);
             return std::abs(now.left - grabbed.left - move.x) <= 1 &&
                    std::abs(now.top - grabbed.top - move.y) <= 1 &&
                    w.right - w.left == was.right - was.left &&
                    w.bottom - w.top == was.bottom - was.top;
           });
  };
  EXPECT_TRUE(dragMiniature(cells[0], cells[2], {8, 16}) && WaitShown({traveller, dialog}, false));
  Shot("dropped-on-desktop-3");
  EXPECT_TRUE(dragMiniature(cells[2], cells[0], {-4, -8}) && WaitShown({traveller, dialog}, true));
  const RECT travellerNow = RectOf(traveller);

  // A click on a cell's free corner opens its desktop.
  EXPECT_TRUE(ClickAt({cells[1].right - 6, cells[1].bottom - 6}) &&
              WaitShown({traveller, leaving}, false));
  ASSERT_TRUE(ClickAt({cells[0].right - 6, cells[0].bottom - 6}) &&
              WaitShown({traveller, leaving}, true));

  // The window menu: Summon, Show on All Desktop, Always On Top, Move To, Tranparent (Opaque,
  // High, Medium, Low), Remove, then the windows.
  const POINT miniature = Middle(MiniatureOf(pager, cells[0], travellerNow));
  ASSERT_TRUE(ClickAt(miniature, true) && ChooseFromMenu({VK_DOWN, VK_DOWN}));
  EXPECT_TRUE(WaitUntil([&] { return Topmost(traveller); })) << Facts({traveller});
  ASSERT_TRUE(ClickAt(miniature, true));
  Shot("window-menu");
  ASSERT_TRUE(ChooseFromMenu({VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RIGHT, VK_DOWN, VK_DOWN}));
  EXPECT_TRUE(WaitUntil([&] { return AlphaOf(traveller) == 150; })) << Facts({traveller});
  Shot("medium");

  // The program's question (a window with a button "Yes") answered; true once it has gone.
  auto answer = [&](const char* answer, const std::string& step) {
    HWND question = nullptr;
    WaitUntil([&] { return ChildWith(question = GetForegroundWindow(), "Button", "Yes"); });
    Shot(step);
    return question && ClickOn(ChildWith(question, "Button", answer)) &&
           WaitUntil([&] { return !IsWindowVisible(question); });
  };
  // Moved to desktop 2 (Move To, its first entry), then removed from there, answered Just
  // Remove: the window is given back without coming to the front (in front, the next poll would
  // take it straight back on), so it no longer switches with a desktop (the pager would have
  // hidden it well within 700 ms).
  ASSERT_TRUE(ClickAt(Middle(MiniatureOf(pager, cells[0], leavingPlace)), true));
  ASSERT_TRUE(ChooseFromMenu({VK_DOWN, VK_DOWN, VK_DOWN, VK_RIGHT}) && WaitShown({leaving}, false));
  ASSERT_TRUE(ClickAt(Middle(MiniatureOf(pager, cells[1], leavingPlace)), true));
  ASSERT_TRUE(ChooseFromMenu({VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN}));
  ASSERT_TRUE(answer("Just Remove", "remove-question") && WaitShown({leaving}, true));
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
  EXPECT_TRUE(IsWindowVisible(traveller) && IsWindowVisible(leaving) && IsWindowVisible(dialog) &&
              Topmost(traveller) && At(traveller, travellerNow) && At(leaving, leavingPlace))
      << Facts({traveller, leaving});
  Shot("after-exit");
}

// Miniatures are never black. A window's first picture is taken 100 ms after the program takes
// it on, and a copy of a window already hidden comes back all black: so the desktop is left
// right after the start (on a slow run that part passes either way). A picture presented wrongly
// flickers black or white over repaints.
using Miniatures = E2eTest;

TEST_F(Miniatures, ShowTheirWindowsNeverBlackAlsoWhenTheDesktopIsLeftRightAfterTheStart) {
  const RECT earlyPlace{80, 520, 500, 820}, violetPlace{700, 500, 1080, 780};
  HWND early = Open("Early", earlyPlace, 0x3090E0);
  HWND pager = Start();
  ASSERT_TRUE(early && pager);
  ASSERT_TRUE(Hotkey(2) && WaitShown({early}, false));
  const std::vector<RECT> cells = Cells(pager);
  ASSERT_EQ(cells.size(), 6u);
  // A miniature missing is looked for at 0,0, where no window of this colour is.
  const POINT earlyMiniature = Middle(MiniatureOf(pager, cells[0], earlyPlace));
  EXPECT_TRUE(Shot("left-at-once", [&](const vdtools::Image& shot) {
    return ColorAround(shot, earlyMiniature, 0x3090E0);
  }));

  ASSERT_TRUE(OpenManaged("Violet", violetPlace, 0xC030A0));
  const POINT violetMiniature = Middle(MiniatureOf(pager, cells[1], violetPlace));
  auto pictured = [&](const vdtools::Image& shot) {
    return ColorAround(shot, earlyMiniature, 0x3090E0) &&
           ColorAround(shot, violetMiniature, 0xC030A0);
  };
  EXPECT_TRUE(Shot("both-pictured", pictured));
  int looks = 0, missing = 0;
  for (const ULONGLONG end = GetTickCount64() + 1000; GetTickCount64() < end; ++looks) {
    vdtools::Image shot;
    missing += vdtools::CaptureScreen(shot) && !pictured(shot);
  }
  EXPECT_EQ(missing, 0) << "of " << looks << " looks at the miniatures lacked their pictures";
}

// Titles in three scripts and an emoji, from real windows: taken on, named exactly by the
// miniature's tip and the status caption; an ignore-list line in Cyrillic keeps its window
// unmanaged.
TEST_F(Gestures, WindowsTitledInAnyScriptAreManagedAndNamedExactly) {
  const std::string ignored = "\u0418\u0433\u043d\u043e\u0440";
  std::ofstream(ScratchFile("ignore.list"), std::ios::binary) << ignored << "\r\n";
  const RECT ignoredPlace{100, 700, 400, 900};
  ASSERT_TRUE(Open(ignored, ignoredPlace, 0x808080));
  HWND pager = Start();
  ASSERT_TRUE(pager);
  const std::vector<RECT> cells = Cells(pager);
  ASSERT_EQ(cells.size(), 6u);
  const std::string titles[] = {"\u041f\u0440\u0438\u0432\u0435\u0442 \u043c\u0438\u0440",
                                "\u65e5\u672c\u8a9e\u306e\u30c6\u30b9\u30c8",
                                "\u0393\u03b5\u03b9\u03ac \u03c3\u03bf\u03c5 \U0001F600"};
  for (int i = 0; i < 3; ++i) {
    const RECT place{100 + 360 * i, 420, 400 + 360 * i, 620};  // below the pager
    ASSERT_TRUE(OpenManaged(titles[i], place, 0x2060A0 + i));
    const RECT miniature = MiniatureOf(pager, cells[0], place);
    ASSERT_FALSE(IsRectEmpty(&miniature)) << i;
    // The first move onto a miniature names the desktop; the next ones, the window.
    const POINT at = Middle(miniature);
    ASSERT_TRUE(PointerTo({at.x + 1, at.y}) && PointerTo(at));
    EXPECT_TRUE(WaitUntil([&] { return ChildWith(pager, "VuedeckControl", titles[i]); })) << i;
    EXPECT_TRUE(WaitUntil([&] { return TipOf(Vuedeck().Pid()) == titles[i]; }))
        << i << ": " << TipOf(Vuedeck().Pid());
  }
  Shot("titles");
  const RECT none = MiniatureOf(pager, cells[0], ignoredPlace, 0);
  EXPECT_TRUE(IsRectEmpty(&none)) << "the ignored window has no miniature";
}

}  // namespace vde2e
