// Window tracking in the real program under Wine, which reports no window coming to the front
// and none closing: with the pager in view, both are looked for every 100 ms, so a new window
// is taken on and a closed one's miniature goes well within the two seconds of the sweep.
#include "E2eTest.h"

namespace vde2e {

using Tracking = E2eTest;

TEST_F(Tracking, ANewWindowIsTakenOnAndAClosedOnesMiniatureGoesWithinATick) {
  HWND pager = Start();
  ASSERT_TRUE(pager);
  // Opened left of the screen: the program brings it to the corner when it takes it on.
  HWND fresh = Open("Fresh", {-2000, 200, -1600, 500}, 0x3060C0);
  ASSERT_TRUE(fresh);
  ULONGLONG asked = GetTickCount64();
  ASSERT_TRUE(Maker("front", "Fresh"));
  EXPECT_TRUE(WaitUntil(
      [&] {
        return At(fresh, {0, 0, 400, 300});
      },
      700, 5))
      << "taken on after " << GetTickCount64() - asked << " ms";
  const std::vector<RECT> cells = Cells(pager);
  ASSERT_FALSE(cells.empty());
  const RECT place = RectOf(fresh);
  RECT miniature = MiniatureOf(pager, cells[0], place);
  ASSERT_FALSE(IsRectEmpty(&miniature));
  asked = GetTickCount64();
  ASSERT_TRUE(Maker("close", "Fresh"));
  EXPECT_TRUE(WaitUntil(
      [&] {
        miniature = MiniatureOf(pager, cells[0], place, 0);
        return IsRectEmpty(&miniature);
      },
      700, 5))
      << "the miniature still there after " << GetTickCount64() - asked << " ms";
}

}  // namespace vde2e
