// The forms toolkit on the headless backend, where the program's own tests do not reach: control
// and menu arrays of every kind, editing at the caret, units and Z order, the forms as windows of
// the fake desktop, and the virtual clock's promises that keep the program's tests true to the
// message loop (one handler at a time, the late tick after a Sleep).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "forms/ControlArray.h"
#include "forms/Controls.h"
#include "forms/Form.h"
#include "forms/Menu.h"
#include "forms/Timer.h"
#include "forms/headless/HeadlessBackend.h"
#include "platform/fake/FakeWindowSystem.h"

namespace {

using namespace forms;
using forms::headless::HeadlessBackend;
using vd::Hwnd;
using vd::Point;
using vd::Rect;

// A pager-like form 200 x 100 pixels at (100, 50) on the fake desktop.
class Toolkit : public ::testing::Test {
 protected:
  Toolkit() {
    desktop.SetScreen(1280, 1024);
    form.SetScaleMode(ScaleMode::kPixels);
    form.Move(1500, 750, 3000, 1500);
  }
  Rect RectOf(Hwnd h) {
    Rect r;
    desktop.GetWindowRect(h, &r);
    return r;
  }
  vd::fake::FakeWindowSystem desktop;
  HeadlessBackend backend{&desktop};
  Form form{backend, "PagerWindow"};
  std::vector<std::string> seen;
};

TEST_F(Toolkit, ALoadedElementIsAHiddenCopyOfElementZeroInFrontCarryingItsIndexInEvents) {
  ControlArray<PictureBox> cells(form, "lblDesktop", ScaleMode::kPixels);
  PictureBox& first = cells(0);
  first.Move(1, 22, 100, 60);
  first.SetBackColor(0x336699);
  first.SetTag("cell");
  first.SetToolTipText("Desktop");
  first.SetBorderStyle(true);
  PictureBox& second = cells.Load(2);
  EXPECT_FALSE(second.Visible());
  EXPECT_EQ(second.Index(), 2);
  EXPECT_EQ(second.Name(), "lblDesktop");
  EXPECT_EQ(RectOf(second.hWnd()), (Rect{101, 72, 201, 132}));
  EXPECT_EQ(second.Tag(), "cell");
  EXPECT_EQ(second.ToolTipText(), "Desktop");
  EXPECT_EQ(second.Surface().Width(), 98);  // inside the copied border
  EXPECT_EQ(second.Surface().GetPixel(50, 30), 0x336699u);
  EXPECT_EQ(form.Children().front(), &second);

  cells.Load(5);
  EXPECT_THROW(cells.Load(5), std::invalid_argument);
  EXPECT_THROW(cells(3), std::out_of_range);
  cells.MouseDown = [&](int i, int b, int, float x, float) {
    seen.push_back(std::to_string(i) + " " + std::to_string(b) + " " + std::to_string(int(x)));
  };
  cells.Click = [&](int i) { seen.push_back("click " + std::to_string(i)); };
  cells(5).RaiseMouseDown(kRightButton, 0, 150, 30);
  cells(0).RaiseClick();
  EXPECT_EQ(seen, (std::vector<std::string>{"5 2 150", "click 0"}));

  const Hwnd five = cells(5).hWnd();
  cells.Unload(5);
  cells.Unload(0);  // element 0 stays
  cells.Unload(7);  // never loaded: nothing
  EXPECT_FALSE(desktop.Exists(five));
  EXPECT_EQ(cells.Indexes(), (std::vector<int>{0, 2}));
  EXPECT_EQ(cells.Count(), 2);
  cells.Load(9);
  EXPECT_EQ(cells.UBound(), 9);
}

std::vector<std::string> Captions(const MenuItem& menu) {
  std::vector<std::string> out;
  for (const MenuItem* child : menu.Children()) out.push_back(child->Caption());
  return out;
}

TEST(MenuArray, LoadedEntriesStandInIndexOrderAfterElementZeroAndClicksCarryTheIndex) {
  MenuItem moveTo(nullptr, "moveToEntry", "Move To");
  MenuItem before(&moveTo, "before", "before");
  MenuArray desktops(moveTo, "moveToEntries", "Desktop");
  MenuItem after(&moveTo, "after", "after");
  desktops(0).SetVisible(false);
  desktops.Load(3).SetCaption("Desktop 3");
  desktops.Load(1).SetCaption("Desktop 1");
  EXPECT_TRUE(desktops(1).Visible()) << "visible even when element 0 is not";
  EXPECT_THROW(desktops.Load(1), std::invalid_argument);
  EXPECT_THROW(desktops(7), std::out_of_range);
  desktops.Load(9);
  desktops.Unload(1);
  desktops.Unload(0);  // element 0 stays
  EXPECT_EQ(Captions(moveTo),
            (std::vector<std::string>{"before", "Desktop", "Desktop 3", "Desktop", "after"}));
  std::vector<int> clicked;
  desktops.Click = [&](int index) { clicked.push_back(index); };
  moveTo.Find("Desktop 3")->RaiseClick();
  EXPECT_EQ(clicked, (std::vector<int>{3}));
}

TEST_F(Toolkit, ValuesSetFromCodeClickOncePerChangeAndTheTextFieldEditsAtTheCaret) {
  CheckBox check(form, "autoHideBox", "Auto Hide");
  ComboBox combo(form, "opacityList");
  for (const char* item : {"Opaque", "High", "Medium"}) combo.AddItem(item);
  check.Click = [&] { seen.push_back("check " + std::to_string(check.Value())); };
  combo.Click = [&] { seen.push_back("combo " + combo.Text()); };
  check.SetValue(1);
  check.SetValue(1);
  EXPECT_FALSE(combo.SetListIndex(3));
  EXPECT_FALSE(combo.SetText("High "));
  EXPECT_TRUE(combo.SetText("High"));
  EXPECT_TRUE(combo.SetListIndex(1));
  combo.Clear();
  EXPECT_EQ(combo.ListIndex(), -1);
  EXPECT_EQ(seen, (std::vector<std::string>{"check 1", "combo High"}));

  TextBox box(form, "handleField");
  int changes = 0;
  box.Change = [&] { ++changes; };
  box.SetText("abcdef");
  box.SetSelection(2, 2);
  box.TypeChar('X');  // replaces the selection
  EXPECT_EQ(box.Text(), "abXef");
  EXPECT_EQ(box.SelStart(), 3);
  box.SetSelection(0, 0);
  box.TypeChar(8);   // nothing before the caret
  box.TypeChar(13);  // Enter does not edit a one-line field
  box.SetText("abXef");
  EXPECT_EQ(changes, 2);
  box.SetSelection(10, 5);  // clamped to the text
  EXPECT_EQ(box.SelStart(), 5);
  box.KeyPress = [](int& key) { key = key == 'q' ? 'Q' : 0; };  // may replace or discard
  box.TypeChar('q');
  box.TypeChar('z');
  box.SetMaxLength(6);
  box.TypeChar('q');
  EXPECT_EQ(box.Text(), "abXefQ");
}

TEST_F(Toolkit, FormsAndControlsAreWindowsOfTheProgramPlacedInPixelsAndHitFrontFirst) {
  const Hwnd h = form.hWnd();
  EXPECT_EQ(desktop.GetWindowThreadProcessId(h), 1u);
  EXPECT_EQ(RectOf(h), (Rect{100, 50, 300, 150}));
  EXPECT_EQ(form.ScaleWidth(), 200);
  EXPECT_EQ(form.ScaleHeight(), 100);
  const auto ex = static_cast<uint32_t>(desktop.GetWindowLongA(h, vd::GWL_EXSTYLE));
  EXPECT_TRUE(ex & vd::WS_EX_TOOLWINDOW) << "no task bar button unless asked for";
  EXPECT_TRUE(desktop.GetWindowLongA(h, vd::GWL_STYLE) & vd::WS_POPUP);
  EXPECT_FALSE(desktop.IsWindowVisible(h));
  form.Show();
  EXPECT_EQ(desktop.GetForegroundWindow(), h);

  PictureBox strip(form, "Picture5", ScaleMode::kTwips);
  strip.Move(0, 0, 200, 20);
  Label name(strip, "productName", "VUEDECK");
  name.Move(60, 45, 720, 195);  // twips in the strip: 4, 3, 48 x 13 pixels
  EXPECT_EQ(&name.OwnerForm(), &form);
  EXPECT_EQ(RectOf(name.hWnd()), (Rect{104, 53, 152, 66}));
  EXPECT_EQ(desktop.GetWindowTextA(name.hWnd(), 100), "VUEDECK");
  strip.SetBorderStyle(true);  // the children move inside the border
  form.SetLeft(3000);          // and go with their form
  EXPECT_EQ(RectOf(name.hWnd()), (Rect{205, 54, 253, 67}));
  strip.SetVisible(false);
  EXPECT_FALSE(name.GetPeer()->IsShown()) << "hidden with its container";

  PictureBox a(form, "a", ScaleMode::kPixels), b(form, "b", ScaleMode::kPixels);
  a.Move(10, 30, 100, 60);
  b.Move(50, 30, 100, 60);  // overlaps a from x 50 to 110
  const Point overlap{200 + 75, 50 + 40}, onlyA{200 + 15, 50 + 40};
  EXPECT_EQ(desktop.WindowFromPoint(overlap), b.hWnd()) << "a new control stands in front";
  a.ZOrder(0);
  EXPECT_EQ(desktop.WindowFromPoint(overlap), a.hWnd());
  EXPECT_EQ(form.Children().front(), &a);
  a.ZOrder(1);
  EXPECT_EQ(desktop.WindowFromPoint(overlap), b.hWnd());
  EXPECT_EQ(form.Children().back(), &a);
  a.SetEnabled(false);  // the point falls through to the form
  EXPECT_EQ(desktop.WindowFromPoint(onlyA), form.hWnd());
  a.SetEnabled(true);
  EXPECT_EQ(desktop.WindowFromPoint(onlyA), a.hWnd());
  form.Hide();
  EXPECT_NE(desktop.WindowFromPoint(onlyA), a.hWnd());
}

TEST_F(Toolkit, PictureBoxSurfaceFollowsSizeBorderColourAndPicture) {
  PictureBox box(form, "picWin", ScaleMode::kPixels);
  box.Move(0, 0, 8.4f, 6.6f);  // sizes round to whole pixels
  EXPECT_EQ(box.Surface().GetPixel(0, 0), backend.SysColor(15)) << "the button face at first";
  box.SetBackColor(0x0000FF);
  ASSERT_EQ(box.Surface().Height(), 7);
  box.Surface().SetPixel(2, 3, 0x00FF00);
  box.SetWidth(20);  // the drawing stays at the top left, the new area is the back colour
  EXPECT_EQ(box.Surface().GetPixel(2, 3), 0x00FF00u);
  EXPECT_EQ(box.Surface().GetPixel(15, 3), 0x0000FFu);
  box.SetBorderStyle(true);
  EXPECT_EQ(box.Surface().Width(), 18);
  box.SetBackColor(0x111111);  // a new back colour clears the drawing
  EXPECT_EQ(box.Surface().GetPixel(2, 3), 0x111111u);

  box.SetPicture(vd::Bitmap(4, 3, 0xABCDEF));
  EXPECT_EQ(box.Surface().GetPixel(3, 2), 0xABCDEFu);
  EXPECT_EQ(box.Width(), 20) << "without AutoSize the box keeps its size";
  box.SetBorderStyle(false);
  box.SetAutoSize(true);
  box.SetPicture(vd::Bitmap(5, 2, 0x123456));
  EXPECT_EQ(box.Width(), 5);
  EXPECT_EQ(box.Surface().GetPixel(4, 1), 0x123456u);
  box.SetPicture(vd::Bitmap());
  EXPECT_EQ(box.Surface().GetPixel(4, 1), 0x111111u);
}

// Without a desktop the backend numbers the windows itself and keeps its own clock.
class Headless : public ::testing::Test {
 protected:
  HeadlessBackend backend;
  Form form{backend, "OptionsDialog"};
  std::vector<std::string> seen;
};

TEST_F(Headless, FormEventsCloseRequestsAndModalFormsLeftOpen) {
  form.LoadEvent = [&] { seen.push_back("load"); };
  form.Activate = [&] { seen.push_back("activate"); };
  form.UnloadEvent = [&] { seen.push_back(form.IsShown() ? "unload shown" : "unload hidden"); };
  bool refuse = true;
  form.QueryUnload = [&](UnloadMode mode, bool& cancel) {
    seen.push_back(mode == UnloadMode::kAppWindows ? "query session" : "query close");
    cancel = refuse;
  };
  form.Show();
  form.Load();  // loaded already: nothing
  EXPECT_EQ(form.Dispatch(vd::WM_QUERYENDSESSION, 0, 0), 0) << "a refusal keeps the session";
  form.Dispatch(vd::WM_CLOSE, 0, 0);
  EXPECT_TRUE(form.IsShown());
  refuse = false;
  form.Dispatch(vd::WM_CLOSE, 0, 0);
  EXPECT_FALSE(form.IsLoaded());
  form.Unload();  // not loaded: nothing
  EXPECT_EQ(seen, (std::vector<std::string>{"load", "activate", "query session", "query close",
                                            "query close", "unload shown"}));

  Form dialog(backend, "MessageDialog");
  EXPECT_NE(dialog.hWnd(), 0);
  EXPECT_NE(dialog.hWnd(), form.hWnd());
  bool modal = false;
  backend.onModal = [&](Form& shown) { modal = shown.IsModal() && shown.IsShown(); };
  dialog.ShowModal();
  EXPECT_TRUE(modal);
  EXPECT_FALSE(dialog.IsShown()) << "a modal form left open is hidden when the handler returns";
  EXPECT_FALSE(dialog.IsModal());
}

struct Tick {
  std::string timer;
  unsigned at;
  bool operator==(const Tick&) const = default;
};
std::ostream& operator<<(std::ostream& os, const Tick& t) { return os << t.timer << "@" << t.at; }

class Clock : public Headless {
 protected:
  void Log(Timer& timer) {
    timer.Tick = [this, &timer] { ticks.push_back({timer.Name(), backend.Now()}); };
  }
  std::vector<Tick> ticks;
};

TEST_F(Clock, TicksComeInTimeOrderTiesByAgeAndRestartsCountAfresh) {
  Timer slow(form, "slow", 50, true), fast(form, "fast", 30, true);
  Timer off(form, "off", 10, false), zero(form, "zero", 0, true);
  for (Timer* t : {&slow, &fast, &off, &zero}) Log(*t);
  for (int i = 0; i < 50; ++i) backend.Advance(3);  // small steps give the same ticks
  EXPECT_EQ(ticks, (std::vector<Tick>{{"fast", 30},
                                      {"slow", 50},
                                      {"fast", 60},
                                      {"fast", 90},
                                      {"slow", 100},
                                      {"fast", 120},
                                      {"slow", 150},
                                      {"fast", 150}}));
  EXPECT_FALSE(zero.Running());

  ticks.clear();
  fast.SetEnabled(false);
  backend.Advance(20);
  slow.SetEnabled(true);  // already running: counts from 170 now
  backend.Advance(40);
  slow.SetInterval(20);  // and from 210
  backend.Advance(25);
  EXPECT_EQ(ticks, (std::vector<Tick>{{"slow", 230}}));
}

TEST_F(Clock, AHandlerRunsToItsEndAndWhatItChangesIsObeyed) {
  Timer outer(form, "outer", 10, true), other(form, "other", 14, true);
  auto victim = std::make_unique<Timer>(form, "victim", 40, true);
  Log(other);
  Log(*victim);
  int depth = 0, deepest = 0;
  outer.Tick = [&] {
    deepest = std::max(deepest, ++depth);
    ticks.push_back({"outer", backend.Now()});
    // Lets messages run while the handler waits, as a modal dialog would: the other timers
    // tick meanwhile, this one does not come back into its own handler.
    if (ticks.size() == 1) backend.Advance(40);
    if (backend.Now() >= 60) {
      victim.reset();  // destroyed by another handler: never ticks again
      other.SetEnabled(false);
    }
    --depth;
  };
  backend.Advance(10);
  EXPECT_EQ(deepest, 1);
  EXPECT_EQ(ticks,
            (std::vector<Tick>{
                {"outer", 10}, {"other", 14}, {"other", 28}, {"victim", 40}, {"other", 42}}));
  // Its ticks while it was busy are dropped, as the message loop drops a timer message the
  // busy handler cannot take; its count went on meanwhile.
  backend.Advance(60);
  EXPECT_EQ(std::vector<Tick>(ticks.begin() + 5, ticks.end()), (std::vector<Tick>{{"other", 56},
                                                                                  {"outer", 60},
                                                                                  {"outer", 70},
                                                                                  {"outer", 80},
                                                                                  {"outer", 90},
                                                                                  {"outer", 100},
                                                                                  {"outer", 110}}));
}

TEST(ClockOnDesktop, TheClockIsTheDesktopsAndASleepCoalescesLateTicks) {
  vd::fake::FakeWindowSystem desktop;
  HeadlessBackend backend(&desktop);
  Form form(backend, "frmSleepy");
  std::vector<Tick> ticks;
  Timer poll(form, "poll", 10, true), slow(form, "slow", 100, true);
  slow.Tick = [&] { ticks.push_back({"slow", backend.Now()}); };
  poll.Tick = [&] {
    ticks.push_back({"poll", backend.Now()});
    if (ticks.size() == 1) desktop.Sleep(500);  // no tick may run during the pause
  };
  backend.Advance(10);
  EXPECT_EQ(backend.Now(), 510u);
  EXPECT_EQ(desktop.VirtualTimeMs(), backend.Now());
  backend.Advance(1);  // each timer that fell due during the pause ticks once
  backend.Advance(9);  // and the next tick is a full interval after the late one
  EXPECT_EQ(ticks, (std::vector<Tick>{{"poll", 10}, {"poll", 510}, {"slow", 510}, {"poll", 520}}));

  desktop.Sleep(50);
  backend.DoEvents();  // runs what is due without moving the clock
  backend.DoEvents();
  EXPECT_EQ(backend.Now(), 570u);
  EXPECT_EQ(ticks.size(), 5u);
}

}  // namespace
