#include "settings/Settings.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <map>
#include <set>
#include <utility>

#include "core/Text.h"
#include "platform/Utf8.h"
#include "settings/Hotkeys.h"
#include "settings/SettingsFile.h"

namespace vd {

namespace {

// The longest name the file may hold: each of its characters up to four bytes, each byte as %XX.
constexpr size_t kLongestStoredName = kMaxNameLength * 4 * 3;
// Every other value reads as its first 127 bytes, as it always did.
constexpr size_t kLongestValue = 127;

// The settings file, read a section at a time (one reading of the file for all its keys, not
// one a key: a start reads some 270 keys) with the rules of reading one key: names regardless
// of letter case, the first of two equal names counting.
class Reader {
 public:
  Reader(WindowSystem& ws, const std::string& file) : ws_(ws), file_(file) {}

  // The file's value, cut to `longest` bytes between characters; empty when it has none.
  std::string Stored(const char* section, const std::string& key,
                     size_t longest = kLongestValue) const {
    const std::map<std::string, std::string>& values = Section(section);
    const auto found = values.find(Lowered(key));
    return found == values.end() ? std::string() : CutBetweenCharacters(found->second, longest);
  }
  // The file's value, or the built-in one when the file gives the empty text.
  std::string Text(const char* section, const std::string& key) const {
    std::string value = Stored(section, key);
    return value.empty() ? DefaultSetting(section, key) : value;
  }
  // A whole number within [low, high]; the built-in value when the file's does not convert or
  // lies outside.
  std::optional<int> Number(const char* section, const char* key, int low, int high) const {
    auto inRange = [&](const std::string& text) -> std::optional<int> {
      auto v = ToInt32(text);
      if (v && *v >= low && *v <= high) return *v;
      return std::nullopt;
    };
    if (auto v = inRange(Text(section, key))) return v;
    return inRange(DefaultSetting(section, key));
  }
  // A whole number pulled into [low, high]; the built-in value when the file's does not convert.
  std::optional<int> Clamped(const char* section, const char* key, int low, int high) const {
    auto v = ToInt32(Text(section, key));
    if (!v) v = ToInt32(DefaultSetting(section, key));
    if (!v) return std::nullopt;
    return std::clamp<int>(*v, low, high);
  }
  bool Flag(const char* section, const char* key) const {
    return Number(section, key, 0, 1).value_or(0) == 1;
  }
  // A colour is a 32-bit value, written as an unsigned number (a system colour has the top
  // bit set) and accepted as a signed one too.
  uint32_t Colour(const char* key) const {
    if (auto v = ColourValue(Text("SETUP", key))) return *v;
    return ColourValue(DefaultSetting("SETUP", key)).value_or(0);
  }
  static std::optional<uint32_t> ColourValue(const std::string& text) {
    if (auto v = ToInt32(text)) return static_cast<uint32_t>(*v);
    uint32_t value = 0;
    const char* end = text.data() + text.size();
    auto [last, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || last != end || text.empty()) return std::nullopt;
    return value;
  }

 private:
  static std::string Lowered(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
  }
  static std::string CutBetweenCharacters(const std::string& text, size_t longest) {
    if (text.size() <= longest) return text;
    size_t kept = longest;
    while (kept > 0 && (static_cast<unsigned char>(text[kept]) & 0xC0) == 0x80) --kept;
    return text.substr(0, kept);
  }
  const std::map<std::string, std::string>& Section(const char* name) const {
    auto at = sections_.find(name);
    if (at == sections_.end()) {
      std::map<std::string, std::string> values;
      for (auto& [key, value] : ws_.GetPrivateProfileSectionW(name, file_)) {
        values.emplace(Lowered(key), std::move(value));  // the first of equal names stays
      }
      at = sections_.emplace(name, std::move(values)).first;
    }
    return at->second;
  }

  WindowSystem& ws_;
  const std::string& file_;
  mutable std::map<std::string, std::map<std::string, std::string>> sections_;
};

// "modifier,key" (and ",enabled"), each index in its table or -1.
std::optional<HotkeyChoice> ParseChoice(const std::vector<std::string>& fields) {
  if (fields.size() < 2) return std::nullopt;
  auto m = ToInt32(fields[0]), k = ToInt32(fields[1]);
  if (!m || !k || *m < -1 || *m >= Hotkeys::kModifierCount || *k < -1 || *k >= Hotkeys::kKeyCount) {
    return std::nullopt;
  }
  return HotkeyChoice{*m, *k};
}

HotkeyChoice ReadChoice(const std::string& stored, const std::string& builtIn) {
  if (auto c = ParseChoice(Split(stored, ','))) return *c;
  return ParseChoice(Split(builtIn, ',')).value_or(HotkeyChoice{});
}

std::optional<HotkeyEntry> ParseDesktopHotkey(const std::string& entry) {
  const auto fields = Split(entry, ',');
  if (fields.size() < 3) return std::nullopt;
  auto keys = ParseChoice(fields);
  auto enabled = ToInt32(fields[2]);
  if (!keys || !enabled) return std::nullopt;
  return HotkeyEntry{*keys, *enabled == 1, true};
}

std::string Indexes(const HotkeyChoice& c) {
  return std::to_string(c.modifier) + "," + std::to_string(c.key);
}

std::string Entry(const HotkeyEntry& hotkey) {
  return Indexes(hotkey.keys) + "," + (hotkey.enabled ? "1" : "0");
}

// An entry of [HOTKEYS], [SEND] or [KEYS]: the file's, else the built-in one, else none.
HotkeyEntry ReadEntry(const Reader& read, const char* section, const std::string& key) {
  auto hotkey = ParseDesktopHotkey(read.Text(section, key));
  if (!hotkey) hotkey = ParseDesktopHotkey(DefaultSetting(section, key));
  return hotkey.value_or(HotkeyEntry{});
}

// A desktop's name in the file: printable ASCII as it is, every other byte (and '%', and a
// space or quote at either end, which the profile functions would take away) as %XX. The
// profile functions write a file of the ANSI code page, where a name in another script would
// come back as question marks; escaped, it comes back exactly on any system.
std::string EncodeName(const std::string& name) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (size_t i = 0; i < name.size(); ++i) {
    const auto c = static_cast<unsigned char>(name[i]);
    const bool atEnd = i == 0 || i + 1 == name.size();
    const bool plain =
        c >= 0x20 && c < 0x7F && c != '%' && !(atEnd && (c == ' ' || c == '"' || c == '\''));
    if (plain) {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 0xF];
    }
  }
  return out;
}

// The name back from the file; a damaged one (an escape that is no escape, bytes that are no
// UTF-8) reads as no name.
std::string DecodeName(const std::string& stored) {
  std::string out;
  for (size_t i = 0; i < stored.size(); ++i) {
    if (stored[i] != '%') {
      out += stored[i];
      continue;
    }
    unsigned value = 0;
    const char* first = stored.data() + i + 1;
    if (i + 2 >= stored.size() || std::from_chars(first, first + 2, value, 16).ptr != first + 2) {
      return "";
    }
    out += static_cast<char>(value);
    i += 2;
  }
  return IsValidUtf8(out) ? CleanDesktopName(out) : "";
}

}  // namespace

int Settings::AlphaOfOpacity(int opacity) {
  static constexpr int kAlpha[] = {255, 100, 150, 200};
  return opacity >= 0 && opacity <= 3 ? kAlpha[opacity] : 255;
}

Settings ReadSettings(WindowSystem& ws, const std::string& file) {
  const Reader read(ws, file);
  Settings s;
  // A grid of 0 columns would leave no desktop; a pager above 100 % would leave the screen.
  s.columns = read.Clamped("SETUP", "columns", 1, 9);
  s.rows = read.Clamped("SETUP", "rows", 1, 9);
  s.widthPercent = read.Clamped("SETUP", "width", 1, 100);
  s.heightPercent = read.Clamped("SETUP", "height", 1, 100);
  s.left = ToSingle(read.Stored("SETUP", "left"));
  s.top = ToSingle(read.Stored("SETUP", "top"));
  if (auto v = ToInt32(read.Text("SETUP", "transparent")); v && *v >= 0 && *v <= 3) s.opacity = v;
  s.hideHotkey = ReadChoice(read.Text("SETUP", "hide"), DefaultSetting("SETUP", "hide"));
  s.colorNormal = read.Colour("color_normal");
  s.colorHover = read.Colour("color_hover");
  s.colorSelected = read.Colour("color_selected");
  s.colorBox = read.Colour("color_box");
  s.animate = read.Flag("SETUP", "animate");
  s.preview = read.Flag("SETUP", "preview");
  s.autoHide = read.Flag("SETUP", "auto_hide");
  s.autoStart = read.Flag("SETUP", "auto_start");
  s.panicEnabled = read.Flag("ALERT", "enabled");
  s.panicDesktop = read.Number("ALERT", "desktop", 0, kMaxDesktops).value_or(0);
  s.panicHotkey =
      ReadChoice(read.Text("ALERT", "key1") + "," + read.Text("ALERT", "key2"),
                 DefaultSetting("ALERT", "key1") + "," + DefaultSetting("ALERT", "key2"));
  for (int desktop = 1; desktop <= kMaxDesktops; ++desktop) {
    const std::string key = std::to_string(desktop);
    const auto at = static_cast<size_t>(desktop);
    s.desktopHotkeys[at] = ReadEntry(read, "HOTKEYS", key);
    s.sendHotkeys[at] = ReadEntry(read, "SEND", key);
    s.desktopNames[at] = DecodeName(read.Stored("NAMES", key, kLongestStoredName));
  }
  for (int k = 0; k < kGridKeyCount; ++k) {
    s.gridKeys[static_cast<size_t>(k)] = ReadEntry(read, "KEYS", kGridKeyNames[k]);
  }
  s.wrapGrid = read.Flag("KEYS", "wrap");
  s.switchNote = read.Flag("KEYS", "note");
  return s;
}

bool WriteSettings(WindowSystem& ws, const std::string& file, const Settings& s) {
  bool written = true;
  auto write = [&](const char* section, const char* key, const std::string& value) {
    written = ws.WritePrivateProfileStringW(section, key, value, file) && written;
  };
  auto number = [](const std::optional<int>& v) { return v ? std::to_string(*v) : ""; };
  auto flag = [](bool on) { return std::string(on ? "1" : "0"); };
  write("SETUP", "columns", number(s.columns));
  write("SETUP", "rows", number(s.rows));
  write("SETUP", "transparent", std::to_string(s.opacity.value_or(-1)));
  write("SETUP", "hide", Indexes(s.hideHotkey));
  write("SETUP", "width", number(s.widthPercent));
  write("SETUP", "height", number(s.heightPercent));
  write("SETUP", "color_normal", std::to_string(s.colorNormal));
  write("SETUP", "color_hover", std::to_string(s.colorHover));
  write("SETUP", "color_selected", std::to_string(s.colorSelected));
  write("SETUP", "color_box", std::to_string(s.colorBox));
  write("SETUP", "animate", flag(s.animate));
  write("SETUP", "preview", flag(s.preview));
  write("SETUP", "auto_hide", flag(s.autoHide));
  write("SETUP", "auto_start", flag(s.autoStart));
  write("ALERT", "desktop", std::to_string(s.panicDesktop));
  write("ALERT", "key1", std::to_string(s.panicHotkey.modifier));
  write("ALERT", "key2", std::to_string(s.panicHotkey.key));
  write("ALERT", "enabled", flag(s.panicEnabled));
  write("KEYS", "wrap", flag(s.wrapGrid));
  write("KEYS", "note", flag(s.switchNote));
  // Names are written for every desktop that has or had one; a file without [NAMES] stays so
  // while no desktop is named.
  std::set<std::string> named;  // the desktops the file names now, read once
  for (const auto& [key, value] : ws.GetPrivateProfileSectionW("NAMES", file)) {
    if (!value.empty()) named.insert(key);
  }
  for (int desktop = 1; desktop <= kMaxDesktops; ++desktop) {
    const std::string& name = s.desktopNames[static_cast<size_t>(desktop)];
    const std::string key = std::to_string(desktop);
    if (!name.empty() || named.count(key) != 0) {
      write("NAMES", key.c_str(), EncodeName(name));
    }
  }
  return written;
}

bool WriteDesktopHotkey(WindowSystem& ws, const std::string& file, int desktop,
                        const HotkeyEntry& hotkey) {
  return ws.WritePrivateProfileStringW("HOTKEYS", std::to_string(desktop), Entry(hotkey), file);
}

bool WriteSendHotkey(WindowSystem& ws, const std::string& file, int desktop,
                     const HotkeyEntry& hotkey) {
  return ws.WritePrivateProfileStringW("SEND", std::to_string(desktop), Entry(hotkey), file);
}

bool WriteGridKey(WindowSystem& ws, const std::string& file, GridKey key,
                  const HotkeyEntry& hotkey) {
  return ws.WritePrivateProfileStringW("KEYS", kGridKeyNames[static_cast<int>(key)], Entry(hotkey),
                                       file);
}

std::string DesktopTitle(const Settings& settings, int desktop) {
  const std::string number = std::to_string(desktop);
  if (desktop < 1 || desktop > kMaxDesktops) return "Desktop " + number;
  const std::string& name = settings.desktopNames[static_cast<size_t>(desktop)];
  return name.empty() ? "Desktop " + number : number + ": " + name;
}

std::string CleanDesktopName(const std::string& name) {
  std::string kept;
  for (const char c : name) kept += (c == '\r' || c == '\n' || c == '\t') ? ' ' : c;
  const size_t first = kept.find_first_not_of(' ');
  if (first == std::string::npos) return "";
  kept = kept.substr(first, kept.find_last_not_of(' ') - first + 1);
  return FirstCharacters(kept, kMaxNameLength);
}

bool WritePagerPosition(WindowSystem& ws, const std::string& file, float left, float top) {
  const bool leftWritten = ws.WritePrivateProfileStringW("SETUP", "left", FormatSingle(left), file);
  return ws.WritePrivateProfileStringW("SETUP", "top", FormatSingle(top), file) && leftWritten;
}

}  // namespace vd
