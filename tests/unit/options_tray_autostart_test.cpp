// The notification-area icon (its record, the pager toggled by the left button, the main menu
// on the right button) and start with Windows (the Run value behind "Start Application After
// Reboot").
#include <gtest/gtest.h>

#include "ProgramFixture.h"
#include "options/OptionsDialog.h"
#include "pager/TrayIcon.h"
#include "settings/AutoStart.h"
#include "settings/SettingsFile.h"

namespace vd::testing {
namespace {

constexpr char kRunPath[] = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";

const char* kSettings =
    "[SETUP]\r\ncolumns=3\r\nrows=2\r\nwidth=30\r\nheight=20\r\ntransparent=0\r\n"
    "hide=1,50\r\nanimate=0\r\npreview=1\r\nauto_hide=0\r\nauto_start=0\r\n"
    "[ALERT]\r\nenabled=0\r\ndesktop=1\r\nkey1=1\r\nkey2=49\r\n";

// The Run value as the registry holds it, or "(none)".
std::string RunValue(const fake::FakeWindowSystem& fake) {
  auto key = fake.Registry().find(kRunPath);
  if (key == fake.Registry().end()) return "(none)";
  auto value = key->second.find("VUEDECK");
  return value == key->second.end() ? "(none)" : value->second;
}

// Every key the program opened was closed again.
bool EveryKeyClosed(const fake::FakeWindowSystem& fake) {
  int open = 0;
  for (const fake::Call& call : fake.Calls()) {
    if (call.name == "RegOpenKeyExA") ++open;
    if (call.name == "RegCloseKey") --open;
  }
  return open == 0;
}

class Tray : public ProgramFixture {
 protected:
  void SetUp() override {
    ASSERT_TRUE(StartWith(kSettings));
    RecordPopups();
  }
  TrayIcon& T() { return program->Main().Tray(); }
  // The shell's report of a mouse message on the icon, as the tray form receives it.
  void IconMessage(int message) {
    T().RaiseMouseMove(0, 0, static_cast<float>(message * backend->TwipsPerPixelX()), 0);
  }
  void Choose(forms::MenuItem& entry) {
    choose = [&entry](forms::MenuItem&) { return &entry; };
  }
};

TEST_F(Tray, TheIconIsAddedAtStartWithItsRecordAndRemovedAtExit) {
  auto icons = fake.TrayIcons();
  ASSERT_EQ(icons.size(), 1u);
  EXPECT_EQ(icons[0].hwnd, T().hWnd());
  EXPECT_NE(icons[0].hwnd, Pager().hWnd());
  EXPECT_EQ(icons[0].id, 1u);
  EXPECT_EQ(icons[0].flags, NIF_MESSAGE | NIF_ICON | NIF_TIP);
  EXPECT_EQ(icons[0].callbackMessage, 512u);
  EXPECT_EQ(icons[0].tip, "VUEDECK Virtual Desktop");
  EXPECT_FALSE(T().IsShown());
  Pager().CloseAll();
  EXPECT_TRUE(fake.TrayIcons().empty());
}

TEST_F(Tray, ReleasingTheLeftButtonHidesAShownPagerAndShowsAHiddenOne) {
  for (int message : {512, 513, 515, 516, 518, 519, 520, 521, 0x20A}) {  // moves, presses...
    IconMessage(message);
    EXPECT_TRUE(Pager().IsShown() && Pager().PagerShown()) << message << " did something";
  }
  IconMessage(WM_LBUTTONUP);
  EXPECT_FALSE(Pager().PagerShown());
  EXPECT_FALSE(Pager().IsShown());
  IconMessage(WM_LBUTTONUP);
  EXPECT_TRUE(Pager().PagerShown());
  EXPECT_TRUE(Pager().IsShown());
  EXPECT_EQ(fake.Alpha(Pager().hWnd()), 255);  // faded back in to its opacity
  // While the options dialog is open the pager stays.
  program->Options().Show();
  IconMessage(WM_LBUTTONUP);
  EXPECT_TRUE(Pager().IsShown());
  program->Options().cancelButton.RaiseClick();
  EXPECT_TRUE(popups.empty());
}

TEST_F(Tray, ReleasingTheRightButtonOpensTheMainMenuAtTheMouse) {
  fake.SetCursor({1200, 1010});
  IconMessage(WM_RBUTTONUP);
  ASSERT_EQ(popups.size(), 1u);
  EXPECT_EQ(popups[0].form, &T());
  EXPECT_EQ(popups[0].menu, &Pager().mainMenu);
  EXPECT_FLOAT_EQ(popups[0].x, 1200.0f * 15 - T().Left());
  EXPECT_FLOAT_EQ(popups[0].y, 1010.0f * 15 - T().Top());
  EXPECT_TRUE(Pager().IsShown());

  // Its "Options..." shows the options dialog, as from the pager's own menu button.
  bool optionsShown = false;
  backend->onModal = [&](forms::Form& form) {
    if (&form != &program->Options()) return;
    optionsShown = Pager().DialogOpen();
    program->Options().cancelButton.RaiseClick();
  };
  Choose(Pager().optionsEntry);
  IconMessage(WM_RBUTTONUP);
  EXPECT_TRUE(optionsShown);
  EXPECT_FALSE(Pager().DialogOpen());
}

TEST_F(Tray, OkFromTheTrayBringsBackAPagerThatWasPutAway) {
  IconMessage(WM_LBUTTONUP);
  ASSERT_FALSE(Pager().IsShown());
  backend->onModal = [&](forms::Form& form) {
    if (&form == &program->Options()) program->Options().okButton.RaiseClick();
  };
  Choose(Pager().optionsEntry);
  IconMessage(WM_RBUTTONUP);
  EXPECT_TRUE(Pager().IsShown());
  EXPECT_TRUE(Pager().PagerShown());
  EXPECT_EQ(fake.Alpha(Pager().hWnd()), 255);
}

// ---- Start with Windows -------------------------------------------------------------------------

TEST(AutoStart, TheRunValueNamesTheProgramQuotedWithoutItsExtension) {
  fake::FakeWindowSystem fake;
  fake.SetProgramFolder("C:\\Program Files\\VUE DECK");
  EXPECT_FALSE(AutoStart::AppAutoStart(fake));
  EXPECT_EQ(RunValue(fake), "\"C:\\Program Files\\VUE DECK\\vuedeck\"");
  // Written as text, the length counting the terminating NUL, the key closed again.
  const fake::Call* set = nullptr;
  for (const fake::Call& call : fake.Calls()) {
    if (call.name == "RegSetValueExA") set = &call;
  }
  ASSERT_NE(set, nullptr);
  EXPECT_EQ(set->args[1], "VUEDECK");
  EXPECT_EQ(set->args[2], std::to_string(REG_SZ));
  EXPECT_EQ(set->args[4], std::to_string(RunValue(fake).size() + 1));
  EXPECT_TRUE(EveryKeyClosed(fake));

  EXPECT_FALSE(AutoStart::AppAutoStop(fake));
  EXPECT_EQ(RunValue(fake), "(none)");
  EXPECT_FALSE(AutoStart::AppAutoStop(fake));  // nothing left to delete: no fault
  EXPECT_TRUE(EveryKeyClosed(fake));
  // A program in a drive's root.
  fake.SetProgramFolder("D:\\");
  AutoStart::AppAutoStart(fake);
  EXPECT_EQ(RunValue(fake), "\"D:\\vuedeck\"");
}

TEST_F(Tray, TheCheckBoxWritesAndDeletesTheRunValueAtOnceWhateverOkOrCancelSay) {
  OptionsDialog& options = program->Options();
  EXPECT_EQ(RunValue(fake), "(none)");
  options.Show();
  options.others.autoStartBox.SetValue(1);
  EXPECT_EQ(RunValue(fake), AutoStart::RunCommand(fake.ProgramFolder()));
  options.cancelButton.RaiseClick();
  EXPECT_NE(RunValue(fake), "(none)");  // Cancel leaves it
  EXPECT_EQ(ReadIniValue(fake, File("settings.ini").string(), "SETUP", "auto_start"), "0");
  options.Show();
  options.others.autoStartBox.SetValue(0);
  EXPECT_EQ(RunValue(fake), "(none)");
  options.okButton.RaiseClick();
  EXPECT_TRUE(EveryKeyClosed(fake));
}

TEST_F(Tray, AStartWithAutoStartOnWritesTheRunValueAgainAndOffLeavesTheRegistryAlone) {
  std::string settings = kSettings;
  settings.replace(settings.find("auto_start=0"), 12, "auto_start=1");
  WriteFile("settings.ini", settings);
  ASSERT_TRUE(Restart());
  EXPECT_TRUE(program->settings.autoStart);
  EXPECT_EQ(RunValue(fake), AutoStart::RunCommand(fake.ProgramFolder()));

  // auto_start 0: the value someone left there stays, nothing is opened.
  WriteFile("settings.ini", kSettings);
  fake.ClearCalls();
  ASSERT_TRUE(Restart());
  EXPECT_FALSE(program->settings.autoStart);
  EXPECT_NE(RunValue(fake), "(none)");
  for (const fake::Call& call : fake.Calls()) EXPECT_NE(call.name, "RegOpenKeyExA");
}

}  // namespace
}  // namespace vd::testing
