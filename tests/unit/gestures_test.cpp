// The pager under the mouse: cells that switch and light up, miniatures dragged, clicked and
// right-clicked for the window menu, the main menu and its dialogs, and the Show/Hide field.
#include <gtest/gtest.h>

#include <algorithm>

#include "ProgramFixture.h"
#include "dialogs/AboutBox.h"
#include "dialogs/ExitConfirmation.h"

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
  Point InsideCell(int desktop) {
    const forms::PictureBox& cell = P().cells(desktop);
    return OnPager(cell.Left() + cell.Width() / 2, cell.Top() + cell.Height() / 2);
  }
  Hwnd work = 0, mail = 0;
};

TEST_F(Gestures, ALeftClickOnAnotherCellSwitchesAndARightClickShowsNoMenu) {
  int shown = 0;  // the grid's cells, and no other
  for (int i : P().cells.Indexes()) shown += P().cells(i).Visible() ? 1 : 0;
  EXPECT_EQ(shown, 6);
  const int paints1 = P().cells(1).RefreshCount(), paints2 = P().cells(2).RefreshCount();
  P().cells(2).RaiseMouseUp(forms::kLeftButton, 0, 10, 10);
  EXPECT_EQ(P().Desktops().Current(), 2);
  EXPECT_TRUE(P().cells(1).RefreshCount() > paints1 && P().cells(2).RefreshCount() > paints2)
      << "both cells drawn anew";
  EXPECT_FALSE(fake.IsWindowVisible(work));
  EXPECT_EQ(P().statusLabel.Caption(), "Desktop 2");
  fake.ClearCalls();
  P().cells(2).RaiseMouseUp(forms::kLeftButton, 0, 10, 10);  // the current cell
  EXPECT_TRUE(fake.CallsOn("ShowWindow", work).empty());
  P().cells(3).RaiseMouseUp(forms::kRightButton, 0, 10, 10);
  EXPECT_TRUE(popups.empty());
  EXPECT_EQ(P().Desktops().Current(), 2);
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

// "Remove" asks first: No keeps the window; Just Remove and Yes forget it (nothing kept of it,
// its miniature and picture unloaded at the next tick, the window shown if its desktop is not),
// and Yes also ignores its caption from then on.
TEST_F(Gestures, RemoveForgetsTheWindowAsTheAnswerSays) {
  struct Case {
    const char* answer;
    int16_t desktop;
    bool kept, ignored;
  };
  choose = [](forms::MenuItem& menu) { return menu.Find("Remove"); };
  for (const Case& c : {Case{"No", 2, true, false}, Case{"Just Remove", 1, false, false},
                        Case{"Yes", 2, false, true}}) {
    SCOPED_TRACE(c.answer);
    const Hwnd w = OpenWindow(c.answer);
    fake.SetWindowLongA(w, GWL_EXSTYLE, WS_EX_LAYERED);  // its own layering is kept too
    fake.Activate(w);
    backend->Advance(300);  // in front a while: its pictures and capture rhythm are there
    P().Desktops().Place(c.desktop, w, 0, 0, 0, 0);
    fake.Activate(work);
    P().Desktops().Open(1);
    const int v = Record(w).miniature;
    backend->onModal = [&](forms::Form& form) {
      auto& box = dynamic_cast<MessageDialog&>(form);
      EXPECT_EQ(box.titleLabel.Caption(), "Remove Window");
      for (int i = 0; i < 3; ++i) {
        if (box.answerButtons(i).Caption() == c.answer) box.answerButtons(i).RaiseClick();
      }
    };
    RightClick(w);
    backend->Advance(100);  // unloaded outside the miniature's own handler
    EXPECT_EQ(P().IsManaged(w), c.kept);
    EXPECT_EQ(P().Tracker().KnowsWindow(w), c.kept);
    EXPECT_EQ(fake.IsWindowVisible(w), !c.kept || c.desktop == 1);
    EXPECT_EQ(P().miniatures.Exists(v), c.kept);
    EXPECT_EQ(P().Miniatures().Pictures().Exists(v), c.kept);
    EXPECT_EQ(P().ignoreList.Contains(c.answer), c.ignored);
  }
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

// A miniature dropped where the hit test last saw the cursor: on another cell the window goes
// to that desktop, kept at the place the miniature was dropped at in the cell (within one pager
// pixel), hidden; in no cell, or on a cell of a grid rebuilt since, it stays on the current
// desktop. A drag that loses the mouse capture or whose window closes drops nothing, and the
// next click on another miniature only raises that window.
TEST_F(Gestures, ADroppedMiniatureTakesItsWindowToTheCellUnderTheCursor) {
  enum Interruption { kNone, kCaptureLost, kWindowCloses, kGridRebuilt };
  struct Case {
    const char* drop;
    int cursorCell;  // 0: outside every cell
    Interruption interruption;
    int desktop;
    bool visible;
  };
  const Case cases[] = {
      {"on the last cell", 6, kNone, 6, false},
      {"outside the cells", 0, kNone, 1, true},
      {"on cell 6 of a grid rebuilt to 2 x 1", 6, kGridRebuilt, 1, true},
      {"after the capture was lost", 3, kCaptureLost, 1, true},
      {"after the window closed", 3, kWindowCloses, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.drop);
    P().SetupDesktops(3, 2);
    P().Desktops().Place(1, work, 0, 0, 0, 0);
    fake.MoveWindow(work, 100, 100, 400, 300, true);
    // The first miniature's window when its capture goes or it closes: miniature 1 is handled
    // like any other.
    const Hwnd dragged = c.interruption == kWindowCloses  ? P().Table.WindowWithMiniature(1)
                         : c.interruption == kCaptureLost ? P().Table.WindowWithMiniature(1)
                                                          : work;
    fake.Activate(dragged);
    backend->Advance(200);
    fake.SetCursor(c.cursorCell ? InsideCell(c.cursorCell) : Point{0, 0});
    P().Hover().PointerMoved();  // as the mouse went there over the pager
    backend->Advance(100);       // the hit test notes the cell under the cursor
    if (!c.cursorCell) P().Hover().ForgetCursorCell();  // as when no cell was ever under it
    if (c.interruption == kGridRebuilt) P().SetupDesktops(2, 1);
    forms::PictureBox& miniature = MiniatureOf(dragged);
    const float left = miniature.Left() - P().cells(1).Left();
    miniature.RaiseMouseDown(forms::kLeftButton, 0, 45, 45);
    miniature.RaiseMouseMove(forms::kLeftButton, 0, 60, 45);  // the drag starts, held at 1 px
    miniature.RaiseMouseMove(forms::kLeftButton, 0, 60 + 20 * 15, 45);  // 22 px from the press
    EXPECT_FLOAT_EQ(miniature.Left() - P().cells(1).Left(), left + 22);
    if (c.interruption == kCaptureLost) {
      miniature.RaiseCaptureLost();
      EXPECT_FLOAT_EQ(miniature.Left() - P().cells(1).Left(), left) << "back at its window's place";
    }
    if (c.interruption == kWindowCloses) {
      fake.DestroyWindow(dragged);
      backend->Advance(100);
    } else {
      miniature.RaiseMouseUp(forms::kLeftButton, 0, 60, 45);
    }
    EXPECT_FALSE(P().Gestures().Drag().IsDragging());
    EXPECT_EQ(DesktopOf(dragged), c.desktop);
    EXPECT_EQ(fake.IsWindowVisible(dragged), c.visible);
    if (c.desktop == 6) {
      Rect r;
      fake.GetWindowRect(work, &r);
      const float sx = P().geometry.CellWidth() / P().geometry.ScreenWidth();
      const float inCell6 = left + 22 - (P().cells(6).Left() - P().cells(1).Left());
      EXPECT_NEAR(r.left, inCell6 / sx, 1.0f / sx);
      EXPECT_EQ(r.Width(), 400);
    }
    if (c.interruption != kNone) {
      const Hwnd other = dragged == mail ? work : mail;
      Rect before, after;
      fake.GetWindowRect(other, &before);
      LeftClick(other);
      fake.GetWindowRect(other, &after);
      EXPECT_EQ(after, before);
      EXPECT_EQ(DesktopOf(other), 1);
      const std::vector<Hwnd> z = fake.ZOrder();
      EXPECT_LT(std::find(z.begin(), z.end(), other), std::find(z.begin(), z.end(), dragged))
          << "raised";
    }
  }
  // A cursor exactly on a cell's left edge pixel is outside it.
  fake.SetCursor({OnPager(P().cells(2).Left(), 0).x, InsideCell(2).y});
  P().Hover().ForgetCursorCell();
  backend->Advance(100);
  EXPECT_EQ(P().Hover().CursorCell(), 0);
}

TEST_F(Gestures, TheMainMenuAndItsDialogs) {
  P().menuButton.RaiseClick();
  ASSERT_EQ(popups.size(), 1u);
  EXPECT_EQ(popups[0].menu, &P().mainMenu);

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

// The window menu as it opens: what it offers depends on where the window is and what it is.
TEST_F(Gestures, TheWindowMenuOffersWhatSuitsTheWindow) {
  struct Case {
    const char* window;
    int desktop;
    bool showAll, animate;
    std::optional<int> transparency;
    bool summon, moveTo;
    std::vector<int> moveToDesktops;
    forms::MenuItem* checkedLevel;
  };
  WindowMenu& m = P().windowMenu;
  const std::vector<int> others = {2, 3, 4, 5, 6};
  const Case cases[] = {
      {"here, medium", 1, false, false, 150, false, true, others, &m.mediumTransparencyEntry},
      {"here, high", 1, false, false, 100, false, true, others, &m.highTransparencyEntry},
      {"here, low", 1, false, false, 200, false, true, others, &m.lowTransparencyEntry},
      {"on desktop 4, opaque", 4, false, false, {}, true, true, {1, 2, 3, 5, 6}, &m.opaqueEntry},
      {"on every desktop, animation on", 1, true, true, {}, false, false, others, nullptr},
  };
  fake.SetCaption(mail, std::string(31, 'm'));
  P().Tracker().Scan();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.window);
    P().Desktops().Place(static_cast<int16_t>(c.desktop), work, 0, 0, 0, 0);
    Record(work).showAll = c.showAll;
    Record(work).transparency = c.transparency;
    P().Desktops().SetAnimate(c.animate);
    popups.clear();
    RightClick(work);
    ASSERT_EQ(popups.size(), 1u);
    EXPECT_EQ(popups[0].menu, &m.popup);
    EXPECT_EQ(m.summonEntry.Enabled(), c.summon);
    EXPECT_EQ(m.moveToEntry.Enabled(), c.moveTo);
    EXPECT_EQ(m.showOnAllEntry.Checked(), c.showAll);
    std::vector<int> offered;
    for (int i : m.moveToEntries.Indexes()) {
      if (m.moveToEntries(i).Visible()) offered.push_back(i);
    }
    EXPECT_EQ(offered, c.moveToDesktops);
    for (forms::MenuItem* level : {&m.opaqueEntry, &m.highTransparencyEntry,
                                   &m.mediumTransparencyEntry, &m.lowTransparencyEntry}) {
      EXPECT_EQ(level->Checked(), level == c.checkedLevel) << level->Caption();
    }
  }
  // The window list names the windows of the desktop, long titles cut at 30 characters, below
  // its separator (which a right click on a cell had hidden).
  P().Desktops().Place(1, work, 0, 0, 0, 0);
  P().cells(1).RaiseMouseUp(forms::kRightButton, 0, 10, 10);
  RightClick(work);
  EXPECT_NE(m.popup.Find(std::string(30, 'm') + "..."), nullptr);
  for (forms::MenuItem* entry : {&m.windowListSeparator, &m.moveToEntry, &m.onTopEntry}) {
    EXPECT_TRUE(entry->Visible()) << entry->Caption();
  }
  std::vector<std::string> listed;
  for (int i : m.windowListEntries.Indexes()) {
    if (m.windowListEntries(i).Visible()) listed.push_back(m.windowListEntries(i).Caption());
  }
  EXPECT_EQ(listed, (std::vector<std::string>{std::string(30, 'm') + "...", "Work"}));
}

// Each command of the window menu, on a window of the current desktop.
TEST_F(Gestures, EachWindowMenuCommandChangesTheWindowAsItSays) {
  struct Case {
    const char* entry;
    int alpha;
    bool topMost;
    int desktop;
    bool visible;
  };
  const Case cases[] = {
      {"Medium", 150, false, 1, true},        {"Always On Top", 150, true, 1, true},
      {"Always On Top", 150, false, 1, true}, {"Low", 200, false, 1, true},
      {"Opaque", -1, false, 1, true},         {"Desktop 3", -1, false, 3, false},
      {"Desktop 1", -1, false, 1, true},
  };
  Rect placed;
  fake.GetWindowRect(work, &placed);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.entry);
    choose = [&](forms::MenuItem& menu) { return menu.Find(c.entry); };
    RightClick(work);
    Rect now;
    fake.GetWindowRect(work, &now);
    EXPECT_EQ(now, placed) << "no command moves or sizes the window";
    EXPECT_EQ(fake.Alpha(work), c.alpha);
    EXPECT_EQ(Record(work).transparency, c.alpha < 0 ? std::nullopt : std::optional(c.alpha));
    EXPECT_EQ(fake.IsTopMost(work), c.topMost);
    EXPECT_EQ(Record(work).onTop, c.topMost);
    EXPECT_EQ(P().windowMenu.onTopEntry.Checked(), c.topMost);
    EXPECT_EQ(DesktopOf(work), c.desktop);
    EXPECT_EQ(fake.IsWindowVisible(work), c.visible);
    // The record of translucent windows is rewritten at once: a run killed now restores this.
    EXPECT_EQ(ReadFile("translucent.list").find(std::to_string(work) + " ") != std::string::npos,
              c.alpha >= 0);
  }
  EXPECT_EQ(P().Tracker().MovedWindow(), work);
  // A pick in the window list brings that window forward; the next click on a miniature only
  // ends the menu's gesture.
  P().Desktops().Place(1, work, 0, 0, 0, 0);
  choose = [](forms::MenuItem& menu) { return menu.Find("Mail"); };
  auto mailAboveWork = [this] {
    const std::vector<Hwnd> z = fake.ZOrder();
    return std::find(z.begin(), z.end(), mail) < std::find(z.begin(), z.end(), work);
  };
  ASSERT_FALSE(mailAboveWork());
  RightClick(work);
  EXPECT_TRUE(mailAboveWork());
  LeftClick(work);
  EXPECT_TRUE(mailAboveWork());
  EXPECT_FALSE(P().windowMenu.SkipsNextActivation());
  // A cell's menu closed without a pick: the next click on a miniature raises its window.
  choose = [](forms::MenuItem&) { return nullptr; };
  P().cells(1).RaiseMouseUp(forms::kRightButton, 0, 10, 10);
  LeftClick(work);
  EXPECT_FALSE(mailAboveWork());
}

// The cell under the mouse lights up and is named in the status caption; a miniature names
// its window and lights its cell; when the mouse leaves, the cells go back to their colours.
TEST_F(Gestures, HoverLightsTheCellUnderTheMouseUntilTheMouseLeaves) {
  P().Desktops().Place(2, mail, 0, 0, 0, 0);
  P().Desktops().Open(1);
  const uint32_t normal = program->settings.colorNormal, hover = program->settings.colorHover,
                 selected = program->settings.colorSelected;
  enum Target { kCell1, kCell2, kCell3, kMailMiniature, kAway };
  struct Case {
    const char* moves;
    std::vector<Target> path;
    std::vector<uint32_t> cells1to3;
    const char* status;
  };
  const Case cases[] = {
      {"onto cell 2", {kCell2}, {selected, hover, normal}, "Desktop 2"},
      {"cell 2, then 3", {kCell2, kCell3}, {selected, normal, hover}, "Desktop 3"},
      {"cell 2, then away", {kCell2, kAway}, {selected, normal, normal}, "Desktop 2"},
      {"one move onto a miniature", {kMailMiniature}, {selected, normal, normal}, "Desktop 1"},
      {"onto a miniature in cell 2",
       {kMailMiniature, kMailMiniature},
       {selected, normal, normal},
       "Mail"},
      {"a miniature, then away", {kMailMiniature, kAway}, {selected, normal, normal}, "Desktop 1"},
      {"the current cell, then away", {kCell1, kAway}, {selected, normal, normal}, "Desktop 1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.moves);
    int left = 0;  // the cell the mouse was over before
    for (Target t : c.path) {
      forms::PictureBox& control = t == kMailMiniature ? MiniatureOf(mail)
                                   : t == kAway        ? P().cells(1)
                                                       : P().cells(1 + (t - kCell1));
      if (t == kAway) {
        fake.SetCursor({1279, 1023});
      } else {
        fake.SetCursor(OnPager(control.Left() + 2, control.Top() + 2));
        control.RaiseMouseMove(0, 0, 30, 30);
        if (t != kMailMiniature) {
          const int cell = 1 + (t - kCell1);
          EXPECT_TRUE(CellShows(cell, t == kCell1 ? selected : hover)) << "at once";
          if (left != 0 && left != cell) {
            EXPECT_TRUE(CellShows(left, left == 1 ? selected : normal)) << "the cell left, at once";
          }
          left = cell;
        }
      }
      backend->Advance(50);
    }
    backend->Advance(300);
    for (int cell = 1; cell <= 3; ++cell) {
      EXPECT_TRUE(CellShows(cell, c.cells1to3[cell - 1])) << "cell " << cell;
    }
    EXPECT_EQ(P().statusLabel.Caption(), c.status);
    fake.SetCursor({1279, 1023});
    backend->Advance(300);
  }
  // The repaint every 100 ms paints nothing that did not change.
  std::vector<int> counts;
  for (int i = 1; i <= 6; ++i) counts.push_back(P().cells(i).RefreshCount());
  backend->Advance(1000);
  for (int i = 1; i <= 6; ++i) EXPECT_EQ(P().cells(i).RefreshCount(), counts[i - 1]) << i;
  // A hovered cell that leaves the grid ends the hover: no timer ticks on for it.
  P().cells(6).RaiseMouseMove(0, 0, 10, 10);
  P().SetupDesktops(2, 1);
  backend->Advance(10);
  EXPECT_FALSE(P().Hover().CellHoverRunning());
}

}  // namespace
}  // namespace vd::testing
