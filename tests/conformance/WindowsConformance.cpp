// What the program relies on when it hides, shows, moves, raises, layers, reads and captures
// other applications' windows, and when one of them stops answering.
#include <algorithm>
#include <climits>
#include <functional>
#include <tuple>

#include "Harness.h"

namespace vd::conformance {
namespace {

constexpr uint32_t kRaise = SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE;

class WindowsConformance : public ConformanceTest {
 protected:
  Hwnd Make(Rect rect, Hwnd parent = 0) { return desktop_->MakeWindow({"Window", rect, parent}); }

  Rect RectOf(Hwnd hwnd) {
    Rect rect;
    return Ws().GetWindowRect(hwnd, &rect) ? rect : Rect{-1, -1, -1, -1};
  }

  bool HasBit(Hwnd hwnd, int index, uint32_t bit) {
    return (static_cast<uint32_t>(Ws().GetWindowLongA(hwnd, index)) & bit) != 0;
  }
  void SetBit(Hwnd hwnd, int index, uint32_t bit, bool on) {
    const auto now = static_cast<uint32_t>(Ws().GetWindowLongA(hwnd, index));
    Ws().SetWindowLongA(hwnd, index, static_cast<int32_t>(on ? now | bit : now & ~bit));
  }

  // True when the windows stand in this order, top first, in the Z order walked from `start`.
  bool Stacked(Hwnd start, const std::vector<Hwnd>& windows) {
    desktop_->Pump();
    std::vector<Hwnd> found;
    for (Hwnd w = Ws().GetWindow(start, GW_HWNDFIRST), guard = 0; w != 0 && ++guard < 100000;
         w = Ws().GetWindow(w, GW_HWNDNEXT)) {
      if (std::ranges::count(windows, w) == 1) found.push_back(w);
    }
    return found == windows;
  }
};

TEST_F(WindowsConformance, HideAndShowAnswerWhetherTheWindowWasShownAndKeepItsRectangle) {
  const Hwnd hwnd = Make({120, 130, 520, 430});
  // (command, answer, shown after)
  const int steps[][3] = {{SW_HIDE, 1, 0}, {SW_HIDE, 0, 0}, {SW_SHOW, 0, 1}, {SW_SHOW, 1, 1}};
  for (auto [cmd, answer, shown] : steps) {
    EXPECT_EQ(Ws().ShowWindow(hwnd, cmd), answer == 1) << cmd << " " << shown;
    EXPECT_EQ(Ws().IsWindowVisible(hwnd), shown == 1);
    EXPECT_EQ(HasBit(hwnd, GWL_STYLE, WS_VISIBLE), shown == 1);
    EXPECT_EQ(RectOf(hwnd), (Rect{120, 130, 520, 430}));
  }
  // A window moved while hidden shows where it was put.
  Ws().ShowWindow(hwnd, SW_HIDE);
  ASSERT_TRUE(Ws().MoveWindow(hwnd, -20, 400, 100, 90, true));
  Ws().ShowWindow(hwnd, SW_SHOW);
  EXPECT_EQ(RectOf(hwnd), (Rect{-20, 400, 80, 490}));
}

TEST_F(WindowsConformance, RaisingPutsAWindowOnTopOfTheNormalOnesAndLeavesTheFocusAlone) {
  const Hwnd older = Make({100, 100, 300, 300}), pinned = Make({120, 120, 320, 320});
  ASSERT_TRUE(Ws().SetWindowPos(pinned, HWND_TOPMOST, 0, 0, 0, 0, kRaise));
  EXPECT_TRUE(HasBit(pinned, GWL_EXSTYLE, WS_EX_TOPMOST));
  // A new window takes the focus and comes above the normal windows, under the top-most one.
  const Hwnd newer = Make({140, 140, 340, 340});
  EXPECT_TRUE(Stacked(older, {pinned, newer, older}));
  EXPECT_EQ(Ws().GetForegroundWindow(), newer);

  ASSERT_TRUE(Ws().SetWindowPos(older, HWND_TOPMOST, 0, 0, 0, 0, kRaise));
  ASSERT_TRUE(Ws().SetWindowPos(older, HWND_NOTOPMOST, 0, 0, 0, 0, kRaise));
  EXPECT_TRUE(Stacked(newer, {pinned, older, newer}));
  EXPECT_FALSE(HasBit(older, GWL_EXSTYLE, WS_EX_TOPMOST));
  EXPECT_EQ(RectOf(older), (Rect{100, 100, 300, 300}));
  EXPECT_EQ(Ws().GetForegroundWindow(), newer);

  // Leaving the top-most band puts a window on top of the normal ones.
  ASSERT_TRUE(Ws().SetWindowPos(pinned, HWND_NOTOPMOST, 0, 0, 0, 0, kRaise));
  EXPECT_FALSE(HasBit(pinned, GWL_EXSTYLE, WS_EX_TOPMOST));
  EXPECT_TRUE(Stacked(older, {pinned, older, newer}));

  // The window set in the foreground comes to the front; hidden, it hands the focus on.
  ASSERT_TRUE(Ws().SetForegroundWindow(older));
  EXPECT_TRUE(Stacked(older, {older, pinned, newer}));
  EXPECT_EQ(Ws().GetForegroundWindow(), older);
  Ws().ShowWindow(older, SW_HIDE);
  desktop_->Pump();
  EXPECT_EQ(Ws().GetForegroundWindow(), pinned);
  // Shown again with activation it takes the focus back; shown without, it leaves it alone.
  Ws().ShowWindow(older, SW_SHOW);
  desktop_->Pump();
  EXPECT_EQ(Ws().GetForegroundWindow(), older);
  Ws().ShowWindow(newer, SW_HIDE);
  Ws().ShowWindow(newer, SW_SHOWNA);
  desktop_->Pump();
  EXPECT_TRUE(Ws().IsWindowVisible(newer));
  EXPECT_EQ(Ws().GetForegroundWindow(), older);
}

// The refresh tells a closed window by the list of top-level windows (hidden ones are on it
// too) and by a caption that reads empty.
TEST_F(WindowsConformance, ACaptionReadsWholeWhileTheWindowLivesAndEmptyOnceItIsGone) {
  const Hwnd hwnd = desktop_->MakeWindow({"Conformance caption"}), hidden = Make({});
  Ws().ShowWindow(hidden, SW_HIDE);
  auto listed = [&](Hwnd w) { return std::ranges::count(Ws().TopLevelWindows(), w) == 1; };
  EXPECT_TRUE(listed(hwnd) && listed(hidden));
  EXPECT_EQ(Ws().GetWindowTextA(hwnd, INT_MAX), "Conformance caption");
  EXPECT_EQ(Ws().GetWindowTextLengthA(hwnd), 19);
  EXPECT_EQ(Ws().GetWindowThreadProcessId(hwnd), desktop_->OwnProcessId());
  EXPECT_FALSE(Ws().IsHungAppWindow(hwnd));

  desktop_->Destroy(hwnd);
  EXPECT_FALSE(listed(hwnd) || Ws().IsWindow(hwnd) || Ws().IsWindowVisible(hwnd));
  EXPECT_EQ(RectOf(hwnd), (Rect{-1, -1, -1, -1}));
  EXPECT_EQ(Ws().GetWindowTextLengthA(hwnd), 0);
  EXPECT_EQ(Ws().GetWindowTextA(hwnd, INT_MAX), "");
}

TEST_F(WindowsConformance, LayeredAttributesNeedTheLayeredBitAndAreForgottenWithIt) {
  const Hwnd hwnd = Make({});
  uint32_t key = 1, flags = 0;
  uint8_t alpha = 0;
  auto layered = [&] { return Ws().GetLayeredWindowAttributes(hwnd, &key, &alpha, &flags); };
  EXPECT_FALSE(Ws().SetLayeredWindowAttributes(hwnd, 0, 150, LWA_ALPHA));
  EXPECT_FALSE(layered());
  SetBit(hwnd, GWL_EXSTYLE, WS_EX_LAYERED, true);
  EXPECT_TRUE(HasBit(hwnd, GWL_EXSTYLE, WS_EX_LAYERED));
  EXPECT_FALSE(layered());
  ASSERT_TRUE(Ws().SetLayeredWindowAttributes(hwnd, 0, 150, LWA_ALPHA));
  ASSERT_TRUE(layered());
  EXPECT_EQ(std::tuple(key, alpha, flags), std::tuple(0u, uint8_t{150}, LWA_ALPHA));
  // Clearing the bit makes the window opaque; layered again, it has no attributes yet.
  SetBit(hwnd, GWL_EXSTYLE, WS_EX_LAYERED, false);
  EXPECT_FALSE(HasBit(hwnd, GWL_EXSTYLE, WS_EX_LAYERED) || layered());
  SetBit(hwnd, GWL_EXSTYLE, WS_EX_LAYERED, true);
  EXPECT_FALSE(layered());
}

// The pager's hover tracking asks which of its child windows is under the mouse.
TEST_F(WindowsConformance, WindowFromPointFindsTheTopEnabledShownWindowInnermostFirst) {
  const Hwnd parent = Make({200, 200, 600, 500});
  const Hwnd child = Make({50, 40, 150, 120}, parent);  // 250,240 - 350,320 on the screen
  const Hwnd over = Make({80, 60, 180, 140}, parent);   // 280,260 - 380,340
  auto toTop = [&](Hwnd w) { Ws().SetWindowPos(w, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE); };
  constexpr uint32_t kDisabled = 0x08000000;  // WS_DISABLED
  const std::tuple<const char*, std::function<void()>, Point, Hwnd> cases[] = {
      {"the parent around its children", [] {}, {400, 400}, parent},
      {"a child", [] {}, {260, 250}, child},
      {"a child's last pixel", [] {}, {349, 250}, child},
      {"just past its right edge", [] {}, {350, 250}, parent},
      {"the child on top of the other", [&] { toTop(child); }, {300, 300}, child},
      {"the other one raised", [&] { toTop(over); }, {300, 300}, over},
      {"a disabled child", [&] { SetBit(child, GWL_STYLE, kDisabled, true); }, {260, 250}, parent},
      {"enabled again", [&] { SetBit(child, GWL_STYLE, kDisabled, false); }, {260, 250}, child},
      {"a hidden child", [&] { Ws().ShowWindow(child, SW_HIDE); }, {260, 250}, parent},
  };
  for (const auto& [what, change, point, expected] : cases) {
    change();
    desktop_->Pump();
    EXPECT_EQ(Ws().WindowFromPoint(point), expected) << what;
  }
}

TEST_F(WindowsConformance, CaptureCopiesTheWindowsPictureAndNothingOnceItIsGone) {
  const TestWindowTraits traits{"Captured", {200, 150, 320, 230}, 0, 0x0033CC66};
  const Hwnd hwnd = desktop_->MakeWindow(traits);
  for (const auto& [picture, w, h] :
       {std::tuple{Ws().CaptureWindow(hwnd, false, 0, 0, 120, 80), 120, 80},
        {Ws().CaptureWindow(hwnd, true, 20, 10, 50, 30), 50, 30},
        {Ws().PrintWindow(hwnd, true), 120, 80}}) {
    EXPECT_EQ(std::pair(picture.Width(), picture.Height()), std::pair(w, h));
    EXPECT_EQ(std::ranges::count(picture.Pixels(), traits.color), w * h);
  }
  desktop_->Destroy(hwnd);
  EXPECT_TRUE(Ws().CaptureWindow(hwnd, false, 0, 0, 120, 80).Empty());
  EXPECT_TRUE(Ws().PrintWindow(hwnd, true).Empty());
}

// A window that answers gets its answer back; one that stops answering makes a timed send give
// up, still reads its whole caption (read as empty, it would be taken for closed), and every
// request to it comes back (one that waited for it would never come back).
TEST_F(WindowsConformance, AnUnresponsiveWindowTimesOutKeepsItsCaptionAndEveryRequestReturns) {
  const Hwnd answering = Make({});
  intptr_t answer = 0;
  EXPECT_TRUE(Ws().SendMessageTimeoutA(answering, WM_USER, 5, 6, 1000, &answer));
  EXPECT_EQ(answer, 11);

  const Hwnd hwnd = desktop_->MakeOtherThreadWindow(false);
  EXPECT_FALSE(Ws().SendMessageTimeoutA(hwnd, WM_NULL, 0, 0, 200, &answer));
  EXPECT_EQ(Ws().GetWindowTextLengthA(hwnd), 12);
  EXPECT_TRUE(Ws().ShowWindow(hwnd, SW_HIDE));
  EXPECT_TRUE(Ws().SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, kRaise));
  EXPECT_TRUE(Ws().MoveWindow(hwnd, 20, 30, 60, 40, true));
  SetBit(hwnd, GWL_EXSTYLE, WS_EX_LAYERED, true);
  Ws().SetLayeredWindowAttributes(hwnd, 0, 128, LWA_ALPHA);
  Ws().PrintWindow(hwnd, true);
  Ws().ShowWindow(hwnd, SW_SHOW);
  EXPECT_EQ(Ws().GetWindowTextA(hwnd, INT_MAX), "Unresponsive");
}

// A switch hides many windows at once; their threads answer one after another, the last well
// after the first request. All are hidden when the batch ends, and none is taken for hung (a
// thread taken for hung would have its style changes refused for seconds).
TEST_F(WindowsConformance, WindowsHiddenInABatchAreAllHiddenAtItsEndAndNotTakenForHung) {
  std::vector<Hwnd> windows;
  for (uint32_t k = 0; k < 6; ++k) windows.push_back(desktop_->MakeOtherThreadWindow(true, k * 60));
  Ws().BeginShowBatch();
  for (Hwnd hwnd : windows) Ws().ShowWindow(hwnd, SW_HIDE);
  Ws().EndShowBatch();
  for (Hwnd hwnd : windows) {
    EXPECT_FALSE(Ws().IsWindowVisible(hwnd));
    SetBit(hwnd, GWL_EXSTYLE, WS_EX_LAYERED, true);
    EXPECT_TRUE(HasBit(hwnd, GWL_EXSTYLE, WS_EX_LAYERED));
  }
}

}  // namespace
}  // namespace vd::conformance
