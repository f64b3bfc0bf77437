// The notification-area icon (its record, the pager toggled by the left button, the main menu
// on the right button) and start with Windows (the Run value and the keys it is written with).
#include <gtest/gtest.h>

#include "OptionsProgram.h"
#include "pager/TrayIcon.h"
#include "settings/AutoStart.h"

namespace vd::testing {
namespace {

using Tray = OptionsProgram;

// The registry calls, "name;" each, a value set preceded by its name, type and length.
std::string RegistryCalls(const fake::FakeWindowSystem& fake) {
  std::string calls;
  for (const fake::Call& c : fake.Calls()) {
    if (c.name == "RegSetValueExA") calls += c.args[1] + " " + c.args[2] + " " + c.args[4] + " ";
    if (c.name.rfind("Reg", 0) == 0 && c.name != "RegisterHotKey") calls += c.name + ";";
  }
  return calls;
}

TEST_F(Tray, TheIconIsAddedAtStartWithItsRecordAndRemovedAtExit) {
  ASSERT_EQ(fake.TrayIcons().size(), 1u);
  const auto icon = fake.TrayIcons()[0];
  EXPECT_TRUE(icon.hwnd == P().Tray().hWnd() && icon.hwnd != P().hWnd() && !P().Tray().IsShown());
  EXPECT_EQ(icon.id, 1u);
  EXPECT_EQ(icon.flags, NIF_MESSAGE | NIF_ICON | NIF_TIP);
  EXPECT_EQ(icon.callbackMessage, 512u);
  EXPECT_EQ(icon.tip, "VUEDECK Virtual Desktop");
  P().CloseAll();
  EXPECT_TRUE(fake.TrayIcons().empty());
}

// Each message in turn, on what the ones before left: the left button toggles the pager but
// while the options dialog is open; the right one opens the main menu at the mouse, whose
// "Options..." shows the dialog; its OK brings a pager that was put away back.
TEST_F(Tray, TheLeftButtonTogglesThePagerAndTheRightOneOpensTheMainMenu) {
  RecordPopups();
  fake.SetCursor({1200, 1010});
  forms::Button *const none = nullptr, *cancel = &O().cancelButton, *ok = &O().okButton;
  const struct {
    int message;
    bool dialogOpen;
    forms::Button* answer;  // the options dialog's, when the main menu's "Options..." is chosen
    bool shown;             // the pager after, faded in to its opacity
  } cases[] = {{512, false, none, true},           {513, false, none, true},
               {516, false, none, true},           {519, false, none, true},
               {0x20A, false, none, true},         {WM_LBUTTONUP, false, none, false},
               {WM_LBUTTONUP, false, none, true},  {WM_LBUTTONUP, true, none, true},
               {WM_RBUTTONUP, false, none, true},  {WM_RBUTTONUP, false, cancel, true},
               {WM_LBUTTONUP, false, none, false}, {WM_RBUTTONUP, false, ok, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    if (c.dialogOpen) O().Show();
    bool shownModally = false;
    inDialog = [&] { shownModally = P().DialogOpen(), c.answer->RaiseClick(); };
    choose = [&](forms::MenuItem&) { return c.answer ? &P().optionsEntry : nullptr; };
    popups.clear();
    P().Tray().RaiseMouseMove(0, 0, static_cast<float>(c.message * backend->TwipsPerPixelX()), 0);
    if (c.dialogOpen) O().cancelButton.RaiseClick();
    ExpectFacts(c.shown ? "pager=shown1 alpha=255 dialog=closed0" : "pager=hidden0 dialog=closed0");
    EXPECT_EQ(shownModally, c.answer != nullptr);
    ASSERT_EQ(popups.size(), c.message == WM_RBUTTONUP ? 1u : 0u);
    if (popups.empty()) continue;
    EXPECT_TRUE(popups[0].form == &P().Tray() && popups[0].menu == &P().mainMenu);
    EXPECT_FLOAT_EQ(popups[0].x, 1200.0f * 15 - P().Tray().Left());
    EXPECT_FLOAT_EQ(popups[0].y, 1010.0f * 15 - P().Tray().Top());
  }
}

// Written as text, its length counting the terminating NUL; deleted with no fault when there is
// none; every key closed again.
TEST_F(Tray, TheRunValueNamesTheProgramQuotedWithoutItsExtension) {
  for (const auto& [folder, value] : std::vector<std::pair<std::string, std::string>>{
           {"C:\\Program Files\\VUE DECK", "\"C:\\Program Files\\VUE DECK\\vuedeck\""},
           {"D:\\", "\"D:\\vuedeck\""},
           {"E:\\apps/", "\"E:\\apps\\vuedeck\""}}) {
    fake.SetProgramFolder(folder);
    fake.ClearCalls();
    EXPECT_FALSE(AutoStart::AppAutoStart(fake));
    EXPECT_EQ(RunValue(), value);
    EXPECT_FALSE(AutoStart::AppAutoStop(fake) || AutoStart::AppAutoStop(fake));
    EXPECT_EQ(RunValue(), "(none)");
    EXPECT_EQ(RegistryCalls(fake), "RegOpenKeyExA;VUEDECK " + std::to_string(REG_SZ) + " " +
                                       std::to_string(value.size() + 1) +
                                       " RegSetValueExA;RegCloseKey;RegOpenKeyExA;"
                                       "RegDeleteValueA;RegCloseKey;RegOpenKeyExA;"
                                       "RegDeleteValueA;RegCloseKey;");
  }
}

// A start with auto_start on writes the Run value again (the program may have moved); one with
// it off, and showing the dialog, leave the registry alone.
TEST_F(Tray, AStartWritesTheRunValueAgainOnlyWithAutoStartOn) {
  const std::string run = AutoStart::RunCommand(fake.ProgramFolder());
  for (const char* autoStart : {"auto_start=1", "auto_start=0"}) {
    const bool on = autoStart[11] == '1';
    fake.ClearCalls();
    StartAgain(autoStart);
    O().Show();
    EXPECT_EQ(O().others.autoStartBox.Checked(), on);
    EXPECT_EQ(RunValue(), run);
    EXPECT_EQ(RegistryCalls(fake), on ? "RegOpenKeyExA;VUEDECK " + std::to_string(REG_SZ) + " " +
                                            std::to_string(run.size() + 1) +
                                            " RegSetValueExA;RegCloseKey;"
                                      : "");
    O().cancelButton.RaiseClick();
  }
}

}  // namespace
}  // namespace vd::testing
