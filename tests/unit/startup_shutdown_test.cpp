// Start and end: one copy only, the pager as the settings file makes it (whatever it holds) and
// where the user left it, and every window back at the end however it comes.
#include <gtest/gtest.h>

#include <filesystem>

#include "ProgramFixture.h"
#include "core/Text.h"
#include "settings/SettingsFile.h"

namespace vd::testing {
namespace {

using Startup = ProgramFixture;

TEST_F(Startup, ASecondCopyEndsBeforeAnyWindowExists) {
  fake.SetSecondInstance(true);
  EXPECT_FALSE(Start());
  for (Hwnd h : fake.ZOrder()) EXPECT_NE(fake.GetWindowThreadProcessId(h), 1u) << h;
  EXPECT_TRUE(fake.TrayIcons().empty());
  EXPECT_FALSE(fake.ProcessEnded());
}

// Whatever the file holds, the pager comes up shown, top-most and within reach on desktop 1 of
// a usable grid, the windows managed, the current desktop's cell framed and named, and the start
// writes no file.
TEST_F(Startup, ThePagerComesUpOnDesktop1OfAUsableGridWhateverTheFileHolds) {
  const std::string setup = "[SETUP]\r\n";
  const std::pair<std::optional<std::string>, int> cases[] = {
      {kGrid3x2, 6},
      {std::nullopt, 6},  // no file, as after installation
      {"", 6},
      {setup + "columns=2\r\nrows=0\r\nwidth=-5\r\nheight=abc\r\ncolor_normal=blue\r\n"
               "color_selected=\x01\x02\r\nleft=xyz\r\ntop=\r\n",
       2},
      {setup + "columns=" + std::string(1 << 20, '7') + "\r\nrows=2\r\n", 6},  // 127 characters
      {setup + "columns=12\r\nrows=99\r\nwidth=100\r\nheight=100\r\n", 81},
      {setup + "columns=2\r\nrows=2\r\nwidth=-50\r\nheight=1e30\r\nleft=-99999\r\ntop=3.4e38\r\n"
               "transparent=7\r\nhide=-1,999\r\ncolor_normal=abc\r\ncolor_selected=-1\r\n"
               "color_box=99999999999\r\n[ALERT]\r\nenabled=1\r\ndesktop=80\r\nkey1=9\r\n"
               "[HOTKEYS]\r\n1=3,50,1\r\n2=-1,7,1\r\n3=0,9999,1\r\n4=x\r\n5=,,\r\n",
       4},
      {"columns=2\r\nrows=2\r\n[ALERT]\r\nenabled=1\r\n", 6}};  // no [SETUP] section
  const Hwnd a = OpenWindow("Editor"), b = OpenWindow("Mail", {600, 500, 1100, 900});
  for (const auto& [settings, desktops] : cases) {
    SCOPED_TRACE(settings.value_or("(no file)").substr(0, 200));
    std::filesystem::remove(File("settings.ini"));
    if (settings) WriteFile("settings.ini", *settings);
    ASSERT_TRUE(Restart());
    PagerWindow& p = Pager();
    EXPECT_TRUE(p.IsShown() && p.PagerShown() && fake.IsTopMost(p.hWnd()));
    EXPECT_EQ(p.Desktops().Count(), desktops);
    EXPECT_TRUE(p.IsManaged(a) && p.IsManaged(b));
    Rect r;  // the title strip with the menu button on the screen
    ASSERT_TRUE(fake.GetWindowRect(p.hWnd(), &r));
    EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.left + p.menuButton.Left() + 10 <= 1280);
    const Settings& s = program->settings;
    EXPECT_TRUE(s.colorSelected != s.colorNormal && CellShows(1, s.colorSelected));
    EXPECT_TRUE(CellShows(desktops, desktops == 1 ? s.colorSelected : s.colorNormal));
    const forms::Shape& box = p.selectionBox;
    auto frames = [&box](const forms::PictureBox& cell) {
      return box.Left() < cell.Left() && box.Top() < cell.Top() &&
             box.Left() + box.Width() > cell.Left() + cell.Width() &&
             box.Top() + box.Height() > cell.Top() + cell.Height();
    };
    EXPECT_TRUE(frames(p.cells(1)) && (desktops == 1 || !frames(p.cells(desktops))));
    EXPECT_EQ(box.BorderColor(), s.colorBox);
    EXPECT_EQ(p.statusLabel.Caption(), "Desktop 1");
    EXPECT_EQ(std::filesystem::exists(File("settings.ini")), settings.has_value());
    EXPECT_EQ(ReadFile("settings.ini"), settings.value_or(""));
    EXPECT_FALSE(std::filesystem::exists(File("ignore.list")));
    WriteSettings(fake, File("settings.ini").string(), s);  // what was read reads back
    EXPECT_EQ(ReadSettings(fake, File("settings.ini").string()), s);
  }
}

// Each axis on which the saved pager sticks out of the screen is centred; a pager larger than
// the screen keeps its title strip on it.
TEST_F(Startup, APagerSavedOffTheScreenIsCentredOnThatAxisOnly) {
  constexpr float kCentred = -1e9f;
  const struct {
    const char* size;
    float left, top, x, y;
  } cases[] = {{"30", -3000, 1500, kCentred, 1500},
               {"30", 1500, -15, 1500, kCentred},
               {"30", 1500, 9000, 1500, 9000},
               {"30", 19000, 15000, kCentred, kCentred},
               {"100", 300, 300, 0, 0}};
  for (const auto& c : cases) {
    WriteFile("settings.ini", std::string("[SETUP]\r\ncolumns=3\r\nrows=2\r\nwidth=") + c.size +
                                  "\r\nheight=" + c.size + "\r\nleft=" + FormatSingle(c.left) +
                                  "\r\ntop=" + FormatSingle(c.top) + "\r\n");
    ASSERT_TRUE(Restart());
    const float width = Pager().Width(), height = Pager().Height();
    EXPECT_FLOAT_EQ(Pager().Left(), c.x == kCentred ? (1280 * 15 - width) / 2 : c.x) << c.left;
    EXPECT_FLOAT_EQ(Pager().Top(), c.y == kCentred ? (1024 * 15 - height) / 2 : c.y) << c.top;
  }
}

// However the program ends (0: the main menu's exit, 1: closed from the task bar, 2: the session
// ends, 3: exit after a window of another desktop was closed), every window is shown on desktop 1
// at its own place, with the transparency and always-on-top the user chose and nothing else left
// layered, and the pager's place is kept for the next start, in twips.
class Shutdown : public ProgramFixture, public ::testing::WithParamInterface<int> {};

TEST_P(Shutdown, ShowsEveryWindowOnDesktop1AtItsOwnPlace) {
  ASSERT_TRUE(StartWith(kGrid3x2));
  // As the desktops left them: those of 2 and 3 hidden, one translucent by the user's choice
  // (150), one layered but opaque (255), one top-most.
  const Rect rects[] = {{10, 20, 610, 420},
                        {-8, -8, 1288, 1032},
                        {300, 200, 900, 700},
                        {1100, 10, 1270, 90},
                        {50, 600, 450, 900}};
  const int desktops[] = {1, 2, 3, 2, 1}, alphas[] = {-1, -1, 150, -1, 255};
  std::vector<Hwnd> windows;
  for (int i = 0; i < 5; ++i) {
    const Hwnd h = windows.emplace_back(OpenWindow("Window " + std::to_string(i), rects[i]));
    PutRow(h, desktops[i], i == 3, false, i == 2 ? std::optional<int>(150) : std::nullopt);
    if (desktops[i] != 1) fake.ShowWindow(h, SW_HIDE);
    if (alphas[i] < 0) continue;
    fake.SetWindowLongA(h, GWL_EXSTYLE, WS_EX_LAYERED);
    fake.SetLayeredWindowAttributes(h, 0, static_cast<uint8_t>(alphas[i]), LWA_ALPHA);
  }
  fake.SetWindowPos(windows[3], HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
  Pager().Desktops().SetAnimate(true);
  if (GetParam() == 3) fake.DestroyWindow(windows[1]);
  if (GetParam() == 1) fake.SendMessageA(Pager().hWnd(), WM_CLOSE, 0, 0);
  if (GetParam() == 2) fake.SendMessageA(Pager().hWnd(), WM_QUERYENDSESSION, 0, 0);
  if (GetParam() == 0 || GetParam() == 3) Pager().CloseAll();
  std::string alphasAfter;
  for (int i = 0; i < 5; ++i) {
    if (GetParam() == 3 && i == 1) continue;
    Rect now;
    fake.GetWindowRect(windows[i], &now);
    EXPECT_TRUE(now == rects[i] && fake.IsWindowVisible(windows[i]) && DesktopOf(windows[i]) == 1)
        << i;
    EXPECT_EQ(fake.IsTopMost(windows[i]), i == 3) << i;
    alphasAfter += std::to_string(fake.Alpha(windows[i])) + " ";
  }
  EXPECT_EQ(alphasAfter, GetParam() == 3 ? "-1 150 -1 -1 " : "-1 -1 150 -1 -1 ");
  EXPECT_TRUE(fake.TrayIcons().empty() && fake.ProcessEnded());
  EXPECT_FALSE(Pager().Desktops().Animates());
  Rect pager;
  fake.GetWindowRect(Pager().hWnd(), &pager);
  const std::string settings = ReadFile("settings.ini");
  EXPECT_NE(settings.find("left=" + FormatSingle(static_cast<float>(pager.left * 15)) + "\r\n" +
                          "top=" + FormatSingle(static_cast<float>(pager.top * 15)) + "\r\n"),
            std::string::npos)
      << settings;
}

INSTANTIATE_TEST_SUITE_P(EveryEnding, Shutdown, ::testing::Range(0, 4));

}  // namespace
}  // namespace vd::testing
