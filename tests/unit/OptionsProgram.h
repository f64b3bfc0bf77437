// A program on a 3 x 3 grid with three windows of another application on desktop 1, its message
// boxes answered and recorded, and what the user can see of it as words ("current=2"): for the
// tests of the options dialog, the settings file and the hotkeys.
#pragma once

#include <algorithm>
#include <cctype>
#include <sstream>

#include "ProgramFixture.h"
#include "options/OptionsDialog.h"
#include "settings/AutoStart.h"
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
  // The program ends as the user ends it and starts again, with `line` ("key=value") in the file.
  void StartAgain(const std::string& line = "") {
    std::string settings =
        "[SETUP]\r\ncolumns=3\r\nrows=3\r\nwidth=30\r\nheight=20\r\ntransparent=0\r\nhide=1,50\r\n"
        "color_normal=255\r\ncolor_hover=65280\r\ncolor_selected=16711680\r\ncolor_box=65535\r\n"
        "animate=0\r\npreview=1\r\nauto_hide=0\r\nauto_start=0\r\n[ALERT]\r\nenabled=1\r\n"
        "desktop=7\r\nkey1=0\r\nkey2=49\r\n[HOTKEYS]\r\n1=0,7,1\r\n2=1,12,1\r\n3=0,9,1\r\n"
        "4=0,10,0\r\n5=0,11,1\r\n6=0,12,1\r\n7=0,13,1\r\n8=0,14,1\r\n9=0,15,1\r\n";
    const size_t at = settings.find("\n" + line.substr(0, line.find('=') + 1)) + 1;
    if (!line.empty()) settings.replace(at, settings.find('\r', at) - at, line);
    if (program) Pager().CloseAll();
    messages.clear();
    WriteFile("settings.ini", settings);
    ASSERT_TRUE(Restart());
  }
  OptionsDialog& O() { return program->Options(); }
  PagerWindow& P() { return Pager(); }
  static void Retype(forms::TextBox& field, const std::string& keys) {  // clicked into, typed
    field.RaiseGotFocus();
    for (char c : keys) field.TypeChar(c);
  }
  static forms::Control* Find(const forms::Container& in, const std::string& name) {
    for (forms::Control* c : in.Children()) {
      auto* inner = dynamic_cast<forms::Container*>(c);
      if (forms::Control* found = c->Name() == name ? c : inner ? Find(*inner, name) : nullptr)
        return found;
    }
    return nullptr;
  }
  // Acts in the options dialog as the user does, "name" or "name=value" for each control: a
  // button clicked, a field typed into ("\b" clears it), a list's entry or a box's state chosen;
  // "WM_CLOSE": closed by the system.
  void Edit(const std::string& edits) {
    std::istringstream words(edits);
    for (std::string w; words >> w;) {
      if (w == "WM_CLOSE") O().Dispatch(WM_CLOSE, 0, 0);
      if (w == "WM_CLOSE") continue;
      forms::Control* c = Find(O(), w.substr(0, w.find('=')));
      const std::string value = w.substr(std::min(w.size(), w.find('=') + 1));
      ASSERT_NE(c, nullptr) << w;
      if (auto* button = dynamic_cast<forms::Button*>(c)) button->RaiseClick();
      if (auto* field = dynamic_cast<forms::TextBox*>(c)) Retype(*field, value);
      if (auto* list = dynamic_cast<forms::ComboBox*>(c)) list->SetListIndex(std::stoi(value));
      if (auto* box = dynamic_cast<forms::CheckBox*>(c)) box->SetValue(std::stoi(value));
    }
  }
  std::string Told() {  // the messages since the last call, "title: text"
    std::string told;
    for (const Message& m : messages) told += (told.empty() ? "" : " | ") + m.title + ": " + m.text;
    messages.clear();
    return told;
  }
  // ALERT's four, HOTKEYS' digits, SETUP's; any other section's as "SECTION/key".
  static std::string SectionOf(const std::string& key) {
    if (key.find('/') != key.npos) return key.substr(0, key.find('/'));
    if (std::isdigit(key[0])) return "HOTKEYS";
    const bool alert = std::string(" enabled desktop key1 key2 ").find(" " + key + " ") != key.npos;
    return alert ? "ALERT" : "SETUP";
  }
  static std::string KeyOf(const std::string& key) { return key.substr(key.find('/') + 1); }
  std::string Stored(const std::string& section, const std::string& key) {
    char value[1024] = {};
    fake.GetPrivateProfileStringW(section, key, "", value, sizeof value,
                                  File("settings.ini").string());
    return value;
  }
  std::string Saved(const std::string& keys) {  // "key=value ..." from the settings file
    std::istringstream in(keys);
    std::string saved;
    for (std::string key; in >> key;) {
      saved += (saved.empty() ? "" : " ") + key + "=" + Stored(SectionOf(key), KeyOf(key));
    }
    return saved;
  }
  std::string RunValue() const {  // start with Windows: the Run value, or "(none)"
    auto key = fake.Registry().find("HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run");
    if (key == fake.Registry().end() || !key->second.count("VUEDECK")) return "(none)";
    return key->second.at("VUEDECK");
  }
  // Each word of `expected` is one of the facts: the grid, each window's desktop ("h": hidden),
  // the pager ("shown1": shown, and so in its own record), its status caption ("_" for a blank)
  // and the name in desktop 1's cell ("-": none), the options dialog's page (and "1" while it
  // holds the pager), the Run value, and the settings file's keys.
  void ExpectFacts(const std::string& expected) {
    std::ostringstream f;
    f << " desktops=" << P().Desktops().Count() << " current=" << P().Desktops().Current();
    for (auto [name, h] : {std::pair{"Work", work}, {"Mail", mail}, {"Notes", notes}})
      f << " " << name << "=" << DesktopOf(h) << (fake.IsWindowVisible(h) ? "" : "h");
    f << " pager=" << (P().IsShown() ? "shown" : "hidden") << P().PagerShown()
      << " alpha=" << fake.Alpha(P().hWnd());
    std::string status = P().statusLabel.Caption();
    std::replace(status.begin(), status.end(), ' ', '_');
    const bool named = P().cellNames.size() > 1 && P().cellNames[1];
    f << " status=" << status << " cell1=" << (named ? P().cellNames[1]->Caption() : "-")
      << " dialog=" << (O().IsShown() ? O().CurrentPage().Name() : "closed") << P().DialogOpen()
      << " run=" << (RunValue() == AutoStart::RunCommand(fake.ProgramFolder()) ? "set" : RunValue())
      << " " << Saved(kKeys) << " ";
    std::istringstream words(expected);
    for (std::string w; words >> w;)
      EXPECT_NE(f.str().find(" " + w + " "), std::string::npos) << w << f.str();
  }

  static constexpr const char* kKeys =
      "columns rows width height transparent hide color_normal color_hover animate preview "
      "auto_hide auto_start enabled desktop key1 key2 1 2 3 4 5 6 7 8 9 NAMES/1 KEYS/wrap "
      "KEYS/note";
  std::function<void()> inDialog;
  Hwnd work = 0, mail = 0, notes = 0;
};

}  // namespace vd::testing
