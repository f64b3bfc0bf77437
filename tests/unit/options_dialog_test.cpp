// The options dialog: the size fields, the controls that act at once, and what OK,
// Cancel and a close by the system do to the pager, its windows and the settings file.
#include <gtest/gtest.h>

#include <filesystem>

#include "OptionsProgram.h"

namespace vd::testing {
namespace {

using OptionsDialogTest = OptionsProgram;

// Opened from the main menu the dialog is top-most, holds the pager and is moved by its
// background; the opacity and start with Windows act at once. Only OK saves and applies the
// edits (a desktop's name among them, shown by the pager); Cancel, and a close by the system,
// drop them and take the opacity back. A grid that shrinks moves the
// windows of vanished desktops to the last one and switches off a panic desktop (7) beyond it,
// and the user is told; OK waits for a panic desktop.
TEST_F(OptionsDialogTest, OkSavesAndAppliesTheEditsAndCancelDropsThem) {
  const std::string warning = "Warning: Due to changes in the desktop dimension:\r\n\r\n",
                    moved = "- Application(s) has been relocated.",
                    panicOff = "- Panic hotkeys have been disabled.",
                    edits =
                        "hotkeyDesktopList=0 nameField=Mail wrapBox=1 noteBox=0 opacityList=3 "
                        "widthField=40 previewBox=0 autoStartBox=";
  const struct {
    const char* start;             // a line of the settings
    int mailOn, notesOn, current;  // Work is on desktop 1
    std::string edits;             // the last one closes the dialog
    const char* facts;
    std::string told;
  } cases[] = {
      {"", 1, 1, 1, edits + "1 cancelButton",
       "alpha=255 run=set transparent=0 width=30 preview=1 status=Desktop_1 cell1=- NAMES/1= "
       "KEYS/wrap=",
       ""},
      {"auto_start=1", 1, 1, 1, edits + "0 WM_CLOSE", "alpha=255 run=(none) auto_start=1 cell1=-",
       ""},
      {"", 1, 1, 1, edits + "1 okButton",
       "alpha=200 transparent=3 width=40 preview=0 auto_start=1 status=1:_Mail cell1=Mail "
       "NAMES/1=Mail KEYS/wrap=1 KEYS/note=0",
       ""},
      {"transparent=3", 1, 1, 1, "opacityList=0 widthField=40 okButton", "alpha=255 transparent=0",
       ""},
      {"", 2, 1, 1, "rowsField=\b rowsField=4 okButton",
       "desktops=12 current=1 Work=1 Mail=2h Notes=1 rows=4 transparent=0 preview=1", ""},
      {"", 5, 9, 1, "columnsField=2 rowsField=2 okButton",
       "desktops=4 current=1 Work=1 Mail=4h Notes=4h enabled=1",
       warning + moved + "\r\n" + panicOff},
      {"", 1, 1, 1, "rowsField=2 okButton", "desktops=6 Work=1 Mail=1 Notes=1", warning + panicOff},
      {"", 8, 2, 8, "panicBox=0 columnsField=2 rowsField=1 okButton",
       "desktops=2 current=2 Work=1h Mail=2 Notes=2", warning + moved},
      {"", 5, 1, 4, "panicBox=0 columnsField=2 rowsField=2 okButton",
       "desktops=4 current=4 Work=1h Mail=4 Notes=1h enabled=0", warning + moved},
      {"", 1, 1, 1, "panicDesktopList=-1 rowsField=2 okButton", "desktops=6 desktop=2 enabled=1",
       "Required Value: Please enter panic desktop value."}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.facts);
    AutoStart::AppAutoStop(fake);
    fake.ClearCalls();
    StartAgain(c.start);  // writes the Run value again when on: the program may have moved
    ExpectFacts(program->settings.autoStart ? "run=set" : "run=(none)");
    P().Desktops().Place(c.mailOn, mail, 0, 0, 0, 0);
    P().Desktops().Place(c.notesOn, notes, 0, 0, 0, 0);
    P().Desktops().Open(c.current);
    const std::string before = ReadFile("settings.ini");
    bool held = false, dragged = false;
    int keysOpened = 0;  // showing the dialog leaves the registry alone
    for (const fake::Call& call : fake.Calls()) keysOpened -= call.name == "RegOpenKeyExW";
    EXPECT_EQ(-keysOpened, program->settings.autoStart ? 1 : 0);
    inDialog = [&] {
      for (const fake::Call& call : fake.Calls()) keysOpened += call.name == "RegOpenKeyExW";
      P().HidePager();  // what auto-hide or the hide/unhide hotkey would do
      held = fake.IsTopMost(O().hWnd()) && P().IsShown() && P().PagerShown() && P().DialogOpen();
      fake.ClearCalls();
      O().RaiseMouseDown(forms::kLeftButton, 0, 100, 100);
      const auto moves = fake.CallsOn("SendMessageA", O().hWnd());
      dragged = moves.size() == 1 && moves[0].args[2] == std::to_string(HTCAPTION);
      fake.ClearCalls();
      Edit(c.edits.substr(0, c.edits.rfind(' ')));
      EXPECT_EQ(fake.Alpha(P().hWnd()),
                Settings::AlphaOfOpacity(O().application.opacityList.ListIndex()));
      EXPECT_EQ(RunValue() != "(none)", O().others.autoStartBox.Checked());
      Edit(c.edits.substr(c.edits.rfind(' ')));
      if (!O().IsShown()) return;  // OK refused: the dialog waits, holding the pager
      ExpectFacts("dialog=panicPage1 desktops=9 columns=3");
      Edit("panicDesktopList=1 okButton");
    };
    P().optionsEntry.RaiseClick();
    EXPECT_TRUE(held && dragged && O().IsLoaded() && keysOpened == 0);
    ExpectFacts(std::string(c.facts) + " pager=shown1 dialog=closed0");
    EXPECT_EQ(Told(), c.told);
    const bool ok = c.edits.find("okButton") != std::string::npos;
    EXPECT_TRUE(ok || ReadFile("settings.ini") == before);
    EXPECT_EQ(fake.CallsOn("UnregisterHotKey", P().hWnd()).empty(), !ok);  // rebuilt
    const int n = P().Desktops().Count(), current = P().Desktops().Current();
    EXPECT_EQ(P().statusLabel.Caption(), DesktopTitle(program->settings, current));
    const forms::Shape& box = P().selectionBox;  // around the current desktop's cell
    const forms::PictureBox& cell = P().cells(current);
    EXPECT_TRUE(box.Left() < cell.Left() && box.Top() < cell.Top() &&
                box.Left() + box.Width() > cell.Left() + cell.Width());
    EXPECT_FALSE(P().windowMenu.moveToEntries.Exists(n + 1));
    P().HidePager();
    ExpectFacts("pager=hidden0");
    P().SetLeft(-3000);  // dragged half off the screen before it was put away
    P().ShowPager();
    EXPECT_GE(P().Left(), 0) << "back on the screen";
    const bool panic = Saved("enabled") == "enabled=1" && program->settings.panicDesktop <= n;
    EXPECT_EQ(program->settings.panicEnabled, panic);
    EXPECT_EQ(fake.PressHotkey(MOD_ALT, 0x7A), panic);  // ALT+F11
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
  // Shown again and again, it lists each desktop once.
  EXPECT_EQ(O().panic.panicDesktopList.ListCount() + O().desktops.hotkeyDesktopList.ListCount(),
            18);
}

// The grid, the summoned window and auto-hide stay as they are, the pager comes back; the
// current desktop's windows are pictured afresh, those whose pictures did not change too; a
// colour picked is taken at OK.
TEST_F(OptionsDialogTest, OkWithTheSameDimensionsKeepsTheGridAndPicturesTheCurrentDesktop) {
  P().Desktops().Place(2, mail, 0, 0, 0, 0);
  P().HidePager();  // put away: the dialog was opened from the tray
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
  O().appearance.colourButtons(2).RaiseClick();
  fake.onChooseColor = nullptr;                     // cancels:
  O().appearance.colourButtons(1).RaiseClick();     // no change
  EXPECT_EQ(program->settings.colorHover, 65280u);  // the pager takes it at OK
  Edit("autoHideBox=1 opacityList=2");
  fake.SetWindowPicture(notes, Bitmap(400, 300, 0x0000AA));
  P().Miniatures().Capture(notes);
  fake.SetWindowPicture(work, Bitmap(400, 300, 0x00FF00));
  fake.SetWindowPicture(mail, Bitmap(400, 300, 0x0000FF));
  const uint32_t mailBefore = centres()[2];  // another desktop's
  fake.ClearCalls();
  Edit("okButton");
  EXPECT_EQ(centres(), std::vector<uint32_t>({0x00FF00, 0x0000AA, mailBefore}));
  EXPECT_TRUE(fake.CallsOn("UnregisterHotKey", P().hWnd()).empty());  // not rebuilt
  EXPECT_EQ(program->settings.colorHover, 0x123456u);
  ExpectFacts("desktops=9 alpha=150 pager=shown1 Mail=2 color_hover=1193046 color_normal=255");
  EXPECT_TRUE(P().Tracker().SummonedWindow() == mail && Told().empty());
  P().BlankCurrentMiniatures();  // the current desktop's only
  EXPECT_TRUE(centres()[0] != 0x00FF00u && centres()[2] == mailBefore);
}

// Choosing a desktop shows its name and its stored hotkeys (to open it, to send the front window
// there), enabled or not, and none for a desktop the file has none for; the file and the hotkeys
// stay as they were. "Set Hotkey" acts at once; a name is at most 32 characters, and the dialog
// shown again lists the names OK saved.
TEST_F(OptionsDialogTest, TheDesktopListShowsEachDesktopsNameAndStoredHotkeys) {
  StartAgain("columns=4");
  program->settings.desktopNames[2] = "Mail";
  DesktopsPage& d = O().desktops;
  const struct {
    int desktop;
    const char *shown, *stored;
    uint32_t mod, vk;  // works when enabled
  } cases[] = {{2, "2: Mail [Mail] CTRL+6 on WIN+CTRL+ALT+2 on", "2=1,12,1", MOD_CONTROL, '6'},
               {10, "Desktop 10 [] + off + off", "10=", MOD_CONTROL, '6'},
               {4, "Desktop 4 [] ALT+4 off WIN+CTRL+ALT+4 on", "4=0,10,0", MOD_ALT, '4'},
               {9, "Desktop 9 [] ALT+9 on WIN+CTRL+ALT+9 on", "9=0,15,1", MOD_ALT, '9'}};
  O().Show();
  EXPECT_FALSE(d.nameField.Enabled() || d.desktopRow.enabledBox.Enabled() ||
               d.sendRow.setButton.Enabled());
  const std::string before = ReadFile("settings.ini");
  for (const auto& c : cases) {
    d.hotkeyDesktopList.SetListIndex(c.desktop - 1);
    std::string shown = d.hotkeyDesktopList.Text() + " [" + d.nameField.Text() + "]";
    for (HotkeyRow* row : {&d.desktopRow, &d.sendRow}) {
      const bool on = row->enabledBox.Checked();
      shown += " " + row->modifierList.Text() + "+" + row->keyList.Text() + (on ? " on" : " off");
      EXPECT_EQ(row->enabledBox.Enabled() + row->modifierList.Enabled() + row->keyList.Enabled() +
                    row->setButton.Enabled(),
                on ? 4 : 1);
    }
    EXPECT_EQ(shown, c.shown);
    EXPECT_EQ(Saved(std::to_string(c.desktop)), c.stored);
    EXPECT_EQ(fake.PressHotkey(c.mod, c.vk), d.desktopRow.enabledBox.Checked() || c.desktop == 10)
        << c.desktop;
  }
  EXPECT_EQ(ReadFile("settings.ini"), before);
  Edit("hotkeyDesktopList=3 desktopHotkeyBox=1 desktopKeyList=38 setDesktopHotkeyButton");
  EXPECT_EQ(Told(), "Hotkeys Assigned: Selected hotkeys have been assigned successfully.");
  EXPECT_TRUE(fake.PressHotkey(MOD_ALT, 'W'));
  ExpectFacts("current=4 4=0,38,1");
  Edit("nameField=Games_and_everything_else_I_play_too okButton");
  O().Show();
  Edit("hotkeyDesktopList=3");
  EXPECT_EQ(d.hotkeyDesktopList.Text() + " [" + d.nameField.Text() + "]",
            "4: Games_and_everything_else_I_play [Games_and_everything_else_I_play]");
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
    Edit("clearIgnoreListButton");
    EXPECT_EQ(asked.back(), "Blocked List: Are you sure you want to clear all blocked list ? 52");
    EXPECT_EQ(fake.CallsOn("MessageBoxW", O().hWnd()).size(), asked.size());  // the dialog's
    EXPECT_EQ(std::filesystem::exists(File("ignore.list")), !yes);
    EXPECT_EQ(P().ignoreList.Contains("Clock") + P().ignoreList.Contains("Ticker"), yes ? 0 : 2);
    EXPECT_TRUE(P().ignoreList.Contains("Program Manager") && Told().empty());
  }
}

}  // namespace
}  // namespace vd::testing
