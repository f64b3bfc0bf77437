// The settings file (every key read usably, pulled into range or as the built-in value; the keys
// and formats written) and start with Windows' Run value.
#include <gtest/gtest.h>

#include "OptionsProgram.h"
#include "settings/AutoStart.h"
#include "settings/Settings.h"

namespace vd::testing {
namespace {

using SettingsFile = OptionsProgram;

// Each row a file of the one key, "key=stored>written" ("key>written": the file does not hold
// it): what is read is written back as it reads, and what is written reads back the same.
TEST_F(SettingsFile, EveryValueReadsUsablyAndWhatIsWrittenReadsBack) {
  const std::string ini = File("settings.ini").string();
  std::string wideName;  // a name of the longest kind: 32 characters of four bytes each
  for (int i = 0; i < 32; ++i) wideName += "%F0%9F%98%80";
  std::istringstream rows(
      "columns=12>9 columns=0>1 rows=>2 width=250>100 width=-5>1 height>15 transparent=7>-1 "
      "transparent=3>3 hide=-1,999>1,50 hide=-1,50>-1,50 hide=3,-1>3,-1 hide=15,0>1,50 "
      "color_box=-1>4294967295 color_box=4294967296>51455 color_box=blue>51455 "
      "color_normal>7887430 preview=2>1 animate=1>1 auto_hide=1>1 auto_start=1>1 enabled=1>1 "
      "desktop=0>0 desktop=81>81 desktop=82>1 key1=-1>-1 key2=58>49 4=1,12,0>1,12,0 "
      "9=3,50,1>3,50,1 9=0,58,1>0,15,1 2=x>0,8,1 2=1,12>0,8,1 SEND/3>11,9,1 SEND/3=4,20,0>4,20,0 "
      "SEND/12=14,57,1>14,57,1 SEND/12=0,58,1> KEYS/left>11,51,1 KEYS/back=3,57,0>3,57,0 "
      "KEYS/up=x>11,52,1 KEYS/wrap=2>0 KEYS/wrap=1>1 KEYS/note>1 KEYS/note=0>0 NAMES/3=Mail>Mail "
      "NAMES/3=%D0%9F%D0%BE%D1%87%D1%82%D0%B0>%D0%9F%D0%BE%D1%87%D1%82%D0%B0 NAMES/3=%ZZ> "
      "NAMES/3=%FF> NAMES/3=%20Mail%25>Mail%25 NAMES/7=" +
      std::string(40, 'x') + ">" + std::string(32, 'x') + " NAMES/8=" + wideName + ">" + wideName);
  for (std::string row; rows >> row;) {
    const std::string key = row.substr(0, row.find_first_of("=>"));
    std::filesystem::remove(ini);
    if (row[key.size()] == '=')
      fake.WritePrivateProfileStringW(SectionOf(key), KeyOf(key),
                                      row.substr(key.size() + 1, row.find('>') - key.size() - 1),
                                      ini);
    const Settings read = ReadSettings(fake, ini);
    std::filesystem::remove(ini);
    WriteSettings(fake, ini, read);
    for (int d = 1; d <= kMaxDesktops; ++d) {
      if (read.desktopHotkeys[d].stored) WriteDesktopHotkey(fake, ini, d, read.desktopHotkeys[d]);
      if (read.sendHotkeys[d].stored) WriteSendHotkey(fake, ini, d, read.sendHotkeys[d]);
    }
    for (int k = 0; k < kGridKeyCount; ++k) {
      WriteGridKey(fake, ini, static_cast<GridKey>(k), read.gridKeys[k]);
    }
    EXPECT_EQ(Saved(key), key + "=" + row.substr(row.find('>') + 1)) << row;
    EXPECT_EQ(ReadSettings(fake, ini), read) << row;
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
  WriteDesktopHotkey(fake, ini, 3, HotkeyEntry{{0, 9}, false, true});
  WriteDesktopHotkey(fake, ini, 4, HotkeyEntry{{3, 50}, true, true});
  WritePagerPosition(fake, ini, 1234.5f, -60);
  EXPECT_EQ(Saved("columns rows width height transparent hide color_normal color_hover "
                  "color_selected color_box animate preview auto_hide auto_start left top enabled "
                  "desktop key1 key2 3 4 5"),
            "columns=4 rows= width=30 height=20 transparent=-1 hide=2,46 color_normal=4294967295 "
            "color_hover=0 color_selected=255 color_box=0 animate=1 preview=0 auto_hide=1 "
            "auto_start=0 left=1234.5 top=-60 enabled=1 desktop=7 key1=1 key2=-1 3=0,9,0 "
            "4=3,50,1 5=");
}

// Written as text, its length counting the terminating NUL; deleted with no fault when there is
// none; every key closed again.
TEST_F(SettingsFile, TheRunValueNamesTheProgramQuotedWithoutItsExtension) {
  for (const auto& [folder, value] : std::vector<std::pair<std::string, std::string>>{
           {"C:\\Program Files\\VUE DECK", "\"C:\\Program Files\\VUE DECK\\vuedeck\""},
           {"D:\\", "\"D:\\vuedeck\""},
           {"E:\\apps/", "\"E:\\apps\\vuedeck\""}}) {
    fake.SetProgramFolder(folder);
    fake.ClearCalls();
    EXPECT_FALSE(AutoStart::AppAutoStart(fake));
    EXPECT_EQ(RunValue(), value);
    EXPECT_FALSE(AutoStart::AppAutoStop(fake) || AutoStart::AppAutoStop(fake));
    EXPECT_EQ(RunValue(), "(none)");
    std::string calls;
    for (const fake::Call& c : fake.Calls()) {
      if (c.name == "RegSetValueExW") calls += c.args[1] + " " + c.args[2] + " " + c.args[4] + " ";
      if (c.name.rfind("Reg", 0) == 0) calls += c.name + " ";
    }
    EXPECT_EQ(calls, "RegOpenKeyExW VUEDECK " + std::to_string(REG_SZ) + " " +
                         std::to_string(value.size() + 1) +
                         " RegSetValueExW RegCloseKey RegOpenKeyExW RegDeleteValueW RegCloseKey "
                         "RegOpenKeyExW RegDeleteValueW RegCloseKey ");
  }
}

}  // namespace
}  // namespace vd::testing
