// The program's settings as one value: read from "settings.ini" once at start, owned by the
// program, handed to the parts that need it, edited as a copy by the options dialog and
// written back when the user confirms it. The file keeps its sections, keys and formats.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/WindowSystem.h"

namespace vd {

// A hotkey as two list indexes: the modifier (0 "ALT", 1 "CTRL", 2 "SHIFT", 3 "WIN") and the
// key (into the key table); -1 when nothing is chosen.
struct HotkeyChoice {
  int modifier = -1;
  int key = -1;
  bool operator==(const HotkeyChoice&) const = default;
};

// A hotkey the user can switch off: a desktop's, the one that sends the front window to a
// desktop, a grid key.
struct HotkeyEntry {
  HotkeyChoice keys;
  bool enabled = false;
  bool stored = false;  // the file (or the built-in values) holds an entry for it
  bool operator==(const HotkeyEntry&) const = default;
};

inline constexpr int kMaxDesktops = 81;
inline constexpr size_t kMaxNameLength = 32;  // characters of a desktop's name

// The keys that walk the grid from the current desktop: to the neighbour on each side, the
// next and previous in number order, back to the desktop last left; and the four that carry
// the front window to the neighbour on a side and follow it there.
enum class GridKey {
  kLeft,
  kRight,
  kUp,
  kDown,
  kNext,
  kPrevious,
  kBack,
  kCarryLeft,
  kCarryRight,
  kCarryUp,
  kCarryDown,
};
inline constexpr int kGridKeyCount = 11;
// Their keys in the file's [KEYS] section.
inline constexpr const char* kGridKeyNames[kGridKeyCount] = {
    "left", "right",      "up",          "down",     "next",      "previous",
    "back", "carry_left", "carry_right", "carry_up", "carry_down"};

struct Settings {
  // The grid (1 to 9 each) and the pager's size in percent of the screen (1 to 100); empty
  // when neither the file nor the built-in values hold a number.
  std::optional<int> columns, rows;
  std::optional<int> widthPercent, heightPercent;
  // Where the user left the pager, in twips of a screen at 100 % (15 per screen pixel), so
  // that the place stays the same on the screen whatever its scale.
  std::optional<float> left, top;
  // The pager's opacity: 0 opaque, 1 high, 2 medium, 3 low; empty when the file names none of
  // them (the pager's opacity is then left as it is).
  std::optional<int> opacity;
  HotkeyChoice hideHotkey;
  uint32_t colorNormal = 0, colorHover = 0, colorSelected = 0, colorBox = 0;
  bool animate = false, preview = false, autoHide = false, autoStart = false;
  bool panicEnabled = false;
  int panicDesktop = 0;  // 0: none chosen
  HotkeyChoice panicHotkey;
  std::array<HotkeyEntry, kMaxDesktops + 1> desktopHotkeys{};  // by desktop, 1 to 81
  // Sending the front window to a desktop, by desktop ([SEND]); the grid keys ([KEYS]), whether
  // a walk off an edge comes in at the other and whether a switch by hotkey with the pager
  // put away shows the desktop's note; the desktops' names ([NAMES], empty: none).
  std::array<HotkeyEntry, kMaxDesktops + 1> sendHotkeys{};
  std::array<HotkeyEntry, kGridKeyCount> gridKeys{};
  bool wrapGrid = false, switchNote = true;
  std::array<std::string, kMaxDesktops + 1> desktopNames{};

  bool operator==(const Settings&) const = default;

  // The pager's alpha for the opacity: 255, 100, 150 or 200.
  int PagerAlpha() const { return AlphaOfOpacity(opacity.value_or(0)); }
  // The alpha of one of the four opacities (255 for anything else).
  static int AlphaOfOpacity(int opacity);
};

// Reads every setting; a key the file does not hold takes the built-in value, a value that
// does not convert (or lies outside what the setting can take) reads as the built-in value.
Settings ReadSettings(WindowSystem& ws, const std::string& file);

// Writes what the options dialog confirms: every key of SETUP but the pager's place, and
// every key of ALERT, every time. Each writer answers false when a value could not be written.
bool WriteSettings(WindowSystem& ws, const std::string& file, const Settings& settings);

// One desktop's hotkey entry ("modifier,key,enabled"), one that sends the front window to a
// desktop, one grid key's.
bool WriteDesktopHotkey(WindowSystem& ws, const std::string& file, int desktop,
                        const HotkeyEntry& hotkey);
bool WriteSendHotkey(WindowSystem& ws, const std::string& file, int desktop,
                     const HotkeyEntry& hotkey);
bool WriteGridKey(WindowSystem& ws, const std::string& file, GridKey key,
                  const HotkeyEntry& hotkey);

// A desktop's name as the program shows it: "3: Mail", or "Desktop 3" without a name.
std::string DesktopTitle(const Settings& settings, int desktop);
// A name as kept: at most kMaxNameLength characters (cut between characters), without line
// breaks or the file's comment and section marks at its ends.
std::string CleanDesktopName(const std::string& name);

// The pager's place, in twips.
bool WritePagerPosition(WindowSystem& ws, const std::string& file, float left, float top);

}  // namespace vd
