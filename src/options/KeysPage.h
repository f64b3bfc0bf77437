// The "Keys" page: the keys that walk the grid from the current desktop and carry the front
// window along, each set at once like the desktops' hotkeys; whether a walk off an edge comes in
// at the other, and whether a switch by hotkey with the pager put away names the desktop in a
// note (edits that OK saves).
#pragma once

#include "options/HotkeyRow.h"
#include "options/OptionsStyle.h"

namespace vd {

class Program;
class OptionsHost;

class KeysPage {
 public:
  KeysPage(forms::Container& parent, Program& program, OptionsHost& host, Settings& inEffect);

  forms::Frame frame;
  forms::ComboBox gridActionList;  // one entry per GridKey, in its order
  HotkeyRow gridRow;               // the chosen action's hotkey
  forms::CheckBox wrapBox;         // Settings::wrapGrid
  forms::CheckBox noteBox;         // Settings::switchNote

  // Shows the two boxes as in effect, no action chosen.
  void Show(const Settings& settings);
  void Collect(Settings& settings) const;
  // Shows the hotkey of the action chosen in the list.
  void ShowAction();

 private:
  void LayOut();

  Program& program_;
  Settings& inEffect_;
  options::Captions captions_;
};

}  // namespace vd
