// A row of the options that sets one of the program's hotkeys at once, whatever becomes of the
// dialog: its caption, a modifier list and a key list, an "enabled" check box and a button. The
// page tells the row which hotkey it shows (its id, its entry in the settings in effect and how
// that entry is stored). The check box and the button register the hotkey on the pager (or,
// unchecked, unregister it), store it and update the entry in effect; a combination another of
// the program's hotkeys holds, or one the system refuses, is reported ("Hotkeys Error") and the
// hotkey in effect is shown again.
#pragma once

#include <functional>
#include <string>

#include "options/OptionsStyle.h"

namespace vd {

class Program;
class OptionsHost;

class HotkeyRow {
 public:
  // Writes the entry to the settings file; false when it could not be written.
  using Store = std::function<bool(const HotkeyEntry&)>;

  // The controls are named after `name`: "<name>ModifierList", "<name>KeyList",
  // "<name>HotkeyBox" and "set<Name>HotkeyButton". The caption stands on its own line at `top`
  // (design pixels), the lists below it, the box and the button below them.
  HotkeyRow(forms::Container& parent, Program& program, OptionsHost& host, const std::string& name,
            const std::string& caption, const std::string& boxCaption,
            const std::string& buttonCaption, int top);

  forms::ComboBox modifierList, keyList;
  forms::CheckBox enabledBox;
  forms::Button setButton;

  // Shows the hotkey of an id: the entry in effect (none when the file holds none for it),
  // without registering or storing anything.
  void Show(int id, HotkeyEntry& inEffect, Store store);
  // No hotkey is chosen: there is nothing to enable or set.
  void ShowNone();
  // Registers (or, unchecked, unregisters) the hotkey shown and stores it; false when the
  // combination was refused. With report, a success and the system's refusal are told too.
  bool Set(bool report);

 private:
  void ShowEntry();
  // The lists and the button are usable only while the hotkey is enabled.
  void EnableLists();

  Program& program_;
  OptionsHost& host_;
  options::Captions captions_;
  int id_ = 0;  // 0: none shown
  HotkeyEntry* inEffect_ = nullptr;
  Store store_;
  bool showing_ = false;  // the box shows the entry: its change is no user's click
};

}  // namespace vd
