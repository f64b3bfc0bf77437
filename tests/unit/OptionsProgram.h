// A program on a 3 x 3 grid with three windows of another application on desktop 1, its message
// boxes answered and recorded: for the tests of the options dialog, the hotkeys and the tray.
#pragma once

#include <string>

#include "ProgramFixture.h"
#include "options/OptionsDialog.h"
#include "settings/SettingsFile.h"

namespace vd::testing {

class OptionsProgram : public ProgramFixture {
 protected:
  void SetUp() override {
    work = OpenWindow("Work", {100, 100, 500, 400});
    mail = OpenWindow("Mail", {600, 100, 1000, 400});
    notes = OpenWindow("Notes", {200, 500, 600, 800});
    AnswerMessageBoxes();
    otherModal = [this](forms::Form& form) {  // the options dialog shown modally
      if (&form == &O() && inDialog) inDialog();
    };
    StartAgain();
  }
  // The program ends as the user ends it and starts again on the settings with `from` replaced.
  void StartAgain(const std::string& from = "", const std::string& to = "") {
    std::string settings =
        "[SETUP]\r\ncolumns=3\r\nrows=3\r\nwidth=30\r\nheight=20\r\ntransparent=0\r\nhide=1,50\r\n"
        "color_normal=255\r\ncolor_hover=65280\r\ncolor_selected=16711680\r\ncolor_box=65535\r\n"
        "animate=0\r\npreview=1\r\nauto_hide=0\r\nauto_start=0\r\n[ALERT]\r\nenabled=1\r\n"
        "desktop=7\r\nkey1=1\r\nkey2=49\r\n[HOTKEYS]\r\n1=0,7,1\r\n2=1,12,1\r\n3=0,9,1\r\n"
        "4=0,10,0\r\n5=0,11,1\r\n6=0,12,1\r\n7=0,13,1\r\n8=0,14,1\r\n9=0,15,1\r\n";
    if (!from.empty()) settings.replace(settings.find(from), from.size(), to);
    if (program) Pager().CloseAll();
    messages.clear();
    WriteFile("settings.ini", settings);
    ASSERT_TRUE(Restart());
  }
  OptionsDialog& O() { return program->Options(); }
  PagerWindow& P() { return Pager(); }
  std::string Setting(const char* section, const std::string& key) {
    return ReadIniValue(fake, File("settings.ini").string(), section, key);
  }
  static void Retype(forms::TextBox& field, const std::string& keys) {  // clicked into, typed
    field.RaiseGotFocus();
    for (char c : keys) field.TypeChar(c);
  }
  std::string Told() {  // the messages since the last call, "title: text"
    std::string told;
    for (const Message& m : messages) told += (told.empty() ? "" : " | ") + m.title + ": " + m.text;
    messages.clear();
    return told;
  }
  std::string RunValue() const {  // start with Windows: the Run value, or "(none)"
    auto key = fake.Registry().find("HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run");
    if (key == fake.Registry().end() || !key->second.count("VUEDECK")) return "(none)";
    return key->second.at("VUEDECK");
  }

  std::function<void()> inDialog;
  Hwnd work = 0, mail = 0, notes = 0;
};

}  // namespace vd::testing
