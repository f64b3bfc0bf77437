#include "settings/SettingsFile.h"

#include <map>
#include <utility>

namespace vd {

std::string DefaultSetting(const std::string& section, const std::string& key) {
  // The same values as the settings.ini shipped beside the program. Desktop hotkeys are
  // ALT and a digit; hide/unhide is CTRL+F12; the panic key CTRL+F11 starts disabled.
  // The front window goes to desktop n with WIN+CTRL+ALT and a digit; WIN+CTRL+ALT with an
  // arrow walks the grid (with PAGE DOWN and PAGE UP: the next and previous desktop, with
  // BACKSPACE: back), and with SHIFT too carries the front window along. WIN+CTRL with an
  // arrow is the system's own desktops', CTRL+ALT with an arrow turns the screen with some
  // graphics drivers, CTRL, SHIFT or ALT with an arrow or a digit edit text or go back in
  // browsers, CTRL+ALT with a digit types characters on many keyboards (it is ALT GR), and
  // CTRL+ALT+SHIFT with an arrow selects columns in editors: the chords with WIN and two or
  // three other modifiers are left to programs.
  static const std::map<std::pair<std::string, std::string>, std::string> kDefaults = {
      {{"SETUP", "columns"}, "3"},
      {{"SETUP", "rows"}, "2"},
      {{"SETUP", "width"}, "20"},
      {{"SETUP", "height"}, "15"},
      {{"SETUP", "transparent"}, "0"},
      {{"SETUP", "hide"}, "1,50"},
      {{"SETUP", "color_normal"}, "7887430"},     // 0x785A46, slate blue
      {{"SETUP", "color_hover"}, "12487780"},     // 0xBE8C64, light blue
      {{"SETUP", "color_selected"}, "14448680"},  // 0xDC7828, bright blue
      {{"SETUP", "color_box"}, "51455"},          // 0x00C8FF, amber
      {{"SETUP", "animate"}, "0"},
      {{"SETUP", "preview"}, "1"},
      {{"SETUP", "auto_hide"}, "0"},
      {{"SETUP", "auto_start"}, "0"},
      {{"ALERT", "enabled"}, "0"},
      {{"ALERT", "desktop"}, "1"},
      {{"ALERT", "key1"}, "1"},
      {{"ALERT", "key2"}, "49"},
      {{"HOTKEYS", "1"}, "0,7,1"},
      {{"HOTKEYS", "2"}, "0,8,1"},
      {{"HOTKEYS", "3"}, "0,9,1"},
      {{"HOTKEYS", "4"}, "0,10,1"},
      {{"HOTKEYS", "5"}, "0,11,1"},
      {{"HOTKEYS", "6"}, "0,12,1"},
      {{"HOTKEYS", "7"}, "0,13,1"},
      {{"HOTKEYS", "8"}, "0,14,1"},
      {{"HOTKEYS", "9"}, "0,15,1"},
      {{"SEND", "1"}, "11,7,1"},
      {{"SEND", "2"}, "11,8,1"},
      {{"SEND", "3"}, "11,9,1"},
      {{"SEND", "4"}, "11,10,1"},
      {{"SEND", "5"}, "11,11,1"},
      {{"SEND", "6"}, "11,12,1"},
      {{"SEND", "7"}, "11,13,1"},
      {{"SEND", "8"}, "11,14,1"},
      {{"SEND", "9"}, "11,15,1"},
      {{"KEYS", "left"}, "11,51,1"},
      {{"KEYS", "right"}, "11,53,1"},
      {{"KEYS", "up"}, "11,52,1"},
      {{"KEYS", "down"}, "11,54,1"},
      {{"KEYS", "next"}, "11,3,1"},
      {{"KEYS", "previous"}, "11,2,1"},
      {{"KEYS", "back"}, "11,57,1"},
      {{"KEYS", "carry_left"}, "14,51,1"},
      {{"KEYS", "carry_right"}, "14,53,1"},
      {{"KEYS", "carry_up"}, "14,52,1"},
      {{"KEYS", "carry_down"}, "14,54,1"},
      {{"KEYS", "wrap"}, "0"},
      {{"KEYS", "note"}, "1"},
  };
  auto it = kDefaults.find({section, key});
  return it == kDefaults.end() ? std::string() : it->second;
}

}  // namespace vd
