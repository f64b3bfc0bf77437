#include <gtest/gtest.h>

#include "ProgramFixture.h"
#include "core/Text.h"
#include "interaction/frmAddWindow.h"
#include "interaction/frmMsgBox.h"
#include "pager/frmPreview.h"
#include "settings/frmOptions.h"

namespace vd::testing {
namespace {

const char* kSettings =
    "[SETUP]\r\ncolumns=3\r\nrows=2\r\nwidth=30\r\nheight=20\r\npreview=1\r\n"
    "color_normal=255\r\ncolor_hover=65280\r\ncolor_selected=16711680\r\ncolor_box=65535\r\n";

class Gestures : public ProgramFixture {
 protected:
  void SetUp() override {
    WriteFile("settings.ini", kSettings);
    work = OpenWindow("Work", {100, 100, 500, 400});
    mail = OpenWindow("Mail", {640, 0, 1280, 512});
    ASSERT_TRUE(Start());
    // Every popup menu is recorded and dismissed unless a test chooses an entry.
    backend->onPopup = [this](forms::Form&, forms::MenuItem& menu, float x, float y) {
      popups.push_back({&menu, x, y});
      return choose ? choose(menu) : nullptr;
    };
  }
  frmMain& P() { return Pager(); }
  int Miniature(Hwnd hwnd) {
    return ToInt32(P().Table.Get(WindowTable::KeyOf(hwnd), WindowTable::kVirtualWindow))
        .value_or(0);
  }
  std::string Cell(Hwnd hwnd, int column) {
    return P().Table.Get(WindowTable::KeyOf(hwnd), column);
  }
  // A screen point strictly inside a desktop's cell.
  Point InsideCell(int desktop) {
    Rect pager;
    fake.GetWindowRect(P().hWnd(), &pager);
    const forms::PictureBox& cell = P().lblDesktop(desktop);
    return {pager.left + static_cast<int>(cell.Left() + cell.Width() / 2),
            pager.top + static_cast<int>(cell.Top() + cell.Height() / 2)};
  }
  // Right-clicks a window's miniature; the test's chooser picks from the menu.
  void RightClick(Hwnd hwnd) {
    const int v = Miniature(hwnd);
    P().picWin(v).RaiseMouseDown(forms::kRightButton, 0, 30, 30);
    P().picWin(v).RaiseMouseUp(forms::kRightButton, 0, 30, 30);
  }
  static forms::MenuItem* Entry(forms::MenuItem& menu, const std::string& caption) {
    return menu.Find(caption);
  }
  struct Popup {
    forms::MenuItem* menu;
    float x, y;
  };
  std::vector<Popup> popups;
  std::function<forms::MenuItem*(forms::MenuItem&)> choose;
  Hwnd work = 0, mail = 0;
};

TEST_F(Gestures, ALeftClickOnAnotherCellSwitchesAndARightClickShowsNoMenu) {
  P().lblDesktop(2).RaiseMouseUp(forms::kLeftButton, 0, 10, 10);
  EXPECT_EQ(P().CurrentDesktop, 2);
  EXPECT_FALSE(fake.IsWindowVisible(work));
  EXPECT_EQ(P().lblTitle.Caption(), "Desktop 2");
  fake.ClearCalls();
  P().lblDesktop(2).RaiseMouseUp(forms::kLeftButton, 0, 10, 10);  // the current cell
  EXPECT_TRUE(fake.CallsOn("ShowWindow", work).empty());
  P().lblDesktop(3).RaiseMouseUp(forms::kRightButton, 0, 10, 10);
  EXPECT_TRUE(popups.empty());
  EXPECT_EQ(P().CurrentDesktop, 2);
}

TEST_F(Gestures, DraggingAMiniatureIntoAnotherCellMovesTheWindowThere) {
  const int v = Miniature(work);
  forms::PictureBox& miniature = P().picWin(v);
  // The hit test notes cell 3 under the cursor.
  fake.SetCursor(InsideCell(3));
  backend->Advance(100);
  ASSERT_EQ(P().CursorCell, 3);
  // Press, move by one pixel (the drag starts), then by 20 pixels, and release.
  const float sx = P().CellWidth / P().ScreenWidthPx, sy = P().CellHeight / P().ScreenHeightPx;
  const float offsetLeft = miniature.Left() - P().lblDesktop(1).Left();
  miniature.RaiseMouseDown(forms::kLeftButton, 0, 45, 45);
  miniature.RaiseMouseMove(forms::kLeftButton, 0, 60, 45);
  EXPECT_TRUE(P().Dragging);
  miniature.RaiseMouseMove(forms::kLeftButton, 0, 60 + 20 * 15, 45);
  const float dropLeft = miniature.Left() - P().lblDesktop(3).Left();
  miniature.RaiseMouseUp(forms::kLeftButton, 0, 60, 45);
  EXPECT_FALSE(P().Dragging);
  EXPECT_EQ(Cell(work, WindowTable::kDesktop), "3");
  EXPECT_FALSE(fake.IsWindowVisible(work));
  Rect r;
  fake.GetWindowRect(work, &r);
  EXPECT_NEAR(r.left, dropLeft / sx, 1.0f / sx);  // within one pager pixel
  EXPECT_NEAR(dropLeft, offsetLeft + 20 - (P().lblDesktop(3).Left() - P().lblDesktop(1).Left()),
              0.01);
  EXPECT_EQ(r.Width(), 400);
  EXPECT_EQ(r.Height(), 300);
  (void)sy;

  // Dragged back into the current cell (the cursor leaves every cell): shown again.
  fake.SetCursor({0, 0});
  backend->Advance(100);
  P().CursorCell = 0;
  miniature.RaiseMouseDown(forms::kLeftButton, 0, 45, 45);
  miniature.RaiseMouseMove(forms::kLeftButton, 0, 75, 45);
  miniature.RaiseMouseUp(forms::kLeftButton, 0, 75, 45);
  EXPECT_EQ(Cell(work, WindowTable::kDesktop), "1");
  EXPECT_TRUE(fake.IsWindowVisible(work));
}

TEST_F(Gestures, ADropOnACellOfAnOlderLargerGridGoesToTheCurrentDesktop) {
  P().CursorCell = 6;
  P().SetupDesktops("2", "1");
  EXPECT_EQ(P().CursorCell, 0);  // the rebuild forgets the old cell
  P().CursorCell = 6;            // and a stale value is never trusted
  forms::PictureBox& miniature = P().picWin(Miniature(work));
  miniature.RaiseMouseDown(forms::kLeftButton, 0, 45, 45);
  miniature.RaiseMouseMove(forms::kLeftButton, 0, 90, 45);
  miniature.RaiseMouseUp(forms::kLeftButton, 0, 90, 45);
  EXPECT_EQ(Cell(work, WindowTable::kDesktop), "1");
  EXPECT_TRUE(fake.IsWindowVisible(work));
}

TEST_F(Gestures, AClickRaisesTheWindowSwitchingToItsDesktopFirst) {
  P().PlaceWindow(3, mail, 0, 0, 0, 0);
  P().OpenDesktop(1);
  const int v = Miniature(mail);
  P().picWin(v).RaiseMouseDown(forms::kLeftButton, 0, 30, 30);
  P().picWin(v).RaiseMouseUp(forms::kLeftButton, 0, 30, 30);
  EXPECT_EQ(P().CurrentDesktop, 3);
  EXPECT_TRUE(fake.IsWindowVisible(mail));
  EXPECT_FALSE(fake.IsTopMost(mail));  // raised, not left always-on-top
  EXPECT_EQ(fake.ZOrder().front() == mail || fake.IsTopMost(fake.ZOrder().front()), true);

  // A window shown on every desktop is raised where the user is.
  P().Table.Set(WindowTable::KeyOf(work), WindowTable::kShowAll, "1");
  const int w = Miniature(work);
  P().picWin(w).RaiseMouseDown(forms::kLeftButton, 0, 30, 30);
  P().picWin(w).RaiseMouseUp(forms::kLeftButton, 0, 30, 30);
  EXPECT_EQ(P().CurrentDesktop, 3);
}

TEST_F(Gestures, TheWindowMenuOpensWithTheStatesOfTheWindow) {
  P().Table.Set(WindowTable::KeyOf(work), WindowTable::kTransparent, "150");
  fake.SetCaption(mail, std::string(31, 'm'));
  P().GetActiveWindows();
  RightClick(work);
  ASSERT_EQ(popups.size(), 1u);
  forms::MenuItem& menu = *popups[0].menu;
  EXPECT_EQ(&menu, &P().mnuOptions);
  EXPECT_FALSE(P().mnuSummon.Enabled());  // on the current desktop
  EXPECT_TRUE(P().mnuTransMedium.Checked());
  EXPECT_FALSE(P().mnuOpaque.Checked());
  EXPECT_TRUE(P().mnuMoveTo.Enabled());
  EXPECT_EQ(Entry(menu, "Desktop 1"), nullptr);  // not its own desktop
  ASSERT_NE(Entry(menu, "Desktop 6"), nullptr);
  EXPECT_NE(Entry(menu, std::string(30, 'm') + "..."), nullptr);
  EXPECT_NE(Entry(menu, "Tranparent"), nullptr);
  EXPECT_FALSE(P().mnuMax.Visible());

  // Shown on all desktops: Move To is disabled; with animation and no stored
  // transparency nothing is checked.
  P().Table.Set(WindowTable::KeyOf(work), WindowTable::kShowAll, "1");
  P().Table.Set(WindowTable::KeyOf(work), WindowTable::kTransparent, "");
  P().AnimateMode = true;
  RightClick(work);
  EXPECT_TRUE(P().mnuShowAll.Checked());
  EXPECT_FALSE(P().mnuMoveTo.Enabled());
  for (auto* level : {&P().mnuOpaque, &P().mnuTransHigh, &P().mnuTransMedium, &P().mnuTransLow})
    EXPECT_FALSE(level->Checked());
}

TEST_F(Gestures, MoveToHidesTheWindowWhereItStandsAndMovesItsMiniature) {
  const int v = Miniature(work);
  const float offset = P().picWin(v).Left() - P().lblDesktop(1).Left();
  choose = [](forms::MenuItem& menu) { return menu.Find("Desktop 3"); };
  Rect before;
  fake.GetWindowRect(work, &before);
  RightClick(work);
  EXPECT_EQ(Cell(work, WindowTable::kDesktop), "3");
  EXPECT_FALSE(fake.IsWindowVisible(work));
  Rect after;
  fake.GetWindowRect(work, &after);
  EXPECT_EQ(after, before);
  EXPECT_FLOAT_EQ(P().picWin(v).Left() - P().lblDesktop(3).Left(), offset);
  EXPECT_EQ(P().MovedWindow, work);
}

TEST_F(Gestures, TransparencyAndAlwaysOnTopCommands) {
  choose = [](forms::MenuItem& menu) { return menu.Find("Medium"); };
  RightClick(work);
  EXPECT_EQ(fake.Alpha(work), 150);
  EXPECT_EQ(Cell(work, WindowTable::kTransparent), "150");

  choose = [](forms::MenuItem& menu) { return menu.Find("Always On Top"); };
  RightClick(work);
  EXPECT_TRUE(fake.IsTopMost(work));
  EXPECT_EQ(Cell(work, WindowTable::kOnTop), "1");
  EXPECT_EQ(fake.Alpha(work), 150);  // the stored transparency is applied again
  EXPECT_TRUE(P().SkipNextActivation);
  // The next click only clears that.
  const int v = Miniature(mail);
  P().PlaceWindow(2, mail, 0, 0, 0, 0);
  P().picWin(v).RaiseMouseDown(forms::kLeftButton, 0, 30, 30);
  P().picWin(v).RaiseMouseUp(forms::kLeftButton, 0, 30, 30);
  EXPECT_EQ(P().CurrentDesktop, 1);
  EXPECT_FALSE(P().SkipNextActivation);

  choose = [](forms::MenuItem& menu) { return menu.Find("Opaque"); };
  RightClick(work);
  EXPECT_EQ(fake.Alpha(work), -1);
  EXPECT_EQ(Cell(work, WindowTable::kTransparent), "");
}

TEST_F(Gestures, RemoveAsksAndEachAnswerDoesItsPart) {
  std::string answer;
  backend->onModal = [&](forms::Form& form) {
    auto& box = dynamic_cast<frmMsgBox&>(form);
    EXPECT_EQ(box.lblTitle.Caption(), "Remove Window");
    for (int i = 0; i < 3; ++i) {
      if (box.cmdRespond(i).Caption() == answer) box.cmdRespond(i).RaiseClick();
    }
  };
  choose = [](forms::MenuItem& menu) { return menu.Find("Remove"); };
  P().PlaceWindow(2, mail, 0, 0, 0, 0);
  P().OpenDesktop(1);

  answer = "No";
  RightClick(mail);
  EXPECT_TRUE(P().IsManaged(mail));

  answer = "Just Remove";
  const int v = Miniature(mail);
  RightClick(mail);
  EXPECT_FALSE(P().IsManaged(mail));
  EXPECT_TRUE(fake.IsWindowVisible(mail));  // never left hidden
  EXPECT_FALSE(P().picWin(v).Visible());
  backend->Advance(100);  // unloaded at the next tick, outside the miniature's own handler
  EXPECT_FALSE(P().picWin.Exists(v));
  EXPECT_FALSE(P().picPreview.Exists(v));
  EXPECT_FALSE(P().IsIgnored("Mail"));
  EXPECT_EQ(program->MessageResult, "");

  answer = "Yes";
  RightClick(work);
  EXPECT_FALSE(P().IsManaged(work));
  EXPECT_TRUE(P().IsIgnored("Work"));
}

TEST_F(Gestures, ACommandForAWindowThatClosedWhileTheMenuWasOpenDoesNothing) {
  choose = [this](forms::MenuItem& menu) {
    fake.DestroyWindow(work);
    backend->Advance(100);  // the refresh drops the row meanwhile
    return menu.Find("Desktop 3");
  };
  RightClick(work);
  EXPECT_FALSE(P().IsManaged(work));
  EXPECT_EQ(P().MovedWindow, 0);
}

TEST_F(Gestures, HoverPaintsTheCellUnderTheMouseAndNamesIt) {
  P().lblDesktop(2).RaiseMouseMove(0, 0, 10, 10);
  EXPECT_TRUE(CellShows(2, P().ColorHover));
  P().lblDesktop(3).RaiseMouseMove(0, 0, 10, 10);
  EXPECT_TRUE(CellShows(2, P().ColorNormal));
  EXPECT_TRUE(CellShows(3, P().ColorHover));
  EXPECT_EQ(P().lblTitle.Caption(), "Desktop 3");

  // The repaint every 100 ms paints nothing that did not change.
  fake.SetCursor({0, 0});
  backend->Advance(100);
  std::vector<int> counts;
  for (int i = 1; i <= 6; ++i) counts.push_back(P().lblDesktop(i).RefreshCount());
  backend->Advance(1000);
  for (int i = 1; i <= 6; ++i) EXPECT_EQ(P().lblDesktop(i).RefreshCount(), counts[i - 1]) << i;
  // A cursor exactly on a cell's left edge pixel is outside it.
  Rect pager;
  fake.GetWindowRect(P().hWnd(), &pager);
  fake.SetCursor({pager.left + static_cast<int>(P().lblDesktop(2).Left()),
                  InsideCell(2).y});
  P().CursorCell = 0;
  backend->Advance(100);
  EXPECT_EQ(P().CursorCell, 0);
}

TEST_F(Gestures, RestingOnAHiddenWindowsMiniatureFadesItsPreviewInAndOut) {
  fake.SetWindowPicture(mail, Bitmap(640, 512, 0x3366CC));
  P().PlaceWindow(3, mail, 0, 0, 0, 0);
  P().OpenDesktop(1);
  P().UpdateActiveWindow(mail, 3, true);
  const int v = Miniature(mail);
  // The cursor rests on the miniature.
  Rect pager;
  fake.GetWindowRect(P().hWnd(), &pager);
  forms::PictureBox& miniature = P().picWin(v);
  fake.SetCursor({pager.left + static_cast<int>(miniature.Left() + 2),
                  pager.top + static_cast<int>(miniature.Top() + 2)});
  miniature.RaiseMouseMove(0, 0, 30, 30);
  miniature.RaiseMouseMove(0, 0, 30, 30);
  frmPreview& preview = program->Preview();
  const uint32_t rest = fake.VirtualTimeMs();
  while (!preview.IsShown() && fake.VirtualTimeMs() - rest < 3000) backend->Advance(10);
  ASSERT_TRUE(preview.IsShown());
  EXPECT_NEAR(fake.VirtualTimeMs() - rest, 1000, 110);  // ten ticks
  Rect shown;
  fake.GetWindowRect(preview.hWnd(), &shown);
  EXPECT_EQ(shown, (Rect{640, 0, 1280, 512}));  // at the window's place and size
  EXPECT_EQ(preview.Surface().GetPixel(5, 5), 0x3366CCu);
  backend->Advance(400);
  EXPECT_EQ(fake.Alpha(preview.hWnd()), 200);
  backend->Advance(3300);
  EXPECT_EQ(fake.Alpha(preview.hWnd()), 0);
  // Moving over a cell's free area hides it at once.
  P().lblDesktop(1).RaiseMouseMove(0, 0, 5, 5);
  EXPECT_FALSE(preview.IsShown());

  // A window of the current desktop gets no preview.
  P().HoverWindow = work;
  preview.StartPreview();
  EXPECT_FALSE(preview.IsShown());
}

TEST_F(Gestures, TheMainMenuAndItsDialogs) {
  P().cmdMenu.RaiseClick();
  ASSERT_EQ(popups.size(), 1u);
  EXPECT_EQ(popups[0].menu, &P().mnuMenu);
  EXPECT_FLOAT_EQ(popups[0].x, P().cmdMenu.Left() - 73);
  EXPECT_FLOAT_EQ(popups[0].y, P().cmdMenu.Top() + P().cmdMenu.Height());

  // "Exit" answered "No" changes nothing; "About" keeps the pager from hiding while open.
  bool dialogOpenDuringAbout = false;
  backend->onModal = [&](forms::Form& form) {
    if (auto* exit = dynamic_cast<frmExit*>(&form)) exit->cmdNo.RaiseClick();
    if (auto* about = dynamic_cast<frmAbout*>(&form)) {
      dialogOpenDuringAbout = P().DialogOpen;
      about->cmdOk.RaiseClick();
    }
  };
  P().mnuExit.RaiseClick();
  EXPECT_FALSE(fake.ProcessEnded());
  P().mnuAbout.RaiseClick();
  EXPECT_TRUE(dialogOpenDuringAbout);
  EXPECT_FALSE(P().DialogOpen);
  backend->onModal = [](forms::Form& form) {
    if (auto* exit = dynamic_cast<frmExit*>(&form)) exit->cmdYes.RaiseClick();
  };
  P().PlaceWindow(2, work, 0, 0, 0, 0);
  P().OpenDesktop(1);
  P().mnuExit.RaiseClick();
  EXPECT_TRUE(fake.ProcessEnded());
  EXPECT_TRUE(fake.IsWindowVisible(work));
}

TEST_F(Gestures, TheAddWindowPromptAddsOrBlocksTheOfferedWindow) {
  fake::WindowSpec bare;
  bare.style = WS_VISIBLE;
  bare.caption = std::string(31, 'b');
  Hwnd offered = fake.CreateWindow(bare);
  fake.Activate(offered);
  backend->Advance(2);
  ASSERT_TRUE(P().cmdQuery.Visible());
  std::string asked;
  backend->onModal = [&](forms::Form& form) {
    auto& prompt = dynamic_cast<frmAddWindow&>(form);
    asked = prompt.lblDescription.Caption();
    prompt.chkIgnore.SetValue(1);
    prompt.cmdNo.RaiseClick();
  };
  P().cmdQuery.RaiseClick();
  EXPECT_EQ(asked, "'" + std::string(30, 'b') + "...' is not in the window list.\r\n\r\n" +
                       "Do you want to add this window ?");
  EXPECT_TRUE(P().IsIgnored(std::string(31, 'b')));  // the full title
  EXPECT_FALSE(P().cmdQuery.Visible());
  EXPECT_FALSE(P().IsManaged(offered));

  bare.caption = "Palette";
  Hwnd palette = fake.CreateWindow(bare);
  fake.Activate(palette);
  backend->Advance(2);
  backend->onModal = [](forms::Form& form) {
    dynamic_cast<frmAddWindow&>(form).cmdYes.RaiseClick();
  };
  P().cmdQuery.RaiseClick();
  EXPECT_TRUE(P().IsManaged(palette));
}

TEST_F(Gestures, TheHideFieldHidesOnlyManagedWindowsAndIgnoresWhatIsNotANumber) {
  Hwnd stranger = OpenWindow("Stranger");
  fake::WindowSpec desc;
  P().txthWnd.SetText(std::to_string(stranger));
  P().cmdHide.RaiseClick();
  EXPECT_TRUE(fake.IsWindowVisible(stranger));
  P().txthWnd.SetText(std::to_string(work));
  P().cmdHide.RaiseClick();
  EXPECT_FALSE(fake.IsWindowVisible(work));
  P().cmdShow.RaiseClick();
  EXPECT_TRUE(fake.IsWindowVisible(work));
  P().txthWnd.SetText("not a handle");
  P().cmdHide.RaiseClick();
  P().cmdShow.RaiseClick();
  EXPECT_TRUE(fake.IsWindowVisible(work));
}

}  // namespace
}  // namespace vd::testing
