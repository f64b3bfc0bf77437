// The "Desktops" page: a hotkey for each desktop. A hotkey set here is in effect and stored at
// once, whatever becomes of the dialog.
#pragma once

#include "options/OptionsStyle.h"

namespace vd {

class Program;
class OptionsHost;

class DesktopsPage {
 public:
  DesktopsPage(forms::Container& parent, Program& program, OptionsHost& host, Settings& inEffect);

  forms::Frame frame;
  forms::ComboBox hotkeyDesktopList;  // "Desktop 1", ... one entry per desktop
  forms::ComboBox desktopModifierList, desktopKeyList;
  forms::CheckBox desktopHotkeyBox;  // "Hotkey Enabled"
  forms::Button setDesktopHotkeyButton;

  // Lists the grid's desktops, none chosen.
  void Show(int desktopCount);
  // Shows the hotkey in effect for the desktop chosen in the list.
  void ShowDesktopHotkey();
  // Registers (or, unchecked, unregisters) the chosen desktop's hotkey and stores it; false
  // when the combination was refused.
  bool SetDesktopHotkey(bool report);

 private:
  void LayOut();
  // The hotkey lists are usable only while the hotkey is enabled.
  void EnableHotkeyLists();

  Program& program_;
  OptionsHost& host_;
  Settings& inEffect_;
  options::Captions captions_;
};

}  // namespace vd
