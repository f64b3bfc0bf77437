#include "settings/Hotkeys.h"

#include "core/Program.h"
#include "core/Text.h"
#include "interaction/MessageDialog.h"
#include "settings/SettingsFile.h"

namespace vd::Hotkeys {

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
    KeyNames[i] = std::string(1, 'F').append(std::to_string(i - 38));
    KeyCodes[i] = static_cast<uint32_t>(i + 73);
  }
}

namespace {

bool InTables(int modifierIndex, int keyIndex) {
  return modifierIndex >= 0 && modifierIndex < kModifierCount && keyIndex >= 0 &&
         keyIndex < kKeyCount;
}

std::string Record(int modifierIndex, int keyIndex) {
  return std::to_string(modifierIndex) + "," + std::to_string(keyIndex);
}

bool RegisterRecorded(Program& program, Hwnd window, int id, const std::string& record) {
  auto fields = Split(record, ',');
  if (fields.size() < 2) return false;
  auto m = ToInt32(fields[0]), k = ToInt32(fields[1]);
  if (!m || !k || !InTables(*m, *k)) return false;
  return program.ws.RegisterHotKey(window, id, ModifierFlags[*m], KeyCodes[*k]);
}

}  // namespace

bool RegisterHotkeySlot(Program& program, int slot, Hwnd window, int id, int modifierIndex,
                        int keyIndex) {
  if (slot < 1 || slot > 1000 || !InTables(modifierIndex, keyIndex)) return false;
  // An id holds one combination: the one it held before must stop working.
  program.ws.UnregisterHotKey(window, id);
  const std::string previous = program.HotkeySlots[static_cast<size_t>(slot)];
  if (program.ws.RegisterHotKey(window, id, ModifierFlags[modifierIndex], KeyCodes[keyIndex])) {
    program.HotkeySlots[static_cast<size_t>(slot)] = Record(modifierIndex, keyIndex);
    return true;
  }
  if (!previous.empty()) RegisterRecorded(program, window, id, previous);
  return false;
}

bool IsHotkeyTaken(Program& program, int slot, int modifierIndex, int keyIndex) {
  const std::string wanted = Record(modifierIndex, keyIndex);
  for (int id = 1; id <= 100; ++id) {
    if (id == slot) continue;
    if (program.HotkeySlots[static_cast<size_t>(id)] == wanted) {
      ShowHotkeyTaken(program);
      return true;
    }
  }
  return false;
}

bool SetHotkey(Program& program, Hwnd pager, int id, const HotkeyChoice& keys, bool report) {
  if (IsHotkeyTaken(program, id, keys.modifier, keys.key)) return false;
  if (!RegisterHotkeySlot(program, id, pager, id, keys.modifier, keys.key)) {
    // Another program holds the combination: a refusal is never reported as success.
    if (report) ShowHotkeyTaken(program);
    return false;
  }
  if (report) ShowHotkeyAssigned(program);
  return true;
}

void RegisterDesktopHotkey(Program& program, Hwnd pager, int desktop, const DesktopHotkey& hotkey) {
  if (!hotkey.stored) return;
  if (!hotkey.enabled) {
    program.ws.UnregisterHotKey(pager, desktop);
  } else {
    RegisterHotkeySlot(program, desktop, pager, desktop, hotkey.keys.modifier, hotkey.keys.key);
  }
}

void ShowHotkeyTaken(Program& program) {
  ShowMessage(program, "Hotkeys Error",
              "The selected hotkeys have been assigned. Please choose a different "
              "combinations.",
              "critical", "Ok;");
}

void ShowHotkeyAssigned(Program& program) {
  ShowMessage(program, "Hotkeys Assigned", "Selected hotkeys have been assigned successfully.",
              "apply", "Ok;");
}

}  // namespace vd::Hotkeys
