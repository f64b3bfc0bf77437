// The pager under the mouse: cells that switch and light up, miniatures placed, stacked,
// dragged, clicked and right-clicked for the window menu, the preview, the main menu and its
// dialogs, the add-window prompt and the Show/Hide field.
#include <gtest/gtest.h>

#include "ProgramFixture.h"
#include "dialogs/AboutBox.h"
#include "dialogs/AddWindowPrompt.h"
#include "dialogs/ExitConfirmation.h"
#include "options/OptionsDialog.h"
#include "pager/PreviewWindow.h"

namespace vd::testing {
namespace {

class Gestures : public ProgramFixture {
 protected:
  void SetUp() override {
    work = OpenWindow("Work", {100, 100, 500, 400});
    mail = OpenWindow("Mail", {640, 0, 1280, 512});
    ASSERT_TRUE(StartWith(std::string(kGrid3x2) + "preview=1\r\n"));
    RecordPopups();
  }
  PagerWindow& P() { return Pager(); }
  // A screen point of the pager, from a point in its client area.
  Point OnPager(float x, float y) {
    Rect pager;
    fake.GetWindowRect(P().hWnd(), &pager);
    return {pager.left + static_cast<int>(x), pager.top + static_cast<int>(y)};
  }
  Point InsideCell(int desktop) {
    const forms::PictureBox& cell = P().cells(desktop);
    return OnPager(cell.Left() + cell.Width() / 2, cell.Top() + cell.Height() / 2);
  }
  void Drag(forms::PictureBox& miniature, float dx) {
    miniature.RaiseMouseDown(forms::kLeftButton, 0, 45, 45);
    miniature.RaiseMouseMove(forms::kLeftButton, 0, 60, 45);  // the drag starts
    miniature.RaiseMouseMove(forms::kLeftButton, 0, 60 + dx, 45);
    miniature.RaiseMouseUp(forms::kLeftButton, 0, 60 + dx, 45);
  }
  Hwnd work = 0, mail = 0;
};

TEST_F(Gestures, ALeftClickOnAnotherCellSwitchesAndARightClickShowsNoMenu) {
  P().cells(2).RaiseMouseUp(forms::kLeftButton, 0, 10, 10);
  EXPECT_EQ(P().Desktops().Current(), 2);
  EXPECT_FALSE(fake.IsWindowVisible(work));
  EXPECT_EQ(P().statusLabel.Caption(), "Desktop 2");
  fake.ClearCalls();
  P().cells(2).RaiseMouseUp(forms::kLeftButton, 0, 10, 10);  // the current cell
  EXPECT_TRUE(fake.CallsOn("ShowWindow", work).empty());
  P().cells(3).RaiseMouseUp(forms::kRightButton, 0, 10, 10);
  EXPECT_TRUE(popups.empty());
  EXPECT_EQ(P().Desktops().Current(), 2);
}

TEST_F(Gestures, DraggingAMiniatureIntoAnotherCellMovesTheWindowThereAndBackShowsIt) {
  forms::PictureBox& miniature = MiniatureOf(work);
  fake.SetCursor(InsideCell(3));  // the hit test notes cell 3 under the cursor
  backend->Advance(100);
  ASSERT_EQ(P().Hover().CursorCell(), 3);
  const float offsetLeft = miniature.Left() - P().cells(1).Left();
  const float cellStep = P().cells(3).Left() - P().cells(1).Left();
  miniature.RaiseMouseDown(forms::kLeftButton, 0, 45, 45);
  miniature.RaiseMouseMove(forms::kLeftButton, 0, 60, 45);
  EXPECT_TRUE(P().Gestures().Drag().IsDragging());
  // 20 pixels on in the miniature, which has followed the pointer's first pixel: the pointer
  // is 22 pixels right of the press.
  miniature.RaiseMouseMove(forms::kLeftButton, 0, 60 + 20 * 15, 45);
  const float dropLeft = miniature.Left() - P().cells(3).Left();
  miniature.RaiseMouseUp(forms::kLeftButton, 0, 60, 45);
  EXPECT_FALSE(P().Gestures().Drag().IsDragging());
  EXPECT_EQ(DesktopOf(work), 3);
  EXPECT_FALSE(fake.IsWindowVisible(work));
  EXPECT_NEAR(dropLeft, offsetLeft + 22 - cellStep, 0.01);
  Rect r;
  fake.GetWindowRect(work, &r);
  const float sx = P().geometry.CellWidth() / P().geometry.ScreenWidth();
  EXPECT_NEAR(r.left, dropLeft / sx, 1.0f / sx) << "within one pager pixel";
  EXPECT_EQ(r.Width(), 400);
  EXPECT_EQ(r.Height(), 300);

  // Dragged back where the cursor is in no cell: the current desktop's, shown again.
  fake.SetCursor({0, 0});
  backend->Advance(100);
  P().Hover().ForgetCursorCell();
  Drag(miniature, 15);
  EXPECT_EQ(DesktopOf(work), 1);
  EXPECT_TRUE(fake.IsWindowVisible(work));
}

TEST_F(Gestures, ADropOnACellOfAnOlderLargerGridGoesToTheCurrentDesktop) {
  P().Hover().NoteCursorCell(6);
  P().SetupDesktops(2, 1);
  EXPECT_EQ(P().Hover().CursorCell(), 0) << "the rebuild forgets the old cell";
  P().Hover().NoteCursorCell(6);  // and a stale value is never trusted
  Drag(MiniatureOf(work), 30);
  EXPECT_EQ(DesktopOf(work), 1);
  EXPECT_TRUE(fake.IsWindowVisible(work));
}

TEST_F(Gestures, AClickRaisesTheWindowSwitchingToItsDesktopFirst) {
  P().Desktops().Place(3, mail, 0, 0, 0, 0);
  P().Desktops().Open(1);
  LeftClick(mail);
  EXPECT_EQ(P().Desktops().Current(), 3);
  EXPECT_TRUE(fake.IsWindowVisible(mail));
  EXPECT_FALSE(fake.IsTopMost(mail)) << "raised, not left always-on-top";
  EXPECT_TRUE(fake.ZOrder().front() == mail || fake.IsTopMost(fake.ZOrder().front()));
  // A window shown on every desktop is raised where the user is.
  Record(work).showAll = true;
  LeftClick(work);
  EXPECT_EQ(P().Desktops().Current(), 3);
}

TEST_F(Gestures, TheWindowMenuOpensWithTheStatesOfTheWindow) {
  Record(work).transparency = 150;
  fake.SetCaption(mail, std::string(31, 'm'));
  P().Tracker().Scan();
  RightClick(work);
  ASSERT_EQ(popups.size(), 1u);
  forms::MenuItem& menu = *popups[0].menu;
  EXPECT_EQ(&menu, &P().windowMenu.popup);
  EXPECT_FALSE(P().windowMenu.summonEntry.Enabled()) << "on the current desktop";
  EXPECT_TRUE(P().windowMenu.mediumTransparencyEntry.Checked());
  EXPECT_FALSE(P().windowMenu.opaqueEntry.Checked());
  EXPECT_TRUE(P().windowMenu.moveToEntry.Enabled());
  EXPECT_EQ(menu.Find("Desktop 1"), nullptr) << "not its own desktop";
  EXPECT_NE(menu.Find("Desktop 6"), nullptr);
  EXPECT_NE(menu.Find(std::string(30, 'm') + "..."), nullptr);
  EXPECT_NE(menu.Find("Tranparent"), nullptr);

  // Shown on all desktops: Move To is disabled; with animation and no stored transparency
  // nothing is checked.
  Record(work).showAll = true;
  Record(work).transparency.reset();
  P().Desktops().SetAnimate(true);
  RightClick(work);
  EXPECT_TRUE(P().windowMenu.showOnAllEntry.Checked());
  EXPECT_FALSE(P().windowMenu.moveToEntry.Enabled());
  for (auto* level :
       {&P().windowMenu.opaqueEntry, &P().windowMenu.highTransparencyEntry,
        &P().windowMenu.mediumTransparencyEntry, &P().windowMenu.lowTransparencyEntry})
    EXPECT_FALSE(level->Checked());
}

TEST_F(Gestures, MoveToHidesTheWindowWhereItStandsAndMovesItsMiniature) {
  const float offset = MiniatureOf(work).Left() - P().cells(1).Left();
  choose = [](forms::MenuItem& menu) { return menu.Find("Desktop 3"); };
  Rect before, after;
  fake.GetWindowRect(work, &before);
  RightClick(work);
  EXPECT_EQ(DesktopOf(work), 3);
  EXPECT_FALSE(fake.IsWindowVisible(work));
  fake.GetWindowRect(work, &after);
  EXPECT_EQ(after, before);
  EXPECT_FLOAT_EQ(MiniatureOf(work).Left() - P().cells(3).Left(), offset);
  EXPECT_EQ(P().Tracker().MovedWindow(), work);
}

TEST_F(Gestures, TransparencyAndAlwaysOnTopCommands) {
  choose = [](forms::MenuItem& menu) { return menu.Find("Medium"); };
  RightClick(work);
  EXPECT_EQ(fake.Alpha(work), 150);
  EXPECT_EQ(Record(work).transparency, 150);

  choose = [](forms::MenuItem& menu) { return menu.Find("Always On Top"); };
  RightClick(work);
  EXPECT_TRUE(fake.IsTopMost(work));
  EXPECT_TRUE(Record(work).onTop);
  EXPECT_EQ(fake.Alpha(work), 150) << "the stored transparency is applied again";
  EXPECT_TRUE(P().windowMenu.SkipsNextActivation());
  P().Desktops().Place(2, mail, 0, 0, 0, 0);
  LeftClick(mail);  // the next click only clears that
  EXPECT_EQ(P().Desktops().Current(), 1);
  EXPECT_FALSE(P().windowMenu.SkipsNextActivation());

  choose = [](forms::MenuItem& menu) { return menu.Find("Opaque"); };
  RightClick(work);
  EXPECT_EQ(fake.Alpha(work), -1);
  EXPECT_EQ(Record(work).transparency, std::nullopt);
}

TEST_F(Gestures, RemoveAsksAndEachAnswerDoesItsPart) {
  std::string answer;
  backend->onModal = [&](forms::Form& form) {
    auto& box = dynamic_cast<MessageDialog&>(form);
    EXPECT_EQ(box.titleLabel.Caption(), "Remove Window");
    for (int i = 0; i < 3; ++i) {
      if (box.answerButtons(i).Caption() == answer) box.answerButtons(i).RaiseClick();
    }
  };
  choose = [](forms::MenuItem& menu) { return menu.Find("Remove"); };
  P().Desktops().Place(2, mail, 0, 0, 0, 0);
  P().Desktops().Open(1);
  answer = "No";
  RightClick(mail);
  EXPECT_TRUE(P().IsManaged(mail));

  answer = "Just Remove";
  const int v = Record(mail).miniature;
  RightClick(mail);
  EXPECT_FALSE(P().IsManaged(mail));
  EXPECT_FALSE(P().Tracker().KnowsWindow(mail)) << "nothing about it is kept";
  EXPECT_TRUE(fake.IsWindowVisible(mail)) << "never left hidden";
  EXPECT_FALSE(P().miniatures(v).Visible());
  backend->Advance(100);  // unloaded at the next tick, outside the miniature's own handler
  EXPECT_FALSE(P().miniatures.Exists(v));
  EXPECT_FALSE(P().Miniatures().Pictures().Exists(v));
  EXPECT_FALSE(P().ignoreList.Contains("Mail"));

  answer = "Yes";
  backend->Advance(300);  // work's pictures taken: it has a capture rhythm
  RightClick(work);
  EXPECT_FALSE(P().IsManaged(work));
  EXPECT_FALSE(P().Tracker().KnowsWindow(work));
  EXPECT_TRUE(P().ignoreList.Contains("Work"));
}

TEST_F(Gestures, ACommandForAWindowThatClosedWhileTheMenuWasOpenDoesNothing) {
  choose = [this](forms::MenuItem& menu) {
    fake.DestroyWindow(work);
    backend->Advance(100);  // the refresh drops the row meanwhile
    return menu.Find("Desktop 3");
  };
  RightClick(work);
  EXPECT_FALSE(P().IsManaged(work));
  EXPECT_EQ(P().Tracker().MovedWindow(), 0);
}

// A desktop hotkey pressed while the window menu is open rebuilds its lists. The pick acts on
// the entry as the user saw it ("Desktop 3" is rebuilt the same) or does nothing (the window
// list now names desktop 2's windows); a destroyed entry is never touched.
TEST_F(Gestures, APickInAMenuRebuiltWhileItWasOpenActsAsShownOrNotAtAll) {
  struct Case {
    const char* entry;
    int workDesktop;
    int currentAfter;
  };
  for (const Case& c : {Case{"Mail", 1, 2}, Case{"Desktop 3", 3, 2}}) {
    SCOPED_TRACE(c.entry);
    P().Desktops().Open(1);
    choose = [&](forms::MenuItem& menu) {
      forms::MenuItem* shown = menu.Find(c.entry);
      EXPECT_TRUE(fake.PressHotkey(MOD_ALT, '2'));
      return shown;
    };
    RightClick(work);
    EXPECT_EQ(DesktopOf(work), c.workDesktop);
    EXPECT_EQ(P().Desktops().Current(), c.currentAfter);
    EXPECT_FALSE(fake.IsWindowVisible(work));
    EXPECT_FALSE(fake.IsWindowVisible(mail));
  }
}

// The miniature is held where it was pressed, however far the first move goes; a drag whose
// miniature loses the mouse capture or goes away ends without a drop, and the next click on
// another miniature only raises that window.
TEST_F(Gestures, ADraggedMiniatureFollowsThePointerFromThePressAndAnInterruptedDragDropsNothing) {
  forms::PictureBox& miniature = MiniatureOf(work);
  const float left = miniature.Left();
  auto moveTo = [&](float pointerPx) {  // pointer pixels right of the press; x is in twips
    miniature.RaiseMouseMove(forms::kLeftButton, 0,
                             45 + (pointerPx - (miniature.Left() - left)) * 15, 45);
  };
  miniature.RaiseMouseDown(forms::kLeftButton, 0, 45, 45);
  moveTo(15);
  EXPECT_FLOAT_EQ(miniature.Left(), left + 15);
  moveTo(25);
  EXPECT_FLOAT_EQ(miniature.Left(), left + 25);
  Rect before, after;
  fake.GetWindowRect(work, &before);
  miniature.RaiseMouseUp(forms::kLeftButton, 0, 45, 45);
  fake.GetWindowRect(work, &after);
  EXPECT_NEAR(after.left - before.left, 25 * P().geometry.ScreenWidth() / P().geometry.CellWidth(),
              2);

  const Hwnd doomed = OpenWindow("Doomed", {300, 300, 600, 600});
  fake.Activate(doomed);
  backend->Advance(200);
  ASSERT_TRUE(P().IsManaged(doomed));
  struct Case {
    const char* how;
    Hwnd dragged;
    std::function<void()> interrupt;
  };
  for (const Case& c :
       {Case{"the capture is taken", work, [&] { MiniatureOf(work).RaiseCaptureLost(); }},
        Case{"the window closes", doomed, [&] {
               fake.DestroyWindow(doomed);
               backend->Advance(100);
             }}}) {
    SCOPED_TRACE(c.how);
    forms::PictureBox& held = MiniatureOf(c.dragged);
    const float heldLeft = held.Left();
    held.RaiseMouseDown(forms::kLeftButton, 0, 45, 45);
    held.RaiseMouseMove(forms::kLeftButton, 0, 300, 45);
    ASSERT_TRUE(P().Gestures().Drag().IsDragging());
    c.interrupt();
    EXPECT_FALSE(P().Gestures().Drag().IsDragging());
    if (c.dragged == work) {
      EXPECT_FLOAT_EQ(held.Left(), heldLeft) << "back at its window's place";
    }
    fake.GetWindowRect(mail, &before);
    fake.ClearCalls();
    LeftClick(mail);
    fake.GetWindowRect(mail, &after);
    EXPECT_EQ(after, before);
    EXPECT_EQ(DesktopOf(mail), 1);
    EXPECT_FALSE(fake.CallsOn("SetWindowPos", mail).empty()) << "raised";
  }
}

TEST_F(Gestures, HoverPaintsTheCellUnderTheMouseAndNamesIt) {
  P().cells(2).RaiseMouseMove(0, 0, 10, 10);
  EXPECT_TRUE(CellShows(2, program->settings.colorHover));
  P().cells(3).RaiseMouseMove(0, 0, 10, 10);
  EXPECT_TRUE(CellShows(2, program->settings.colorNormal));
  EXPECT_TRUE(CellShows(3, program->settings.colorHover));
  EXPECT_EQ(P().statusLabel.Caption(), "Desktop 3");

  // The repaint every 100 ms paints nothing that did not change.
  fake.SetCursor({0, 0});
  backend->Advance(100);
  std::vector<int> counts;
  for (int i = 1; i <= 6; ++i) counts.push_back(P().cells(i).RefreshCount());
  backend->Advance(1000);
  for (int i = 1; i <= 6; ++i) EXPECT_EQ(P().cells(i).RefreshCount(), counts[i - 1]) << i;
  // A cursor exactly on a cell's left edge pixel is outside it.
  fake.SetCursor({OnPager(P().cells(2).Left(), 0).x, InsideCell(2).y});
  P().Hover().ForgetCursorCell();
  backend->Advance(100);
  EXPECT_EQ(P().Hover().CursorCell(), 0);

  // A hovered cell that leaves the grid ends the hover: no timer ticks on for it.
  P().cells(6).RaiseMouseMove(0, 0, 10, 10);
  ASSERT_TRUE(P().Hover().CellHoverRunning());
  P().SetupDesktops(2, 1);
  backend->Advance(10);
  EXPECT_FALSE(P().Hover().CellHoverRunning());
}

TEST_F(Gestures, RestingOnAHiddenWindowsMiniatureFadesItsPreviewInAndOut) {
  fake.SetWindowPicture(mail, Bitmap(640, 512, 0x3366CC));
  P().Desktops().Place(3, mail, 0, 0, 0, 0);
  P().Desktops().Open(1);
  P().Tracker().UpdateActiveWindow(mail, 3, true);
  forms::PictureBox& miniature = MiniatureOf(mail);
  fake.SetCursor(OnPager(miniature.Left() + 2, miniature.Top() + 2));
  miniature.RaiseMouseMove(0, 0, 30, 30);
  miniature.RaiseMouseMove(0, 0, 30, 30);
  PreviewWindow& preview = P().Preview();
  const uint32_t rest = fake.VirtualTimeMs();
  while (!preview.IsShown() && fake.VirtualTimeMs() - rest < 3000) backend->Advance(10);
  ASSERT_TRUE(preview.IsShown());
  EXPECT_NEAR(fake.VirtualTimeMs() - rest, 1000, 110) << "ten ticks";
  Rect shown;
  fake.GetWindowRect(preview.hWnd(), &shown);
  EXPECT_EQ(shown, (Rect{640, 0, 1280, 512})) << "at the window's place and size";
  EXPECT_EQ(preview.Surface().GetPixel(5, 5), 0x3366CCu);
  backend->Advance(400);
  EXPECT_EQ(fake.Alpha(preview.hWnd()), 200);
  backend->Advance(3300);
  EXPECT_EQ(fake.Alpha(preview.hWnd()), 0);
  P().cells(1).RaiseMouseMove(0, 0, 5, 5);  // a cell's free area hides it at once
  EXPECT_FALSE(preview.IsShown());

  MiniatureOf(work).RaiseMouseMove(0, 0, 30, 30);  // a window of the current desktop
  P().Hover().StartPreview();                      // gets no preview
  EXPECT_FALSE(preview.IsShown());
}

TEST_F(Gestures, TheMainMenuAndItsDialogs) {
  P().menuButton.RaiseClick();
  ASSERT_EQ(popups.size(), 1u);
  EXPECT_EQ(popups[0].menu, &P().mainMenu);
  EXPECT_FLOAT_EQ(popups[0].x, P().menuButton.Left() - 73);
  EXPECT_FLOAT_EQ(popups[0].y, P().menuButton.Top() + P().menuButton.Height());

  // "Exit" answered "No" changes nothing; "About" keeps the pager from hiding while open.
  bool dialogOpenDuringAbout = false;
  backend->onModal = [&](forms::Form& form) {
    if (auto* exit = dynamic_cast<ExitConfirmation*>(&form)) exit->noButton.RaiseClick();
    if (auto* about = dynamic_cast<AboutBox*>(&form)) {
      dialogOpenDuringAbout = P().DialogOpen();
      about->okButton.RaiseClick();
    }
  };
  P().exitEntry.RaiseClick();
  EXPECT_FALSE(fake.ProcessEnded());
  P().aboutEntry.RaiseClick();
  EXPECT_TRUE(dialogOpenDuringAbout);
  EXPECT_FALSE(P().DialogOpen());
  backend->onModal = [](forms::Form& form) {
    if (auto* exit = dynamic_cast<ExitConfirmation*>(&form)) exit->yesButton.RaiseClick();
  };
  P().Desktops().Place(2, work, 0, 0, 0, 0);
  P().Desktops().Open(1);
  P().exitEntry.RaiseClick();
  EXPECT_TRUE(fake.ProcessEnded());
  EXPECT_TRUE(fake.IsWindowVisible(work));
}

TEST_F(Gestures, TheAddWindowPromptAddsOrBlocksTheOfferedWindow) {
  fake::WindowTraits bare;
  bare.style = WS_VISIBLE;
  bare.caption = std::string(31, 'b');
  Hwnd offered = fake.CreateWindow(bare);
  fake.Activate(offered);
  backend->Advance(PagerWindow::kForegroundPollMs);
  ASSERT_TRUE(P().offerButton.Visible());
  std::string asked;
  backend->onModal = [&](forms::Form& form) {
    auto& prompt = dynamic_cast<AddWindowPrompt&>(form);
    asked = prompt.messageLabel.Caption();
    prompt.ignoreBox.SetValue(1);
    prompt.noButton.RaiseClick();
  };
  P().offerButton.RaiseClick();
  EXPECT_EQ(asked, "'" + std::string(30, 'b') + "...' is not in the window list.\r\n\r\n" +
                       "Do you want to add this window ?");
  EXPECT_TRUE(P().ignoreList.Contains(std::string(31, 'b'))) << "the full title";
  EXPECT_FALSE(P().offerButton.Visible());
  EXPECT_FALSE(P().IsManaged(offered));

  bare.caption = "Palette";
  Hwnd palette = fake.CreateWindow(bare);
  fake.Activate(palette);
  backend->Advance(PagerWindow::kForegroundPollMs);
  backend->onModal = [](forms::Form& form) {
    dynamic_cast<AddWindowPrompt&>(form).yesButton.RaiseClick();
  };
  P().offerButton.RaiseClick();
  EXPECT_TRUE(P().IsManaged(palette));
}

TEST_F(Gestures, TheHideFieldHidesOnlyManagedWindowsAndIgnoresWhatIsNotANumber) {
  Hwnd stranger = OpenWindow("Stranger");
  P().handleField.SetText(std::to_string(stranger));
  P().hideButton.RaiseClick();
  EXPECT_TRUE(fake.IsWindowVisible(stranger));
  P().handleField.SetText(std::to_string(work));
  P().hideButton.RaiseClick();
  EXPECT_FALSE(fake.IsWindowVisible(work));
  P().showButton.RaiseClick();
  EXPECT_TRUE(fake.IsWindowVisible(work));
  P().handleField.SetText("not a handle");
  P().hideButton.RaiseClick();
  P().showButton.RaiseClick();
  EXPECT_TRUE(fake.IsWindowVisible(work));
}

// ---- Miniatures: placed and stacked as their windows ---------------------------------------

// Cells of 100 x 60 pixels on a screen of 1000 x 600: a factor of 0.1 both ways.
class Miniatures : public ProgramFixture {
 protected:
  void SetUp() override { fake.SetScreen(1000, 600); }
};

TEST_F(Miniatures, AreTheWindowsScaledIntoTheCellAndClampedToItsSize) {
  Hwnd plain = OpenWindow("Plain", {500, 100, 900, 400});
  Hwnd maximised = OpenWindow("Maximised", {-8, -8, 1008, 608});
  ASSERT_TRUE(StartWith(kGrid3x2));
  const forms::PictureBox& cell = Pager().cells(1);
  ASSERT_FLOAT_EQ(cell.Width(), 100);
  ASSERT_FLOAT_EQ(cell.Height(), 60);
  EXPECT_FLOAT_EQ(MiniatureOf(plain).Width(), 40);
  EXPECT_FLOAT_EQ(MiniatureOf(plain).Left(), cell.Left() + 50);
  // A maximised window: exactly the cell's size, starting 0.8 px left of the cell.
  Pager().Tracker().UpdateActiveWindow(maximised, 1, false);
  EXPECT_FLOAT_EQ(MiniatureOf(maximised).Width(), 100);
  EXPECT_FLOAT_EQ(MiniatureOf(maximised).Height(), 60);
  EXPECT_NEAR(MiniatureOf(maximised).Left(), cell.Left() - 0.8f, 1e-4);
  // The box around cell 1 (100 x 60 at 1, 22).
  const forms::Shape& box = Pager().selectionBox;
  EXPECT_EQ((std::vector<float>{box.Left(), box.Top(), box.Width(), box.Height()}),
            (std::vector<float>{0, 21, 103, 63}));
}

TEST_F(Miniatures, OverlapAsTheWindowsDoAndStayLiveWhileThePagerIsInFront) {
  Hwnd bottom = OpenWindow("Bottom", {0, 0, 600, 400});
  Hwnd middle = OpenWindow("Middle", {100, 50, 700, 450});
  Hwnd top = OpenWindow("Top", {200, 100, 800, 500});
  ASSERT_TRUE(StartWith(kGrid3x2));
  EXPECT_LT(StackPosition(MiniatureOf(top)), StackPosition(MiniatureOf(middle)));
  EXPECT_LT(StackPosition(MiniatureOf(middle)), StackPosition(MiniatureOf(bottom)));

  // With the pager in front, every shown window's picture is taken again in turn.
  fake.Activate(Pager().hWnd());
  for (Hwnd h : {bottom, middle, top}) fake.SetWindowPicture(h, Bitmap(600, 400, 0x2468AC));
  backend->Advance(400);
  for (Hwnd h : {bottom, middle, top}) {
    EXPECT_EQ(MiniatureOf(h).Surface().GetPixel(2, 2), 0x2468ACu) << h;
  }
}

TEST_F(Miniatures, TheWindowThatComesForwardIsInFrontAndOnTopOnesStayAbove) {
  Hwnd a = OpenWindow("A"), b = OpenWindow("B"), onTop = OpenWindow("On top");
  ASSERT_TRUE(StartWith(kGrid3x2));
  Record(onTop).onTop = true;
  for (Hwnd front : {a, b, a}) {
    fake.Activate(front);
    backend->Advance(100);
    EXPECT_LT(StackPosition(MiniatureOf(front)), StackPosition(MiniatureOf(front == a ? b : a)));
    EXPECT_LT(StackPosition(MiniatureOf(onTop)), StackPosition(MiniatureOf(front)));
  }
}

}  // namespace
}  // namespace vd::testing
