#include "settings/HotKeys.h"

namespace vd::HotKeys {

std::array<std::string, kModifierCount> ModifierNames;
std::array<uint32_t, kModifierCount> ModifierFlags;
std::array<std::string, kKeyCount> KeyNames;
std::array<uint32_t, kKeyCount> KeyCodes;

void FillKeyTables() {
  ModifierNames = {"ALT", "CTRL", "SHIFT", "WIN"};
  ModifierFlags = {1, 2, 4, 8};
  const char* named[] = {"TAB", "RETURN", "PAGE UP", "PAGE DOWN", "INSERT", "DELETE"};
  const uint32_t namedCodes[] = {9, 13, 33, 34, 45, 46};
  for (int i = 0; i < 6; ++i) {
    KeyNames[i] = named[i];
    KeyCodes[i] = namedCodes[i];
  }
  for (int i = 6; i <= 15; ++i) {  // the digits 0 to 9
    KeyNames[i] = std::string(1, static_cast<char>('0' + (i - 6)));
    KeyCodes[i] = static_cast<uint32_t>(i + 42);
  }
  for (int i = 16; i <= 38; ++i) {  // the letters A to W: X, Y and Z are not offered
    KeyNames[i] = std::string(1, static_cast<char>('A' + (i - 16)));
    KeyCodes[i] = static_cast<uint32_t>(i + 49);
  }
  for (int i = 39; i <= 50; ++i) {  // F1 to F12
    KeyNames[i] = "F" + std::to_string(i - 38);
    KeyCodes[i] = static_cast<uint32_t>(i + 73);
  }
}

// Desktop hotkeys are registered once the settings' hotkeys are read; until then a desktop is
// reached by a click on its cell.
void RegisterDesktopHotkey(Program&, int) {}

}  // namespace vd::HotKeys
