// What only the in-memory desktop offers the logic's tests: the record of calls, the user's
// keys, hung windows, the virtual clock, the inspection helpers. The real system has none of
// these, so they are checked here and not in the shared suite.
#if defined(VD_CONFORMANCE_FAKE)

#include <gtest/gtest.h>

#include "Harness.h"
#include "platform/fake/FakeWindowSystem.h"

namespace vd::fake {
namespace {

using Args = std::vector<std::string>;

Hwnd MakeWindow(FakeWindowSystem& fake, const std::string& caption, Hwnd parent = 0) {
  WindowSpec desc;
  desc.caption = caption;
  desc.parent = parent;
  return fake.CreateWindow(desc);
}

TEST(FakeDesktop, RecordsEveryCallWithItsArgumentsAsDecimalText) {
  FakeWindowSystem fake;
  const Hwnd a = MakeWindow(fake, "A"), b = MakeWindow(fake, "B");
  fake.ShowWindow(a, SW_HIDE);
  fake.SetWindowPos(b, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  fake.ShowWindow(b, SW_SHOW);
  fake.SendMessageA(a, WM_CLOSE, 0, -5);
  char buffer[8];
  fake.GetPrivateProfileStringA("SETUP", "rows", "", buffer, sizeof buffer, "none.ini");

  const std::vector<Call>& calls = fake.Calls();
  ASSERT_EQ(calls.size(), 5u);
  EXPECT_EQ(calls[0].name, "ShowWindow");
  EXPECT_EQ(calls[0].args, (Args{std::to_string(a), "0"}));
  EXPECT_EQ(calls[1].args, (Args{std::to_string(b), "-1", "0", "0", "0", "0", "3"}));
  EXPECT_EQ(calls[3].args, (Args{std::to_string(a), "16", "0", "-5"}));
  EXPECT_EQ(calls[4].args, (Args{"SETUP", "rows", "", "8", "none.ini"}));

  const std::vector<Call> onB = fake.CallsOn("ShowWindow", b);
  ASSERT_EQ(onB.size(), 1u);
  EXPECT_EQ(onB[0].args[1], "5");
  fake.ClearCalls();
  EXPECT_TRUE(fake.Calls().empty());
}

TEST(FakeDesktop, HandlesAscendAndAreNeverReused) {
  FakeWindowSystem fake;
  const Hwnd first = MakeWindow(fake, "first");
  const Hwnd child = MakeWindow(fake, "child", first);
  fake.DestroyWindow(first);
  EXPECT_FALSE(fake.Exists(child));  // children go with their parent
  const Hwnd next = MakeWindow(fake, "next");
  EXPECT_GT(child, first);
  EXPECT_GT(next, child);
  EXPECT_EQ(MakeWindow(fake, "orphan", first), 0);  // no parent, no window
}

TEST(FakeDesktop, PressedKeysReachTheHolderOnlyWhenSomeoneHoldsThem) {
  FakeWindowSystem fake;
  const Hwnd pager = MakeWindow(fake, "pager");
  std::vector<std::pair<uintptr_t, intptr_t>> got;
  fake.SetMessageSink(pager, [&](uint32_t msg, uintptr_t wParam, intptr_t lParam) -> intptr_t {
    if (msg == WM_HOTKEY) got.emplace_back(wParam, lParam);
    return 0;
  });
  EXPECT_FALSE(fake.PressHotkey(MOD_CONTROL, 'A'));
  ASSERT_TRUE(fake.RegisterHotKey(pager, 3, MOD_CONTROL, 'A'));
  EXPECT_TRUE(fake.PressHotkey(MOD_CONTROL, 'A'));
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].first, 3u);
  EXPECT_EQ(got[0].second, static_cast<intptr_t>(('A' << 16) | MOD_CONTROL));

  // A combination another program holds is refused and never reaches the pager.
  fake.HoldHotkeyElsewhere(MOD_ALT, 'B');
  EXPECT_FALSE(fake.RegisterHotKey(pager, 4, MOD_ALT, 'B'));
  EXPECT_FALSE(fake.PressHotkey(MOD_ALT, 'B'));
  EXPECT_EQ(got.size(), 1u);
}

TEST(FakeDesktop, HungWindowAnswersNoTimedMessage) {
  FakeWindowSystem fake;
  const Hwnd hwnd = MakeWindow(fake, "busy");
  int delivered = 0;
  fake.SetMessageSink(hwnd, [&](uint32_t, uintptr_t, intptr_t) -> intptr_t { return ++delivered; });
  fake.SetHung(hwnd, true);
  intptr_t answer = -1;
  EXPECT_TRUE(fake.IsHungAppWindow(hwnd));
  EXPECT_FALSE(fake.SendMessageTimeoutA(hwnd, WM_NULL, 0, 0, 100, &answer));
  EXPECT_EQ(delivered, 0);
  fake.SetHung(hwnd, false);
  EXPECT_TRUE(fake.SendMessageTimeoutA(hwnd, WM_NULL, 0, 0, 100, &answer));
  EXPECT_EQ(answer, 1);
}

TEST(FakeDesktop, SleepAdvancesTheVirtualClockAndIsRecorded) {
  FakeWindowSystem fake;
  const uint32_t start = fake.GetTickCount();
  fake.Sleep(10);
  fake.Sleep(25);
  fake.AdvanceTime(100);
  EXPECT_EQ(fake.VirtualTimeMs() - start, 135u);
  EXPECT_EQ(fake.GetTickCount() - start, 135u);
  EXPECT_EQ(fake.CallsOn("Sleep", 10).size(), 1u);  // the first argument is the pause
  EXPECT_EQ(fake.CallsOn("Sleep", 25).size(), 1u);
}

TEST(FakeDesktop, InspectionFollowsTheWindowState) {
  FakeWindowSystem fake;
  const Hwnd a = MakeWindow(fake, "A"), b = MakeWindow(fake, "B");
  EXPECT_EQ(fake.ZOrder(), (std::vector<Hwnd>{b, a}));
  fake.SetWindowPos(a, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  EXPECT_TRUE(fake.IsTopMost(a));
  EXPECT_EQ(fake.ZOrder(), (std::vector<Hwnd>{a, b}));
  fake.Activate(b);  // a normal window stays under the top-most one
  EXPECT_EQ(fake.ZOrder(), (std::vector<Hwnd>{a, b}));
  EXPECT_EQ(fake.GetForegroundWindow(), b);

  EXPECT_EQ(fake.Alpha(b), -1);
  fake.SetWindowLongA(b, GWL_EXSTYLE, static_cast<int32_t>(WS_EX_LAYERED));
  fake.SetLayeredWindowAttributes(b, 0, 100, LWA_ALPHA);
  EXPECT_EQ(fake.Alpha(b), 100);
  fake.SetWindowLongA(b, GWL_EXSTYLE, 0);
  EXPECT_EQ(fake.Alpha(b), -1);
}

TEST(FakeDesktop, TrayRegistryAndProcessAreInspectable) {
  FakeWindowSystem fake;
  NotifyIconData icon;
  icon.hwnd = MakeWindow(fake, "tray");
  icon.id = 1;
  icon.flags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  icon.callbackMessage = WM_MOUSEMOVE;
  icon.tip = std::string(70, 'x');
  ASSERT_TRUE(fake.Shell_NotifyIconA(NIM_ADD, icon));
  ASSERT_EQ(fake.TrayIcons().size(), 1u);
  EXPECT_EQ(fake.TrayIcons()[0].tip, std::string(63, 'x'));
  icon.flags = NIF_TIP;  // only the tip changes
  icon.callbackMessage = 0;
  icon.tip = "VUEDECK Virtual Desktop";
  ASSERT_TRUE(fake.Shell_NotifyIconA(NIM_MODIFY, icon));
  EXPECT_EQ(fake.TrayIcons()[0].tip, "VUEDECK Virtual Desktop");
  EXPECT_EQ(fake.TrayIcons()[0].callbackMessage, WM_MOUSEMOVE);
  ASSERT_TRUE(fake.Shell_NotifyIconA(NIM_DELETE, icon));
  EXPECT_TRUE(fake.TrayIcons().empty());

  RegKey run = 0;
  ASSERT_EQ(
      fake.RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Run",
                         KEY_WRITE, &run),
      ERROR_SUCCESS);
  fake.RegSetValueExA(run, "VUEDECK", REG_SZ, "C:\\VUEDECK\\vuedeck", 18);
  EXPECT_EQ(
      fake.Registry().at("HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run").at("VUEDECK"),
      "C:\\VUEDECK\\vuedeck");

  EXPECT_TRUE(fake.AcquireSingleInstance());
  fake.SetSecondInstance(true);
  EXPECT_FALSE(fake.AcquireSingleInstance());
  EXPECT_FALSE(fake.ProcessEnded());
  fake.ExitProcess(0);
  EXPECT_TRUE(fake.ProcessEnded());
}

TEST(FakeDesktop, DialogsAnswerThroughTheTestsHandlers) {
  FakeWindowSystem fake;
  uint32_t color = 0x123456;
  std::array<uint32_t, 16> custom{};
  EXPECT_FALSE(fake.ChooseColorA(0, &color, &custom));  // no handler: cancelled
  EXPECT_EQ(color, 0x123456u);
  EXPECT_EQ(fake.MessageBoxA(0, "text", "title", MB_YESNO), IDCANCEL);

  fake.onChooseColor = [](uint32_t* chosen) {
    *chosen = 0x00FF00;
    return true;
  };
  fake.onMessageBox = [](const std::string& text, const std::string&, uint32_t style) {
    return text == "Exit?" && style == MB_YESNO ? IDYES : IDNO;
  };
  EXPECT_TRUE(fake.ChooseColorA(0, &color, &custom));
  EXPECT_EQ(color, 0x00FF00u);
  EXPECT_EQ(fake.MessageBoxA(0, "Exit?", "VUEDECK", MB_YESNO), IDYES);
}

TEST(FakeDesktop, ProgramPathsWithBackslashesReachTheFile) {
  vd::conformance::TempFolder folder;
  FakeWindowSystem fake;
  fake.SetProgramFolder(folder.Path().string());
  const std::string file = fake.ProgramFolder() + "\\settings.ini";
  ASSERT_TRUE(fake.WritePrivateProfileStringA("SETUP", "columns", "3", file));
  EXPECT_TRUE(std::filesystem::exists(folder.Path() / "settings.ini"));
  char buffer[128];
  EXPECT_EQ(fake.GetPrivateProfileStringA("SETUP", "columns", "", buffer, 128, file), 1u);
  EXPECT_STREQ(buffer, "3");

  fake.SetScreen(1920, 1080, 12, 12);
  EXPECT_EQ(fake.GetSystemMetrics(SM_CXSCREEN), 1920);
  EXPECT_EQ(fake.TwipsPerPixelY(), 12);
}

}  // namespace
}  // namespace vd::fake

#endif  // VD_CONFORMANCE_FAKE
