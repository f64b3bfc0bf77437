#include "options/DesktopsPage.h"

#include "core/Program.h"
#include "platform/Utf8.h"
#include "settings/Hotkeys.h"

namespace vd {

using options::T;

DesktopsPage::DesktopsPage(forms::Container& parent, Program& program, OptionsHost& host,
                           Settings& inEffect)
    : frame(parent, "desktopsPage", "Desktops"),
      hotkeyDesktopList(frame, "hotkeyDesktopList"),
      nameField(frame, "nameField"),
      desktopRow(frame, program, host, "desktop", "Hotkey:", "Hotkey Enabled", "Set Hotkey", 88),
      sendRow(frame, program, host, "send", "Send window:", "Enabled", "Set", 168),
      program_(program),
      inEffect_(inEffect) {
  LayOut();
  hotkeyDesktopList.Click = [this] { ShowDesktop(); };
  // A name is at most kMaxNameLength characters: a character typed with nothing selected is
  // refused once the name has them all (what is pasted is cut when OK takes the name).
  nameField.KeyPress = [this](int& key) {
    const std::string& text = nameField.Text();
    if (key >= 32 && nameField.SelLength() == 0 &&
        FirstCharacters(text, kMaxNameLength - 1).size() < text.size()) {
      key = 0;
    }
  };
  nameField.Change = [this] {
    if (const int desktop = ChosenDesktop())
      names_[static_cast<size_t>(desktop)] = nameField.Text();
  };
  Show(inEffect, 0);
}

void DesktopsPage::LayOut() {
  captions_.Add(frame, "desktopCaption", "Desktop:", 12, 27, 84);
  hotkeyDesktopList.Move(T(100), T(24), T(210), T(21));
  captions_.Add(frame, "nameCaption", "Name:", 12, 57, 84);
  nameField.Move(T(100), T(54), T(210), T(21));
}

int DesktopsPage::ChosenDesktop() const {
  const int desktop = hotkeyDesktopList.ListIndex() + 1;
  return desktop >= 1 && desktop <= kMaxDesktops ? desktop : 0;
}

void DesktopsPage::Show(const Settings& settings, int desktopCount) {
  names_ = settings.desktopNames;
  hotkeyDesktopList.Clear();
  for (int i = 1; i <= desktopCount; ++i) hotkeyDesktopList.AddItem(DesktopTitle(settings, i));
  // Until a desktop is chosen there is no name to edit and no hotkey to enable or set.
  nameField.SetText("");
  nameField.SetEnabled(false);
  desktopRow.ShowNone();
  sendRow.ShowNone();
}

void DesktopsPage::Collect(Settings& settings) const {
  for (size_t desktop = 1; desktop < names_.size(); ++desktop) {
    settings.desktopNames[desktop] = CleanDesktopName(names_[desktop]);
  }
}

void DesktopsPage::ShowDesktop() {
  const int desktop = ChosenDesktop();
  if (desktop == 0) return;
  const auto at = static_cast<size_t>(desktop);
  nameField.SetText(names_[at]);
  nameField.SetEnabled(true);
  desktopRow.Show(desktop, inEffect_.desktopHotkeys[at], [this, desktop](const HotkeyEntry& e) {
    return WriteDesktopHotkey(program_.ws, program_.SettingsFile(), desktop, e);
  });
  sendRow.Show(Hotkeys::SendHotkeyId(desktop), inEffect_.sendHotkeys[at],
               [this, desktop](const HotkeyEntry& e) {
                 return WriteSendHotkey(program_.ws, program_.SettingsFile(), desktop, e);
               });
}

}  // namespace vd
