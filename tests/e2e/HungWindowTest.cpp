// A window whose application stops answering messages, seen from outside: a switch, the pager's
// refresh with the pager in front and the end of the program all go on without it (the other
// windows switch at once, a new window is taken on, the pager keeps answering the system's
// "still alive?" message within a second), and the hung window is hidden or shown as soon as
// its application answers again, also when the program has ended by then.
#include <atomic>
#include <sstream>
#include <thread>

#include "E2eTest.h"
#include "Managed.h"

namespace vde2e {
namespace {

// How long the other windows may take to follow a switch, and the program to end. The hung
// window stays hung well beyond it, so a switch or an exit that waited for it is caught.
constexpr DWORD kAtOnceMs = 2500;
// The first hang is shorter than the 5 s after which the system itself calls an application
// hung; the second is longer, so both ways a program may see a hung window are gone through.
constexpr int kShortHangMs = 4500;
constexpr int kLongHangMs = 7000;
constexpr DWORD kRecoverTimeoutMs = 12000;
// Rounds of the alive check that make up the time the pager spends in front, refreshing.
constexpr int kRefreshRounds = 25;

// Whether the window's thread takes a message within `timeoutMs`.
bool Answers(HWND hwnd, UINT timeoutMs) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutA(hwnd, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &result) != 0;
}

// Whether, within kAtOnceMs, every window of `shown` is shown and every one of `hidden` hidden.
bool SwitchedAtOnce(std::initializer_list<HWND> shown, std::initializer_list<HWND> hidden) {
  return WaitUntil(
      [&] {
        for (HWND w : shown) {
          if (!IsWindowVisible(w)) return false;
        }
        for (HWND w : hidden) {
          if (IsWindowVisible(w)) return false;
        }
        return true;
      },
      kAtOnceMs, 10);
}

std::string FactsOf(std::initializer_list<HWND> windows) {
  std::ostringstream out;
  for (HWND w : windows) out << "\n  " << ReadWindowFacts(w);
  return out.str();
}

// From a thread of the test, asks the pager again and again to answer WM_NULL within a second,
// the way the system checks whether a program still answers, until stopped; counts the times
// it did not while its window was there (once the program has ended, the window is gone).
class AliveWatch {
 public:
  explicit AliveWatch(HWND pager) : pager_(pager) {
    thread_ = std::thread([this] { Run(); });
  }
  ~AliveWatch() {
    Stop();
    CloseHandle(stop_);
  }
  AliveWatch(const AliveWatch&) = delete;
  AliveWatch& operator=(const AliveWatch&) = delete;

  void Stop() {
    SetEvent(stop_);
    if (thread_.joinable()) thread_.join();
  }
  int Asked() const { return asked_; }
  int Missed() const { return missed_; }
  DWORD LongestMs() const { return longestMs_; }

 private:
  void Run() {
    do {
      DWORD_PTR result = 0;
      const DWORD start = GetTickCount();
      const bool answered =
          SendMessageTimeoutA(pager_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &result) != 0;
      const DWORD took = GetTickCount() - start;
      if (answered && took > longestMs_) longestMs_ = took;
      if (!answered && IsWindow(pager_)) ++missed_;
      ++asked_;
    } while (WaitForSingleObject(stop_, 20) == WAIT_TIMEOUT);
  }

  HWND pager_;
  HANDLE stop_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  std::atomic<int> asked_{0}, missed_{0};
  std::atomic<DWORD> longestMs_{0};
  std::thread thread_;
};

class HungWindow : public E2eTest {
 protected:
  // Makes winmaker's window `caption` stop taking messages for `ms` milliseconds; true once it
  // no longer answers.
  bool Hang(const std::string& caption, HWND hwnd, int ms) {
    if (!Maker().Send("hang " + WinMaker::Quote(caption) + " " + std::to_string(ms)).ok) {
      return false;
    }
    return WaitUntil([&] { return !Answers(hwnd, 50); }, 2000);
  }
};

TEST_F(HungWindow, NeitherASwitchNorTheRefreshNorTheExitWaitsForIt) {
  // Desktop 1 holds "Steady" and "Stuck", desktop 2 holds "Elsewhere".
  HWND steady = Maker().Open("Steady", 40, 560, 360, 240, "color 0x3080F0");
  HWND stuck = Maker().Open("Stuck", 440, 560, 360, 240, "color 0x40C040");
  ASSERT_TRUE(steady && stuck);
  ChildProcess& vuedeck = StartVuedeck();
  ASSERT_TRUE(vuedeck.Started());
  HWND pager = WaitForPager(vuedeck);
  ASSERT_NE(pager, nullptr) << "vuedeck.exe showed no window";
  ASSERT_TRUE(PressDesktopHotkey(2));
  ASSERT_TRUE(WaitVisibility({steady, stuck}, false)) << FactsOf({steady, stuck});
  const RECT elsewherePlace{840, 560, 1200, 780};
  std::string why;
  HWND elsewhere =
      OpenManagedWindow(Maker(), "Elsewhere", 360, 220, "color 0xC04080", &elsewherePlace, why);
  ASSERT_NE(elsewhere, nullptr) << why;
  ASSERT_TRUE(PressDesktopHotkey(1));
  ASSERT_TRUE(WaitVisibility({steady, stuck}, true) && WaitVisibility({elsewhere}, false))
      << FactsOf({steady, stuck, elsewhere});

  AliveWatch watch(pager);

  // Stuck hangs while its desktop is open; desktop 2 opens at once all the same.
  ASSERT_TRUE(Hang("Stuck", stuck, kShortHangMs)) << "winmaker's window did not hang";
  ASSERT_TRUE(PressDesktopHotkey(2));
  EXPECT_TRUE(SwitchedAtOnce({elsewhere}, {steady}))
      << "the switch waited for the hung window:" << FactsOf({steady, stuck, elsewhere});
  EXPECT_FALSE(Answers(stuck, 50)) << "the hang ended too soon for the check to mean anything";
  Shot("switched-while-hung");

  // The pager in front refreshes its miniatures in turn, and a window that comes to the front
  // meanwhile is taken on.
  SetForegroundWindow(pager);
  EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == pager; }, 2000));
  const int askedBefore = watch.Asked();
  EXPECT_TRUE(WaitUntil([&] { return watch.Asked() >= askedBefore + kRefreshRounds; }, 5000))
      << "the pager was asked only " << watch.Asked() - askedBefore << " times";
  HWND newcomer = OpenManagedWindow(Maker(), "Newcomer", 240, 160, "color 0x20A0A0", nullptr, why);
  EXPECT_NE(newcomer, nullptr) << why;

  // Once it answers again, Stuck goes: its desktop is not the open one.
  ASSERT_TRUE(WaitUntil([&] { return Answers(stuck, 100); }, kRecoverTimeoutMs));
  EXPECT_TRUE(WaitVisibility({stuck}, false)) << "it stayed after its hang" << FactsOf({stuck});
  EXPECT_TRUE(IsWindowVisible(elsewhere));

  // Stuck hangs again, long enough for the system to call it hung: its desktop opens and is
  // left again at once, and the program ends without waiting for it.
  ASSERT_TRUE(Hang("Stuck", stuck, kLongHangMs)) << "winmaker's window did not hang again";
  ASSERT_TRUE(PressDesktopHotkey(1));
  EXPECT_TRUE(SwitchedAtOnce({steady}, {elsewhere}))
      << "the switch back waited for the hung window:" << FactsOf({steady, stuck, elsewhere});
  ASSERT_TRUE(PressDesktopHotkey(2));
  EXPECT_TRUE(SwitchedAtOnce({elsewhere}, {steady}))
      << "the second switch waited for the hung window:" << FactsOf({steady, stuck, elsewhere});
  ASSERT_TRUE(PostMessageA(pager, WM_CLOSE, 0, 0));  // what the task bar's Close comes down to
  EXPECT_TRUE(vuedeck.WaitExit(kAtOnceMs)) << "the exit waited for the hung window";
  EXPECT_FALSE(Answers(stuck, 50)) << "the hang ended too soon for the checks to mean anything";
  watch.Stop();
  EXPECT_EQ(watch.Missed(), 0) << "of " << watch.Asked() << " questions; the longest answer took "
                               << watch.LongestMs() << " ms";
  Shot("ended-while-hung");

  // Once it answers again, Stuck is shown, as every window is when the program ends.
  ASSERT_TRUE(WaitUntil([&] { return Answers(stuck, 100); }, kRecoverTimeoutMs));
  EXPECT_TRUE(WaitVisibility({stuck, steady, elsewhere}, true))
      << "not every window came back:" << FactsOf({stuck, steady, elsewhere});
  Shot("all-back");
}

}  // namespace
}  // namespace vde2e
