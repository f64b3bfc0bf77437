// What the program relies on when an application stops taking messages: its window still
// reads its caption (the program tells a closed window by an empty one, so a hung window read
// as empty would be forgotten), and asking it to show, move, raise, restyle or render itself
// comes back although the window never answers while the test runs (a request that waited for
// the window would never come back: the suite would stop there).
#include <gtest/gtest.h>

#include "Harness.h"

namespace vd::conformance {
namespace {

TEST(UnresponsiveWindowConformance, ItsCaptionReadsWholeAndEveryRequestComesBack) {
  std::unique_ptr<TestDesktop> desktop = MakeTestDesktop();
  WindowSystem& ws = desktop->System();
  const Hwnd hwnd = desktop->MakeUnresponsiveWindow();
  ASSERT_NE(hwnd, 0);

  EXPECT_EQ(ws.GetWindowTextLengthA(hwnd), 12);
  EXPECT_EQ(ws.GetWindowTextA(hwnd, 13), "Unresponsive");
  EXPECT_EQ(ws.GetWindowTextA(hwnd, 6), "Unres");
  EXPECT_EQ(ws.GetWindowTextA(hwnd, 1), "");

  // ShowWindow still answers whether the window was shown before the call.
  const bool shown = ws.IsWindowVisible(hwnd);
  EXPECT_EQ(ws.ShowWindow(hwnd, shown ? SW_HIDE : SW_SHOW), shown);
  EXPECT_TRUE(
      ws.SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE));
  EXPECT_TRUE(ws.MoveWindow(hwnd, 20, 30, 60, 40, true));
  const auto exStyle = static_cast<uint32_t>(ws.GetWindowLongA(hwnd, GWL_EXSTYLE));
  ws.SetWindowLongA(hwnd, GWL_EXSTYLE, static_cast<int32_t>(exStyle | WS_EX_LAYERED));
  ws.SetLayeredWindowAttributes(hwnd, 0, 128, LWA_ALPHA);
  ws.PrintWindow(hwnd, true);
  ws.ShowWindow(hwnd, SW_HIDE);

  EXPECT_TRUE(ws.IsWindow(hwnd));
  EXPECT_EQ(ws.GetWindowTextA(hwnd, 100), "Unresponsive");
}

// Hiding many windows at once, their threads answer one after another; the last may answer
// well after the first request. None of them is taken for hung: a thread taken for hung would
// have its style changes refused for seconds.
TEST(UnresponsiveWindowConformance, WindowsThatHideOneAfterAnotherInABatchAreNotTakenForHung) {
  std::unique_ptr<TestDesktop> desktop = MakeTestDesktop();
  WindowSystem& ws = desktop->System();
  std::vector<Hwnd> windows;
  for (uint32_t k = 0; k < 6; ++k) windows.push_back(desktop->MakeSlowWindow(k * 60));
  ws.BeginShowBatch();
  for (Hwnd hwnd : windows) {
    ASSERT_NE(hwnd, 0);
    ws.ShowWindow(hwnd, SW_HIDE);
  }
  ws.EndShowBatch();
  for (Hwnd hwnd : windows) {
    EXPECT_FALSE(ws.IsWindowVisible(hwnd));
    const auto exStyle = static_cast<uint32_t>(ws.GetWindowLongA(hwnd, GWL_EXSTYLE));
    ws.SetWindowLongA(hwnd, GWL_EXSTYLE, static_cast<int32_t>(exStyle | WS_EX_LAYERED));
    EXPECT_NE(static_cast<uint32_t>(ws.GetWindowLongA(hwnd, GWL_EXSTYLE)) & WS_EX_LAYERED, 0u);
  }
}

}  // namespace
}  // namespace vd::conformance
