// The hotkey model: one modifier and one key, each from a fixed table; ids 1 to 81 for the
// desktops, 98 for panic and 99 for hide/unhide.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace vd {
class Program;
}

namespace vd::HotKeys {

inline constexpr int kPanicHotkeyId = 98;
inline constexpr int kHideHotkeyId = 99;
inline constexpr int kModifierCount = 4;
inline constexpr int kKeyCount = 51;

extern std::array<std::string, kModifierCount> ModifierNames;
extern std::array<uint32_t, kModifierCount> ModifierFlags;
extern std::array<std::string, kKeyCount> KeyNames;
extern std::array<uint32_t, kKeyCount> KeyCodes;

// Fills the four tables: "ALT", "CTRL", "SHIFT", "WIN"; then TAB, RETURN, PAGE UP, PAGE DOWN,
// INSERT, DELETE, the digits, the letters A to W and F1 to F12.
void FillKeyTables();

// Registers desktop n's hotkey from its "HOTKEYS" entry in the settings file.
void RegisterDesktopHotkey(Program& program, int desktop);

}  // namespace vd::HotKeys
