#include "SettingsIni.h"

#include <cstdio>

namespace vdbench {

SettingsIni::SettingsIni() {
  Set("SETUP", "columns", "3");
  Set("SETUP", "rows", "2");
  Set("SETUP", "width", "25");
  Set("SETUP", "height", "25");
  Set("SETUP", "left", "9000");  // twips: 600 px at 15 twips a pixel
  Set("SETUP", "top", "1500");   // 100 px
  Set("SETUP", "transparent", "0");
  Set("SETUP", "hide", "1,50");
  Set("SETUP", "color_normal", "8404992");  // 0x804000: a dark blue
  Set("SETUP", "color_hover", "16744448");  // 0xFF8000: a light blue
  Set("SETUP", "color_selected", "32768");  // 0x008000: green
  Set("SETUP", "color_box", "65535");       // 0x00FFFF: yellow
  Set("SETUP", "animate", "0");
  Set("SETUP", "preview", "0");
  Set("SETUP", "auto_hide", "0");
  Set("SETUP", "auto_start", "0");
  Set("ALERT", "enabled", "0");
  Set("ALERT", "desktop", "1");
  Set("ALERT", "key1", "1");
  Set("ALERT", "key2", "49");
  // Key index 7 is the digit 1, so desktop n has Alt + the digit n.
  for (int n = 1; n <= 6; ++n)
    Set("HOTKEYS", std::to_string(n), "0," + std::to_string(6 + n) + ",1");
}

void SettingsIni::Set(const std::string& section, const std::string& key,
                      const std::string& value) {
  for (auto& [name, keys] : sections_) {
    if (name != section) continue;
    for (auto& [k, v] : keys) {
      if (k == key) {
        v = value;
        return;
      }
    }
    keys.emplace_back(key, value);
    return;
  }
  sections_.push_back({section, Keys{{key, value}}});
}

void SettingsIni::Remove(const std::string& section, const std::string& key) {
  for (auto& [name, keys] : sections_) {
    if (name != section) continue;
    for (auto it = keys.begin(); it != keys.end(); ++it) {
      if (it->first == key) {
        keys.erase(it);
        return;
      }
    }
  }
}

std::string SettingsIni::Get(const std::string& section, const std::string& key) const {
  for (const auto& [name, keys] : sections_) {
    if (name != section) continue;
    for (const auto& [k, v] : keys) {
      if (k == key) return v;
    }
  }
  return "";
}

std::string SettingsIni::Text() const {
  std::string text;
  for (const auto& [name, keys] : sections_) {
    text += "[" + name + "]\r\n";
    for (const auto& [k, v] : keys) text += k + "=" + v + "\r\n";
    text += "\r\n";
  }
  return text;
}

bool SettingsIni::Write(const std::string& path) const {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  std::string text = Text();
  bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
  return std::fclose(f) == 0 && ok;
}

}  // namespace vdbench
