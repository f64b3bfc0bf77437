// The "Desktops" page: for each desktop its name, its hotkey and the hotkey that sends the front
// window to it. The names are edits like the other pages' (OK saves them); a hotkey set here is
// in effect and stored at once, whatever becomes of the dialog.
#pragma once

#include <array>
#include <string>

#include "options/HotkeyRow.h"
#include "options/OptionsStyle.h"

namespace vd {

class Program;
class OptionsHost;

class DesktopsPage {
 public:
  DesktopsPage(forms::Container& parent, Program& program, OptionsHost& host, Settings& inEffect);

  forms::Frame frame;
  forms::ComboBox hotkeyDesktopList;  // each desktop's title: "Desktop 1", "2: Mail", ...
  forms::TextBox nameField;           // the chosen desktop's name
  HotkeyRow desktopRow;               // the hotkey that opens the chosen desktop
  HotkeyRow sendRow;                  // the hotkey that sends the front window there

  // Lists the grid's desktops with the names in effect, none chosen.
  void Show(const Settings& settings, int desktopCount);
  // The names as edited.
  void Collect(Settings& settings) const;
  // Shows the name and the hotkeys of the desktop chosen in the list.
  void ShowDesktop();

 private:
  void LayOut();
  int ChosenDesktop() const;

  Program& program_;
  Settings& inEffect_;
  options::Captions captions_;
  std::array<std::string, kMaxDesktops + 1> names_{};  // as edited, by desktop
};

}  // namespace vd
