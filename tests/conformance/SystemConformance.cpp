// The rest of the system the program leans on: the settings file, global hotkeys, the Run key
// behind "start with Windows", the one-step file replacement its lists are saved with, the
// tray icon and the screen.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <tuple>

#include "Harness.h"

namespace vd::conformance {
namespace {

constexpr uint32_t kF8 = 0x77, kF9 = 0x78;

class SystemConformance : public ConformanceTest {
 protected:
  // Reads the settings file as the program does: no default, a buffer of 128 characters.
  std::string Read(const std::string& section, const std::string& key) {
    char buffer[128];
    std::fill(std::begin(buffer), std::end(buffer), 'X');
    const uint32_t count = Ws().GetPrivateProfileStringA(section, key, "", buffer, 128, file_);
    return count < 128 && buffer[count] == '\0' ? std::string(buffer, count) : "(overrun)";
  }
  bool Write(const std::string& section, const std::string& key, const std::string& value) {
    return Ws().WritePrivateProfileStringA(section, key, value, file_);
  }
  static std::string Contents(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  void SetUp() override { std::filesystem::create_directory(folder_); }
  void TearDown() override { std::filesystem::remove_all(folder_); }
  std::string File(const char* name) { return (folder_ / name).string(); }

  const std::filesystem::path folder_ =
      std::filesystem::temp_directory_path() / ("vd-" + std::to_string(std::random_device()()));
  const std::string file_ = File("settings.ini");
};

// The file may have been edited by hand.
TEST_F(SystemConformance, ASettingReadsWhateverTheCaseBlanksAndQuotes) {
  EXPECT_EQ(Read("SETUP", "columns"), "");  // no file yet
  std::ofstream(file_, std::ios::binary)
      << "[SETUP]\r\n  Columns   =  3  \r\nquoted=\"two words\"\r\nsingle='x'\r\nhalf=\"open\r\n"
      << "inner=a \"b\" c\r\nlong=" << std::string(200, 'v') << "\r\nempty=\r\nbare\r\nlf=unix\n"
      << "[Hotkeys]\r\n1=1,12,1\r\n";
  const char* const cases[][3] = {
      {"SETUP", "columns", "3"},        {" setup ", " COLUMNS ", "3"}, {"HOTKEYS", "1", "1,12,1"},
      {"SETUP", "quoted", "two words"}, {"SETUP", "single", "x"},      {"SETUP", "half", "\"open"},
      {"SETUP", "inner", "a \"b\" c"},  {"SETUP", "empty", ""},        {"SETUP", "bare", ""},
      {"SETUP", "lf", "unix"},          {"SETUP", "rows", ""},         {"ALERT", "key1", ""}};
  for (const auto& [section, key, value] : cases) EXPECT_EQ(Read(section, key), value) << key;
  EXPECT_EQ(Read("SETUP", "long"), std::string(127, 'v'));  // cut to the buffer
}

TEST_F(SystemConformance, ASettingWrittenChangesOneLineAndLeavesTheOthersAsTheyWere) {
  ASSERT_TRUE(Write("SETUP", "columns", "3"));
  EXPECT_EQ(Contents(file_), "[SETUP]\r\ncolumns=3\r\n");
  std::ofstream(file_, std::ios::binary)
      << "[SETUP]\r\ncolumns=3\r\nrows=2\r\n[ALERT]\r\nkey1=1\r\n";
  ASSERT_TRUE(Write("SETUP", "rows", "5") && Write("SETUP", "left", "1500"));
  ASSERT_TRUE(Write("ALERT", "key1", ""));
  EXPECT_EQ(Contents(file_), "[SETUP]\r\ncolumns=3\r\nrows=5\r\nleft=1500\r\n[ALERT]\r\nkey1=\r\n");
  ASSERT_TRUE(Write("HOTKEYS", "1", "0,7,1"));
  EXPECT_EQ(Read("HOTKEYS", "1") + Read("SETUP", "left"), "0,7,11500");
}

TEST_F(SystemConformance, APressedHotkeyReachesItsWindowWithTheIdItHasNow) {
  const Hwnd owner = desktop_->MakeWindow({});
  ASSERT_TRUE(Ws().RegisterHotKey(owner, 5, MOD_SHIFT, kF8));
  desktop_->PressKeys(MOD_SHIFT, kF8);
  const std::pair<uintptr_t, intptr_t> shiftF8{5, HotkeyLParam(MOD_SHIFT, kF8)};
  EXPECT_EQ(desktop_->HotkeysAfter(owner, MOD_SHIFT, kF8), Hotkeys{shiftF8});
  // The id given other keys, as a changed setting does: the old ones no longer fire. Keys are
  // handled in order, so the old combination had its chance before the new one.
  ASSERT_TRUE(Ws().UnregisterHotKey(owner, 5));
  ASSERT_TRUE(Ws().RegisterHotKey(owner, 5, MOD_CONTROL, kF9));
  desktop_->PressKeys(MOD_SHIFT, kF8);
  desktop_->PressKeys(MOD_CONTROL, kF9);
  EXPECT_EQ(desktop_->HotkeysAfter(owner, MOD_CONTROL, kF9),
            (Hotkeys{shiftF8, {5, HotkeyLParam(MOD_CONTROL, kF9)}}));
}

// A refused registration tells the program that the keys are taken.
TEST_F(SystemConformance, AHotkeyHasOneHolderUntilItIsUnregistered) {
  const Hwnd owner = desktop_->MakeWindow({}), other = desktop_->MakeWindow({});
  ASSERT_TRUE(Ws().RegisterHotKey(owner, 1, MOD_CONTROL, kF9));
  for (auto [what, hwnd, id, modifiers, registers] :
       {std::tuple{"the same window under another id", owner, 2, MOD_CONTROL, false},
        {"another window", other, 1, MOD_CONTROL, false},
        {"the key with another modifier", other, 2, MOD_ALT, true}}) {
    EXPECT_EQ(Ws().RegisterHotKey(hwnd, id, modifiers, kF9), registers) << what;
  }
  EXPECT_TRUE(Ws().UnregisterHotKey(owner, 1));
  EXPECT_TRUE(Ws().RegisterHotKey(other, 1, MOD_CONTROL, kF9));
}

// Written as the program writes it: the key opened for writing only, the length counting the
// terminating NUL.
TEST_F(SystemConformance, AValueWrittenToTheRunKeyReadsBackUntilItIsDeleted) {
  constexpr char kRun[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run", kName[] = "VdTest";
  const std::string command = "\"C:\\Conformance\\vuedeck\"";
  RegKey key = 0;
  ASSERT_EQ(Ws().RegOpenKeyExA(HKEY_CURRENT_USER, kRun, KEY_WRITE, &key), ERROR_SUCCESS);
  EXPECT_EQ(Ws().RegSetValueExA(key, kName, REG_SZ, command, uint32_t(command.size() + 1)),
            ERROR_SUCCESS);
  Ws().RegCloseKey(key);
  ASSERT_EQ(Ws().RegOpenKeyExA(HKEY_CURRENT_USER, kRun, KEY_READ | KEY_WRITE, &key), ERROR_SUCCESS);
  std::string read;
  EXPECT_EQ(Ws().RegQueryValueExA(key, kName, &read), ERROR_SUCCESS);
  EXPECT_EQ(read, command);
  EXPECT_EQ(Ws().RegDeleteValueA(key, kName), ERROR_SUCCESS);
  EXPECT_EQ(Ws().RegQueryValueExA(key, kName, &read), ERROR_FILE_NOT_FOUND);
  Ws().RegCloseKey(key);
}

// A list is written beside its file and then put in its place; a missing new file is refused
// and leaves the old one as it was.
TEST_F(SystemConformance, ReplaceFileWithPutsTheNewFileInPlaceOfTheOld) {
  const std::string list = File("list"), fresh = File("list.new");
  std::ofstream(list, std::ios::binary) << "old\r\n";
  std::ofstream(fresh, std::ios::binary) << "new\r\n";
  ASSERT_TRUE(Ws().ReplaceFileWith(list, fresh));
  EXPECT_EQ(Contents(list), "new\r\n");
  EXPECT_FALSE(std::filesystem::exists(fresh));
  EXPECT_FALSE(Ws().ReplaceFileWith(list, fresh));
  EXPECT_EQ(Contents(list), "new\r\n");
}

TEST_F(SystemConformance, TheTrayIconIsAddedAndRemovedOnce) {
  const NotifyIconData icon{
      desktop_->MakeWindow({}), 1, NIF_MESSAGE | NIF_ICON | NIF_TIP, WM_MOUSEMOVE, 0,
      "VUEDECK Virtual Desktop"};
  ASSERT_TRUE(Ws().Shell_NotifyIconA(NIM_ADD, icon));
  EXPECT_TRUE(Ws().Shell_NotifyIconA(NIM_DELETE, icon));
  EXPECT_FALSE(Ws().Shell_NotifyIconA(NIM_DELETE, icon));
}

// The in-memory desktop starts as the test desktop under Wine is set up: 1280 x 1024 pixels at
// 96 dots per inch.
TEST_F(SystemConformance, TheScreenIsTheTestDesktops) {
  EXPECT_EQ(std::tuple(Ws().GetSystemMetrics(SM_CXSCREEN), Ws().GetSystemMetrics(SM_CYSCREEN),
                       Ws().TwipsPerPixelX(), Ws().TwipsPerPixelY()),
            std::tuple(1280, 1024, 15, 15));
}

}  // namespace
}  // namespace vd::conformance
