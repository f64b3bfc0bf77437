#include <gtest/gtest.h>

#include <functional>

#include "ProgramFixture.h"
#include "dialogs/MessageDialog.h"
#include "options/OptionsDialog.h"
#include "settings/Hotkeys.h"
#include "settings/Settings.h"
#include "settings/SettingsFile.h"

namespace vd::testing {
namespace {

constexpr uint32_t kAlt = MOD_ALT, kCtrl = MOD_CONTROL;

const char* kKeyboardSettings =
    "[SETUP]\r\ncolumns=3\r\nrows=2\r\nwidth=30\r\nheight=20\r\ntransparent=0\r\n"
    "hide=1,50\r\ncolor_normal=255\r\ncolor_hover=65280\r\ncolor_selected=16711680\r\n"
    "color_box=65535\r\nanimate=0\r\n"
    "[ALERT]\r\nenabled=1\r\ndesktop=5\r\nkey1=1\r\nkey2=49\r\n"
    "[HOTKEYS]\r\n1=0,7,1\r\n2=1,12,1\r\n3=0,9,1\r\n4=0,10,0\r\n5=0,11,1\r\n6=0,12,1\r\n";

class Keyboard : public ProgramFixture {
 protected:
  void SetUp() override { AnswerMessageBoxes(); }
  void StartWith(const std::string& settings = kKeyboardSettings) {
    ASSERT_TRUE(ProgramFixture::StartWith(settings));
  }
  OptionsDialog& Options() { return program->Options(); }
  // Chooses a combination for a desktop on the Desktops page and presses "Set Hotkey".
  int SetForDesktop(int desktop, int modifier, int key) {
    if (!Options().IsShown()) Options().Show();
    Options().desktops.hotkeyDesktopList.SetListIndex(desktop - 1);
    Options().desktops.desktopModifierList.SetListIndex(modifier);
    Options().desktops.desktopKeyList.SetListIndex(key);
    return Options().desktops.SetDesktopHotkey(true) ? 1 : 0;
  }
  std::string LastMessage() const { return messages.empty() ? "" : messages.back().title; }
};

TEST(SettingsFile, ValuesAreCutTo127CharactersAndEmptyEqualsMissing) {
  fake::FakeWindowSystem fake;
  const std::string file =
      (std::filesystem::temp_directory_path() / "vuedeck-ini-cut.ini").string();
  fake.WritePrivateProfileStringA("SETUP", "long", std::string(200, 'x'), file);
  fake.WritePrivateProfileStringA("SETUP", "exact", std::string(127, 'y'), file);
  fake.WritePrivateProfileStringA("SETUP", "empty", "", file);
  EXPECT_EQ(ReadIniValue(fake, file, "SETUP", "long"), std::string(127, 'x'));
  EXPECT_EQ(ReadIniValue(fake, file, "SETUP", "exact"), std::string(127, 'y'));
  EXPECT_EQ(ReadIniValue(fake, file, "SETUP", "empty"), "");
  EXPECT_EQ(ReadIniValue(fake, file, "SETUP", "absent"), "");
  EXPECT_EQ(ReadIniValue(fake, file + ".none", "SETUP", "long"), "");
  std::filesystem::remove(file);
}

// Stored values read pulled into range or as the built-in one; what is written reads back.
TEST(SettingsFile, EveryValueReadsUsablyAndWhatIsWrittenReadsBack) {
  struct Case {
    const char* section;
    const char* key;
    const char* stored;  // nullptr: the key is missing
    std::function<bool(const Settings&)> holds;
  };
  const Case cases[] = {
      {"SETUP", "columns", "12", [](const Settings& s) { return s.columns == 9; }},
      {"SETUP", "width", "250", [](const Settings& s) { return s.widthPercent == 100; }},
      {"SETUP", "transparent", "7", [](const Settings& s) { return !s.opacity; }},
      {"SETUP", "transparent", "2", [](const Settings& s) { return s.PagerAlpha() == 150; }},
      {"SETUP", "hide", "-1,999",
       [](const Settings& s) {
         return s.hideHotkey == HotkeyChoice{1, 50};
       }},
      {"SETUP", "color_box", "-1", [](const Settings& s) { return s.colorBox == 0xFFFFFFFFu; }},
      {"SETUP", "color_box", "4294967295",
       [](const Settings& s) { return s.colorBox == 0xFFFFFFFFu; }},
      {"SETUP", "color_box", "blue", [](const Settings& s) { return s.colorBox == 51455u; }},
      {"SETUP", "preview", "2", [](const Settings& s) { return s.preview; }},
      {"ALERT", "desktop", "80", [](const Settings& s) { return s.panicDesktop == 80; }},
      {"HOTKEYS", "4", "1,12,0",
       [](const Settings& s) {
         return s.desktopHotkeys[4] == DesktopHotkey{{1, 12}, false, true};
       }},
      {"HOTKEYS", "2", "x",
       [](const Settings& s) {
         return s.desktopHotkeys[2] == DesktopHotkey{{0, 8}, true, true};
       }},
      {"HOTKEYS", "11", nullptr, [](const Settings& s) { return !s.desktopHotkeys[11].stored; }},
  };
  fake::FakeWindowSystem fake;
  const std::string file =
      (std::filesystem::temp_directory_path() / "vuedeck-settings-read.ini").string();
  for (const Case& c : cases) {
    std::filesystem::remove(file);
    if (c.stored != nullptr) fake.WritePrivateProfileStringA(c.section, c.key, c.stored, file);
    const Settings read = ReadSettings(fake, file);
    EXPECT_TRUE(c.holds(read)) << c.section << " " << c.key << "=" << (c.stored ? c.stored : "");
    WriteSettings(fake, file, read);
    for (int d = 1; d <= kMaxDesktops; ++d) {
      if (read.desktopHotkeys[d].stored) WriteDesktopHotkey(fake, file, d, read.desktopHotkeys[d]);
    }
    EXPECT_EQ(ReadSettings(fake, file), read) << c.section << " " << c.key;
  }
  std::filesystem::remove(file);
}

TEST_F(Keyboard, TheSettingsFileDrivesTheHotkeysAndTheLists) {
  StartWith();
  PagerWindow& pager = Pager();
  // "1,12,1" for desktop 2 means CTRL+6, enabled.
  EXPECT_TRUE(fake.PressHotkey(kCtrl, '6'));
  EXPECT_EQ(pager.Desktops().Current(), 2);
  EXPECT_TRUE(fake.PressHotkey(kAlt, '1'));
  EXPECT_EQ(pager.Desktops().Current(), 1);
  // Desktop 4's hotkey (ALT+4) is stored disabled.
  EXPECT_FALSE(fake.PressHotkey(kAlt, '4'));
  Options().Show();
  EXPECT_EQ(Options().panic.panicModifierList.Text(), "CTRL");
  EXPECT_EQ(Options().panic.panicKeyList.Text(), "F11");
  EXPECT_EQ(Options().panic.panicDesktopList.Text(), "Desktop 5");
  Options().Cancel();
  EXPECT_TRUE(messages.empty());
  // "hide=1,50": CTRL+F12 hides and shows the pager.
  ASSERT_TRUE(fake.PressHotkey(kCtrl, 0x7B));
  EXPECT_FALSE(pager.PagerShown() || pager.IsShown());
  ASSERT_TRUE(fake.PressHotkey(kCtrl, 0x7B));
  EXPECT_TRUE(pager.PagerShown() && pager.IsShown());
}

TEST_F(Keyboard, AMinusOneLeavesAListWithoutSelectionAndOutOfRangeOpacityIsIgnored) {
  std::string settings = kKeyboardSettings;
  settings.replace(settings.find("key1=1"), 6, "key1=-1");
  settings.replace(settings.find("transparent=0"), 13, "transparent=7");
  StartWith(settings);
  Options().Show();
  EXPECT_EQ(Options().panic.panicModifierList.ListIndex(), -1);
  EXPECT_EQ(Options().application.opacityList.ListIndex(), -1);
  EXPECT_EQ(fake.Alpha(Pager().hWnd()), -1);  // the pager keeps its opacity
  // With a list empty, the panic hotkey is not registered.
  EXPECT_FALSE(fake.PressHotkey(kCtrl, static_cast<uint32_t>(0x7A)));
}

TEST_F(Keyboard, ACombinationIsNeverSharedBetweenTwoIds) {
  StartWith();
  const int ctrl = 1, letterA = 16;
  EXPECT_EQ(SetForDesktop(1, ctrl, letterA), 1);
  EXPECT_EQ(LastMessage(), "Hotkeys Assigned");
  EXPECT_EQ(SetForDesktop(2, ctrl, letterA), 0);
  EXPECT_EQ(LastMessage(), "Hotkeys Error");
  // The Desktops page shows desktop 2's stored combination again: CTRL+6.
  EXPECT_EQ(Options().desktops.desktopModifierList.Text(), "CTRL");
  EXPECT_EQ(Options().desktops.desktopKeyList.Text(), "6");
  // The same combination again for its own desktop is accepted.
  EXPECT_EQ(SetForDesktop(1, ctrl, letterA), 1);
  // The panic and hide keys share the id range with the desktops.
  Options().panic.panicModifierList.SetListIndex(ctrl);
  Options().panic.panicKeyList.SetListIndex(letterA);
  Options().panic.SetPanicHotkey(true);
  EXPECT_EQ(LastMessage(), "Hotkeys Error");
  EXPECT_EQ(Options().panic.panicKeyList.Text(), "F11");
  EXPECT_NE(ReadFile("settings.ini").find("1=1,16,1"), std::string::npos);
}

TEST_F(Keyboard, ACombinationAnotherProgramHoldsIsRefusedAndAFreeOneReplacesTheOld) {
  fake.HoldHotkeyElsewhere(kCtrl, 'B');
  StartWith();
  const int ctrl = 1, letterB = 17, letterC = 18;
  EXPECT_EQ(SetForDesktop(3, ctrl, letterB), 0);
  EXPECT_EQ(LastMessage(), "Hotkeys Error");
  EXPECT_EQ(Options().desktops.desktopKeyList.Text(),
            "3");  // desktop 3's stored ALT+3 is shown again
  // The desktop keeps its working combination and the file is unchanged.
  EXPECT_TRUE(fake.PressHotkey(kAlt, '3'));
  EXPECT_EQ(Pager().Desktops().Current(), 3);
  EXPECT_NE(ReadFile("settings.ini").find("3=0,9,1"), std::string::npos);

  ASSERT_EQ(SetForDesktop(2, ctrl, letterC), 1);
  EXPECT_FALSE(fake.PressHotkey(kCtrl, '6'));  // the old combination no longer switches
  EXPECT_TRUE(fake.PressHotkey(kCtrl, 'C'));
  EXPECT_EQ(Pager().Desktops().Current(), 2);
}

TEST_F(Keyboard, PanicOpensThePanicDesktopWithoutAnimationAndHidesThePager) {
  Hwnd w = OpenWindow("Work");
  StartWith();
  PagerWindow& pager = Pager();
  pager.Desktops().SetAnimate(true);
  pager.SetDialogOpen(true);  // the options dialog is open
  Options().Show();
  fake.ClearCalls();
  ASSERT_TRUE(fake.PressHotkey(kCtrl, 0x7A));  // CTRL+F11
  EXPECT_EQ(pager.Desktops().Current(), 5);
  EXPECT_FALSE(fake.IsWindowVisible(w));
  EXPECT_FALSE(pager.IsShown());
  EXPECT_FALSE(pager.PagerShown());
  EXPECT_FALSE(Options().IsShown());
  EXPECT_FALSE(pager.DialogOpen());  // else the pager could never be hidden again
  EXPECT_TRUE(pager.Desktops().Animates());
  EXPECT_TRUE(fake.CallsOn("MoveWindow", w).empty());  // no slide
}

TEST_F(Keyboard, TheCurrentDesktopsHotkeyAndHotkeysOfVanishedDesktopsDoNothing) {
  Hwnd w = OpenWindow("Work");
  StartWith();
  PagerWindow& pager = Pager();
  fake.ClearCalls();
  ASSERT_TRUE(fake.PressHotkey(kAlt, '1'));
  EXPECT_TRUE(fake.CallsOn("ShowWindow", w).empty());

  // The grid shrinks to 2 x 1: desktop 5's hotkey goes, its record and file entry stay.
  pager.SetupDesktops(2, 1);
  EXPECT_EQ(pager.Desktops().Count(), 2);
  EXPECT_FALSE(fake.PressHotkey(kAlt, '5'));
  EXPECT_EQ(pager.Desktops().Current(), 1);
  EXPECT_EQ(program->hotkeys.Held(5), (HotkeyChoice{0, 11}));
  // ... and comes back when the grid grows again.
  pager.SetupDesktops(3, 2);
  EXPECT_TRUE(fake.PressHotkey(kAlt, '5'));
  EXPECT_EQ(pager.Desktops().Current(), 5);
  // A hotkey message for a desktop that does not exist hides nothing.
  fake.SendMessageA(pager.hWnd(), WM_HOTKEY, 42, 0);
  EXPECT_EQ(pager.Desktops().Current(), 5);
}

// Each message is a new box (as ShowMessage makes one) with a button per entry ended by ";",
// side by side in order.
TEST_F(Keyboard, TheMessageBoxShowsAButtonForEachEntryEndedByASemicolon) {
  StartWith();
  auto shown = [this](const std::string& buttons) {
    MessageDialog box(*program);
    box.Prepare("Remove Window", "text", buttons);
    std::vector<std::string> captions;
    float right = 0;
    for (int i = 0; i < 3; ++i) {
      if (!box.answerButtons(i).Visible()) continue;
      EXPECT_GE(box.answerButtons(i).Left(), right) << buttons;
      right = box.answerButtons(i).Left() + box.answerButtons(i).Width();
      captions.push_back(box.answerButtons(i).Caption());
    }
    return captions;
  };
  EXPECT_EQ(shown("Ok;"), (std::vector<std::string>{"Ok"}));
  EXPECT_EQ(shown("Yes;No"), (std::vector<std::string>{"Yes"}));  // no final ";"
  EXPECT_EQ(shown("Yes;No;"), (std::vector<std::string>{"Yes", "No"}));
  EXPECT_EQ(shown("Yes;No;Just Remove;"), (std::vector<std::string>{"Yes", "No", "Just Remove"}));

  backend->onModal = [](forms::Form& form) {
    dynamic_cast<MessageDialog&>(form).answerButtons(2).RaiseClick();
  };
  EXPECT_EQ(ShowMessage(*program, "Remove Window", "?", "warning", "Yes;No;Just Remove;"),
            "Just Remove");
  // Closed without a button: no answer.
  backend->onModal = [this](forms::Form& form) { fake.SendMessageA(form.hWnd(), WM_CLOSE, 0, 0); };
  EXPECT_EQ(ShowMessage(*program, "Warning", "?", "warning", "Ok;"), "");
}

}  // namespace
}  // namespace vd::testing
