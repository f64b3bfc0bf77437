// The options dialog: its pages, the size fields, the controls that act at once, and what OK,
// Cancel and a close by the system do to the pager, its windows and the settings file.
#include <gtest/gtest.h>

#include <filesystem>

#include "OptionsProgram.h"

namespace vd::testing {
namespace {

using OptionsDialogTest = OptionsProgram;

TEST_F(OptionsDialogTest, EachPageButtonShowsItsPageAloneInFrontAndGeneralKeepsItsSubPage) {
  OptionsDialog& o = O();
  forms::Button* const buttons[] = {&o.generalButton,    &o.desktopsButton,    &o.panicButton,
                                    &o.appearanceButton, &o.applicationButton, &o.othersButton,
                                    &o.cancelButton};  // "gdpaAox"; the dialog shown after "x"
  forms::Frame* const pages[] = {&o.generalPage,      &o.desktops.frame,    &o.panic.frame,
                                 &o.appearance.frame, &o.application.frame, &o.others.frame};
  for (const auto& [clicks, shown] :
       std::vector<std::pair<std::string, std::string>>{{"p", "panicPage"},
                                                        {"a", "appearancePage"},
                                                        {"d", "desktopsPage"},
                                                        {"pg", "generalPage applicationPage width"},
                                                        {"oA", "generalPage applicationPage"},
                                                        {"opg", "generalPage othersPage"},
                                                        {"oax", "generalPage applicationPage"}}) {
    o.Show();
    o.application.heightField.SetFocus();
    o.application.widthField.SetSelection(1, 0);
    for (char k : clicks) {
      buttons[std::string("gdpaAox").find(k)]->RaiseClick();
      if (k == 'x') o.Show();
    }
    std::string seen;
    for (int i = 0; i < 6; ++i) {
      if (pages[i]->Visible() && (i < 4 || o.generalPage.Visible())) seen += " " + pages[i]->Name();
    }
    if (o.application.widthField.SelLength() == 2) seen += " width";  // focused, selected
    EXPECT_EQ(seen.substr(1), shown) << clicks;
    EXPECT_EQ(o.Children().front(), &o.CurrentPage()) << clicks;
    o.cancelButton.RaiseClick();
  }
}

// Opened from the main menu the dialog is top-most and holds the pager, and is moved by its
// background; the opacity and start with Windows act at once. Only OK saves and applies the
// edits; Cancel, and a close by the system, take the opacity back. A grid that shrinks moves the
// windows of vanished desktops to the last one and switches off a panic desktop beyond it, and
// the user is told; OK waits for a panic desktop.
TEST_F(OptionsDialogTest, OkSavesAndAppliesTheEditsAndCancelDropsThem) {
  const std::string warning = "Warning: Due to changes in the desktop dimension:\r\n\r\n",
                    moved = "- Application(s) has been relocated.",
                    panicOff = "- Panic hotkeys have been disabled.";
  auto edit = [this](int opacity, int autoStart) {
    return [=, this] {
      O().application.opacityList.SetListIndex(opacity);
      Retype(O().application.widthField, "40");
      O().others.previewBox.SetValue(0);
      O().others.autoStartBox.SetValue(autoStart);
    };
  };
  auto grid = [this](const char* columns, const char* rows, int panic) {  // -1: no desktop
    return [=, this] {
      O().panic.panicBox.SetValue(panic != 0);
      if (panic < 0) O().panic.panicDesktopList.SetListIndex(-1);
      Retype(O().application.columnsField, columns);
      Retype(O().application.rowsField, rows);
    };
  };
  const struct {
    const char* start;             // a line of the settings
    int mailOn, notesOn, current;  // Work is on desktop 1
    std::function<void()> edit;
    char close;  // 'o' OK, 'c' Cancel, 'x' closed by the system
    bool panic;  // on after
    const char* facts;
    std::string told;
  } cases[] = {
      {"", 1, 1, 1, edit(3, 1), 'c', true, "alpha=255 run=set transparent=0 width=30 auto_start=0",
       ""},
      {"auto_start=1", 1, 1, 1, edit(3, 0), 'x', true, "alpha=255 run=(none) auto_start=1", ""},
      {"", 1, 1, 1, edit(3, 1), 'o', true,
       "alpha=200 transparent=3 width=40 preview=0 auto_start=1", ""},
      {"transparent=3", 1, 1, 1, edit(0, 0), 'o', true, "alpha=255 transparent=0", ""},
      {"", 2, 1, 1, grid("3", "4", 1), 'o', true,
       "desktops=12 current=1 Work=1 Mail=2h Notes=1 rows=4", ""},
      {"", 5, 9, 1, grid("2", "2", 1), 'o', false,
       "desktops=4 current=1 Work=1 Mail=4h Notes=4h enabled=1",
       warning + moved + "\r\n" + panicOff},
      {"", 1, 1, 1, grid("3", "2", 1), 'o', false, "desktops=6 Work=1 Mail=1 Notes=1",
       warning + panicOff},
      {"", 8, 2, 8, grid("2", "1", 0), 'o', false, "desktops=2 current=2 Work=1h Mail=2 Notes=2",
       warning + moved},
      {"", 5, 1, 4, grid("2", "2", 0), 'o', false,
       "desktops=4 current=4 Work=1h Mail=4 Notes=1h enabled=0", warning + moved},
      {"", 1, 1, 1, grid("3", "2", -1), 'o', true, "desktops=6 desktop=2 enabled=1",
       "Required Value: Please enter panic desktop value."}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.facts);
    StartAgain(c.start);
    if (!program->settings.autoStart) AutoStart::AppAutoStop(fake);
    P().Desktops().Place(c.mailOn, mail, 0, 0, 0, 0);
    P().Desktops().Place(c.notesOn, notes, 0, 0, 0, 0);
    P().Desktops().Open(c.current);
    const std::string before = ReadFile("settings.ini");
    const int keys = O().desktops.desktopKeyList.ListCount();
    bool held = false, dragged = false;
    inDialog = [&] {
      P().HidePager();  // what auto-hide or the hide/unhide hotkey would do
      held = fake.IsTopMost(O().hWnd()) && P().IsShown() && P().PagerShown() && P().DialogOpen();
      c.edit();
      EXPECT_EQ(fake.Alpha(P().hWnd()),
                Settings::AlphaOfOpacity(O().application.opacityList.ListIndex()));
      EXPECT_EQ(RunValue() != "(none)", O().others.autoStartBox.Checked());
      fake.ClearCalls();
      O().RaiseMouseDown(forms::kLeftButton, 0, 100, 100);
      const auto moves = fake.CallsOn("SendMessageA", O().hWnd());
      dragged = moves.size() == 1 &&
                moves[0].args[1] + " " + moves[0].args[2] ==
                    std::to_string(WM_NCLBUTTONDOWN) + " " + std::to_string(HTCAPTION);
      fake.ClearCalls();
      if (c.close == 'x') O().Dispatch(WM_CLOSE, 0, 0);
      if (c.close != 'x') (c.close == 'o' ? O().okButton : O().cancelButton).RaiseClick();
      if (!O().IsShown()) return;  // OK refused: the dialog waits, holding the pager
      ExpectFacts("dialog=panicPage1 desktops=9 columns=3");
      O().panic.panicDesktopList.SetListIndex(1);
      O().okButton.RaiseClick();
    };
    P().optionsEntry.RaiseClick();
    EXPECT_TRUE(held && dragged && O().IsLoaded());
    ExpectFacts(c.facts);
    EXPECT_EQ(Told(), c.told);
    EXPECT_TRUE(c.close == 'o' || ReadFile("settings.ini") == before);
    EXPECT_EQ(fake.CallsOn("UnregisterHotKey", P().hWnd()).empty(), c.close != 'o');  // rebuilt
    const int n = P().Desktops().Count(), current = P().Desktops().Current();
    EXPECT_EQ(P().statusLabel.Caption(), "Desktop " + std::to_string(current));
    const forms::Shape& box = P().selectionBox;  // around the current desktop's cell
    const forms::PictureBox& cell = P().cells(current);
    EXPECT_TRUE(box.Left() < cell.Left() && box.Top() < cell.Top() &&
                box.Left() + box.Width() > cell.Left() + cell.Width());
    EXPECT_FALSE(P().windowMenu.moveToEntries.Exists(n + 1));
    EXPECT_EQ(program->settings.panicEnabled, c.panic);
    ExpectFacts("pager=shown1 dialog=closed0");
    O().Show();  // it shows the settings in effect, each list with its entries once
    const ApplicationPage& a = O().application;
    EXPECT_EQ(Saved("transparent preview width columns"),
              "transparent=" + std::to_string(a.opacityList.ListIndex()) +
                  " preview=" + std::to_string(O().others.previewBox.Checked()) +
                  " width=" + a.widthField.Text() + " columns=" + a.columnsField.Text());
    EXPECT_EQ(O().desktops.desktopKeyList.ListCount(), keys);
    O().cancelButton.RaiseClick();
    P().HidePager();
    ExpectFacts("pager=hidden0");
    P().ShowPager();
    EXPECT_EQ(fake.PressHotkey(MOD_CONTROL, 0x7A), c.panic);  // CTRL+F11
  }
}

// Columns, rows, width and height typed in turn ("=": pasted): digits only, as many as each
// field takes; OK waits for every field and a grid of 1 x 1 at least; 0 % is applied as 1 %.
TEST_F(OptionsDialogTest, TheSizeFieldsTakeDigitsAndOkWaitsForAUsableGrid) {
  ApplicationPage& a = O().application;
  const struct {
    const char *typed, *shown;
    bool ok;
  } cases[] = {{"3 \b 1a2.57 55", "3  125 55", false},
               {"45 0 125\b0 20", "4 0 120 20", false},
               {"0 2 =12345 =4x05", "0 2 123 405", false},
               {"1 1 30 20", "1 1 30 20", true},
               {"3 =2- \b 20", "3 2  20", false},
               {"3 2 30 \b", "3 2 30 ", false},
               {"3 2 30 0", "3 2 30 0", true}};
  for (const auto& c : cases) {
    O().Show();  // forgets the edits' mark
    EXPECT_FALSE(a.DimensionsChanged());
    std::istringstream typed(c.typed);
    std::string keys, shown;
    for (forms::TextBox* f : {&a.columnsField, &a.rowsField, &a.widthField, &a.heightField}) {
      typed >> keys;
      keys[0] == '=' ? f->SetText(keys.substr(1)) : Retype(*f, keys);
      shown += (shown.empty() ? "" : " ") + f->Text();
    }
    EXPECT_EQ(shown, c.shown);
    EXPECT_TRUE(a.DimensionsChanged());
    EXPECT_EQ(O().okButton.Enabled(), c.ok) << c.typed;
    O().cancelButton.RaiseClick();
  }
}

// The grid, the summoned window and auto-hide stay as they are; the current desktop's windows
// are pictured afresh, those whose pictures did not change too.
TEST_F(OptionsDialogTest, OkWithTheSameDimensionsKeepsTheGridAndPicturesTheCurrentDesktop) {
  P().Desktops().Place(2, mail, 0, 0, 0, 0);
  P().Tracker().RestartAutoHide();
  P().Tracker().UpdateActiveWindow(notes, 1, false);
  P().windowMenu.Open(mail);
  P().windowMenu.summonEntry.RaiseClick();
  auto centres = [this] {
    std::vector<uint32_t> centres;
    for (Hwnd h : {work, notes, mail}) {
      const Bitmap& b = MiniatureOf(h).Surface();
      centres.push_back(b.Empty() ? 0xFF000000u : b.GetPixel(b.Width() / 2, b.Height() / 2));
    }
    return centres;
  };
  fake.onChooseColor = [](uint32_t* colour) { return *colour = 0x123456, true; };
  O().Show();
  O().others.autoHideBox.SetValue(1);
  O().appearance.colourButtons(2).RaiseClick();
  fake.onChooseColor = nullptr;                     // cancels:
  O().appearance.colourButtons(1).RaiseClick();     // no change
  EXPECT_EQ(program->settings.colorHover, 65280u);  // the pager takes it at OK
  O().application.opacityList.SetListIndex(2);
  fake.SetWindowPicture(notes, Bitmap(400, 300, 0x0000AA));
  P().Miniatures().Capture(notes);
  fake.SetWindowPicture(work, Bitmap(400, 300, 0x00FF00));
  fake.SetWindowPicture(mail, Bitmap(400, 300, 0x0000FF));
  const uint32_t mailBefore = centres()[2];  // another desktop's
  fake.ClearCalls();
  O().okButton.RaiseClick();
  EXPECT_EQ(centres(), std::vector<uint32_t>({0x00FF00, 0x0000AA, mailBefore}));
  EXPECT_TRUE(fake.CallsOn("UnregisterHotKey", P().hWnd()).empty());  // not rebuilt
  EXPECT_EQ(program->settings.colorHover, 0x123456u);
  ExpectFacts("desktops=9 alpha=150 pager=shown1 Mail=2 color_hover=1193046 color_normal=255");
  EXPECT_EQ(P().Tracker().SummonedWindow(), mail);
  EXPECT_EQ(Told(), "");
  P().BlankCurrentMiniatures();  // the current desktop's only
  EXPECT_TRUE(centres()[0] != 0x00FF00u && centres()[2] == mailBefore);
}

// Choosing a desktop shows its stored hotkey, enabled or not, and none for a desktop the file
// has none for; the file and the hotkeys stay as they were. "Set Hotkey" acts at once.
TEST_F(OptionsDialogTest, TheDesktopListShowsEachDesktopsStoredHotkey) {
  StartAgain("columns=4");
  DesktopsPage& d = O().desktops;
  const struct {
    int desktop;
    const char *shown, *stored;
    uint32_t mod, vk;  // works when enabled
  } cases[] = {{2, "CTRL+6 on", "2=1,12,1", MOD_CONTROL, '6'},
               {10, "+ off", "10=", MOD_CONTROL, '6'},
               {4, "ALT+4 off", "4=0,10,0", MOD_ALT, '4'},
               {9, "ALT+9 on", "9=0,15,1", MOD_ALT, '9'}};
  O().Show();
  EXPECT_FALSE(d.desktopHotkeyBox.Enabled() || d.setDesktopHotkeyButton.Enabled());
  for (const auto& c : cases) {
    d.hotkeyDesktopList.SetListIndex(c.desktop - 1);
    const bool on = d.desktopHotkeyBox.Checked();
    EXPECT_EQ(d.desktopModifierList.Text() + "+" + d.desktopKeyList.Text() + (on ? " on" : " off"),
              c.shown);
    EXPECT_EQ(d.desktopHotkeyBox.Enabled() + d.desktopModifierList.Enabled() +
                  d.desktopKeyList.Enabled() + d.setDesktopHotkeyButton.Enabled(),
              on ? 4 : 1);
    EXPECT_EQ(Saved(std::to_string(c.desktop)), c.stored);
    EXPECT_EQ(fake.PressHotkey(c.mod, c.vk), on || c.desktop == 10) << c.desktop;
  }
  d.hotkeyDesktopList.SetListIndex(3);
  d.desktopHotkeyBox.SetValue(1);
  d.desktopKeyList.SetText("W");
  d.setDesktopHotkeyButton.RaiseClick();
  EXPECT_EQ(Told(), "Hotkeys Assigned: Selected hotkeys have been assigned successfully.");
  EXPECT_TRUE(fake.PressHotkey(MOD_ALT, 'W'));
  ExpectFacts("current=4 4=0,38,1");
}

TEST_F(OptionsDialogTest, ClearListAsksThroughTheSystemBoxAndForgetsTheListOnYesOnly) {
  WriteFile("ignore.list", "Clock\r\nTicker\r\n");
  P().ignoreList.Reset();
  std::vector<std::string> asked;
  fake.onMessageBox = [&](const std::string& text, const std::string& caption, uint32_t style) {
    asked.push_back(caption + ": " + text + " " + std::to_string(style));
    return asked.size() == 1 ? IDNO : IDYES;
  };
  O().Show();
  for (bool yes : {false, true, true}) {  // the last time there is no file left to delete
    O().others.clearIgnoreListButton.RaiseClick();
    EXPECT_EQ(asked.back(), "Blocked List: Are you sure you want to clear all blocked list ? 52");
    EXPECT_EQ(fake.CallsOn("MessageBoxA", O().hWnd()).size(), asked.size());  // the dialog's
    EXPECT_EQ(std::filesystem::exists(File("ignore.list")), !yes);
    EXPECT_EQ(P().ignoreList.Contains("Clock") + P().ignoreList.Contains("Ticker"), yes ? 0 : 2);
    EXPECT_TRUE(P().ignoreList.Contains("Program Manager") && Told().empty());
  }
}

}  // namespace
}  // namespace vd::testing
