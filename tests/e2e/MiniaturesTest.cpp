// Miniatures are never black. A window's first picture is taken 100 ms after the program takes
// it on, and a copy of a window already hidden comes back all black: so the desktop is left
// right after the start (on a slow run that part passes either way). A picture presented wrongly
// flickers black or white over repaints.
#include "E2eTest.h"

namespace vde2e {

using Miniatures = E2eTest;

TEST_F(Miniatures, ShowTheirWindowsNeverBlackAlsoWhenTheDesktopIsLeftRightAfterTheStart) {
  const RECT earlyPlace{80, 520, 500, 820}, violetPlace{700, 500, 1080, 780};
  HWND early = Open("Early", earlyPlace, 0x3090E0);
  ASSERT_NE(early, nullptr);
  HWND pager = Start();
  ASSERT_TRUE(pager);
  ASSERT_TRUE(Hotkey(2) && WaitShown({early}, false));
  const std::vector<RECT> cells = Cells(pager);
  ASSERT_EQ(cells.size(), 6u);
  const RECT earlyMiniature = MiniatureOf(pager, cells[0], earlyPlace);
  ASSERT_FALSE(IsRectEmpty(&earlyMiniature));
  EXPECT_TRUE(Shot("left-at-once", [&](const vdtools::Image& shot) {
    return ColorAround(shot, Middle(earlyMiniature), 0x3090E0);
  }));

  ASSERT_TRUE(OpenManaged("Violet", violetPlace, 0xC030A0));
  const RECT violetMiniature = MiniatureOf(pager, cells[1], violetPlace);
  ASSERT_FALSE(IsRectEmpty(&violetMiniature));
  auto pictured = [&](const vdtools::Image& shot) {
    return ColorAround(shot, Middle(earlyMiniature), 0x3090E0) &&
           ColorAround(shot, Middle(violetMiniature), 0xC030A0);
  };
  EXPECT_TRUE(Shot("both-pictured", pictured));
  int looks = 0, missing = 0;
  for (const ULONGLONG end = GetTickCount64() + 1000; GetTickCount64() < end; ++looks) {
    vdtools::Image shot;
    missing += vdtools::CaptureScreen(shot) && !pictured(shot);
  }
  EXPECT_EQ(missing, 0) << "of " << looks << " looks at the miniatures lacked their pictures";
}

}  // namespace vde2e
