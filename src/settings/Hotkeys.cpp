#include "settings/Hotkeys.h"

#include "core/Program.h"
#include "dialogs/MessageDialog.h"

namespace vd::Hotkeys {

std::array<std::string, kModifierCount> ModifierNames;
std::array<uint32_t, kModifierCount> ModifierFlags;
std::array<std::string, kKeyCount> KeyNames;
std::array<uint32_t, kKeyCount> KeyCodes;

void FillKeyTables() {
  ModifierNames = {
      "ALT",        "CTRL",         "SHIFT",          "WIN",           "CTRL+ALT",
      "CTRL+SHIFT", "ALT+SHIFT",    "CTRL+ALT+SHIFT", "WIN+CTRL",      "WIN+ALT",
      "WIN+SHIFT",  "WIN+CTRL+ALT", "WIN+CTRL+SHIFT", "WIN+ALT+SHIFT", "WIN+CTRL+ALT+SHIFT"};
  ModifierFlags = {1, 2, 4, 8, 3, 6, 5, 7, 10, 9, 12, 11, 14, 13, 15};
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
  const char* moves[] = {"LEFT", "UP", "RIGHT", "DOWN", "HOME", "END", "BACKSPACE"};
  const uint32_t moveCodes[] = {0x25, 0x26, 0x27, 0x28, 0x24, 0x23, 0x08};
  for (int i = 0; i < 7; ++i) {
    KeyNames[51 + i] = moves[i];
    KeyCodes[51 + i] = moveCodes[i];
  }
}

namespace {

bool InTables(const HotkeyChoice& keys) {
  return keys.modifier >= 0 && keys.modifier < kModifierCount && keys.key >= 0 &&
         keys.key < kKeyCount;
}

}  // namespace

}  // namespace vd::Hotkeys

namespace vd {

using Hotkeys::InTables;
using Hotkeys::KeyCodes;
using Hotkeys::ModifierFlags;

HotkeyRegistry::HotkeyRegistry(Program& program) : program_(program) {}

std::optional<HotkeyChoice> HotkeyRegistry::Held(int id) const {
  if (id < 1 || id > kLastId) return std::nullopt;
  return held_[static_cast<size_t>(id)];
}

bool HotkeyRegistry::Register(Hwnd window, int id, const HotkeyChoice& keys) {
  if (id < 1 || id > kLastId || !InTables(keys)) return false;
  WindowSystem& ws = program_.ws;
  // An id holds one combination: the one it held before must stop working.
  ws.UnregisterHotKey(window, id);
  std::optional<HotkeyChoice>& held = held_[static_cast<size_t>(id)];
  if (ws.RegisterHotKey(window, id, ModifierFlags[keys.modifier], KeyCodes[keys.key])) {
    held = keys;
    return true;
  }
  if (held) ws.RegisterHotKey(window, id, ModifierFlags[held->modifier], KeyCodes[held->key]);
  return false;
}

void HotkeyRegistry::Release(Hwnd window, int id) {
  program_.ws.UnregisterHotKey(window, id);
  if (id >= 1 && id <= kLastId) held_[static_cast<size_t>(id)].reset();
}

bool HotkeyRegistry::IsTaken(int id, const HotkeyChoice& keys) {
  for (int other = 1; other <= kLastId; ++other) {
    if (other != id && held_[static_cast<size_t>(other)] == keys) {
      ReportTaken();
      return true;
    }
  }
  return false;
}

bool HotkeyRegistry::Set(Hwnd pager, int id, const HotkeyChoice& keys, bool report) {
  if (IsTaken(id, keys)) return false;
  if (!Register(pager, id, keys)) {
    // Another program holds the combination: a refusal is never reported as success.
    if (report) ReportTaken();
    return false;
  }
  if (report) ReportAssigned();
  return true;
}

void HotkeyRegistry::RegisterEntry(Hwnd pager, int id, const HotkeyEntry& hotkey) {
  if (!hotkey.stored || id < 1 || id > kLastId) return;
  if (!hotkey.enabled) {
    Release(pager, id);
  } else {
    Register(pager, id, hotkey.keys);
  }
}

void HotkeyRegistry::ReportTaken() {
  ShowMessage(program_, "Hotkeys Error",
              "The selected hotkeys have been assigned. Please choose a different "
              "combinations.",
              "critical", "Ok;");
}

void HotkeyRegistry::ReportAssigned() {
  ShowMessage(program_, "Hotkeys Assigned", "Selected hotkeys have been assigned successfully.",
              "apply", "Ok;");
}

}  // namespace vd
