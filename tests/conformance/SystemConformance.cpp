// Screen facts, the tray icon and the program's own place.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "Harness.h"

#if !defined(VD_CONFORMANCE_FAKE)
#include "platform/win32/Win32WindowSystem.h"
#endif

namespace vd::conformance {
namespace {

class SystemConformance : public ::testing::Test {
 protected:
  void SetUp() override { desktop_ = MakeTestDesktop(); }
  WindowSystem& Ws() { return desktop_->System(); }
  std::unique_ptr<TestDesktop> desktop_;
};

// The in-memory desktop starts as the test desktop under Wine is set up: 1280 x 1024 pixels at
// 96 dots per inch.
TEST_F(SystemConformance, ScreenMatchesTheTestDesktop) {
  EXPECT_EQ(Ws().GetSystemMetrics(SM_CXSCREEN), 1280);
  EXPECT_EQ(Ws().GetSystemMetrics(SM_CYSCREEN), 1024);
  EXPECT_EQ(Ws().TwipsPerPixelX(), 15);
  EXPECT_EQ(Ws().TwipsPerPixelY(), 15);
}

TEST_F(SystemConformance, SystemColoursAreTheDefaultScheme) {
  constexpr int kColorWindow = 5, kColorWindowText = 8, kColorHighlightText = 14,
                kColorBtnText = 18;
  EXPECT_EQ(Ws().GetSysColor(kColorWindow), 0x00FFFFFFu);
  EXPECT_EQ(Ws().GetSysColor(kColorWindowText), 0x00000000u);
  EXPECT_EQ(Ws().GetSysColor(kColorHighlightText), 0x00FFFFFFu);
  EXPECT_EQ(Ws().GetSysColor(kColorBtnText), 0x00000000u);
}

TEST_F(SystemConformance, TrayIconIsAddedChangedAndRemovedOnce) {
  TestWindowTraits desc;
  desc.caption = "Tray owner";
  desc.visible = false;
  const Hwnd owner = desktop_->MakeWindow(desc);
  NotifyIconData icon;
  icon.hwnd = owner;
  icon.id = 1;
  icon.flags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  icon.callbackMessage = WM_MOUSEMOVE;
  icon.tip = "VUEDECK Virtual Desktop";

  EXPECT_FALSE(Ws().Shell_NotifyIconA(NIM_MODIFY, icon));  // nothing to change yet
  ASSERT_TRUE(Ws().Shell_NotifyIconA(NIM_ADD, icon));
  icon.tip = std::string(100, 't');  // longer than the tip field: cut, not refused
  EXPECT_TRUE(Ws().Shell_NotifyIconA(NIM_MODIFY, icon));
  EXPECT_TRUE(Ws().Shell_NotifyIconA(NIM_DELETE, icon));
  EXPECT_FALSE(Ws().Shell_NotifyIconA(NIM_DELETE, icon));
}

TEST_F(SystemConformance, ProgramFolderIsAnExistingFolderWithoutTrailingSeparator) {
  const std::string folder = Ws().ProgramFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_NE(folder.back(), '\\');
  EXPECT_NE(folder.back(), '/');
  EXPECT_TRUE(std::filesystem::is_directory(folder));
}

// A saved list is written beside its file and then put in its place: the new file replaces the
// old one whole; a missing new file is refused and leaves the old one as it was.
TEST_F(SystemConformance, ReplaceFileWithPutsTheNewFileInPlaceOfTheOld) {
  TempFolder folder;
  auto write = [](const std::string& file, const std::string& text) {
    std::ofstream(file, std::ios::binary) << text;
  };
  auto read = [](const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  };
  const std::string list = folder.File("list"), fresh = folder.File("list.new");
  write(list, "old\r\n");
  write(fresh, "new\r\n");
  ASSERT_TRUE(Ws().ReplaceFileWith(list, fresh));
  EXPECT_EQ(read(list), "new\r\n");
  EXPECT_FALSE(std::filesystem::exists(fresh));
  EXPECT_FALSE(Ws().ReplaceFileWith(list, fresh));
  EXPECT_EQ(read(list), "new\r\n");
}

#if !defined(VD_CONFORMANCE_FAKE)
// One copy per user session: a second holder is refused until the first one ends.
TEST_F(SystemConformance, OnlyOneCopyHoldsTheSingleInstance) {
  auto first = std::make_unique<win32::Win32WindowSystem>();
  ASSERT_TRUE(first->AcquireSingleInstance());
  EXPECT_TRUE(first->AcquireSingleInstance());  // asking again changes nothing
  {
    win32::Win32WindowSystem second;
    EXPECT_FALSE(second.AcquireSingleInstance());
  }
  first.reset();
  win32::Win32WindowSystem third;
  EXPECT_TRUE(third.AcquireSingleInstance());
}
#endif

}  // namespace
}  // namespace vd::conformance
