#include <gtest/gtest.h>

#include <filesystem>

#include "ProgramFixture.h"
#include "core/Text.h"
#include "options/OptionsDialog.h"
#include "pager/TrayIcon.h"

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

TEST_F(Startup, ThePagerComesUpTopMostWithTheGridOfTheSettings) {
  ASSERT_TRUE(StartWith(kGrid3x2));
  PagerWindow& pager = Pager();
  EXPECT_TRUE(pager.IsShown());
  EXPECT_TRUE(pager.PagerShown());
  EXPECT_TRUE(fake.IsTopMost(pager.hWnd()));

  // Desktops 1 to 3 on the first row, 4 to 6 on the second, 1-pixel gaps, the first column
  // at pixel 1 and the first row at pixel 22.
  ASSERT_EQ(pager.Desktops().Count(), 6);
  const float w = pager.cells(1).Width(), h = pager.cells(1).Height();
  EXPECT_FLOAT_EQ(w, (1280 * 0.30f) / 3);
  EXPECT_FLOAT_EQ(h, (1024 * 0.20f) / 2);
  EXPECT_FLOAT_EQ(pager.geometry.CellWidth(), w);
  EXPECT_FLOAT_EQ(pager.cells(3).Left(), 2 * w + 1 + 2);
  EXPECT_FLOAT_EQ(pager.cells(4).Left(), 1);
  EXPECT_FLOAT_EQ(pager.cells(5).Top(), h + 22 + 1);
  // The pager fits the grid (plus 40 twips each way) and the status row of 18 pixels.
  EXPECT_FLOAT_EQ(pager.Width(), (pager.cells(3).Left() + w) * 15 + 40);
  EXPECT_FLOAT_EQ(pager.Height(), (pager.cells(6).Top() + h) * 15 + 40 + 18 * 15);
  EXPECT_GT(pager.statusLabel.Top(), pager.cells(6).Top() + h);

  // Cell 1 is the current desktop's: its colour, its box, its name in the status caption.
  EXPECT_EQ(program->settings.colorSelected, 16711680u);
  EXPECT_TRUE(CellShows(1, 16711680u));
  EXPECT_TRUE(CellShows(2, 255u));
  EXPECT_FLOAT_EQ(pager.selectionBox.Left(), 0);
  EXPECT_FLOAT_EQ(pager.selectionBox.Top(), 21);
  EXPECT_FLOAT_EQ(pager.selectionBox.Width(), w + 3);
  EXPECT_EQ(pager.selectionBox.BorderColor(), 65535u);
  EXPECT_EQ(pager.statusLabel.Caption(), "Desktop 1");

  // The tray icon is up.
  ASSERT_EQ(fake.TrayIcons().size(), 1u);
  EXPECT_EQ(fake.TrayIcons()[0].tip, "VUEDECK Virtual Desktop");
  EXPECT_EQ(fake.TrayIcons()[0].hwnd, program->Main().Tray().hWnd());
  // Starting writes nothing.
  EXPECT_EQ(ReadFile("settings.ini"), kGrid3x2);
}

TEST_F(Startup, AFreshInstallationStartsWithBuiltInValuesAndWritesNoFile) {
  ASSERT_TRUE(Start());
  EXPECT_EQ(Pager().Desktops().Count(), 6);
  EXPECT_NE(program->settings.colorSelected, program->settings.colorNormal);
  EXPECT_GT(Pager().geometry.CellWidth(), 10);
  EXPECT_FALSE(std::filesystem::exists(File("settings.ini")));
  EXPECT_FALSE(std::filesystem::exists(File("ignore.list")));
}

TEST_F(Startup, UnusableSettingsAreSkippedOneByOne) {
  ASSERT_TRUE(
      StartWith("[SETUP]\r\ncolumns=2\r\nrows=0\r\nwidth=-5\r\nheight=abc\r\n"
                "color_normal=blue\r\ncolor_selected=\x01\x02\r\nleft=xyz\r\ntop=\r\n"
                "[ALERT]\r\ndesktop=77\r\n"));
  PagerWindow& pager = Pager();
  // 0 rows is read as 1 row; a negative width is applied as 1 % of the screen.
  EXPECT_EQ(pager.Desktops().Count(), 2);
  EXPECT_FLOAT_EQ(pager.cells(1).Width(), (1280 * 0.01f) / 2);
  // A panic desktop the grid does not have selects nothing.
  program->Options().Show();
  EXPECT_EQ(program->Options().panic.panicDesktopList.ListCount(), 2);
  EXPECT_EQ(program->Options().panic.panicDesktopList.ListIndex(), -1);
  EXPECT_TRUE(pager.IsShown());
}

TEST_F(Startup, APagerSavedOffTheScreenIsCentredOnThatAxisOnly) {
  ASSERT_TRUE(StartWith(std::string(kGrid3x2) + "left=-3000\r\ntop=1500\r\n"));
  PagerWindow& pager = Pager();
  EXPECT_FLOAT_EQ(pager.Left(), 1280 * 15 / 2.0f - pager.Width() / 2);
  EXPECT_FLOAT_EQ(pager.Top(), 1500);
}

enum class Ending { kCloseAll, kTaskBarClose, kEndOfSession, kAWindowClosedMeanwhile };

class Shutdown : public ProgramFixture, public ::testing::WithParamInterface<Ending> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(StartWith(kGrid3x2));
    onDesktop1 = OpenWindow("Editor", {10, 20, 610, 420});
    onDesktop2 = OpenWindow("Mail", {-8, -8, 1288, 1032});
    transparent3 = OpenWindow("Terminal", {300, 200, 900, 700});
    onTop2 = OpenWindow("Clock", {1100, 10, 1270, 90});
    layered1 = OpenWindow("Player", {50, 600, 450, 900});
    PutRow(onDesktop1, 1);
    PutRow(onDesktop2, 2);
    PutRow(transparent3, 3, false, false, 150);
    PutRow(onTop2, 2, true);
    PutRow(layered1, 1);
    // As the desktops left them: the windows of 2 and 3 hidden, alphas applied, one top-most.
    for (Hwnd h : {onDesktop2, transparent3, onTop2}) fake.ShowWindow(h, SW_HIDE);
    fake.SetWindowLongA(transparent3, GWL_EXSTYLE, WS_EX_LAYERED);
    fake.SetLayeredWindowAttributes(transparent3, 0, 150, LWA_ALPHA);
    fake.SetWindowLongA(layered1, GWL_EXSTYLE, WS_EX_LAYERED);
    fake.SetLayeredWindowAttributes(layered1, 0, 255, LWA_ALPHA);
    fake.SetWindowPos(onTop2, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
    for (Hwnd h : {onDesktop1, onDesktop2, transparent3, onTop2, layered1}) {
      Rect r;
      fake.GetWindowRect(h, &r);
      before[h] = r;
    }
  }

  void ExpectEveryWindowBack() {
    for (auto& [h, rect] : before) {
      EXPECT_TRUE(fake.IsWindowVisible(h)) << h;
      Rect now;
      fake.GetWindowRect(h, &now);
      EXPECT_EQ(now, rect) << h;
      EXPECT_EQ(DesktopOf(h), 1) << h;
    }
    EXPECT_EQ(fake.Alpha(transparent3), 150);  // the user's choice stays
    EXPECT_EQ(fake.Alpha(layered1), -1);       // opaque again
    EXPECT_TRUE(fake.IsTopMost(onTop2));       // so does always-on-top
    EXPECT_FALSE(fake.IsTopMost(onDesktop2));
    EXPECT_TRUE(fake.TrayIcons().empty());
    EXPECT_TRUE(fake.ProcessEnded());
  }

  Hwnd onDesktop1 = 0, onDesktop2 = 0, transparent3 = 0, onTop2 = 0, layered1 = 0;
  std::map<Hwnd, Rect> before;
};

// However the program ends, every window is shown on desktop 1 at its own place, with the
// transparency and always-on-top the user chose and nothing else left layered, and the pager's
// place is kept for the next start, in twips.
TEST_P(Shutdown, ShowsEveryWindowOnDesktop1AtItsOwnPlace) {
  Pager().Desktops().SetAnimate(true);
  switch (GetParam()) {
    case Ending::kCloseAll:
      Pager().CloseAll();
      break;
    case Ending::kTaskBarClose:
      fake.SendMessageA(Pager().hWnd(), WM_CLOSE, 0, 0);
      break;
    case Ending::kEndOfSession:
      fake.SendMessageA(Pager().hWnd(), WM_QUERYENDSESSION, 0, 0);
      break;
    case Ending::kAWindowClosedMeanwhile:
      fake.DestroyWindow(onDesktop2);
      before.erase(onDesktop2);
      Pager().CloseAll();
      break;
  }
  ExpectEveryWindowBack();
  EXPECT_FALSE(Pager().Desktops().Animates());
  Rect pager;
  fake.GetWindowRect(Pager().hWnd(), &pager);
  const std::string settings = ReadFile("settings.ini");
  EXPECT_NE(settings.find("left=" + FormatSingle(static_cast<float>(pager.left * 15))),
            std::string::npos)
      << settings;
  EXPECT_NE(settings.find("top=" + FormatSingle(static_cast<float>(pager.top * 15))),
            std::string::npos)
      << settings;
}

INSTANTIATE_TEST_SUITE_P(EveryEnding, Shutdown,
                         ::testing::Values(Ending::kCloseAll, Ending::kTaskBarClose,
                                           Ending::kEndOfSession, Ending::kAWindowClosedMeanwhile));

}  // namespace
}  // namespace vd::testing
