// The hotkey model: one modifier (or chord of modifiers) and one key, each from a fixed table;
// ids 1 to 81 for the desktops, 98 for panic, 99 for hide/unhide, 101 to 181 for sending the
// front window to a desktop and 182 on for the keys that walk the grid; the registry of what
// was registered under each id, which keeps two ids from sharing a combination.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/WindowSystem.h"
#include "settings/Settings.h"

namespace vd {
class Program;
}

namespace vd::Hotkeys {

inline constexpr int kPanicHotkeyId = 98;
inline constexpr int kHideHotkeyId = 99;
inline constexpr int kFirstSendHotkeyId = 100;  // + the desktop: 101 to 181
inline constexpr int kFirstGridKeyId = 182;     // + the GridKey
inline constexpr int kModifierCount = 15;
inline constexpr int kKeyCount = 58;

extern std::array<std::string, kModifierCount> ModifierNames;
extern std::array<uint32_t, kModifierCount> ModifierFlags;
extern std::array<std::string, kKeyCount> KeyNames;
extern std::array<uint32_t, kKeyCount> KeyCodes;

// Fills the four tables: "ALT", "CTRL", "SHIFT", "WIN", then the chords of two, three and four
// of them; TAB, RETURN, PAGE UP, PAGE DOWN, INSERT, DELETE, the digits, the letters A to W,
// F1 to F12, then the arrows, HOME, END and BACKSPACE. Files of earlier versions hold indexes
// into the first parts of the tables, which keep their places.
void FillKeyTables();

// The id of a grid key's hotkey and of the hotkey that sends the front window to a desktop.
inline int GridKeyId(GridKey key) { return kFirstGridKeyId + static_cast<int>(key); }
inline int SendHotkeyId(int desktop) { return kFirstSendHotkeyId + desktop; }

}  // namespace vd::Hotkeys

namespace vd {

// What the program registered under each of its hotkey ids (1 to 81 the desktops, 98 panic,
// 99 hide/unhide), and the registration that keeps two ids from sharing a combination.
class HotkeyRegistry {
 public:
  static constexpr int kLastId = Hotkeys::kFirstGridKeyId + kGridKeyCount - 1;
  explicit HotkeyRegistry(Program& program);

  // The combination registered under the id; empty when none is.
  std::optional<HotkeyChoice> Held(int id) const;
  // Registers the combination under the id on the window, after unregistering what the id
  // held. When the system refuses it (another program holds it), the id gets its previous
  // combination back, the record stays as it was, and the result is false. Indexes outside
  // the tables are refused the same way.
  bool Register(Hwnd window, int id, const HotkeyChoice& keys);
  // Unregisters the id's hotkey: its combination is free for another id.
  void Release(Hwnd window, int id);
  // True when another id already holds the combination; the user is then told with the
  // "Hotkeys Error" message.
  bool IsTaken(int id, const HotkeyChoice& keys);
  // Registers one of the program's hotkeys under its id on the pager. False when another id
  // holds the combination (the user is told) or the system refuses it (told only with
  // report); with report a success is confirmed too.
  bool Set(Hwnd pager, int id, const HotkeyChoice& keys, bool report);
  // Registers the hotkey of an id on the pager: a disabled one is unregistered; one the
  // settings file never held (or held unusable) leaves the hotkey as it was.
  void RegisterEntry(Hwnd pager, int id, const HotkeyEntry& hotkey);
  // The two messages that report on a hotkey the user set.
  void ReportTaken();
  void ReportAssigned();

 private:
  Program& program_;  // the window system and the message box
  std::array<std::optional<HotkeyChoice>, kLastId + 1> held_{};
};

}  // namespace vd
