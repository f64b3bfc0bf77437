// The options dialog as the user meets it: its pages and captions, the rules of the size
// fields, the controls that act at once, and what OK and Cancel do to the pager, its windows
// and the settings file.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>

#include "ProgramFixture.h"
#include "core/Text.h"
#include "dialogs/MessageDialog.h"
#include "options/OptionsDialog.h"
#include "settings/SettingsFile.h"

namespace vd::testing {
namespace {

constexpr uint32_t kF11 = 0x7A;

const char* kSettings =
    "[SETUP]\r\ncolumns=3\r\nrows=3\r\nwidth=30\r\nheight=20\r\ntransparent=0\r\n"
    "hide=1,50\r\ncolor_normal=255\r\ncolor_hover=65280\r\ncolor_selected=16711680\r\n"
    "color_box=65535\r\nanimate=0\r\npreview=1\r\nauto_hide=0\r\nauto_start=0\r\n"
    "[ALERT]\r\nenabled=1\r\ndesktop=7\r\nkey1=1\r\nkey2=49\r\n"
    "[HOTKEYS]\r\n1=0,7,1\r\n2=1,12,1\r\n3=0,9,1\r\n4=0,10,0\r\n5=0,11,1\r\n6=0,12,1\r\n"
    "7=0,13,1\r\n8=0,14,1\r\n9=0,15,1\r\n";

class OptionsDialogTest : public ProgramFixture {
 protected:
  void SetUp() override { StartWith(kSettings); }

  // The program's message boxes are recorded and answered with their first button; while the
  // options dialog is shown modally, `inDialog` acts in it.
  void StartWith(const std::string& settings) {
    work = OpenWindow("Work", {100, 100, 500, 400});
    mail = OpenWindow("Mail", {600, 100, 1000, 400});
    notes = OpenWindow("Notes", {200, 500, 600, 800});
    AnswerMessageBoxes();
    otherModal = [this](forms::Form& form) {
      if (&form == &O() && inDialog) inDialog();
    };
    ASSERT_TRUE(ProgramFixture::StartWith(settings));
  }
  // The program started again on `settings` with one key changed.
  void RestartWith(const std::string& from, const std::string& to) {
    std::string settings = kSettings;
    settings.replace(settings.find(from), from.size(), to);
    WriteFile("settings.ini", settings);
    ASSERT_TRUE(Restart());
  }

  vd::OptionsDialog& O() { return program->Options(); }
  PagerWindow& P() { return Pager(); }
  std::string Setting(const std::string& section, const std::string& key) {
    return ReadIniValue(fake, File("settings.ini").string(), section, key);
  }
  // The user clicks into a field (its text is selected) and types.
  static void Retype(forms::TextBox& field, const std::string& keys) {
    field.RaiseGotFocus();
    for (char c : keys) field.TypeChar(c);
  }

  std::function<void()> inDialog;
  Hwnd work = 0, mail = 0, notes = 0;
};

TEST_F(OptionsDialogTest, EachPageButtonShowsItsPageAloneAndTheOpacitiesKeepTheirStoredOrder) {
  std::vector<std::string> transparency;
  for (int i = 0; i < O().application.opacityList.ListCount(); ++i) {
    transparency.push_back(O().application.opacityList.List(i));
  }
  EXPECT_EQ(transparency, (std::vector<std::string>{"Opaque", "High", "Medium", "Low"}));

  // Each page button shows its page alone, in front.
  auto shownPages = [this] {
    std::vector<forms::Frame*> shown;
    for (forms::Frame* f :
         {&O().generalPage, &O().desktops.frame, &O().panic.frame, &O().appearance.frame})
      if (f->Visible()) shown.push_back(f);
    return shown;
  };
  O().Show();
  EXPECT_EQ(shownPages(), std::vector<forms::Frame*>{&O().generalPage});
  EXPECT_TRUE(O().application.frame.Visible());
  EXPECT_FALSE(O().others.frame.Visible());
  O().panicButton.RaiseClick();
  EXPECT_EQ(shownPages(), std::vector<forms::Frame*>{&O().panic.frame});
  EXPECT_EQ(O().Children().front(), &O().panic.frame);  // in front of its siblings
  O().appearanceButton.RaiseClick();
  EXPECT_EQ(shownPages(), std::vector<forms::Frame*>{&O().appearance.frame});
  O().desktopsButton.RaiseClick();
  EXPECT_EQ(shownPages(), std::vector<forms::Frame*>{&O().desktops.frame});
  // General keeps its sub-page; on "Application" the width field takes the focus, selected.
  O().generalButton.RaiseClick();
  O().othersButton.RaiseClick();
  EXPECT_TRUE(O().others.frame.Visible());
  EXPECT_FALSE(O().application.frame.Visible());
  O().panicButton.RaiseClick();
  O().generalButton.RaiseClick();
  EXPECT_TRUE(O().others.frame.Visible());
  O().applicationButton.RaiseClick();
  O().application.heightField.SetFocus();
  O().application.widthField.SetSelection(1, 0);
  O().panicButton.RaiseClick();
  O().generalButton.RaiseClick();
  EXPECT_EQ(O().application.widthField.SelStart(), 0);
  EXPECT_EQ(O().application.widthField.SelLength(), 2);  // "30"

  // Shown again, it opens on General / Application whatever was chosen before.
  O().othersButton.RaiseClick();
  O().cancelButton.RaiseClick();
  O().appearanceButton.RaiseClick();
  O().Show();
  EXPECT_EQ(shownPages(), std::vector<forms::Frame*>{&O().generalPage});
  EXPECT_TRUE(O().application.frame.Visible());
  O().cancelButton.RaiseClick();
}

TEST_F(OptionsDialogTest, FromTheMainMenuItOpensTopMostAndKeepsThePagerFromHiding) {
  bool shown = false, topMost = false, dialogOpen = false, pagerStayed = false;
  inDialog = [&] {
    shown = O().IsShown();
    topMost = fake.IsTopMost(O().hWnd());
    dialogOpen = P().DialogOpen();
    P().HidePager();  // what auto-hide or the hide/unhide hotkey would do
    pagerStayed = P().IsShown() && P().PagerShown();
    O().cancelButton.RaiseClick();
  };
  P().optionsEntry.RaiseClick();
  EXPECT_TRUE(shown);
  EXPECT_TRUE(topMost);
  EXPECT_TRUE(dialogOpen);
  EXPECT_TRUE(pagerStayed);
  EXPECT_FALSE(O().IsShown());
  EXPECT_FALSE(P().DialogOpen());
  // Closed by the system (Alt+F4, the system menu) it is cancelled and stays loaded: the pager
  // hides again, and opened once more its lists hold each name once.
  const int keys = O().desktops.desktopKeyList.ListCount(),
            modifiers = O().application.hideModifierList.ListCount();
  inDialog = [&] { O().Dispatch(WM_CLOSE, 0, 0); };
  P().optionsEntry.RaiseClick();
  EXPECT_TRUE(O().IsLoaded());
  EXPECT_FALSE(O().IsShown());
  EXPECT_FALSE(P().DialogOpen());
  inDialog = [&] { O().cancelButton.RaiseClick(); };
  P().optionsEntry.RaiseClick();
  EXPECT_EQ(O().desktops.desktopKeyList.ListCount(), keys);
  EXPECT_EQ(O().application.hideModifierList.ListCount(), modifiers);
  // Dragging the borderless dialog by its background lets the system move it.
  fake.ClearCalls();
  O().RaiseMouseDown(forms::kLeftButton, 0, 100, 100);
  auto moves = fake.CallsOn("SendMessageA", O().hWnd());
  ASSERT_EQ(moves.size(), 1u);
  EXPECT_EQ(moves[0].args[1], std::to_string(WM_NCLBUTTONDOWN));
  EXPECT_EQ(moves[0].args[2], std::to_string(HTCAPTION));
}

TEST_F(OptionsDialogTest, TheSizeFieldsTakeDigitsOnlyAndOkWaitsForAUsableGrid) {
  O().Show();
  EXPECT_TRUE(O().okButton.Enabled());
  EXPECT_FALSE(O().application.DimensionsChanged());

  // Width: letters refused, at most three digits, Backspace always works.
  Retype(O().application.widthField, "1a2.5");
  EXPECT_EQ(O().application.widthField.Text(), "125");
  O().application.widthField.TypeChar('7');
  EXPECT_EQ(O().application.widthField.Text(), "125");
  O().application.widthField.TypeChar(8);
  EXPECT_EQ(O().application.widthField.Text(), "12");
  O().application.widthField.TypeChar('0');
  EXPECT_EQ(O().application.widthField.Text(), "120");
  EXPECT_TRUE(O().application.DimensionsChanged());
  // Columns and rows: one digit; the selected digit is typed over.
  Retype(O().application.columnsField, "45");
  EXPECT_EQ(O().application.columnsField.Text(), "4");
  O().application.columnsField.TypeChar('5');
  EXPECT_EQ(O().application.columnsField.Text(), "4");
  // Text put in other than by typing keeps only the digits the field takes.
  O().application.heightField.SetText("4x05");
  EXPECT_EQ(O().application.heightField.Text(), "405");
  O().application.rowsField.SetText("2-");
  EXPECT_EQ(O().application.rowsField.Text(), "2");

  // An empty field, or a grid of 0 columns or rows, cannot be confirmed.
  Retype(O().application.rowsField, "\b");
  EXPECT_EQ(O().application.rowsField.Text(), "");
  EXPECT_FALSE(O().okButton.Enabled());
  Retype(O().application.heightField, "55");  // another field changing does not make OK possible
  EXPECT_FALSE(O().okButton.Enabled());
  O().application.rowsField.TypeChar('0');
  EXPECT_FALSE(O().okButton.Enabled());
  Retype(O().application.rowsField, "2");
  EXPECT_TRUE(O().okButton.Enabled());
  Retype(O().application.columnsField, "0");
  EXPECT_FALSE(O().okButton.Enabled());
  Retype(O().application.columnsField, "3");
  EXPECT_TRUE(O().okButton.Enabled());
  Retype(O().application.heightField, "0");  // 0 % is allowed: applied as 1 %
  EXPECT_TRUE(O().okButton.Enabled());

  // Showing the dialog again forgets the edits' mark.
  O().cancelButton.RaiseClick();
  O().Show();
  EXPECT_FALSE(O().application.DimensionsChanged());
  O().cancelButton.RaiseClick();
}

TEST_F(OptionsDialogTest, TheFilesSizesAreShownAsTheGridTakesThem) {
  // "rows" empty takes the built-in value; "columns" 12 is 9 and 0 is 1, as the grid has them.
  RestartWith("columns=3\r\nrows=3", "columns=12\r\nrows=");
  O().Show();
  EXPECT_EQ(O().application.columnsField.Text(), "9");
  EXPECT_EQ(O().application.rowsField.Text(), "2");
  O().okButton.RaiseClick();
  EXPECT_EQ(Setting("SETUP", "columns"), "9");
  EXPECT_EQ(P().Desktops().Count(), 18);
  RestartWith("columns=3", "columns=0");
  O().Show();
  EXPECT_EQ(O().application.columnsField.Text(), "1");
  O().cancelButton.RaiseClick();
}

TEST_F(OptionsDialogTest, ClearingTheRowsAndTypingANewValueRebuildsTheGridOnOk) {
  O().Show();
  Retype(O().application.rowsField, "\b");
  EXPECT_FALSE(O().okButton.Enabled());
  O().application.rowsField.TypeChar('4');
  EXPECT_TRUE(O().okButton.Enabled());
  Retype(O().application.widthField, "250");  // kept as typed, applied as 100 %
  fake.ClearCalls();
  O().okButton.RaiseClick();
  EXPECT_FALSE(O().IsShown());
  EXPECT_EQ(P().Desktops().Count(), 12);
  EXPECT_EQ(Setting("SETUP", "rows"), "4");
  EXPECT_EQ(Setting("SETUP", "width"), "250");
  EXPECT_FALSE(fake.CallsOn("UnregisterHotKey", P().hWnd()).empty());  // the grid was rebuilt
  EXPECT_TRUE(messages.empty());  // nothing vanished that held windows or the panic desktop
  // The selection box frames the current desktop's cell, not the last cell added.
  EXPECT_EQ(P().selectionBox.Left(), P().cells(1).Left() - 1);
  EXPECT_EQ(P().selectionBox.Top(), P().cells(1).Top() - 1);
  EXPECT_TRUE(P().IsShown());
  EXPECT_TRUE(P().PagerShown());
  // A width above 100 % is applied as 100 %.
  const float widest = P().Width();
  O().Show();
  EXPECT_EQ(O().desktops.hotkeyDesktopList.ListCount(), 12);
  Retype(O().application.widthField, "100");
  O().okButton.RaiseClick();
  EXPECT_EQ(P().Width(), widest);
  O().Show();
  Retype(O().application.widthField, "99");
  O().okButton.RaiseClick();
  EXPECT_LT(P().Width(), widest);
}

TEST_F(OptionsDialogTest, ShrinkingTheGridMovesWindowsToTheLastDesktopAndSwitchesPanicOff) {
  P().Desktops().Place(5, mail, 0, 0, 0, 0);
  P().Desktops().Place(9, notes, 0, 0, 0, 0);
  P().Desktops().Open(1);
  ASSERT_FALSE(fake.IsWindowVisible(mail));
  // The panic hotkey was registered at start.
  const auto& calls = fake.Calls();
  ASSERT_TRUE(std::any_of(calls.begin(), calls.end(), [this](const fake::Call& c) {
    return c.name == "RegisterHotKey" && c.args[0] == std::to_string(P().hWnd()) &&
           c.args[1] == "98" && c.args[3] == std::to_string(kF11);
  }));

  O().Show();
  ASSERT_EQ(O().panic.panicDesktopList.Text(), "Desktop 7");
  Retype(O().application.columnsField, "2");
  Retype(O().application.rowsField, "2");
  O().okButton.RaiseClick();

  EXPECT_EQ(P().Desktops().Count(), 4);
  EXPECT_EQ(DesktopOf(mail), 4);
  EXPECT_EQ(DesktopOf(notes), 4);
  EXPECT_EQ(DesktopOf(work), 1);
  EXPECT_FALSE(fake.IsWindowVisible(mail));  // desktop 4 is not the current one
  EXPECT_FALSE(program->settings.panicEnabled);
  EXPECT_FALSE(fake.PressHotkey(MOD_CONTROL, kF11));  // the panic hotkey is off
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].title, "Warning");
  EXPECT_EQ(messages[0].text,
            "Due to changes in the desktop dimension:\r\n\r\n"
            "- Application(s) has been relocated.\r\n"
            "- Panic hotkeys have been disabled.");
  for (int i = 5; i <= 9; ++i) EXPECT_FALSE(P().windowMenu.moveToEntries.Exists(i)) << i;
  // The miniatures stand in the cell of their new desktop.
  const forms::PictureBox& cell4 = P().cells(4);
  EXPECT_GE(MiniatureOf(mail).Left(), cell4.Left());
  EXPECT_GE(MiniatureOf(mail).Top(), cell4.Top());
  // The file has the new grid; "enabled" changes only at the next OK.
  EXPECT_EQ(Setting("SETUP", "columns"), "2");
  EXPECT_EQ(Setting("ALERT", "enabled"), "1");
}

TEST_F(OptionsDialogTest, APanicDesktopBeyondTheGridSwitchesPanicOffWithItsNoteAlone) {
  // 3 x 3 to 3 x 2, no window on desktops 7 to 9, the panic desktop 7.
  O().Show();
  Retype(O().application.rowsField, "2");
  O().okButton.RaiseClick();
  EXPECT_FALSE(program->settings.panicEnabled);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text,
            "Due to changes in the desktop dimension:\r\n\r\n- Panic hotkeys have been disabled.");
}

TEST_F(OptionsDialogTest, ShrinkingBelowTheCurrentDesktopOpensTheLastOneWithItsWindowsShown) {
  P().Desktops().Place(8, mail, 0, 0, 0, 0);
  P().Desktops().Place(2, notes, 0, 0, 0, 0);
  P().Desktops().Open(8);
  ASSERT_TRUE(fake.IsWindowVisible(mail));
  O().Show();
  O().panic.panicBox.SetValue(0);
  Retype(O().application.columnsField, "2");
  Retype(O().application.rowsField, "1");
  O().okButton.RaiseClick();
  EXPECT_EQ(P().Desktops().Current(), 2);
  EXPECT_EQ(DesktopOf(mail), 2);
  EXPECT_TRUE(fake.IsWindowVisible(mail));
  EXPECT_TRUE(fake.IsWindowVisible(notes));
  EXPECT_FALSE(fake.IsWindowVisible(work));
  EXPECT_EQ(P().statusLabel.Caption(), "Desktop 2");
  EXPECT_EQ(P().selectionBox.Left(), P().cells(2).Left() - 1);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text,
            "Due to changes in the desktop dimension:\r\n\r\n- Application(s) has been relocated.");
}

TEST_F(OptionsDialogTest, ColoursAloneDoNotRebuildTheGridButTheCurrentDesktopIsPicturedAfresh) {
  P().Desktops().Place(2, mail, 0, 0, 0, 0);
  // Notes in front last, a window of another desktop summoned, auto-hide on: OK disturbs neither.
  P().Tracker().RestartAutoHide();
  P().Tracker().UpdateActiveWindow(notes, 1, false);
  P().windowMenu.Open(mail);
  P().windowMenu.summonEntry.RaiseClick();
  ASSERT_EQ(P().Tracker().SummonedWindow(), mail);

  fake.onChooseColor = [](uint32_t* colour) {
    *colour = 0x123456;
    return true;
  };
  O().Show();
  O().others.autoHideBox.SetValue(1);
  O().appearanceButton.RaiseClick();
  O().appearance.colourButtons(2).RaiseClick();
  EXPECT_EQ(O().appearance.colourSwatches(2).BackColor(), 0x123456u);
  EXPECT_NE(program->settings.colorHover, 0x123456u);  // the pager takes it at OK
  // A cancelled colour dialog changes nothing.
  fake.onChooseColor = [](uint32_t*) { return false; };
  O().appearance.colourButtons(1).RaiseClick();
  EXPECT_EQ(O().appearance.colourSwatches(1).BackColor(), 255u);
  O().application.opacityList.SetListIndex(2);

  // The windows look different now: OK takes new pictures of the current desktop's windows,
  // and draws again those whose pictures did not change.
  fake.SetWindowPicture(notes, Bitmap(400, 300, 0x0000AA));
  P().Miniatures().Capture(notes);
  fake.SetWindowPicture(work, Bitmap(400, 300, 0x00FF00));
  fake.SetWindowPicture(mail, Bitmap(400, 300, 0x0000FF));
  const Bitmap mailBefore = MiniatureOf(mail).Surface();
  fake.ClearCalls();
  O().okButton.RaiseClick();

  EXPECT_TRUE(fake.CallsOn("UnregisterHotKey", P().hWnd()).empty());  // no rebuild
  EXPECT_EQ(P().Desktops().Count(), 9);
  EXPECT_EQ(program->settings.colorHover, 0x123456u);
  EXPECT_EQ(Setting("SETUP", "color_hover"), std::to_string(0x123456));
  const Bitmap& workNow = MiniatureOf(work).Surface();
  ASSERT_FALSE(workNow.Empty());
  EXPECT_EQ(workNow.GetPixel(workNow.Width() / 2, workNow.Height() / 2), 0x00FF00u);
  const Bitmap& notesNow = MiniatureOf(notes).Surface();
  EXPECT_EQ(notesNow.GetPixel(notesNow.Width() / 2, notesNow.Height() / 2), 0x0000AAu);
  EXPECT_EQ(MiniatureOf(mail).Surface().Pixels(), mailBefore.Pixels());  // another desktop
  EXPECT_EQ(fake.Alpha(P().hWnd()), 150);  // "transparent" 2 read back from the file
  EXPECT_EQ(Setting("SETUP", "transparent"), "2");
  EXPECT_TRUE(P().IsShown());
  EXPECT_TRUE(P().PagerShown());
  EXPECT_EQ(P().Tracker().SummonedWindow(), mail);
  EXPECT_TRUE(fake.IsWindowVisible(mail));
  EXPECT_TRUE(messages.empty());
}

TEST_F(OptionsDialogTest, ClearingTheMiniaturesTouchesTheCurrentDesktopOnly) {
  P().Desktops().Place(3, mail, 0, 0, 0, 0);
  fake.SetWindowPicture(work, Bitmap(400, 300, 0x00FF00));
  fake.SetWindowPicture(mail, Bitmap(400, 300, 0x00FF00));
  P().Tracker().UpdateActiveWindow(work, 1, true);
  P().Tracker().UpdateActiveWindow(mail, 3, true);
  P().BlankCurrentMiniatures();
  auto uniform = [](const Bitmap& b, uint32_t colour) {
    return std::all_of(b.Pixels().begin(), b.Pixels().end(),
                       [colour](uint32_t p) { return p == colour; });
  };
  EXPECT_TRUE(uniform(MiniatureOf(work).Surface(), MiniatureOf(work).BackColor()));
  EXPECT_TRUE(uniform(MiniatureOf(mail).Surface(), 0x00FF00));
}

TEST_F(OptionsDialogTest, CancelDropsTheEditsAndTakesTheOpacityShownBack) {
  O().Show();
  O().application.opacityList.SetListIndex(3);  // "Low" acts at once
  EXPECT_EQ(fake.Alpha(P().hWnd()), 200);
  Retype(O().application.columnsField, "2");
  O().others.previewBox.SetValue(0);
  O().cancelButton.RaiseClick();
  EXPECT_FALSE(O().IsShown());
  EXPECT_FALSE(P().DialogOpen());
  EXPECT_EQ(fake.Alpha(P().hWnd()), 255);
  EXPECT_TRUE(program->settings.preview);
  EXPECT_EQ(P().Desktops().Count(), 9);
  EXPECT_EQ(Setting("SETUP", "transparent"), "0");
  EXPECT_EQ(Setting("SETUP", "columns"), "3");
  EXPECT_EQ(Setting("SETUP", "preview"), "1");
  // Shown again, the dialog shows the settings in effect.
  O().Show();
  EXPECT_EQ(O().application.opacityList.ListIndex(), 0);
  EXPECT_EQ(O().application.columnsField.Text(), "3");
  EXPECT_TRUE(O().others.previewBox.Checked());
  O().cancelButton.RaiseClick();
}

TEST_F(OptionsDialogTest, OkRefusesAPanicHotkeyWithoutItsDesktopAndSavesNothing) {
  const std::string before = ReadFile("settings.ini");
  O().Show();
  O().appearanceButton.RaiseClick();
  O().panic.panicDesktopList.SetListIndex(-1);
  Retype(O().application.columnsField, "2");
  O().okButton.RaiseClick();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].title, "Required Value");
  EXPECT_EQ(messages[0].text, "Please enter panic desktop value.");
  EXPECT_TRUE(O().IsShown());
  EXPECT_TRUE(O().panic.frame.Visible());
  EXPECT_EQ(&O().CurrentPage(), &O().panic.frame);
  EXPECT_TRUE(P().DialogOpen());  // still open: the pager must not hide meanwhile
  EXPECT_EQ(ReadFile("settings.ini"), before);
  EXPECT_EQ(P().Desktops().Count(), 9);
  // With a desktop chosen it goes through.
  O().panic.panicDesktopList.SetListIndex(1);
  O().okButton.RaiseClick();
  EXPECT_FALSE(O().IsShown());
  EXPECT_EQ(Setting("ALERT", "desktop"), "2");
  EXPECT_EQ(P().Desktops().Count(), 6);
}

TEST_F(OptionsDialogTest, TheDesktopListShowsEachDesktopsStoredHotkey) {
  O().Show();
  O().desktopsButton.RaiseClick();
  EXPECT_FALSE(O().desktops.desktopHotkeyBox.Enabled());  // no desktop chosen yet
  EXPECT_FALSE(O().desktops.setDesktopHotkeyButton.Enabled());
  O().desktops.hotkeyDesktopList.SetListIndex(1);  // "1,12,1": CTRL + 6, enabled
  EXPECT_EQ(O().desktops.desktopModifierList.Text(), "CTRL");
  EXPECT_EQ(O().desktops.desktopKeyList.Text(), "6");
  EXPECT_TRUE(O().desktops.desktopHotkeyBox.Checked());
  EXPECT_TRUE(O().desktops.desktopHotkeyBox.Enabled());
  EXPECT_TRUE(O().desktops.desktopKeyList.Enabled());
  EXPECT_TRUE(O().desktops.setDesktopHotkeyButton.Enabled());
  O().desktops.hotkeyDesktopList.SetListIndex(3);  // "0,10,0": ALT + 4, disabled
  EXPECT_EQ(O().desktops.desktopModifierList.Text(), "ALT");
  EXPECT_EQ(O().desktops.desktopKeyList.Text(), "4");
  EXPECT_FALSE(O().desktops.desktopHotkeyBox.Checked());
  EXPECT_FALSE(O().desktops.desktopModifierList.Enabled());
  EXPECT_FALSE(O().desktops.setDesktopHotkeyButton.Enabled());
  EXPECT_EQ(Setting("HOTKEYS", "4"), "0,10,0");  // written back unchanged
  EXPECT_FALSE(fake.PressHotkey(MOD_ALT, '4'));

  // Enabling it and "Set Hotkey" register it at once and say so.
  O().desktops.desktopHotkeyBox.SetValue(1);
  O().desktops.desktopKeyList.SetText("W");
  O().desktops.setDesktopHotkeyButton.RaiseClick();
  EXPECT_EQ(Setting("HOTKEYS", "4"), "0,38,1");
  ASSERT_FALSE(messages.empty());
  EXPECT_EQ(messages.back().title, "Hotkeys Assigned");
  EXPECT_TRUE(fake.PressHotkey(MOD_ALT, 'W'));
  EXPECT_EQ(P().Desktops().Current(), 4);
  O().cancelButton.RaiseClick();
}

TEST_F(OptionsDialogTest, ADesktopWithoutAStoredHotkeyShowsNone) {
  RestartWith("columns=3", "columns=4");  // desktops 10 to 12 have none
  O().Show();
  O().desktops.hotkeyDesktopList.SetListIndex(1);
  ASSERT_EQ(O().desktops.desktopKeyList.Text(), "6");
  O().desktops.hotkeyDesktopList.SetListIndex(9);
  EXPECT_EQ(O().desktops.desktopModifierList.ListIndex(), -1);
  EXPECT_EQ(O().desktops.desktopKeyList.ListIndex(), -1);
  EXPECT_FALSE(O().desktops.desktopHotkeyBox.Checked());
  EXPECT_EQ(Setting("HOTKEYS", "10"), "");          // nothing written for it
  EXPECT_TRUE(fake.PressHotkey(MOD_CONTROL, '6'));  // desktop 2's hotkey is untouched
  O().cancelButton.RaiseClick();
}

TEST_F(OptionsDialogTest, TheHotkeyButtonsOfPanicAndHideUnhideRegisterAtOnce) {
  O().Show();
  O().panic.panicKeyList.SetText("F9");
  O().panic.setPanicHotkeyButton.RaiseClick();
  EXPECT_TRUE(fake.PressHotkey(MOD_CONTROL, 0x78));  // panic: CTRL + F9 opens desktop 7
  EXPECT_EQ(P().Desktops().Current(), 7);
  EXPECT_EQ(Setting("ALERT", "key2"), "49");  // the file waits for OK
  O().Show();
  O().application.hideModifierList.SetText("SHIFT");
  O().application.hideKeyList.SetText("F8");
  O().application.setHideHotkeyButton.RaiseClick();
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[1].title, "Hotkeys Assigned");
  O().cancelButton.RaiseClick();
  P().ShowPager();
  EXPECT_TRUE(fake.PressHotkey(MOD_SHIFT, 0x77));
  EXPECT_FALSE(P().PagerShown());
}

TEST_F(OptionsDialogTest, ClearListAsksThroughTheSystemBoxAndForgetsTheListOnYes) {
  WriteFile("ignore.list", "Clock\r\nTicker\r\n");
  P().ignoreList.Reset();
  ASSERT_TRUE(P().ignoreList.Contains("Clock"));
  std::vector<std::vector<std::string>> asked;
  int answer = IDNO;
  fake.onMessageBox = [&](const std::string& text, const std::string& caption, uint32_t style) {
    asked.push_back({text, caption, std::to_string(style)});
    return answer;
  };
  O().Show();
  O().othersButton.RaiseClick();
  O().others.clearIgnoreListButton.RaiseClick();
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0], (std::vector<std::string>{"Are you sure you want to clear all blocked list ?",
                                                "Blocked List", "52"}));
  auto boxes = fake.CallsOn("MessageBoxA", O().hWnd());
  EXPECT_EQ(boxes.size(), 1u);  // owned by the dialog
  EXPECT_TRUE(std::filesystem::exists(File("ignore.list")));
  EXPECT_TRUE(P().ignoreList.Contains("Ticker"));

  answer = IDYES;
  O().others.clearIgnoreListButton.RaiseClick();
  EXPECT_FALSE(std::filesystem::exists(File("ignore.list")));
  EXPECT_FALSE(P().ignoreList.Contains("Clock"));
  EXPECT_FALSE(P().ignoreList.Contains("Ticker"));
  EXPECT_TRUE(P().ignoreList.Contains("Program Manager"));  // the built-in entries stay
  O().others.clearIgnoreListButton.RaiseClick();  // no file any more: nothing to delete, no fault
  EXPECT_TRUE(messages.empty());
  O().cancelButton.RaiseClick();
}

}  // namespace
}  // namespace vd::testing
