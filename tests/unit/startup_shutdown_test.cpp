// Start and end: one copy only, the pager as the settings file makes it, whatever it holds, and
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
  EXPECT_TRUE(fake.TrayIcons().empty() && !fake.ProcessEnded());
}

// Whatever the file holds, the pager comes up shown and top-most on desktop 1 of a usable grid,
// desktop 1's cell framed and named, the windows managed; the start writes no
// file. A pager saved sticking out of the screen is centred on that axis (all of it when larger
// than the screen: its title strip stays on it).
TEST_F(Startup, ThePagerComesUpOnDesktop1OfAUsableGridAndOnTheScreen) {
  constexpr float kC = -1, kAny = -2;  // centred; where the grid's size puts it
  auto saved = [](const char* size, float left, float top) {
    return std::string("[SETUP]\r\ncolumns=3\r\nrows=2\r\nwidth=") + size + "\r\nheight=" + size +
           "\r\nleft=" + FormatSingle(left) + "\r\ntop=" + FormatSingle(top) + "\r\n";
  };
  const struct {
    std::optional<std::string> settings;  // none: no file, as after installation
    int desktops;
    float left, top;
  } cases[] = {
      {kGrid3x2, 6, kAny, kAny},
      {std::nullopt, 6, kAny, kAny},
      {"", 6, kAny, kAny},
      {"[SETUP]\r\ncolumns=2\r\nrows=0\r\nwidth=-5\r\nheight=abc\r\ncolor_normal=blue\r\n"
       "color_selected=\x01\x02\r\nleft=xyz\r\ntop=\r\n[ALERT]\r\ndesktop=77\r\n",
       2, kAny, kAny},
      {"[SETUP]\r\ncolumns=" + std::string(1 << 20, '7') + "\r\nrows=1\r\n", 3, kAny, kAny},
      {"[SETUP]\r\ncolumns=12\r\nrows=99\r\nwidth=100\r\nheight=100\r\n", 81, 0, 0},
      {"columns=2\r\nrows=2\r\n[ALERT]\r\nenabled=1\r\n", 6, kAny, kAny},  // no [SETUP]
      {saved("30", -3000, 1500), 6, kC, 1500},
      {saved("30", 1500, -15), 6, 1500, kC},
      {saved("30", 1500, 9000), 6, 1500, 9000},
      {saved("30", 19000, 15000), 6, kC, kC},
      {saved("100", 300, 300), 6, 0, 0}};
  const Hwnd a = OpenWindow("Editor"), b = OpenWindow("Mail", {600, 500, 1100, 900});
  for (const auto& c : cases) {
    SCOPED_TRACE(c.settings.value_or("(no file)").substr(0, 200));
    std::filesystem::remove(File("settings.ini"));
    if (c.settings) WriteFile("settings.ini", *c.settings);
    ASSERT_TRUE(Restart());
    PagerWindow& p = Pager();
    EXPECT_TRUE(p.IsShown() && p.PagerShown() && fake.IsTopMost(p.hWnd()));
    EXPECT_EQ(p.Desktops().Count(), c.desktops);
    EXPECT_TRUE(p.IsManaged(a) && p.IsManaged(b));
    auto at = [](float place, float expected, float centre) {  // in twips, within one
      return expected == kAny || std::abs(place - (expected == kC ? centre : expected)) < 1;
    };
    EXPECT_TRUE(at(p.Left(), c.left, (1280 * 15 - p.Width()) / 2)) << p.Left();
    EXPECT_TRUE(at(p.Top(), c.top, (1024 * 15 - p.Height()) / 2)) << p.Top();
    const Settings& s = program->settings;
    EXPECT_TRUE(s.colorSelected != s.colorNormal && CellShows(1, s.colorSelected));
    EXPECT_TRUE(c.desktops == 1 || CellShows(2, s.colorNormal));
    const forms::Shape& box = p.selectionBox;
    auto frames = [&box](const forms::PictureBox& cell) {
      return box.Left() < cell.Left() && box.Top() < cell.Top() &&
             box.Left() + box.Width() > cell.Left() + cell.Width() &&
             box.Top() + box.Height() > cell.Top() + cell.Height();
    };
    EXPECT_TRUE(frames(p.cells(1)) && (c.desktops == 1 || !frames(p.cells(c.desktops))));
    EXPECT_EQ(box.BorderColor(), s.colorBox);
    EXPECT_EQ(p.statusLabel.Caption(), "Desktop 1");
    EXPECT_EQ(std::filesystem::exists(File("settings.ini")), c.settings.has_value());
    EXPECT_EQ(ReadFile("settings.ini"), c.settings.value_or(""));
    EXPECT_FALSE(std::filesystem::exists(File("ignore.list")));
    WriteSettings(fake, File("settings.ini").string(), s);  // what was read reads back
    EXPECT_EQ(ReadSettings(fake, File("settings.ini").string()), s);
  }
}

// However the program ends (0: the main menu's exit, 1: closed from the task bar, 2: the session
// ends, 3: exit after a window of another desktop was closed), every window is shown on desktop 1
// at its own place, with the transparency and always-on-top the user chose and nothing else left
// layered; the tray icon goes, and the pager's place is kept for the next start, in twips.
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
  EXPECT_NE(ReadFile("settings.ini")
                .find("left=" + FormatSingle(pager.left * 15.0f) + "\r\n" +
                      "top=" + FormatSingle(pager.top * 15.0f) + "\r\n"),
            std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(EveryEnding, Shutdown, ::testing::Range(0, 4));

}  // namespace
}  // namespace vd::testing
