// The headless backend on the fake desktop: the program's forms and controls are windows of
// process 1 there, in step with the toolkit's geometry, visibility and Z order, and a form's
// window delivers its messages to the form's window procedure.
#include <gtest/gtest.h>

#include <vector>

#include "forms/ControlArray.h"
#include "forms/Controls.h"
#include "forms/Form.h"
#include "forms/headless/HeadlessBackend.h"
#include "platform/fake/FakeWindowSystem.h"

namespace {

using namespace forms;
using forms::headless::HeadlessBackend;
using vd::Hwnd;
using vd::Point;
using vd::Rect;

class DesktopTest : public ::testing::Test {
 protected:
  DesktopTest() {
    desktop.SetScreen(1280, 1024);
    pager.SetScaleMode(ScaleMode::kPixels);
    pager.Move(1500, 750, 3000, 1500);  // twips: 100, 50, 200 x 100 pixels
  }
  Rect RectOf(Hwnd h) {
    Rect r;
    desktop.GetWindowRect(h, &r);
    return r;
  }
  vd::fake::FakeWindowSystem desktop;
  HeadlessBackend backend{&desktop};
  Form pager{backend, "frmMain"};
};

TEST_F(DesktopTest, AFormIsAPopupWindowOfTheProgramPlacedFromTwips) {
  const Hwnd h = pager.hWnd();
  ASSERT_TRUE(desktop.Exists(h));
  EXPECT_EQ(desktop.GetWindowThreadProcessId(h), 1u);
  EXPECT_EQ(RectOf(h), (Rect{100, 50, 300, 150}));
  const auto style = static_cast<uint32_t>(desktop.GetWindowLongA(h, vd::GWL_STYLE));
  EXPECT_TRUE(style & vd::WS_POPUP);
  EXPECT_FALSE(style & vd::WS_CAPTION);
  EXPECT_FALSE(desktop.IsWindowVisible(h)) << "not shown before Show";
  const auto ex = static_cast<uint32_t>(desktop.GetWindowLongA(h, vd::GWL_EXSTYLE));
  EXPECT_TRUE(ex & vd::WS_EX_TOOLWINDOW) << "no task bar button unless asked for";
  pager.SetShowInTaskbar(true);
  EXPECT_FALSE(desktop.GetWindowLongA(h, vd::GWL_EXSTYLE) & vd::WS_EX_TOOLWINDOW);

  pager.SetCaption("VUEDECK");
  EXPECT_EQ(desktop.GetWindowTextA(h, 100), "VUEDECK");
  pager.Show();
  EXPECT_TRUE(desktop.IsWindowVisible(h));
  EXPECT_EQ(desktop.GetForegroundWindow(), h);
}

TEST_F(DesktopTest, AHideThroughTheWindowSystemIsSeenAndShowUndoesIt) {
  pager.Show();
  desktop.ShowWindow(pager.hWnd(), vd::SW_HIDE);
  EXPECT_TRUE(pager.Visible());
  EXPECT_FALSE(pager.IsShown());
  pager.Show();
  EXPECT_TRUE(pager.IsShown());
  pager.Unload();
  EXPECT_FALSE(desktop.IsWindowVisible(pager.hWnd()));
}

TEST_F(DesktopTest, ControlsAreChildWindowsAtTheirPixelPlaces) {
  pager.Show();
  PictureBox strip(pager, "Picture5", ScaleMode::kTwips);
  strip.Move(0, 0, 200, 20);
  Label name(strip, "Label2", "VUEDECK");
  name.Move(60, 45, 720, 195);  // twips in the strip: 4, 3, 48 x 13 pixels
  Shape box(pager, "shpBox");

  EXPECT_EQ(box.hWnd(), 0) << "a shape has no window";
  EXPECT_EQ(RectOf(strip.hWnd()), (Rect{100, 50, 300, 70}));
  EXPECT_EQ(RectOf(name.hWnd()), (Rect{104, 53, 152, 66}));
  EXPECT_EQ(desktop.GetWindowTextA(name.hWnd(), 100), "VUEDECK");
  EXPECT_TRUE(desktop.IsWindowVisible(name.hWnd()));

  strip.SetBorderStyle(true);  // the children move inside the border
  EXPECT_EQ(RectOf(name.hWnd()), (Rect{105, 54, 153, 67}));

  pager.SetLeft(3000);  // the children go with their form
  EXPECT_EQ(RectOf(name.hWnd()).left, 205);

  name.SetVisible(false);
  EXPECT_FALSE(desktop.IsWindowVisible(name.hWnd()));
  EXPECT_FALSE(name.GetPeer()->IsShown());
  name.SetVisible(true);
  strip.SetVisible(false);
  EXPECT_FALSE(name.GetPeer()->IsShown()) << "hidden with its container";

  const Hwnd h = name.hWnd();
  {
    Label temporary(pager, "tmp");
    EXPECT_TRUE(desktop.Exists(temporary.hWnd()));
  }
  EXPECT_TRUE(desktop.Exists(h));
}

TEST_F(DesktopTest, WindowFromPointFindsTheFrontControl) {
  pager.Show();
  ControlArray<PictureBox> cells(pager, "lblDesktop", ScaleMode::kPixels);
  cells(0).Move(1, 22, 100, 60);
  PictureBox& second = cells.Load(1);
  second.Move(50, 22, 100, 60);  // overlaps the first from x 50 to 100
  const Point inOverlap{100 + 75, 50 + 30};
  const Point onlyFirst{100 + 10, 50 + 30};
  const Point onlyForm{100 + 180, 50 + 5};

  EXPECT_EQ(desktop.WindowFromPoint(inOverlap), cells(0).hWnd()) << "loaded hidden";
  second.SetVisible(true);
  EXPECT_EQ(desktop.WindowFromPoint(inOverlap), second.hWnd()) << "loaded in front";
  cells(0).ZOrder(0);
  EXPECT_EQ(desktop.WindowFromPoint(inOverlap), cells(0).hWnd());
  cells(0).ZOrder(1);
  EXPECT_EQ(desktop.WindowFromPoint(inOverlap), second.hWnd());
  EXPECT_EQ(desktop.WindowFromPoint(onlyFirst), cells(0).hWnd());
  EXPECT_EQ(desktop.WindowFromPoint(onlyForm), pager.hWnd());

  const Hwnd unloaded = second.hWnd();
  cells.Unload(1);
  EXPECT_FALSE(desktop.Exists(unloaded));
  EXPECT_EQ(desktop.WindowFromPoint(inOverlap), cells(0).hWnd());
  pager.Hide();
  EXPECT_NE(desktop.WindowFromPoint(onlyFirst), cells(0).hWnd());
}

TEST_F(DesktopTest, MessagesToTheFormsWindowReachItsProcedure) {
  pager.Show();
  std::vector<uintptr_t> hotkeys;
  WindowProc previous;
  previous = pager.SetWindowProc([&](uint32_t msg, uintptr_t w, intptr_t l) -> intptr_t {
    if (msg == vd::WM_HOTKEY) hotkeys.push_back(w);
    return previous(msg, w, l);
  });
  ASSERT_TRUE(desktop.RegisterHotKey(pager.hWnd(), 3, vd::MOD_CONTROL, '3'));
  EXPECT_TRUE(desktop.PressHotkey(vd::MOD_CONTROL, '3'));
  EXPECT_EQ(hotkeys, (std::vector<uintptr_t>{3}));

  bool asked = false;
  pager.QueryUnload = [&](UnloadMode mode, bool& cancel) {
    asked = mode == UnloadMode::kFormControlMenu;
    cancel = false;
  };
  desktop.SendMessageA(pager.hWnd(), vd::WM_CLOSE, 0, 0);
  EXPECT_TRUE(asked);
  EXPECT_FALSE(pager.IsLoaded());
  EXPECT_TRUE(desktop.Exists(pager.hWnd())) << "an unloaded form keeps its window for later";
}

TEST_F(DesktopTest, DisabledControlsAreNotHit) {
  pager.Show();
  PictureBox box(pager, "pic", ScaleMode::kPixels);
  box.Move(10, 10, 20, 20);
  const Point inside{100 + 15, 50 + 15};
  EXPECT_EQ(desktop.WindowFromPoint(inside), box.hWnd());
  box.SetEnabled(false);
  EXPECT_EQ(desktop.WindowFromPoint(inside), pager.hWnd());
  box.SetEnabled(true);
  EXPECT_TRUE(desktop.IsWindowVisible(box.hWnd())) << "enabling keeps the visibility";
  EXPECT_EQ(desktop.WindowFromPoint(inside), box.hWnd());
}

}  // namespace
