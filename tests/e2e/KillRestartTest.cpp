// The program ended by force while windows of other desktops are hidden, and started again.
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

}  // namespace vde2e
