// A window whose application stops answering messages: a switch, the pager's refresh with the
// pager in front and the end of the program all go on without it (the other windows switch at
// once, a new window is taken on, the pager keeps answering the system's "still alive?" message
// within a second), and the hung window is hidden or shown as soon as its application answers
// again, also when the program has ended by then.
#include "E2eTest.h"

namespace vde2e {
namespace {

// How long the other windows may take to follow a switch, and the program to end. The hung
// window stays hung well beyond it, so a switch or an exit that waited for it is caught.
constexpr DWORD kAtOnceMs = 2500;
// The first hang is shorter than the 5 s after which the system itself calls an application
// hung; the second is longer, so both ways a program may see a hung window are gone through.
constexpr int kShortHangMs = 4500, kLongHangMs = 7000;
constexpr DWORD kRecoverMs = 12000;

// Whether the window's thread takes a message within `ms`.
bool Answers(HWND hwnd, UINT ms) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutA(hwnd, WM_NULL, 0, 0, SMTO_NORMAL, ms, &result) != 0;
}

class HungWindow : public E2eTest {
 protected:
  // Makes winmaker's window stop taking messages for `ms`; true once it no longer answers.
  bool Hang(const std::string& caption, HWND hwnd, int ms) {
    return Maker("hang", caption, std::to_string(ms)) &&
           WaitUntil([&] { return !Answers(hwnd, 50); }, 2000);
  }
  // Whether, within kAtOnceMs after the hotkey, `shown` is shown and `hidden` hidden, and the
  // pager answers within a second.
  bool SwitchedAtOnce(int desktop, HWND shown, HWND hidden) {
    return Hotkey(desktop) &&
           WaitUntil([&] { return IsWindowVisible(shown) && !IsWindowVisible(hidden); },
                     kAtOnceMs) &&
           Answers(Pager(), 1000);
  }
};

TEST_F(HungWindow, NeitherASwitchNorTheRefreshNorTheExitWaitsForIt) {
  // Desktop 1 holds "Steady" and "Stuck", desktop 2 holds "Elsewhere".
  HWND steady = Open("Steady", {40, 560, 400, 800}, 0x3080F0);
  HWND stuck = Open("Stuck", {440, 560, 800, 800}, 0x40C040);
  ASSERT_TRUE(steady && stuck);
  HWND pager = Start();
  ASSERT_NE(pager, nullptr) << "no window of vuedeck.exe showed";
  ASSERT_TRUE(Hotkey(2) && WaitShown({steady, stuck}, false)) << Facts({steady, stuck});
  HWND elsewhere = OpenManaged("Elsewhere", {840, 560, 1200, 780}, 0xC04080);
  ASSERT_NE(elsewhere, nullptr);
  ASSERT_TRUE(Hotkey(1) && WaitShown({steady, stuck}, true) && WaitShown({elsewhere}, false));

  // Stuck hangs while its desktop is open; desktop 2 opens at once all the same.
  ASSERT_TRUE(Hang("Stuck", stuck, kShortHangMs)) << "winmaker's window did not hang";
  EXPECT_TRUE(SwitchedAtOnce(2, elsewhere, steady)) << Facts({steady, stuck, elsewhere});
  Shot("switched-while-hung");

  // The pager in front refreshes its miniatures in turn and answers within a second all the
  // while; a window that comes to the front meanwhile is taken on.
  SetForegroundWindow(pager);
  EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == pager; }));
  EXPECT_FALSE(WaitUntil([&] { return !Answers(pager, 1000); }, 1500)) << "the pager hung";
  EXPECT_NE(OpenManaged("Newcomer", {600, 100, 840, 260}, 0x20A0A0), nullptr);
  EXPECT_FALSE(Answers(stuck, 50)) << "the hang ended too soon for the checks to mean anything";

  // Once it answers again, Stuck goes: its desktop is not the open one.
  ASSERT_TRUE(WaitUntil([&] { return Answers(stuck, 100); }, kRecoverMs));
  EXPECT_TRUE(WaitShown({stuck}, false)) << "it stayed after its hang" << Facts({stuck});

  // Stuck hangs again, long enough for the system to call it hung: its desktop opens and is
  // left again at once, and the program ends without waiting for it.
  ASSERT_TRUE(Hang("Stuck", stuck, kLongHangMs)) << "winmaker's window did not hang again";
  EXPECT_TRUE(SwitchedAtOnce(1, steady, elsewhere)) << Facts({steady, stuck, elsewhere});
  EXPECT_TRUE(SwitchedAtOnce(2, elsewhere, steady)) << Facts({steady, stuck, elsewhere});
  ASSERT_TRUE(PostMessageA(pager, WM_CLOSE, 0, 0));
  EXPECT_TRUE(Vuedeck().WaitExit(kAtOnceMs)) << "the exit waited for the hung window";
  EXPECT_FALSE(Answers(stuck, 50)) << "the hang ended too soon for the checks to mean anything";
  Shot("ended-while-hung");

  // Once it answers again, Stuck is shown, as every window is when the program ends.
  ASSERT_TRUE(WaitUntil([&] { return Answers(stuck, 100); }, kRecoverMs));
  EXPECT_TRUE(WaitShown({stuck, steady, elsewhere}, true)) << Facts({stuck, steady, elsewhere});
  Shot("all-back");
}

}  // namespace
}  // namespace vde2e
