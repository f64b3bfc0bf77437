// A window whose application stops answering messages: switches, the pager's refresh and the
// exit go on without it, and it follows as soon as it answers again.
#include "E2eTest.h"

namespace vde2e {

// How long a switch and the exit may take; each hang lasts well beyond it, the first shorter than
// the 5 s after which the system calls an application hung, the second longer.
constexpr DWORD kAtOnceMs = 2500, kRecoverMs = 12000;
constexpr int kShortHangMs = 4500, kLongHangMs = 7000;

static bool Answers(HWND hwnd, UINT ms) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutA(hwnd, WM_NULL, 0, 0, SMTO_NORMAL, ms, &result) != 0;
}

using HungWindow = E2eTest;

TEST_F(HungWindow, NeitherASwitchNorTheRefreshNorTheExitWaitsForIt) {
  HWND steady = Open("Steady", {40, 560, 400, 800}, 0x3080F0);
  HWND stuck = Open("Stuck", {440, 560, 800, 800}, 0x40C040);
  ASSERT_TRUE(steady && stuck);
  HWND pager = Start();
  ASSERT_TRUE(pager);
  ASSERT_TRUE(Hotkey(2) && WaitShown({steady, stuck}, false));
  HWND elsewhere = OpenManaged("Elsewhere", {840, 560, 1200, 780}, 0xC04080);
  ASSERT_TRUE(elsewhere);
  ASSERT_TRUE(Hotkey(1) && WaitShown({steady, stuck}, true, {elsewhere}));
  auto hang = [&](int ms) {  // true once Stuck no longer answers
    return Maker("hang", "Stuck", std::to_string(ms)) &&
           WaitUntil([&] { return !Answers(stuck, 50); }, 2000);
  };
  auto switchedAtOnce = [&](int desktop, HWND shown, HWND hidden) {
    return Hotkey(desktop) && WaitShown({shown}, true, {hidden}, kAtOnceMs) && Answers(pager, 1000);
  };

  // Stuck hangs while its desktop is open; desktop 2 opens at once all the same.
  ASSERT_TRUE(hang(kShortHangMs));
  EXPECT_TRUE(switchedAtOnce(2, elsewhere, steady)) << Facts({steady, stuck, elsewhere});
  Shot("switched-while-hung");

  // The pager in front refreshes its miniatures in turn and answers within a second all the
  // while; a window that comes to the front meanwhile is taken on.
  SetForegroundWindow(pager);
  EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == pager; }));
  EXPECT_FALSE(WaitUntil([&] { return !Answers(pager, 1000); }, 1500)) << "the pager hung";
  EXPECT_TRUE(OpenManaged("Newcomer", {600, 100, 840, 260}, 0x20A0A0));
  EXPECT_FALSE(Answers(stuck, 50)) << "the hang ended too soon for the checks to mean anything";

  // Once it answers again, Stuck goes: its desktop is not the open one.
  ASSERT_TRUE(WaitUntil([&] { return Answers(stuck, 100); }, kRecoverMs));
  EXPECT_TRUE(WaitShown({stuck}, false));

  // Hung again, long enough for the system to call it hung: its desktop opens and is left again
  // at once, and the program ends without waiting for it.
  ASSERT_TRUE(hang(kLongHangMs));
  EXPECT_TRUE(switchedAtOnce(1, steady, elsewhere)) << Facts({steady, stuck, elsewhere});
  EXPECT_TRUE(switchedAtOnce(2, elsewhere, steady)) << Facts({steady, stuck, elsewhere});
  EXPECT_TRUE(CloseAndWaitForExit(kAtOnceMs));
  EXPECT_FALSE(Answers(stuck, 50)) << "the hang ended too soon for the checks to mean anything";
  Shot("ended-while-hung");

  // Once it answers again, Stuck is shown, as every window is when the program ends.
  ASSERT_TRUE(WaitUntil([&] { return Answers(stuck, 100); }, kRecoverMs));
  EXPECT_TRUE(WaitShown({stuck, steady, elsewhere}, true));
  Shot("all-back");
}

}  // namespace vde2e
