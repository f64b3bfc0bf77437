// The settings file: every key read usably (pulled into range, or the built-in value), and the
// keys and formats written.
#include <gtest/gtest.h>

#include "OptionsProgram.h"
#include "settings/Settings.h"

namespace vd::testing {
namespace {

using SettingsFile = OptionsProgram;

// The settings as " key=value " words.
std::string Describe(const Settings& s) {
  auto n = [](std::optional<int> v) { return v ? std::to_string(*v) : "none"; };
  auto keys = [](const HotkeyChoice& k) {
    return std::to_string(k.modifier) + "," + std::to_string(k.key);
  };
  std::ostringstream d;
  d << " columns=" << n(s.columns) << " rows=" << n(s.rows) << " width=" << n(s.widthPercent)
    << " height=" << n(s.heightPercent) << " transparent=" << n(s.opacity)
    << " alpha=" << s.PagerAlpha() << " hide=" << keys(s.hideHotkey)
    << " color_normal=" << s.colorNormal << " color_box=" << s.colorBox << " animate=" << s.animate
    << " preview=" << s.preview << " auto_hide=" << s.autoHide << " auto_start=" << s.autoStart
    << " enabled=" << s.panicEnabled << " desktop=" << s.panicDesktop
    << " panic=" << keys(s.panicHotkey);
  for (size_t i = 1; i < s.desktopHotkeys.size(); ++i) {
    const DesktopHotkey& h = s.desktopHotkeys[i];
    if (h.stored) d << " " << i << "=" << keys(h.keys) << "," << h.enabled;
  }
  return d.str() + " ";
}

// Each row a file of the one key (missing when nullptr); what is read writes and reads back.
TEST_F(SettingsFile, EveryValueReadsUsablyAndWhatIsWrittenReadsBack) {
  const std::string ini = File("settings.ini").string();
  const struct {
    const char *key, *stored, *read;
  } cases[] = {{"columns", "12", "columns=9"},
               {"columns", "0", "columns=1"},
               {"rows", "", "rows=2"},
               {"rows", "three", "rows=2"},
               {"width", "250", "width=100"},
               {"width", "-5", "width=1"},
               {"height", nullptr, "height=15"},
               {"transparent", "7", "transparent=none alpha=255"},
               {"transparent", "-1", "transparent=none"},
               {"transparent", "0", "transparent=0 alpha=255"},
               {"transparent", "1", "alpha=100"},
               {"transparent", "2", "alpha=150"},
               {"transparent", "3", "transparent=3 alpha=200"},
               {"hide", "-1,999", "hide=1,50"},
               {"hide", "-1,50", "hide=-1,50"},
               {"hide", "3,-1", "hide=3,-1"},
               {"hide", "4,0", "hide=1,50"},
               {"hide", "7", "hide=1,50"},
               {"color_box", "-1", "color_box=4294967295"},
               {"color_box", "4294967295", "color_box=4294967295"},
               {"color_box", "4294967296", "color_box=51455"},
               {"color_box", "blue", "color_box=51455"},
               {"color_normal", nullptr, "color_normal=7887430"},
               {"preview", "2", "preview=1 animate=0"},
               {"animate", "1", "animate=1"},
               {"auto_hide", "1", "auto_hide=1 auto_start=0"},
               {"auto_start", "1", "auto_start=1 auto_hide=0"},
               {"enabled", "1", "enabled=1"},
               {"desktop", "0", "desktop=0"},
               {"desktop", "81", "desktop=81"},
               {"desktop", "82", "desktop=1"},
               {"key1", "-1", "panic=-1,49"},
               {"key2", "51", "panic=1,49"},
               {"4", "1,12,0", "4=1,12,0"},
               {"4", "1,12,5", "4=1,12,0"},
               {"9", "3,50,1", "9=3,50,1"},
               {"9", "0,51,1", "9=0,15,1"},
               {"2", "x", "2=0,8,1"},
               {"2", "1,12", "2=0,8,1"}};
  for (const auto& c : cases) {
    std::filesystem::remove(ini);
    if (c.stored) fake.WritePrivateProfileStringA(SectionOf(c.key), c.key, c.stored, ini);
    const Settings read = ReadSettings(fake, ini);
    std::istringstream words(c.read);
    for (std::string word; words >> word;) {
      EXPECT_NE(Describe(read).find(" " + word + " "), std::string::npos)
          << c.key << "=" << (c.stored ? c.stored : "(none)") << " reads" << Describe(read);
    }
    WriteSettings(fake, ini, read);
    for (int d = 1; d <= kMaxDesktops; ++d) {
      if (read.desktopHotkeys[d].stored) WriteDesktopHotkey(fake, ini, d, read.desktopHotkeys[d]);
    }
    EXPECT_EQ(ReadSettings(fake, ini), read) << c.key << "=" << (c.stored ? c.stored : "");
  }
}

TEST_F(SettingsFile, WhatIsWrittenKeepsTheFilesKeysAndFormats) {
  const std::string ini = File("settings.ini").string();
  std::filesystem::remove(ini);
  Settings s;
  s.columns = 4, s.widthPercent = 30, s.heightPercent = 20, s.hideHotkey = {2, 46};
  s.colorNormal = 0xFFFFFFFF, s.colorSelected = 255, s.panicDesktop = 7, s.panicHotkey = {1, -1};
  s.animate = s.autoHide = s.panicEnabled = true;
  WriteSettings(fake, ini, s);
  WriteDesktopHotkey(fake, ini, 3, DesktopHotkey{{0, 9}, false, true});
  WriteDesktopHotkey(fake, ini, 4, DesktopHotkey{{3, 50}, true, true});
  WritePagerPosition(fake, ini, 1234.5f, -60);
  EXPECT_EQ(Saved("columns rows width height transparent hide color_normal color_hover "
                  "color_selected color_box animate preview auto_hide auto_start left top enabled "
                  "desktop key1 key2 3 4 5"),
            "columns=4 rows= width=30 height=20 transparent=-1 hide=2,46 color_normal=4294967295 "
            "color_hover=0 color_selected=255 color_box=0 animate=1 preview=0 auto_hide=1 "
            "auto_start=0 left=1234.5 top=-60 enabled=1 desktop=7 key1=1 key2=-1 3=0,9,0 "
            "4=3,50,1 5=");
  // A value reads as its first 127 characters; a missing file as the empty text.
  fake.WritePrivateProfileStringA("SETUP", "long", std::string(200, 'x'), ini);
  EXPECT_EQ(ReadIniValue(fake, ini, "SETUP", "long"), std::string(127, 'x'));
  EXPECT_EQ(ReadIniValue(fake, ini + ".none", "SETUP", "columns"), "");
}

}  // namespace
}  // namespace vd::testing
