#include "settings/SettingsFile.h"

#include <cstring>
#include <map>
#include <utility>

namespace vd {

std::string ReadIniValue(WindowSystem& ws, const std::string& fileName, const std::string& section,
                         const std::string& key) {
  char buffer[128] = {};
  ws.GetPrivateProfileStringW(section, key, "", buffer, sizeof buffer, fileName);
  buffer[sizeof buffer - 1] = '\0';
  return std::string(buffer, strnlen(buffer, sizeof buffer));
}

std::string DefaultSetting(const std::string& section, const std::string& key) {
  // The same values as the settings.ini shipped beside the program. Desktop hotkeys are
  // ALT and a digit; hide/unhide is CTRL+F12; the panic key CTRL+F11 starts disabled.
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
  };
  auto it = kDefaults.find({section, key});
  return it == kDefaults.end() ? std::string() : it->second;
}

std::string ReadSetting(WindowSystem& ws, const std::string& fileName, const std::string& section,
                        const std::string& key) {
  std::string value = ReadIniValue(ws, fileName, section, key);
  return value.empty() ? DefaultSetting(section, key) : value;
}

}  // namespace vd
