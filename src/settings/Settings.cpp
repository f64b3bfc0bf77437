#include "settings/Settings.h"

#include <algorithm>
#include <charconv>

#include "core/Text.h"
#include "settings/Hotkeys.h"
#include "settings/SettingsFile.h"

namespace vd {

namespace {

class Reader {
 public:
  Reader(WindowSystem& ws, const std::string& file) : ws_(ws), file_(file) {}

  std::string Text(const char* section, const std::string& key) const {
    return ReadSetting(ws_, file_, section, key);
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
  WindowSystem& ws_;
  const std::string& file_;
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

std::optional<DesktopHotkey> ParseDesktopHotkey(const std::string& entry) {
  const auto fields = Split(entry, ',');
  if (fields.size() < 3) return std::nullopt;
  auto keys = ParseChoice(fields);
  auto enabled = ToInt32(fields[2]);
  if (!keys || !enabled) return std::nullopt;
  return DesktopHotkey{*keys, *enabled == 1, true};
}

std::string Indexes(const HotkeyChoice& c) {
  return std::to_string(c.modifier) + "," + std::to_string(c.key);
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
  s.left = ToSingle(ReadIniValue(ws, file, "SETUP", "left"));
  s.top = ToSingle(ReadIniValue(ws, file, "SETUP", "top"));
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
    auto hotkey = ParseDesktopHotkey(read.Text("HOTKEYS", key));
    if (!hotkey) hotkey = ParseDesktopHotkey(DefaultSetting("HOTKEYS", key));
    if (hotkey) s.desktopHotkeys[static_cast<size_t>(desktop)] = *hotkey;
  }
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
  return written;
}

bool WriteDesktopHotkey(WindowSystem& ws, const std::string& file, int desktop,
                        const DesktopHotkey& hotkey) {
  return ws.WritePrivateProfileStringW("HOTKEYS", std::to_string(desktop),
                                       Indexes(hotkey.keys) + "," + (hotkey.enabled ? "1" : "0"),
                                       file);
}

bool WritePagerPosition(WindowSystem& ws, const std::string& file, float left, float top) {
  const bool leftWritten = ws.WritePrivateProfileStringW("SETUP", "left", FormatSingle(left), file);
  return ws.WritePrivateProfileStringW("SETUP", "top", FormatSingle(top), file) && leftWritten;
}

}  // namespace vd
