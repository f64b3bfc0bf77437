// Start-up: one copy only; the pager as the settings file makes it, where the user left it, and
// the tray icon; the folder the program keeps its files in, and writes that fail.
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
  EXPECT_TRUE(fake.TrayIcons().empty() && !fake.ProcessEnded());
}

// The pager comes up shown and top-most on desktop 1 (its name in the status), the start writing
// no file; one saved sticking out of the screen is centred on that axis (larger than the screen:
// at its top left corner, the title strip on the screen).
TEST_F(Startup, ThePagerComesUpOnDesktop1WhereItWasLeftAndOnTheScreen) {
  constexpr float kCentred = -1, kAny = -2;
  const struct {
    const char* size;  // nullptr: no file, as after installation
    float left, top, x, y;
    int columns = 3;  // of 2 rows
  } cases[] = {{nullptr, 0, 0, kAny, kAny},
               {"30", -3000, 1500, kCentred, 1500},
               {"30", 1500, -15, 1500, kCentred},
               {"30", 1500, 9000, 1500, 9000},
               {"30", 19000, 15000, kCentred, kCentred},
               {"100", 300, 300, 0, 0, 1}};
  for (const auto& c : cases) {
    std::filesystem::remove(File("settings.ini"));
    const std::string settings =
        "[SETUP]\r\ncolumns=" + std::to_string(c.columns) +
        "\r\nrows=2\r\nwidth=" + (c.size ? c.size : "") + "\r\nheight=" + (c.size ? c.size : "") +
        "\r\nleft=" + FormatSingle(c.left) + "\r\ntop=" + FormatSingle(c.top) + "\r\n";
    if (c.size) WriteFile("settings.ini", settings);
    fake.ClearCalls();
    ASSERT_TRUE(Restart());
    int reads = 0;  // the settings file is read a section at a time, not a key at a time
    for (const fake::Call& call : fake.Calls()) {
      reads += call.name.rfind("GetPrivateProfile", 0) == 0 &&
               call.args.back().find("settings.ini") != std::string::npos;
    }
    EXPECT_LE(reads, 6);
    PagerWindow& p = Pager();
    EXPECT_TRUE(p.IsShown() && p.PagerShown() && fake.IsTopMost(p.hWnd()));
    EXPECT_EQ(p.Desktops().Count(), c.columns * 2);
    EXPECT_EQ(p.statusLabel.Caption(), "Desktop 1");
    const forms::PictureBox& last = p.cells(p.Desktops().Count());
    EXPECT_GE(p.statusLabel.Top(), last.Top() + last.Height())
        << "the status row is below the grid";
    EXPECT_LE(p.statusLabel.Top() + p.statusLabel.Height(), p.Height() / 15) << "and in the pager";
    const auto icon = fake.TrayIcons().back();  // the tray icon of the pager's own form
    EXPECT_EQ(
        std::to_string(icon.id) + " " + std::to_string(icon.flags) + " " +
            std::to_string(icon.callbackMessage) + " " + icon.tip,
        "1 " + std::to_string(NIF_MESSAGE | NIF_ICON | NIF_TIP) + " 512 VUEDECK Virtual Desktop");
    EXPECT_TRUE(icon.hwnd == p.Tray().hWnd() && icon.hwnd != p.hWnd() && !p.Tray().IsShown());
    auto at = [](float place, float expected, float centre) {  // in twips, within one
      return expected == kAny || std::abs(place - (expected == kCentred ? centre : expected)) < 1;
    };
    EXPECT_TRUE(at(p.Left(), c.x, (1280 * 15 - p.Width()) / 2)) << c.left << " " << p.Left();
    EXPECT_TRUE(at(p.Top(), c.y, (1024 * 15 - p.Height()) / 2)) << c.top << " " << p.Top();
    EXPECT_EQ(ReadFile("settings.ini"), c.size ? settings : "");
    EXPECT_FALSE(std::filesystem::exists(File("ignore.list")));
  }
  // A click on the tray icon puts the pager away, and the next brings it back.
  for (const bool shown : {false, true}) {
    Pager().Tray().RaiseMouseMove(0, 0, static_cast<float>(WM_LBUTTONUP * 15),
                                  0);  // as the shell tells it
    EXPECT_EQ(Pager().PagerShown(), shown);
  }
}

// At 100, 150 and 200 %, the pager takes the same share of the screen and stands where it was
// left, its strip, rows and the options dialog's icons as large to the eye. Moved to a screen of
// another scale, it keeps its place and share, is laid out for that scale, and keeps its place
// in the settings as a place on the screen.
TEST_F(Startup, ThePagerIsLaidOutForTheScaleOfItsScreen) {
  const std::string settings = std::string(kGrid3x2) + "left=3000\r\ntop=1500\r\n";
  auto screen = [this](const forms::Control& c) {
    Rect r;
    fake.GetWindowRect(c.GetPeer()->Handle(), &r);
    return r;
  };
  auto expectLaidOutFor = [&](int dpi) {
    const PagerWindow& p = Pager();
    const Rect pager = screen(p), cell = screen(p.cells(1));
    EXPECT_EQ(std::pair(pager.left, pager.top), std::pair(200, 100)) << dpi;
    EXPECT_NEAR(cell.Width(), 1280 * 0.3 / 3, 1) << dpi;  // 30 % of the screen, three cells
    EXPECT_NEAR(cell.Height(), 1024 * 0.2 / 2, 1) << dpi;
    EXPECT_EQ(screen(p.titleStrip).Height(), 20 * dpi / 96) << dpi;
    EXPECT_EQ(screen(p.handleField).Height(), 16 * dpi / 96) << dpi;
    EXPECT_EQ(p.productSubtitle.Visible(), dpi < 192) << "it would run under the buttons";
    EXPECT_EQ(program->Options().generalButton.Icon().Width(), 20 * dpi / 96) << dpi;
  };
  for (const int dpi : {96, 144, 192}) {
    program.reset();
    backend = std::make_unique<forms::headless::HeadlessBackend>(&fake, dpi);
    ASSERT_TRUE(StartWith(settings));
    expectLaidOutFor(dpi);
  }
  backend->MoveToScale(Pager(), 96);
  backend->MoveToScale(program->Options(), 96);
  expectLaidOutFor(96);
  Pager().CloseAll();
  EXPECT_NE(ReadFile("settings.ini").find("left=3000\r\ntop=1500\r\n"), std::string::npos);
}

// Beside the program while it can write there; else in VUEDECK in the user's application-data
// folder, made when missing, read first, the settings beside the program giving its first values.
// Rows: the program's folder refuses writes (from that row on), the data folder's settings.
TEST_F(Startup, TheFilesMoveToTheDataFolderOnlyWhenTheProgramsFolderRefusesWrites) {
  std::filesystem::create_directory(File("AppData"));
  fake.SetApplicationDataFolder(File("AppData").string());
  AnswerMessageBoxes();
  const std::pair<bool, std::string> rows[] = {
      {false, ""}, {true, ""}, {true, "[SETUP]\r\ncolumns=2\r\n"}};
  for (const auto& [refuses, inData] : rows) {
    std::filesystem::remove_all(File("AppData/VUEDECK"));
    if (!inData.empty()) std::filesystem::create_directory(File("AppData/VUEDECK"));
    if (!inData.empty()) WriteFile("AppData/VUEDECK/settings.ini", inData);
    WriteFile("settings.ini", "[SETUP]\r\ncolumns=4\r\n");  // shipped beside the program
    if (refuses) fake.RefuseWritesIn(fake.ProgramFolder());
    ASSERT_TRUE(Restart());
    const int columns = inData.empty() ? 4 : 2;
    EXPECT_EQ(program->settings.columns, columns) << refuses;
    const Hwnd hidden = OpenWindow("Work");
    BringToFront(hidden);
    Pager().Desktops().Open(2);  // the window is hidden
    const std::string folder = refuses ? "AppData/VUEDECK/" : "";
    EXPECT_TRUE(std::filesystem::exists(File(folder + "hidden.list"))) << refuses;
    Pager().CloseAll();
    const std::string kept = "[SETUP]\r\ncolumns=" + std::to_string(columns) + "\r\nleft=";
    EXPECT_EQ(ReadFile(folder + "settings.ini").rfind(kept, 0), 0u) << refuses;
    EXPECT_TRUE(std::filesystem::exists(File(folder + "ignore.list")));
    EXPECT_EQ(std::filesystem::exists(File("AppData/VUEDECK")), refuses);
    EXPECT_EQ(ReadFile("settings.ini") == "[SETUP]\r\ncolumns=4\r\n", refuses);
  }
  EXPECT_TRUE(messages.empty());
}

// Here the data folder refuses writes too: the record, tried again every tick, is told of once;
// the settings and the ignore list at the exit, once every window is back.
TEST_F(Startup, AWriteThatFailsIsToldOnceARun) {
  // The record of hidden windows cannot even be begun there: a folder has its fresh copy's name.
  std::filesystem::create_directories(File("AppData/VUEDECK/hidden.list.new"));
  fake.SetApplicationDataFolder(File("AppData").string());
  fake.RefuseWritesIn(fake.ProgramFolder());
  fake.RefuseWritesIn(File("AppData/VUEDECK").string());
  AnswerMessageBoxes();
  ASSERT_TRUE(Start());
  const Hwnd hidden = OpenWindow("Work");
  BringToFront(hidden);
  Pager().Desktops().Open(2);  // the window is hidden
  backend->Advance(500);
  program->Options().Show();
  program->Options().okButton.RaiseClick();  // the settings cannot be written
  Pager().CloseAll();
  std::string told;
  for (const Message& m : messages) told += m.title + "; ";
  EXPECT_EQ(told, "Hidden Windows; Settings; Ignore List; ");
  EXPECT_TRUE(fake.IsWindowVisible(hidden));
}

}  // namespace
}  // namespace vd::testing
