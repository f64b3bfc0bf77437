// What the program relies on from other applications' windows (hidden, shown, moved, raised,
// layered, read, captured, hung) and from the settings file, hotkeys, registry, tray, screen and
// the folders the program keeps its files in.
#include <algorithm>
#include <cctype>
#include <climits>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <random>
#include <string_view>
#include <tuple>

#include "Harness.h"

namespace vd::conformance {
namespace {

constexpr uint32_t kRaise = SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE;

class Conformance : public ::testing::Test {
 protected:
  WindowSystem& Ws() { return desktop_->System(); }
  Rect RectOf(Hwnd hwnd) {
    Rect rect;
    return Ws().GetWindowRect(hwnd, &rect) ? rect : Rect{-1, -1, -1, -1};
  }
  bool HasBit(Hwnd hwnd, int index, uint32_t bit) {
    return (static_cast<uint32_t>(Ws().GetWindowLongA(hwnd, index)) & bit) != 0;
  }
  void SetBit(Hwnd hwnd, int index, uint32_t bit, bool on) {
    const auto now = static_cast<uint32_t>(Ws().GetWindowLongA(hwnd, index));
    Ws().SetWindowLongA(hwnd, index, static_cast<int32_t>(on ? now | bit : now & ~bit));
  }
  void Raise(Hwnd w, Hwnd after) { ASSERT_TRUE(Ws().SetWindowPos(w, after, 0, 0, 0, 0, kRaise)); }
  // The windows in the order they stand in the Z order, top first.
  std::vector<Hwnd> Stacked(const std::vector<Hwnd>& windows) {
    desktop_->Pump();
    std::vector<Hwnd> found;
    for (Hwnd w = Ws().GetWindow(windows[0], GW_HWNDFIRST), n = 0; w != 0 && ++n < 100000;
         w = Ws().GetWindow(w, GW_HWNDNEXT)) {
      if (std::ranges::count(windows, w) == 1) found.push_back(w);
    }
    return found;
  }

  // Reads the settings file as the program does: no default, a buffer of 128 characters.
  std::string Read(const std::string& section, const std::string& key) {
    char buffer[128];
    std::fill(std::begin(buffer), std::end(buffer), 'X');
    const uint32_t count = Ws().GetPrivateProfileStringW(section, key, "", buffer, 128, file_);
    return count < 128 && buffer[count] == '\0' ? std::string(buffer, count) : "(overrun)";
  }
  bool Write(const std::string& section, const std::string& key, const std::string& value) {
    return Ws().WritePrivateProfileStringW(section, key, value, file_);
  }
  static std::string Contents(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  void SetUp() override { std::filesystem::create_directory(folder_); }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  std::unique_ptr<TestDesktop> desktop_ = MakeTestDesktop();
  const std::filesystem::path folder_ =
      std::filesystem::temp_directory_path() / ("vd-" + std::to_string(std::random_device()()));
  const std::string file_ = (folder_ / "settings.ini").string();
};

TEST_F(Conformance, ShowAndHideAnswerWhetherTheWindowWasShownAndTakeTheFocusOnlyWhenAsked) {
  const Hwnd other = desktop_->MakeWindow(), hwnd = desktop_->MakeWindow({120, 130, 520, 430});
  // (command, answer, focused after): hidden, the focused window hands the focus on.
  const std::tuple<int, bool, Hwnd> steps[] = {{SW_HIDE, true, other},    {SW_HIDE, false, other},
                                               {SW_SHOWNA, false, other}, {SW_HIDE, true, other},
                                               {SW_SHOW, false, hwnd},    {SW_SHOW, true, hwnd}};
  for (auto [cmd, answer, focused] : steps) {
    EXPECT_EQ(Ws().ShowWindow(hwnd, cmd), answer) << cmd;
    desktop_->Pump();
    EXPECT_EQ(Ws().IsWindowVisible(hwnd), cmd != SW_HIDE);
    EXPECT_EQ(HasBit(hwnd, GWL_STYLE, WS_VISIBLE), cmd != SW_HIDE);
    EXPECT_EQ(RectOf(hwnd), (Rect{120, 130, 520, 430}));
    EXPECT_EQ(Ws().GetForegroundWindow(), focused) << cmd;
  }
  // A window moved while hidden shows where it was put.
  Ws().ShowWindow(hwnd, SW_HIDE);
  ASSERT_TRUE(Ws().MoveWindow(hwnd, -20, 400, 100, 90, true));
  Ws().ShowWindow(hwnd, SW_SHOW);
  EXPECT_EQ(RectOf(hwnd), (Rect{-20, 400, 80, 490}));
}

TEST_F(Conformance, RaisingPutsAWindowOnTopOfTheNormalOnesAndLeavesTheFocusAlone) {
  const Hwnd older = desktop_->MakeWindow(), pinned = desktop_->MakeWindow();
  Raise(pinned, HWND_TOPMOST);
  // A new window takes the focus and comes above the normal windows, under the top-most one.
  const Hwnd newer = desktop_->MakeWindow();
  EXPECT_EQ(Stacked({older, pinned, newer}), (std::vector{pinned, newer, older}));
  Raise(older, HWND_TOPMOST);
  Raise(older, HWND_NOTOPMOST);
  EXPECT_EQ(Stacked({older, pinned, newer}), (std::vector{pinned, older, newer}));
  EXPECT_EQ(RectOf(older), (Rect{100, 100, 400, 300}));
  EXPECT_EQ(Ws().GetForegroundWindow(), newer);
  // Leaving the top-most band puts a window on top of the normal ones.
  Raise(pinned, HWND_NOTOPMOST);
  EXPECT_EQ(Stacked({older, pinned, newer}), (std::vector{pinned, older, newer}));
  // The window set in the foreground comes to the front.
  ASSERT_TRUE(Ws().SetForegroundWindow(older));
  EXPECT_EQ(Stacked({older, pinned, newer}), (std::vector{older, pinned, newer}));
  EXPECT_EQ(Ws().GetForegroundWindow(), older);
}

// The program hides and shows a window's dialogs itself: hiding a window leaves them shown.
TEST_F(Conformance, AnOwnedWindowNamesItsOwnerStaysShownWhenItsOwnerIsHiddenAndIsInSight) {
  const Hwnd owner = desktop_->MakeWindow(), dialog = desktop_->MakeWindow({}, 0, 0, owner);
  const Hwnd palette = desktop_->MakeWindow({}, 0, 0, dialog);
  EXPECT_EQ(Ws().GetWindow(owner, GW_OWNER), 0);
  EXPECT_EQ(Ws().GetWindow(dialog, GW_OWNER), owner);
  EXPECT_EQ(Ws().GetWindow(palette, GW_OWNER), dialog);
  Ws().ShowWindow(owner, SW_HIDE);
  desktop_->Pump();
  EXPECT_TRUE(Ws().IsWindowVisible(dialog) && Ws().IsWindowVisible(palette));
  EXPECT_EQ(std::ranges::count(Ws().TopLevelWindows(), palette), 1);
  // A window just shown is in sight, also where the system cloaks nothing and has no desktops
  // of its own.
  EXPECT_FALSE(Ws().IsWindowCloaked(palette));
  EXPECT_TRUE(Ws().IsOnCurrentSystemDesktop(palette));
}

// A window read as refusing changes is shown on every desktop for good: one the program may
// change never reads so, nor after calls that failed for other reasons, which answer failure.
TEST_F(Conformance, AWindowOfTheProgramsOwnRightsIsChangeableAndAFailedCallIsNoRefusal) {
  const Hwnd hwnd = desktop_->MakeWindow(), other = desktop_->MakeOtherThreadWindow(true);
  EXPECT_FALSE(Ws().SetLayeredWindowAttributes(other, 0, 128, LWA_ALPHA));  // not layered
  EXPECT_FALSE(Ws().RefusesChanges(hwnd) || Ws().RefusesChanges(other));
  desktop_->Destroy(hwnd);
  EXPECT_FALSE(Ws().SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, kRaise));
  EXPECT_FALSE(Ws().MoveWindow(hwnd, 20, 30, 60, 40, true));
  EXPECT_FALSE(Ws().SetLayeredWindowAttributes(hwnd, 0, 128, LWA_ALPHA));
  EXPECT_FALSE(Ws().RefusesChanges(hwnd));
}

// The refresh tells a closed window by the list of top-level windows and an empty caption.
TEST_F(Conformance, ACaptionReadsWholeWhileTheWindowLivesAndEmptyOnceItIsGone) {
  const Hwnd hwnd = desktop_->MakeWindow(), hidden = desktop_->MakeWindow();
  Ws().ShowWindow(hidden, SW_HIDE);
  auto listed = [&](Hwnd w) { return std::ranges::count(Ws().TopLevelWindows(), w) == 1; };
  EXPECT_TRUE(listed(hwnd) && listed(hidden));
  EXPECT_EQ(Ws().GetWindowTextW(hwnd), kCaption);
  EXPECT_EQ(Ws().GetWindowTextLengthW(hwnd), 18);
  EXPECT_NE(Ws().GetWindowThreadProcessId(hwnd), 0u);
  EXPECT_EQ(Ws().GetWindowThreadProcessId(hwnd), Ws().GetWindowThreadProcessId(hidden));
  EXPECT_FALSE(Ws().IsHungAppWindow(hwnd));
  // In any script: the length counts UTF-16 units (an emoji is two).
  const std::string script = "\u041f\u0440\u0438\u0432\u0435\u0442 \u65e5\u672c \U0001F600";
  desktop_->Retitle(hwnd, script);
  EXPECT_EQ(Ws().GetWindowTextW(hwnd), script);
  EXPECT_EQ(Ws().GetWindowTextLengthW(hwnd), 12);
  desktop_->Destroy(hwnd);
  EXPECT_FALSE(listed(hwnd) || Ws().IsWindow(hwnd) || Ws().IsWindowVisible(hwnd));
  EXPECT_EQ(RectOf(hwnd), (Rect{-1, -1, -1, -1}));
  EXPECT_EQ(Ws().GetWindowTextLengthW(hwnd), 0);
  EXPECT_EQ(Ws().GetWindowTextW(hwnd), "");
}

TEST_F(Conformance, LayeredAttributesNeedTheLayeredBitAndAreForgottenWithIt) {
  const Hwnd hwnd = desktop_->MakeWindow();
  uint32_t key = 1, flags = 0;
  uint8_t alpha = 0;
  auto attributes = [&] { return Ws().GetLayeredWindowAttributes(hwnd, &key, &alpha, &flags); };
  EXPECT_FALSE(Ws().SetLayeredWindowAttributes(hwnd, 0, 150, LWA_ALPHA));
  SetBit(hwnd, GWL_EXSTYLE, WS_EX_LAYERED, true);
  EXPECT_TRUE(HasBit(hwnd, GWL_EXSTYLE, WS_EX_LAYERED) && !attributes());
  ASSERT_TRUE(Ws().SetLayeredWindowAttributes(hwnd, 0, 150, LWA_ALPHA) && attributes());
  EXPECT_EQ(std::tuple(key, alpha, flags), std::tuple(0u, uint8_t{150}, LWA_ALPHA));
  // Clearing the bit makes the window opaque; layered again, it has no attributes yet.
  SetBit(hwnd, GWL_EXSTYLE, WS_EX_LAYERED, false);
  EXPECT_FALSE(HasBit(hwnd, GWL_EXSTYLE, WS_EX_LAYERED) || attributes());
  SetBit(hwnd, GWL_EXSTYLE, WS_EX_LAYERED, true);
  EXPECT_FALSE(attributes());
}

// The pager's hover tracking asks which of its child windows is under the mouse.
TEST_F(Conformance, WindowFromPointFindsTheTopEnabledShownWindowInnermostFirst) {
  const Hwnd parent = desktop_->MakeWindow({200, 200, 600, 500});
  // On the screen: child 250,240 - 350,320 and over 280,260 - 380,340.
  const Hwnd child = desktop_->MakeWindow({50, 40, 150, 120}, parent);
  const Hwnd over = desktop_->MakeWindow({80, 60, 180, 140}, parent);
  constexpr uint32_t kDisabled = 0x08000000;  // WS_DISABLED
  const std::tuple<const char*, std::function<void()>, Point, Hwnd> cases[] = {
      {"the parent around its children", [] {}, {400, 400}, parent},
      {"a child's last pixel", [] {}, {349, 250}, child},
      {"just past its right edge", [] {}, {350, 250}, parent},
      {"the other child raised", [&] { Raise(over, HWND_TOP); }, {300, 300}, over},
      {"the child raised", [&] { Raise(child, HWND_TOP); }, {300, 300}, child},
      {"a disabled child", [&] { SetBit(child, GWL_STYLE, kDisabled, true); }, {260, 250}, parent},
      {"a hidden child", [&] { Ws().ShowWindow(over, SW_HIDE); }, {370, 330}, parent},
  };
  for (const auto& [what, change, point, expected] : cases) {
    change();
    desktop_->Pump();
    EXPECT_EQ(Ws().WindowFromPoint(point), expected) << what;
  }
}

TEST_F(Conformance, CaptureCopiesTheWindowsPictureAndNothingOnceItIsGone) {
  constexpr uint32_t kColor = 0x0033CC66;
  const Hwnd hwnd = desktop_->MakeWindow({200, 150, 320, 230}, 0, kColor);
  for (const Bitmap& picture :
       {Ws().CaptureWindow(hwnd, false, 0, 0, 120, 80), Ws().PrintWindow(hwnd, true)}) {
    EXPECT_EQ(std::pair(picture.Width(), picture.Height()), std::pair(120, 80));
    EXPECT_EQ(std::ranges::count(picture.Pixels(), kColor), 120 * 80);
  }
  desktop_->Destroy(hwnd);
  EXPECT_TRUE(Ws().CaptureWindow(hwnd, false, 0, 0, 120, 80).Empty());
  EXPECT_TRUE(Ws().PrintWindow(hwnd, true).Empty());
}

// No compositor draws live thumbnails here: none is offered, and a registration fails as such
// (the miniatures are then copied as before).
TEST_F(Conformance, LiveThumbnailsAreNotOfferedAndARegistrationFailsCleanly) {
  const Hwnd into = desktop_->MakeWindow(), source = desktop_->MakeWindow({300, 200, 500, 400});
  EXPECT_FALSE(Ws().ThumbnailsOffered());
  EXPECT_EQ(Ws().RegisterThumbnail(into, source), WindowSystem::ThumbnailId{0});
}

// Its caption still reads whole (read as empty, the window would be taken for closed), and every
// request to it comes back.
TEST_F(Conformance, AnUnresponsiveWindowTimesOutKeepsItsCaptionAndEveryRequestReturns) {
  intptr_t answer = 0;
  EXPECT_TRUE(Ws().SendMessageTimeoutA(desktop_->MakeWindow(), WM_NULL, 0, 0, 1000, &answer));
  const Hwnd hwnd = desktop_->MakeOtherThreadWindow(false);
  EXPECT_FALSE(Ws().SendMessageTimeoutA(hwnd, WM_NULL, 0, 0, 200, &answer));
  EXPECT_EQ(Ws().GetWindowTextLengthW(hwnd), 18);
  EXPECT_TRUE(Ws().ShowWindow(hwnd, SW_HIDE));
  Raise(hwnd, HWND_TOPMOST);
  EXPECT_TRUE(Ws().MoveWindow(hwnd, 20, 30, 60, 40, true));
  SetBit(hwnd, GWL_EXSTYLE, WS_EX_LAYERED, true);
  Ws().SetLayeredWindowAttributes(hwnd, 0, 128, LWA_ALPHA);
  Ws().PrintWindow(hwnd, true);
  Ws().ShowWindow(hwnd, SW_SHOW);
  EXPECT_EQ(Ws().GetWindowTextW(hwnd), kCaption);
}

// A switch hides many windows at once, their threads answering one after another; none may be
// taken for hung (its style changes would be refused).
TEST_F(Conformance, WindowsHiddenInABatchAreAllHiddenAtItsEndAndNotTakenForHung) {
  std::vector<Hwnd> windows;
  for (uint32_t k = 0; k < 6; ++k) windows.push_back(desktop_->MakeOtherThreadWindow(true, k * 60));
  Ws().BeginShowBatch();
  for (Hwnd hwnd : windows) Ws().ShowWindow(hwnd, SW_HIDE);
  Ws().EndShowBatch();
  for (Hwnd hwnd : windows) {
    EXPECT_FALSE(Ws().IsWindowVisible(hwnd));
    SetBit(hwnd, GWL_EXSTYLE, WS_EX_LAYERED, true);
    EXPECT_TRUE(HasBit(hwnd, GWL_EXSTYLE, WS_EX_LAYERED));
  }
}

// Window tracking hears another application's window come to the front, take a new caption and
// close, and the program's own windows come to the front; no compositor cloaks windows here. The
// events come while the program waits for messages, and none once it stops watching.
TEST_F(Conformance, AnotherProcesssWindowIsHeardInFrontRenamedAndClosedUntilWatchingStops) {
  using enum WindowEvent;
#if defined(VD_CONFORMANCE_FAKE)
  const std::vector<WindowEvent> reported = {kForeground, kRenamed, kDestroyed};  // as Windows
#else
  // Wine (8.0) takes the hooks and reports none of these: of windows it tells only their creation
  // and the keyboard focus. There the program's sweep finds every change.
  const std::vector<WindowEvent> reported = {};
#endif
  const Hwnd mine = desktop_->MakeWindow(), other = desktop_->MakeOtherProcessWindow();
  const Hwnd later = desktop_->MakeOtherProcessWindow();
  ASSERT_TRUE(other != 0 && later != 0);
  std::vector<std::pair<WindowEvent, Hwnd>> heard, expected;
  ASSERT_TRUE(Ws().WatchWindowEvents(
      [&](WindowEvent event, Hwnd hwnd) { heard.emplace_back(event, hwnd); }));
  const std::tuple<const char*, std::function<bool()>, WindowEvent, Hwnd> steps[] = {
      {"the program's own in front", [&] { return Ws().SetForegroundWindow(mine); }, kForeground,
       mine},
      {"the other in front", [&] { return desktop_->Front(other); }, kForeground, other},
      {"renamed",
       [&] { return desktop_->Retitle(other, "Renamed"), Ws().GetWindowTextW(other) == "Renamed"; },
       kRenamed, other},
      {"closed", [&] { return desktop_->Destroy(other), !Ws().IsWindow(other); }, kDestroyed,
       other},
  };
  for (const auto& [what, change, event, hwnd] : steps) {
    EXPECT_TRUE(change()) << what;
    if (std::ranges::count(reported, event) == 0) continue;
    EXPECT_TRUE(desktop_->PumpUntil([&] {
      return std::ranges::count(heard, std::pair(event, hwnd));
    })) << what;
    if (hwnd == other) expected.emplace_back(event, hwnd);
  }
  desktop_->PumpUntil([] { return false; }, 500);  // what else comes, comes now
  // Each once, in order, and nothing of the window left alone.
  std::erase(heard, std::pair(kForeground, mine));
  EXPECT_EQ(heard, expected);
  Ws().WatchWindowEvents(nullptr);
  heard.clear();
  desktop_->Front(later);
  desktop_->Retitle(later, "Renamed");
  Ws().SetForegroundWindow(mine);
  desktop_->Destroy(later);
  EXPECT_FALSE(desktop_->PumpUntil([&] { return !heard.empty(); }, 500));
}

// The file may have been edited by hand.
TEST_F(Conformance, TheSettingsFileReadsWhateverTheCaseBlanksAndQuotesAndIsWrittenLineByLine) {
  EXPECT_EQ(Read("SETUP", "columns"), "");  // no file yet
  std::ofstream(file_, std::ios::binary)
      << "[SETUP]\r\n  Columns   =  3  \r\nquoted=\"two words\"\r\nsingle='x'\r\nhalf=\"open\r\n"
      << "inner=a \"b\" c\r\nlong=" << std::string(200, 'v') << "\r\nempty=\r\nbare\r\nlf=unix\n"
      << "COLUMNS=9\r\n[Hotkeys]\r\n1=1,12,1\r\n";
  const char* const cases[][3] = {
      {"SETUP", "columns", "3"},        {" setup ", " COLUMNS ", "3"}, {"HOTKEYS", "1", "1,12,1"},
      {"SETUP", "quoted", "two words"}, {"SETUP", "single", "x"},      {"SETUP", "half", "\"open"},
      {"SETUP", "inner", "a \"b\" c"},  {"SETUP", "empty", ""},        {"SETUP", "bare", ""},
      {"SETUP", "lf", "unix"},          {"SETUP", "rows", ""},         {"ALERT", "key1", ""}};
  for (const auto& [section, key, value] : cases) EXPECT_EQ(Read(section, key), value) << key;
  EXPECT_EQ(Read("SETUP", "long"), std::string(127, 'v'));  // cut to the buffer
  // A whole section read at once gives the same values, the first of two equal names counting.
  auto lowered = [](std::string_view text) {
    std::string out;
    for (char c : text) {
      if (c != ' ') out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return out;
  };
  for (const auto& [section, key, value] : cases) {
    std::optional<std::string> found;
    for (const auto& [name, stored] : Ws().GetPrivateProfileSectionW(lowered(section), file_)) {
      if (!found && lowered(name) == lowered(key)) found = stored;
    }
    EXPECT_EQ(found.value_or("").substr(0, 127), value) << key;
  }
  // A write changes one line and leaves the others as they were.
  std::filesystem::remove(file_);
  ASSERT_TRUE(Write("SETUP", "columns", "3"));
  EXPECT_EQ(Contents(file_), "[SETUP]\r\ncolumns=3\r\n");
  std::ofstream(file_, std::ios::app | std::ios::binary) << "rows=2\r\n[ALERT]\r\nkey1=1\r\n";
  ASSERT_TRUE(Write("SETUP", "rows", "5") && Write("SETUP", "left", "1500"));
  ASSERT_TRUE(Write("ALERT", "key1", "") && Write("HOTKEYS", "1", "0,7,1"));
  EXPECT_EQ(Contents(file_),
            "[SETUP]\r\ncolumns=3\r\nrows=5\r\nleft=1500\r\n[ALERT]\r\nkey1=\r\n"
            "[HOTKEYS]\r\n1=0,7,1\r\n");
}

// A refused registration tells the program that the keys are taken.
TEST_F(Conformance, AHotkeyReachesItsWindowAndHasOneHolderUntilItIsUnregistered) {
  constexpr uint32_t kF8 = 0x77;
  const Hwnd owner = desktop_->MakeWindow(), other = desktop_->MakeWindow();
  ASSERT_TRUE(Ws().RegisterHotKey(owner, 5, MOD_SHIFT, kF8));
  EXPECT_EQ(desktop_->Press(owner, MOD_SHIFT, kF8), (Hotkeys{{5, (kF8 << 16) | MOD_SHIFT}}));
  for (auto [what, hwnd, id, modifiers, registers] :
       {std::tuple{"the same window under another id", owner, 2, MOD_SHIFT, false},
        {"another window", other, 5, MOD_SHIFT, false},
        {"the key with another modifier", other, 2, MOD_CONTROL, true}}) {
    EXPECT_EQ(Ws().RegisterHotKey(hwnd, id, modifiers, kF8), registers) << what;
  }
  EXPECT_TRUE(Ws().UnregisterHotKey(owner, 5));
  EXPECT_TRUE(Ws().RegisterHotKey(other, 1, MOD_SHIFT, kF8));
}

// Written as the program writes it: opened for writing only, the length counting the NUL.
TEST_F(Conformance, AValueWrittenToTheRunKeyReadsBackUntilItIsDeleted) {
  constexpr char kRun[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run", kName[] = "VdTest";
  const std::string command = "\"C:\\Conformance\\vuedeck\"";
  RegKey key = 0, reader = 0;
  ASSERT_EQ(Ws().RegOpenKeyExW(HKEY_CURRENT_USER, kRun, KEY_WRITE, &key), ERROR_SUCCESS);
  ASSERT_EQ(Ws().RegOpenKeyExW(HKEY_CURRENT_USER, kRun, KEY_READ, &reader), ERROR_SUCCESS);
  EXPECT_EQ(Ws().RegSetValueExW(key, kName, REG_SZ, command, command.size() + 1), ERROR_SUCCESS);
  std::string read;
  EXPECT_EQ(Ws().RegQueryValueExW(reader, kName, &read), ERROR_SUCCESS);
  EXPECT_EQ(read, command);
  EXPECT_EQ(Ws().RegDeleteValueW(key, kName), ERROR_SUCCESS);
  EXPECT_EQ(Ws().RegQueryValueExW(reader, kName, &read), ERROR_FILE_NOT_FOUND);
  for (RegKey open : {key, reader}) Ws().RegCloseKey(open);
}

// A list is written beside its file and then put in its place; a missing new file is refused.
TEST_F(Conformance, ReplaceFileWithPutsTheNewFileInPlaceOfTheOld) {
  const std::string list = (folder_ / "list").string(), fresh = list + ".new";
  std::ofstream(list, std::ios::binary) << "old\r\n";
  std::ofstream(fresh, std::ios::binary) << "new\r\n";
  ASSERT_TRUE(Ws().ReplaceFileWith(list, fresh));
  EXPECT_FALSE(std::filesystem::exists(fresh) || Ws().ReplaceFileWith(list, fresh));
  EXPECT_EQ(Contents(list), "new\r\n");
}

// Where the program keeps its files when it cannot write beside itself.
TEST_F(Conformance, TheDataFolderExistsAndAFolderIsWritableOnceItExists) {
  const std::string appData = Ws().ApplicationDataFolder(), made = (folder_ / "made").string();
  EXPECT_TRUE(!appData.empty() && std::filesystem::is_directory(appData)) << appData;
  EXPECT_TRUE(Ws().CanWriteInFolder(folder_.string()));
  EXPECT_FALSE(Ws().CanWriteInFolder(made));
  EXPECT_TRUE(Ws().CreateFolder(made) && Ws().CreateFolder(made));  // there already: still true
  EXPECT_TRUE(Ws().CanWriteInFolder(made) && std::filesystem::is_empty(made));
}

TEST_F(Conformance, TheTrayIconIsAddedAndRemovedOnce) {
  const NotifyIconData icon{desktop_->MakeWindow(), 1, NIF_MESSAGE | NIF_ICON | NIF_TIP,
                            WM_MOUSEMOVE,           0, "VUEDECK Virtual Desktop"};
  ASSERT_TRUE(Ws().Shell_NotifyIconW(NIM_ADD, icon));
  EXPECT_TRUE(Ws().Shell_NotifyIconW(NIM_DELETE, icon) &&
              !Ws().Shell_NotifyIconW(NIM_DELETE, icon));
}

// The in-memory desktop starts as the test desktop under Wine: 1280 x 1024 pixels.
TEST_F(Conformance, TheScreenIsTheTestDesktops) {
  EXPECT_EQ(std::pair(Ws().GetSystemMetrics(SM_CXSCREEN), Ws().GetSystemMetrics(SM_CYSCREEN)),
            std::pair(1280, 1024));
}

}  // namespace
}  // namespace vd::conformance
