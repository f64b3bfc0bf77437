// The program ended by force (TerminateProcess, as the task manager does) while windows of other
// desktops are hidden: the next start gives back every window it had hidden, shown at its own
// place by the time its pager shows, and leaves hidden a window that its own application hid.
// The record of hidden windows it kept for this goes once nothing is hidden, so a later exit
// leaves none behind.
#include <cstdio>
#include <set>
#include <sstream>

#include "E2eTest.h"

namespace vde2e {
namespace {

std::string Handle(HWND hwnd) { return std::to_string(reinterpret_cast<intptr_t>(hwnd)); }

class KillAndRestart : public E2eTest {
 protected:
  // The windows the record of hidden windows names (the first number of each line).
  std::set<std::string> Recorded() const {
    std::istringstream lines(ReadWholeFile(ScratchFile("hidden.list")).value_or(""));
    std::set<std::string> named;
    for (std::string hwnd, process; lines >> hwnd >> process;) named.insert(hwnd);
    return named;
  }
  bool RecordExists() const {
    return GetFileAttributesA(ScratchFile("hidden.list").c_str()) != INVALID_FILE_ATTRIBUTES;
  }
};

TEST_F(KillAndRestart, TheNextStartShowsEveryWindowItHadHiddenAndNotTheOneItsApplicationHid) {
  ASSERT_NE(Start(), nullptr) << "no window of vuedeck.exe showed";
  // "One" on desktop 1, "Three" on desktop 3, then desktop 2, where the run ends: "Two", and
  // "Own", which its application hides there.
  const RECT onePlace{40, 420, 340, 620}, ownPlace{60, 700, 300, 860};
  const RECT twoPlace{380, 450, 700, 650}, threePlace{760, 480, 1100, 700};
  HWND one = OpenManaged("One", onePlace, 0x3050C0);
  ASSERT_TRUE(one && Hotkey(3) && WaitShown({one}, false)) << Facts({one});
  HWND three = OpenManaged("Three", threePlace, 0xC08030);
  ASSERT_TRUE(three && Hotkey(2) && WaitShown({three}, false)) << Facts({three});
  HWND own = OpenManaged("Own", ownPlace, 0x20A020);
  HWND two = OpenManaged("Two", twoPlace, 0x9030A0);
  ASSERT_TRUE(own && two && Maker("hide", "Own") && WaitShown({own}, false));
  const std::set<std::string> hidden{Handle(one), Handle(three)};
  EXPECT_TRUE(WaitUntil([&] { return Recorded() == hidden; }))
      << "the record should name One " << Handle(one) << " and Three " << Handle(three) << ": "
      << ReadWholeFile(ScratchFile("hidden.list")).value_or("(none)");
  Shot("desktop-2-before-the-kill");

  Vuedeck().Kill();
  ASSERT_FALSE(IsWindowVisible(one) || IsWindowVisible(three));
  // Watched as closely as polling allows: the first look that finds the pager shown must find
  // One and Three shown too.
  ChildProcess& again = Launch(true);
  bool shownFirst = false;
  ASSERT_TRUE(WaitUntil(
      [&] {
        shownFirst = IsWindowVisible(one) && IsWindowVisible(three);
        return !WindowsOf(again.Pid()).empty() || !again.Running();
      },
      kStartMs, 1));
  EXPECT_TRUE(shownFirst) << "hidden still when the pager was already shown:"
                          << Facts({one, three});
  EXPECT_TRUE(At(one, onePlace) && At(three, threePlace) && At(two, twoPlace) &&
              IsWindowVisible(two))
      << Facts({one, two, three});
  EXPECT_TRUE(WaitUntil([&] { return !RecordExists(); })) << "the start left the record";
  // The program is up and ticking (its record is gone); the window its application hid stays.
  EXPECT_FALSE(IsWindowVisible(own)) << Facts({own});
  EXPECT_TRUE(ShotUntil("after-the-restart", [&](const vdtools::Image& shot) {
    return ColorAround(shot, Middle(onePlace), 0x3050C0) &&
           ColorAround(shot, Middle(threePlace), 0xC08030);
  })) << "One and Three are not to be seen on the screen";

  // Hidden windows that their application closes leave the record at once.
  HWND pager = WaitForPager(again);
  ASSERT_TRUE(Hotkey(3) && WaitShown({one, two, three}, false) && WaitUntil([&] {
                return Recorded() == std::set<std::string>{Handle(one), Handle(two), Handle(three)};
              }));
  ASSERT_TRUE(Maker("close", "One") && Maker("close", "Two") && Maker("close", "Three"));
  EXPECT_TRUE(WaitUntil([&] { return !RecordExists(); })) << "nothing is hidden any more";
  ASSERT_TRUE(PostMessageA(pager, WM_CLOSE, 0, 0) && again.WaitExit(kExitMs));
  EXPECT_FALSE(RecordExists()) << "after the exit";
}

}  // namespace
}  // namespace vde2e
