// What the program relies on when it hides, shows, moves, raises, layers and reads other
// applications' windows.
#include <gtest/gtest.h>

#include <algorithm>

#include "Harness.h"

namespace vd::conformance {
namespace {

class WindowsConformance : public ::testing::Test {
 protected:
  void SetUp() override { desktop_ = MakeTestDesktop(); }

  WindowSystem& Ws() { return desktop_->System(); }

  Hwnd Make(Rect rect, bool visible = true, const std::string& caption = "Conformance window") {
    TestWindowTraits desc;
    desc.rect = rect;
    desc.visible = visible;
    desc.caption = caption;
    const Hwnd hwnd = desktop_->MakeWindow(desc);
    EXPECT_NE(hwnd, 0);
    return hwnd;
  }

  Rect RectOf(Hwnd hwnd) {
    Rect rect;
    EXPECT_TRUE(Ws().GetWindowRect(hwnd, &rect));
    return rect;
  }

  // Every top-level window from the top of the Z order down.
  std::vector<Hwnd> ZWalk(Hwnd any) {
    std::vector<Hwnd> order;
    for (Hwnd hwnd = Ws().GetWindow(any, GW_HWNDFIRST); hwnd != 0 && order.size() < 100000;
         hwnd = Ws().GetWindow(hwnd, GW_HWNDNEXT)) {
      order.push_back(hwnd);
    }
    return order;
  }

  static ptrdiff_t IndexOf(const std::vector<Hwnd>& order, Hwnd hwnd) {
    const auto it = std::find(order.begin(), order.end(), hwnd);
    return it == order.end() ? -1 : it - order.begin();
  }

  std::unique_ptr<TestDesktop> desktop_;
};

TEST_F(WindowsConformance, HidingKeepsTheRectangleAndShowingBringsItBackUnchanged) {
  const Hwnd hwnd = Make({120, 130, 520, 430});
  const Rect before = RectOf(hwnd);
  EXPECT_EQ(before, (Rect{120, 130, 520, 430}));

  // ShowWindow answers whether the window was visible before the call.
  EXPECT_TRUE(Ws().ShowWindow(hwnd, SW_HIDE));
  EXPECT_FALSE(Ws().IsWindowVisible(hwnd));
  EXPECT_EQ(static_cast<uint32_t>(Ws().GetWindowLongA(hwnd, GWL_STYLE)) & WS_VISIBLE, 0u);
  EXPECT_EQ(RectOf(hwnd), before);
  EXPECT_FALSE(Ws().ShowWindow(hwnd, SW_HIDE));

  EXPECT_FALSE(Ws().ShowWindow(hwnd, SW_SHOW));
  EXPECT_TRUE(Ws().IsWindowVisible(hwnd));
  EXPECT_NE(static_cast<uint32_t>(Ws().GetWindowLongA(hwnd, GWL_STYLE)) & WS_VISIBLE, 0u);
  EXPECT_EQ(RectOf(hwnd), before);
  EXPECT_TRUE(Ws().IsWindow(hwnd));

  // MoveWindow places it in screen pixels; hidden, it moves as well and shows where it was put.
  ASSERT_TRUE(Ws().MoveWindow(hwnd, 50, 60, 320, 210, true));
  EXPECT_EQ(RectOf(hwnd), (Rect{50, 60, 370, 270}));
  Ws().ShowWindow(hwnd, SW_HIDE);
  ASSERT_TRUE(Ws().MoveWindow(hwnd, -20, 400, 100, 90, true));
  Ws().ShowWindow(hwnd, SW_SHOW);
  EXPECT_EQ(RectOf(hwnd), (Rect{-20, 400, 80, 490}));
}

TEST_F(WindowsConformance, TopMostChangesOnlyTheTopMostState) {
  const Hwnd shown = Make({100, 100, 300, 250});
  const Hwnd hidden = Make({150, 160, 350, 300}, false);
  const uint32_t flags = SWP_NOSIZE | SWP_NOMOVE;

  for (Hwnd hwnd : {shown, hidden}) {
    const Rect before = RectOf(hwnd);
    const bool visible = Ws().IsWindowVisible(hwnd);

    ASSERT_TRUE(Ws().SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, flags));
    EXPECT_NE(static_cast<uint32_t>(Ws().GetWindowLongA(hwnd, GWL_EXSTYLE)) & WS_EX_TOPMOST, 0u);
    EXPECT_EQ(RectOf(hwnd), before);
    EXPECT_EQ(Ws().IsWindowVisible(hwnd), visible);

    ASSERT_TRUE(Ws().SetWindowPos(hwnd, HWND_NOTOPMOST, 0, 0, 0, 0, flags));
    EXPECT_EQ(static_cast<uint32_t>(Ws().GetWindowLongA(hwnd, GWL_EXSTYLE)) & WS_EX_TOPMOST, 0u);
    EXPECT_EQ(RectOf(hwnd), before);
    EXPECT_EQ(Ws().IsWindowVisible(hwnd), visible);
  }
}

TEST_F(WindowsConformance, SetWindowPosActivatesTheWindowUnlessToldNot) {
  const Hwnd first = Make({100, 100, 300, 250});
  const Hwnd second = Make({150, 150, 350, 300});
  ASSERT_EQ(Ws().GetForegroundWindow(), second);

  ASSERT_TRUE(
      Ws().SetWindowPos(first, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE));
  desktop_->Pump();
  EXPECT_EQ(Ws().GetForegroundWindow(), second);
  ASSERT_TRUE(Ws().SetWindowPos(first, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE));
  desktop_->Pump();
  EXPECT_EQ(Ws().GetForegroundWindow(), first);

  // A window shown without activation leaves the focus where it was.
  constexpr int kShowNoActivate = 8;  // SW_SHOWNA
  Ws().ShowWindow(second, SW_HIDE);
  Ws().ShowWindow(second, kShowNoActivate);
  desktop_->Pump();
  EXPECT_TRUE(Ws().IsWindowVisible(second));
  EXPECT_EQ(Ws().GetForegroundWindow(), first);
}

TEST_F(WindowsConformance, AMinimisedWindowIsStillShownAndRestoreKeepsItsRectangle) {
  constexpr int kRestore = 9;  // SW_RESTORE
  const Hwnd hwnd = Make({100, 100, 300, 250}, false);
  Ws().ShowWindow(hwnd, SW_MINIMIZE);  // minimised is still shown
  EXPECT_TRUE(Ws().IsWindowVisible(hwnd));
  Ws().ShowWindow(hwnd, kRestore);
  EXPECT_EQ(RectOf(hwnd), (Rect{100, 100, 300, 250}));
}

TEST_F(WindowsConformance, ZOrderWalkFindsNewWindowsAndPutsTopMostOnesFirst) {
  const Hwnd older = Make({100, 100, 300, 300});
  const Hwnd pinned = Make({120, 120, 320, 320});
  ASSERT_TRUE(Ws().SetWindowPos(pinned, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE));
  const Hwnd newer = Make({140, 140, 340, 340});

  const std::vector<Hwnd> order = ZWalk(older);
  const ptrdiff_t olderAt = IndexOf(order, older), pinnedAt = IndexOf(order, pinned),
                  newerAt = IndexOf(order, newer);
  ASSERT_GE(olderAt, 0);
  ASSERT_GE(pinnedAt, 0);
  ASSERT_GE(newerAt, 0);
  // The new window comes above the older normal one but stays under the top-most one.
  EXPECT_LT(pinnedAt, newerAt);
  EXPECT_LT(newerAt, olderAt);
  // The walk is the same from whichever window it starts, and the list read in one call holds
  // the walk in its order (Wine's lists message-only windows after it).
  EXPECT_EQ(ZWalk(newer), order);
  const std::vector<Hwnd> listed = Ws().TopLevelWindows();
  ASSERT_GE(listed.size(), order.size());
  EXPECT_EQ(std::vector<Hwnd>(listed.begin(), listed.begin() + order.size()), order);

  // Leaving the top-most band puts the window back among the normal ones, on top of them.
  ASSERT_TRUE(Ws().SetWindowPos(pinned, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE));
  const std::vector<Hwnd> after = ZWalk(older);
  EXPECT_LT(IndexOf(after, pinned), IndexOf(after, newer));
  EXPECT_LT(IndexOf(after, newer), IndexOf(after, older));
}

TEST_F(WindowsConformance, CaptionAndOwnerReadWholeOrCutToTheBufferAndNothingOnceDestroyed) {
  const std::string caption = "Conformance caption";
  const Hwnd hwnd = Make({100, 100, 300, 300}, true, caption);
  EXPECT_EQ(Ws().GetWindowThreadProcessId(hwnd), desktop_->OwnProcessId());
  EXPECT_FALSE(Ws().IsHungAppWindow(hwnd));
  const int length = Ws().GetWindowTextLengthA(hwnd);
  EXPECT_EQ(length, static_cast<int>(caption.size()));
  EXPECT_EQ(Ws().GetWindowTextA(hwnd, length + 1), caption);
  EXPECT_EQ(Ws().GetWindowTextA(hwnd, 5), "Conf");
  EXPECT_EQ(Ws().GetWindowTextA(hwnd, 1), "");

  desktop_->Destroy(hwnd);
  EXPECT_FALSE(Ws().IsWindow(hwnd));
  EXPECT_FALSE(Ws().IsWindowVisible(hwnd));
  EXPECT_EQ(Ws().GetWindowTextLengthA(hwnd), 0);
  EXPECT_EQ(Ws().GetWindowTextA(hwnd, 100), "");
  Rect rect;
  EXPECT_FALSE(Ws().GetWindowRect(hwnd, &rect));
  EXPECT_EQ(Ws().GetWindow(hwnd, GW_HWNDNEXT), 0);
  const std::vector<Hwnd> listed = Ws().TopLevelWindows();
  EXPECT_EQ(std::find(listed.begin(), listed.end(), hwnd), listed.end());
}

TEST_F(WindowsConformance, StyleBitsReadBackAfterSetWindowLong) {
  const Hwnd hwnd = Make({100, 100, 300, 300});
  const auto ex = static_cast<uint32_t>(Ws().GetWindowLongA(hwnd, GWL_EXSTYLE));
  EXPECT_EQ(ex & WS_EX_TOOLWINDOW, 0u);
  EXPECT_EQ(static_cast<uint32_t>(Ws().SetWindowLongA(hwnd, GWL_EXSTYLE,
                                                      static_cast<int32_t>(ex | WS_EX_TOOLWINDOW))),
            ex);
  EXPECT_NE(static_cast<uint32_t>(Ws().GetWindowLongA(hwnd, GWL_EXSTYLE)) & WS_EX_TOOLWINDOW, 0u);

  const auto style = static_cast<uint32_t>(Ws().GetWindowLongA(hwnd, GWL_STYLE));
  EXPECT_NE(style & WS_POPUP, 0u);
  Ws().SetWindowLongA(hwnd, GWL_STYLE, static_cast<int32_t>(style | WS_BORDER));
  EXPECT_NE(static_cast<uint32_t>(Ws().GetWindowLongA(hwnd, GWL_STYLE)) & WS_BORDER, 0u);
  Ws().SetWindowLongA(hwnd, GWL_STYLE, static_cast<int32_t>(style & ~WS_BORDER));
  EXPECT_EQ(static_cast<uint32_t>(Ws().GetWindowLongA(hwnd, GWL_STYLE)) & WS_BORDER, 0u);

  // The top-most bit follows SetWindowPos only; writing it into the extended style does nothing.
  const auto now = static_cast<uint32_t>(Ws().GetWindowLongA(hwnd, GWL_EXSTYLE));
  Ws().SetWindowLongA(hwnd, GWL_EXSTYLE, static_cast<int32_t>(now | WS_EX_TOPMOST));
  EXPECT_EQ(static_cast<uint32_t>(Ws().GetWindowLongA(hwnd, GWL_EXSTYLE)) & WS_EX_TOPMOST, 0u);
}

TEST_F(WindowsConformance, LayeredAlphaIsSetAndForgottenWithTheLayeredBit) {
  const Hwnd hwnd = Make({100, 100, 300, 300});
  uint32_t key = 0, flags = 0;
  uint8_t alpha = 0;
  // Refused while the window is not layered.
  EXPECT_FALSE(Ws().SetLayeredWindowAttributes(hwnd, 0, 150, LWA_ALPHA));
  EXPECT_FALSE(Ws().GetLayeredWindowAttributes(hwnd, &key, &alpha, &flags));

  const auto ex = static_cast<uint32_t>(Ws().GetWindowLongA(hwnd, GWL_EXSTYLE));
  Ws().SetWindowLongA(hwnd, GWL_EXSTYLE, static_cast<int32_t>(ex | WS_EX_LAYERED));
  ASSERT_TRUE(Ws().SetLayeredWindowAttributes(hwnd, 0, 150, LWA_ALPHA));
  ASSERT_TRUE(Ws().GetLayeredWindowAttributes(hwnd, &key, &alpha, &flags));
  EXPECT_EQ(alpha, 150);
  EXPECT_EQ(key, 0u);
  EXPECT_EQ(flags, LWA_ALPHA);
  ASSERT_TRUE(Ws().SetLayeredWindowAttributes(hwnd, 0, 0, LWA_ALPHA));
  ASSERT_TRUE(Ws().GetLayeredWindowAttributes(hwnd, &key, &alpha, &flags));
  EXPECT_EQ(alpha, 0);
  EXPECT_TRUE(Ws().IsWindowVisible(hwnd));  // invisible to the eye, still shown

  // Clearing the bit makes the window opaque; the alpha is gone when it is layered again.
  Ws().SetWindowLongA(hwnd, GWL_EXSTYLE, static_cast<int32_t>(ex & ~WS_EX_LAYERED));
  EXPECT_EQ(static_cast<uint32_t>(Ws().GetWindowLongA(hwnd, GWL_EXSTYLE)) & WS_EX_LAYERED, 0u);
  EXPECT_FALSE(Ws().GetLayeredWindowAttributes(hwnd, &key, &alpha, &flags));
  Ws().SetWindowLongA(hwnd, GWL_EXSTYLE, static_cast<int32_t>(ex | WS_EX_LAYERED));
  EXPECT_FALSE(Ws().GetLayeredWindowAttributes(hwnd, &key, &alpha, &flags));
}

TEST_F(WindowsConformance, WindowFromPointFindsTheInnermostVisibleWindow) {
  TestWindowTraits parentTraits;
  parentTraits.rect = {200, 200, 600, 500};
  const Hwnd parent = desktop_->MakeWindow(parentTraits);
  TestWindowTraits childTraits;
  childTraits.rect = {50, 40, 150, 120};  // relative to the parent
  childTraits.parent = parent;
  const Hwnd child = desktop_->MakeWindow(childTraits);
  ASSERT_NE(parent, 0);
  ASSERT_NE(child, 0);
  desktop_->Pump();

  EXPECT_EQ(RectOf(child), (Rect{250, 240, 350, 320}));
  desktop_->MoveCursor({400, 400});  // the mouse's place, as the pager's hover tracking reads it
  Point cursor;
  ASSERT_TRUE(Ws().GetCursorPos(&cursor));
  EXPECT_EQ(cursor, (Point{400, 400}));
  EXPECT_EQ(Ws().WindowFromPoint(cursor), parent);
  EXPECT_EQ(Ws().WindowFromPoint({260, 250}), child);
  EXPECT_EQ(Ws().WindowFromPoint({349, 319}), child);
  EXPECT_EQ(Ws().WindowFromPoint({350, 320}), parent);  // right and bottom edges are outside

  // Of two overlapping children the one on top of the Z order wins.
  TestWindowTraits overTraits = childTraits;
  overTraits.rect = {100, 80, 200, 160};
  const Hwnd over = desktop_->MakeWindow(overTraits);
  ASSERT_TRUE(Ws().SetWindowPos(over, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE));
  desktop_->Pump();
  EXPECT_EQ(Ws().WindowFromPoint({320, 300}), over);
  ASSERT_TRUE(Ws().SetWindowPos(child, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE));
  desktop_->Pump();
  EXPECT_EQ(Ws().WindowFromPoint({320, 300}), child);
  EXPECT_EQ(Ws().GetWindow(over, GW_HWNDFIRST), child);  // siblings walk among the children
  EXPECT_EQ(Ws().GetWindow(child, GW_HWNDNEXT), over);

  // A disabled child lets the point fall through to its parent.
  constexpr uint32_t kDisabled = 0x08000000;  // WS_DISABLED
  const auto style = static_cast<uint32_t>(Ws().GetWindowLongA(child, GWL_STYLE));
  Ws().SetWindowLongA(child, GWL_STYLE, static_cast<int32_t>(style | kDisabled));
  EXPECT_EQ(Ws().WindowFromPoint({260, 250}), parent);
  Ws().SetWindowLongA(child, GWL_STYLE, static_cast<int32_t>(style));
  EXPECT_EQ(Ws().WindowFromPoint({260, 250}), child);

  Ws().ShowWindow(child, SW_HIDE);
  desktop_->Pump();
  EXPECT_EQ(Ws().WindowFromPoint({260, 250}), parent);

  // A hidden parent hides its children with it.
  Ws().ShowWindow(child, SW_SHOW);
  Ws().ShowWindow(parent, SW_HIDE);
  desktop_->Pump();
  EXPECT_FALSE(Ws().IsWindowVisible(child));
  const Hwnd under = Ws().WindowFromPoint({260, 250});
  EXPECT_NE(under, child);
  EXPECT_NE(under, parent);
}

TEST_F(WindowsConformance, MessagesReachTheWindowAndAnUnresponsiveOneTimesOut) {
  const Hwnd hwnd = Make({100, 100, 300, 300});
  const uint32_t custom = WM_USER + 7;
  EXPECT_EQ(Ws().SendMessageA(hwnd, custom, 3, 4), 7);
  EXPECT_TRUE(Ws().PostMessageA(hwnd, custom + 1, 10, 20));
  intptr_t answer = 0;
  EXPECT_TRUE(Ws().SendMessageTimeoutA(hwnd, custom + 2, 5, 6, 1000, &answer));
  EXPECT_EQ(answer, 11);
  desktop_->Pump();

  // A posted message may come after later sent ones (it waits in the queue); sent ones come
  // in order.
  const std::vector<Received> got = desktop_->MessagesOf(hwnd);
  ASSERT_EQ(got.size(), 3u);
  EXPECT_EQ(got[0].msg, custom);
  EXPECT_EQ(got[0].wParam, 3u);
  EXPECT_EQ(got[0].lParam, 4);
  const auto posted =
      std::find_if(got.begin(), got.end(), [&](const Received& m) { return m.msg == custom + 1; });
  ASSERT_NE(posted, got.end());
  EXPECT_EQ(posted->wParam, 10u);
  EXPECT_EQ(posted->lParam, 20);

  const Hwnd hung = desktop_->MakeUnresponsiveWindow();
  ASSERT_NE(hung, 0);
  EXPECT_FALSE(Ws().SendMessageTimeoutA(hung, WM_NULL, 0, 0, 200, &answer));
  EXPECT_TRUE(Ws().IsWindow(hung));

  // A close request ends a window that leaves it to the system's defaults.
  TestWindowTraits plain;
  plain.defaultProcedure = true;
  const Hwnd closing = desktop_->MakeWindow(plain);
  ASSERT_TRUE(Ws().IsWindow(closing));
  Ws().SendMessageA(closing, WM_CLOSE, 0, 0);
  EXPECT_FALSE(Ws().IsWindow(closing));
}

TEST_F(WindowsConformance, ForegroundFollowsActivationAndMovesOnWhenItsWindowHides) {
  const Hwnd below = Make({100, 100, 300, 300});
  const Hwnd above = Make({150, 150, 350, 350});
  EXPECT_EQ(Ws().GetForegroundWindow(), above);  // a window that appears takes the focus

  ASSERT_TRUE(Ws().SetForegroundWindow(below));
  desktop_->Pump();
  EXPECT_EQ(Ws().GetForegroundWindow(), below);
  const std::vector<Hwnd> order = ZWalk(below);
  EXPECT_LT(IndexOf(order, below), IndexOf(order, above));

  // Hiding the foreground window hands the focus to the next window under it.
  Ws().ShowWindow(below, SW_HIDE);
  desktop_->Pump();
  EXPECT_EQ(Ws().GetForegroundWindow(), above);

  // Showing a window brings it to the front.
  Ws().ShowWindow(below, SW_SHOW);
  desktop_->Pump();
  EXPECT_EQ(Ws().GetForegroundWindow(), below);

  // Hiding another window leaves the focus alone; destroying the focused one moves it on.
  const Hwnd third = Make({200, 200, 400, 400}, false);
  Ws().ShowWindow(third, SW_SHOW);
  Ws().ShowWindow(third, SW_HIDE);
  desktop_->Pump();
  EXPECT_EQ(Ws().GetForegroundWindow(), below);
  Ws().ShowWindow(above, SW_HIDE);
  desktop_->Pump();
  EXPECT_EQ(Ws().GetForegroundWindow(), below);
  constexpr int kShowNoActivate = 8;  // SW_SHOWNA
  Ws().ShowWindow(above, kShowNoActivate);
  desktop_->Destroy(below);
  EXPECT_EQ(Ws().GetForegroundWindow(), above);
}

TEST_F(WindowsConformance, CaptureCopiesTheWindowsPicture) {
  TestWindowTraits desc;
  desc.rect = {200, 150, 320, 230};
  desc.color = 0x0033CC66;
  const Hwnd hwnd = desktop_->MakeWindow(desc);
  ASSERT_NE(hwnd, 0);
  desktop_->Pump();

  const Bitmap whole = Ws().CaptureWindow(hwnd, false, 0, 0, 120, 80);
  ASSERT_EQ(whole.Width(), 120);
  ASSERT_EQ(whole.Height(), 80);
  EXPECT_EQ(whole.GetPixel(0, 0), desc.color);
  EXPECT_EQ(whole.GetPixel(60, 40), desc.color);
  EXPECT_EQ(whole.GetPixel(119, 79), desc.color);

  const Bitmap part = Ws().CaptureWindow(hwnd, true, 20, 10, 50, 30);
  ASSERT_EQ(part.Width(), 50);
  ASSERT_EQ(part.Height(), 30);
  EXPECT_EQ(part.GetPixel(0, 0), desc.color);
  EXPECT_EQ(part.GetPixel(49, 29), desc.color);

  const Bitmap printed = Ws().PrintWindow(hwnd, false);
  ASSERT_EQ(printed.Width(), 120);
  ASSERT_EQ(printed.Height(), 80);
  EXPECT_EQ(printed.GetPixel(60, 40), desc.color);

  desktop_->Destroy(hwnd);
  EXPECT_TRUE(Ws().CaptureWindow(hwnd, false, 0, 0, 120, 80).Empty());
  EXPECT_TRUE(Ws().PrintWindow(hwnd, true).Empty());
}

}  // namespace
}  // namespace vd::conformance
