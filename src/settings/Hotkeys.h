// The hotkey model: one modifier and one key, each from a fixed table; ids 1 to 81 for the
// desktops, 98 for panic and 99 for hide/unhide; the record of what was registered under each
// id and the check that keeps two ids from sharing a combination.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "platform/WindowSystem.h"
#include "settings/Settings.h"

namespace vd {
class Program;
}

namespace vd::Hotkeys {

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

// Registers the combination under the id on the window, after unregistering what the id held,
// and records it under the slot. When the system refuses it (another program holds it), the
// id gets its previous combination back, the record stays as it was, and the result is false.
// Indexes outside the tables are refused the same way.
bool RegisterHotkeySlot(Program& program, int slot, Hwnd window, int id, int modifierIndex,
                        int keyIndex);

// True when another id (1 to 100) already holds the combination; the user is then told with
// the "Hotkeys Error" message.
bool IsHotkeyTaken(Program& program, int slot, int modifierIndex, int keyIndex);

// Registers one of the program's own hotkeys (hide/unhide, panic) under its id on the pager.
// False when another id holds the combination (the user is told) or the system refuses it
// (told only with report); with report a success is confirmed too.
bool SetHotkey(Program& program, Hwnd pager, int id, const HotkeyChoice& keys, bool report);

// Registers desktop n's hotkey on the pager: a disabled one is unregistered; one the settings
// file never held (or held unusable) leaves the hotkey as it was.
void RegisterDesktopHotkey(Program& program, Hwnd pager, int desktop, const DesktopHotkey& hotkey);

// The two messages that report on a hotkey the user set.
void ShowHotkeyTaken(Program& program);
void ShowHotkeyAssigned(Program& program);

}  // namespace vd::Hotkeys
