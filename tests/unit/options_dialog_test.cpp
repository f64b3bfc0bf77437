// The options dialog: its pages, the size fields, the controls that act at once, and what OK,
// Cancel and a close by the system do to the pager, its windows and the settings file.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "OptionsProgram.h"
#include "settings/AutoStart.h"

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
    if (o.application.widthField.SelLength() == 2) seen += " width";
    EXPECT_EQ(seen.substr(1), shown) << clicks;
    EXPECT_EQ(o.Children().front(), &o.CurrentPage()) << clicks;
    o.cancelButton.RaiseClick();
  }
}

// Opened from the main menu the dialog is top-most and keeps the pager from hiding; only OK
// saves and applies the edits, a close by the system is a Cancel, and the dialog stays loaded.
// The opacity shows at once and Cancel takes it back; start with Windows acts at once.
TEST_F(OptionsDialogTest, OnlyOkSavesTheEditsAndEveryCloseLetsThePagerHideAgain) {
  const std::string before = ReadFile("settings.ini");
  const int keys = O().desktops.desktopKeyList.ListCount();
  const struct {
    forms::Button* close;  // nullptr: closed by the system
    int opacity, autoStart;
    const char *saved, *autoStartSaved;  // transparent, preview and width; auto_start
    int alpha;
  } cases[] = {{&O().cancelButton, 3, 1, "0 1 30", "0", 255},
               {nullptr, 3, 0, "0 1 30", "0", 255},
               {&O().okButton, 3, 1, "3 0 40", "1", 200},
               {&O().okButton, 0, 0, "0 0 40", "0", 255}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.saved);
    bool inFront = false, atOnce = false, dragged = false;
    inDialog = [&] {
      P().HidePager();  // what auto-hide or the hide/unhide hotkey would do
      inFront = fake.IsTopMost(O().hWnd()) && P().PagerShown() && P().DialogOpen();
      O().application.opacityList.SetListIndex(c.opacity);
      atOnce = fake.Alpha(P().hWnd()) == Settings::AlphaOfOpacity(c.opacity);
      Retype(O().application.widthField, "40");
      O().others.previewBox.SetValue(0);
      O().others.autoStartBox.SetValue(c.autoStart);
      atOnce = atOnce &&
               RunValue() == (c.autoStart ? AutoStart::RunCommand(fake.ProgramFolder()) : "(none)");
      fake.ClearCalls();  // dragged by its background, the system moves it
      O().RaiseMouseDown(forms::kLeftButton, 0, 100, 100);
      auto moves = fake.CallsOn("SendMessageA", O().hWnd());
      dragged = moves.size() == 1 && moves[0].args[1] == std::to_string(WM_NCLBUTTONDOWN) &&
                moves[0].args[2] == std::to_string(HTCAPTION);
      c.close ? c.close->RaiseClick() : void(O().Dispatch(WM_CLOSE, 0, 0));
    };
    P().optionsEntry.RaiseClick();
    EXPECT_TRUE(inFront && atOnce && dragged && O().IsLoaded());
    EXPECT_FALSE(O().IsShown() || P().DialogOpen());
    EXPECT_EQ(fake.Alpha(P().hWnd()), c.alpha);
    EXPECT_EQ(Setting("SETUP", "transparent") + " " + Setting("SETUP", "preview") + " " +
                  Setting("SETUP", "width"),
              c.saved);
    EXPECT_EQ(Setting("SETUP", "auto_start"), c.autoStartSaved);
    EXPECT_EQ(RunValue(), c.autoStart ? AutoStart::RunCommand(fake.ProgramFolder()) : "(none)");
    EXPECT_TRUE(c.close == &O().okButton || ReadFile("settings.ini") == before);
    EXPECT_EQ(Told(), "");
    O().Show();  // it shows the settings in effect, each list with its entries once
    const ApplicationPage& a = O().application;
    EXPECT_EQ(std::to_string(a.opacityList.ListIndex()) + " " +
                  (O().others.previewBox.Checked() ? "1 " : "0 ") + a.widthField.Text(),
              c.saved);
    EXPECT_EQ(program->settings.preview, O().others.previewBox.Checked());
    EXPECT_EQ(O().desktops.desktopKeyList.ListCount(), keys);
    O().cancelButton.RaiseClick();
    P().HidePager();
    EXPECT_FALSE(P().PagerShown());
    P().ShowPager();
  }
}

// Columns, rows, width and height typed in turn ("=" pasted): digits only, as many as each
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
  std::vector<float> widths;  // above 100 % kept as typed and applied as 100 %
  for (const char* width : {"100", "250", "99"}) {
    O().Show();
    Retype(a.widthField, width);
    O().okButton.RaiseClick();
    EXPECT_EQ(Setting("SETUP", "width"), width);
    widths.push_back(P().Width());
  }
  EXPECT_TRUE(widths[1] == widths[0] && widths[2] < widths[0]);
}

// The windows of vanished desktops go to the last one, a panic desktop beyond the grid switches
// panic off, the current desktop is one the grid has, and the user is told; OK waits for a panic
// desktop.
TEST_F(OptionsDialogTest, OkWithNewDimensionsRebuildsTheGridAndTellsWhatMoved) {
  const std::string warning = "Warning: Due to changes in the desktop dimension:\r\n\r\n",
                    moved = "- Application(s) has been relocated.",
                    panicOff = "- Panic hotkeys have been disabled.";
  const struct {
    const char *columns, *rows;
    int mailOn, notesOn, current;  // before
    int panic;  // the box: 0 off, 1 on (desktop 7); on with -1 no desktop, 2 desktop 2 chosen
    std::string seen, told;  // Work, Mail and Notes after: their desktops, "h" when hidden
  } cases[] = {{"3", "4", 2, 1, 1, 1, "12 desktops (3x4), on 1: 1 2h 1", ""},
               {"2", "2", 5, 9, 1, 1, "4 desktops (2x2), on 1: 1 4h 4h",
                warning + moved + "\r\n" + panicOff},
               {"3", "2", 1, 1, 1, 1, "6 desktops (3x2), on 1: 1 1 1", warning + panicOff},
               {"2", "1", 8, 2, 8, 0, "2 desktops (2x1), on 2: 1h 2 2", warning + moved},
               {"2", "2", 5, 1, 4, 0, "4 desktops (2x2), on 4: 1h 4 1h", warning + moved},
               {"3", "2", 1, 1, 1, -1, "9 desktops (3x3), on 1: 1 1 1, dialog on panicPage",
                "Required Value: Please enter panic desktop value."},
               {"3", "2", 1, 1, 1, 2, "6 desktops (3x2), on 1: 1 1 1", ""}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.seen);
    StartAgain();
    P().Desktops().Place(c.mailOn, mail, 0, 0, 0, 0);
    P().Desktops().Place(c.notesOn, notes, 0, 0, 0, 0);
    P().Desktops().Open(c.current);
    O().Show();
    O().panic.panicBox.SetValue(c.panic != 0);
    if (c.panic == -1 || c.panic == 2)
      O().panic.panicDesktopList.SetListIndex(c.panic == 2 ? 1 : -1);
    Retype(O().application.columnsField, c.columns);
    Retype(O().application.rowsField, c.rows);
    fake.ClearCalls();
    O().okButton.RaiseClick();
    const int n = P().Desktops().Count(), current = P().Desktops().Current();
    std::string seen = std::to_string(n) + " desktops (" + Setting("SETUP", "columns") + "x" +
                       Setting("SETUP", "rows") + "), on " + std::to_string(current) + ":";
    for (Hwnd h : {work, mail, notes})
      seen += " " + std::to_string(DesktopOf(h)) + (fake.IsWindowVisible(h) ? "" : "h");
    if (O().IsShown()) seen += ", dialog on " + O().CurrentPage().Name();
    EXPECT_EQ(seen, c.seen);
    EXPECT_EQ(Told(), c.told);
    EXPECT_EQ(P().DialogOpen(), O().IsShown());  // the pager must not hide meanwhile
    EXPECT_EQ(fake.CallsOn("UnregisterHotKey", P().hWnd()).empty(), O().IsShown());  // rebuilt
    EXPECT_EQ(P().statusLabel.Caption(), "Desktop " + std::to_string(current));
    const forms::Shape& box = P().selectionBox;  // around the current desktop's cell
    const forms::PictureBox& cell = P().cells(current);
    EXPECT_TRUE(box.Left() < cell.Left() && box.Top() < cell.Top() &&
                box.Left() + box.Width() > cell.Left() + cell.Width());
    EXPECT_TRUE(P().IsShown() && P().PagerShown());
    EXPECT_FALSE(P().windowMenu.moveToEntries.Exists(n + 1));
    // The file keeps "enabled" as the dialog showed it, until the next OK.
    EXPECT_EQ(Setting("ALERT", "enabled") + Setting("ALERT", "desktop"),
              std::string(c.panic ? "1" : "0") + (c.panic == 2 ? "2" : "7"));
    const bool panicOn = c.panic != 0 && (c.panic == 2 ? 2 : 7) <= n;
    EXPECT_EQ(program->settings.panicEnabled, panicOn);
    EXPECT_EQ(fake.PressHotkey(MOD_CONTROL, 0x7A), panicOn);  // CTRL+F11
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
  auto centre = [this](Hwnd h) {
    const Bitmap& b = MiniatureOf(h).Surface();
    return b.Empty() ? 0xFF000000u : b.GetPixel(b.Width() / 2, b.Height() / 2);
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
  const uint32_t mailBefore = centre(mail);  // another desktop's
  fake.ClearCalls();
  O().okButton.RaiseClick();
  EXPECT_EQ(std::vector<uint32_t>({centre(work), centre(notes), centre(mail)}),
            std::vector<uint32_t>({0x00FF00, 0x0000AA, mailBefore}));
  EXPECT_TRUE(fake.CallsOn("UnregisterHotKey", P().hWnd()).empty());  // not rebuilt
  EXPECT_EQ(program->settings.colorHover, 0x123456u);
  EXPECT_EQ(Setting("SETUP", "color_hover") + " " + Setting("SETUP", "color_normal"),
            "1193046 255");
  EXPECT_EQ(fake.Alpha(P().hWnd()), 150);  // "Medium"
  EXPECT_TRUE(P().IsShown() && P().PagerShown() && fake.IsWindowVisible(mail));
  EXPECT_EQ(P().Tracker().SummonedWindow(), mail);
  EXPECT_EQ(Told(), "");
  P().BlankCurrentMiniatures();  // the current desktop's only
  EXPECT_TRUE(centre(work) != 0x00FF00u && centre(mail) == mailBefore);
}

// Choosing a desktop shows its stored hotkey, enabled or not, and none for a desktop the file
// has none for; the file and the hotkeys stay as they were. "Set Hotkey" acts at once.
TEST_F(OptionsDialogTest, TheDesktopListShowsEachDesktopsStoredHotkey) {
  StartAgain("columns=3", "columns=4");
  DesktopsPage& d = O().desktops;
  const struct {
    int desktop;
    const char *shown, *stored;
    uint32_t mod, vk;  // works when enabled
  } cases[] = {{2, "CTRL+6 on", "1,12,1", MOD_CONTROL, '6'},
               {10, "+ off", "", MOD_CONTROL, '6'},
               {4, "ALT+4 off", "0,10,0", MOD_ALT, '4'},
               {9, "ALT+9 on", "0,15,1", MOD_ALT, '9'}};
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
    EXPECT_EQ(Setting("HOTKEYS", std::to_string(c.desktop)), c.stored);
    EXPECT_EQ(fake.PressHotkey(c.mod, c.vk), on || c.stored[0] == '\0') << c.desktop;
  }
  d.hotkeyDesktopList.SetListIndex(3);
  d.desktopHotkeyBox.SetValue(1);
  d.desktopKeyList.SetText("W");
  d.setDesktopHotkeyButton.RaiseClick();
  EXPECT_EQ(Setting("HOTKEYS", "4"), "0,38,1");
  EXPECT_EQ(Told(), "Hotkeys Assigned: Selected hotkeys have been assigned successfully.");
  EXPECT_TRUE(fake.PressHotkey(MOD_ALT, 'W'));
  EXPECT_EQ(P().Desktops().Current(), 4);
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
    EXPECT_TRUE(P().ignoreList.Contains("Program Manager"));  // the built-in entries stay
  }
  EXPECT_EQ(Told(), "");
}

}  // namespace
}  // namespace vd::testing
