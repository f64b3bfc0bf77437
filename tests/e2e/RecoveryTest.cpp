// The program going on through failures: ended by force and started again, and an application
// that stops answering messages.
#include <set>
#include <sstream>

#include "E2eTest.h"

namespace vde2e {

using KillAndRestart = E2eTest;

TEST_F(KillAndRestart, TheNextStartShowsEveryWindowItHadHiddenAndNotTheOneItsApplicationHid) {
  const std::string record = ScratchFile("hidden.list");
  auto recordNames = [&](const std::set<HWND>& windows) {  // as its lines' first numbers
    return WaitUntil([&] {
      std::istringstream lines(ReadWholeFile(record).value_or(""));
      std::set<HWND> named;
      for (long long hwnd, process; lines >> hwnd >> process;) named.insert(HWND(hwnd));
      return named == windows;
    });
  };
  auto recordGone = [&] { return !ReadWholeFile(record); };
  ASSERT_TRUE(Start());
  // The run ends on desktop 2, where "Own" is hidden by its application.
  const RECT onePlace{40, 420, 340, 620}, ownPlace{60, 700, 300, 860};
  const RECT twoPlace{380, 450, 700, 650}, threePlace{760, 480, 1100, 700};
  HWND one = OpenManaged("One", onePlace, 0x3050C0);
  ASSERT_TRUE(one && Hotkey(3) && WaitShown({one}, false));
  HWND three = OpenManaged("Three", threePlace, 0xC08030);
  ASSERT_TRUE(three && Hotkey(2) && WaitShown({three}, false));
  HWND own = OpenManaged("Own", ownPlace, 0x20A020);
  HWND two = OpenManaged("Two", twoPlace, 0x9030A0);
  ASSERT_TRUE(own && two && Maker("hide", "Own") && WaitShown({own}, false));
  EXPECT_TRUE(recordNames({one, three})) << ReadWholeFile(record).value_or("(none)");
  Shot("desktop-2-before-the-kill");

  Vuedeck().Kill();
  ASSERT_FALSE(IsWindowVisible(one) || IsWindowVisible(three));
  // Watched as closely as polling allows: the first look that finds the pager shown must find
  // One and Three shown too.
  bool shownFirst = false;
  ASSERT_TRUE(Start([&] { shownFirst = IsWindowVisible(one) && IsWindowVisible(three); }));
  EXPECT_TRUE(shownFirst) << Facts({one, three});
  EXPECT_TRUE(At(one, onePlace) && At(three, threePlace) && At(two, twoPlace) &&
              IsWindowVisible(two))
      << Facts({one, two, three});
  EXPECT_TRUE(WaitUntil(recordGone));
  // The program is up and ticking (its record is gone); the window its application hid stays.
  EXPECT_FALSE(IsWindowVisible(own));
  EXPECT_TRUE(Shot("after-the-restart", [&](const vdtools::Image& shot) {
    return ColorAround(shot, Middle(onePlace), 0x3050C0) &&
           ColorAround(shot, Middle(threePlace), 0xC08030);
  }));

  // Hidden windows that their application closes leave the record at once.
  ASSERT_TRUE(Hotkey(3) && WaitShown({one, two, three}, false) && recordNames({one, two, three}));
  ASSERT_TRUE(Maker("close", "One") && Maker("close", "Two") && Maker("close", "Three"));
  EXPECT_TRUE(WaitUntil(recordGone));
  ASSERT_TRUE(CloseAndWaitForExit());
  EXPECT_FALSE(ReadWholeFile(record)) << "the exit left a record";
}

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
  HWND pager = Start();
  ASSERT_TRUE(steady && stuck && pager);
  ASSERT_TRUE(Hotkey(2) && WaitShown({steady, stuck}, false));
  HWND elsewhere = OpenManaged("Elsewhere", {840, 560, 1200, 780}, 0xC04080);
  ASSERT_TRUE(elsewhere && Hotkey(1) && WaitShown({steady, stuck}, true, {elsewhere}));
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
