// The forms toolkit on the headless backend, where the program's own tests do not reach, and the
// virtual clock's promises that keep those tests true to the message loop.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>
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
using vd::Rect;

// A form 200 x 100 pixels at (100, 50) on the fake desktop; `seen` logs the events in order.
class Toolkit : public ::testing::Test {
 protected:
  Toolkit() {
    form.SetScaleMode(ScaleMode::kPixels);
    form.Move(1500, 750, 3000, 1500);
  }
  Rect RectOf(const Control& control) {
    Rect r;
    desktop.GetWindowRect(control.hWnd(), &r);
    return r;
  }
  void Note(const std::string& event) { seen += event + ","; }
  void NoteTicks(Timer& timer) {
    timer.Tick = [this, &timer] { Note(timer.Name() + "@" + std::to_string(backend.Now())); };
  }
  vd::fake::FakeWindowSystem desktop;
  headless::HeadlessBackend backend{&desktop};
  Form form{backend, "PagerWindow"};
  std::string seen;
};

TEST_F(Toolkit, ALoadedElementIsAHiddenCopyOfElementZeroInFrontCarryingItsIndexInEvents) {
  ControlArray<PictureBox> cells(form, "lblDesktop", ScaleMode::kPixels);
  cells(0).Move(1, 22, 100, 60);
  cells(0).SetBackColor(0x336699);
  cells(0).SetTag("cell");
  cells(0).SetToolTipText("Desktop");
  cells(0).SetBorderStyle(true);
  PictureBox& two = cells.Load(2);
  EXPECT_EQ(std::tuple(RectOf(two), two.Visible(), form.Children().front() == &two, two.Tag(),
                       two.ToolTipText(), two.Surface().Width(), two.Surface().GetPixel(50, 30)),
            std::tuple(Rect{101, 72, 201, 132}, false, true, "cell", "Desktop", 98, 0x336699u));
  cells.MouseDown = [&](int i, int, int, float, float) { Note(std::to_string(i)); };
  two.RaiseMouseDown(kRightButton, 0, 150, 30);
  const vd::Hwnd h = two.hWnd();
  cells.Unload(2);
  cells.Unload(0);  // element 0 stays
  cells.Load(9);
  EXPECT_EQ(std::tuple(seen, desktop.Exists(h), cells.Indexes()),
            std::tuple("2,", false, std::vector<int>{0, 9}));
}

TEST_F(Toolkit, MenuArraysStandInIndexOrderAndValuesSetFromCodeClickOncePerChange) {
  MenuItem moveTo(nullptr, "moveToEntry", "Move To");
  MenuItem before(&moveTo, "before", "before");
  MenuArray desktops(moveTo, "moveToEntries", "Desktop");
  MenuItem after(&moveTo, "after", "after");
  desktops(0).SetVisible(false);
  desktops.Load(3);
  desktops.Load(1).SetCaption("Desktop 1");
  EXPECT_TRUE(desktops.Load(9).Visible()) << "visible even when element 0 is not";
  desktops.Unload(3);
  desktops.Unload(0);  // element 0 stays
  desktops.Click = [&](int index) { Note(std::to_string(index)); };
  for (MenuItem* entry : moveTo.Children()) Note(entry->Caption()), entry->RaiseClick();
  CheckBox check(form, "autoHideBox", "Auto Hide");
  ComboBox combo(form, "opacityList");
  for (const char* item : {"Opaque", "High", "Medium"}) combo.AddItem(item);
  check.Click = [&] { Note("check" + std::to_string(check.Value())); };
  combo.Click = [&] { Note(combo.Text()); };
  check.SetValue(1);
  check.SetValue(1);
  EXPECT_FALSE(combo.SetListIndex(3) || combo.SetText("High "));
  EXPECT_TRUE(combo.SetText("High") && combo.SetListIndex(1));
  EXPECT_EQ(seen, "before,Desktop,0,Desktop 1,1,Desktop,9,after,check1,High,");
}

TEST_F(Toolkit, TheTextFieldEditsAtTheCaretAfterKeyPress) {
  const std::tuple<int, int, int, char, const char*, int> rows[] = {
      // selection start and length, MaxLength, key (8: Backspace), text and caret after it
      {2, 2, 0, 'X', "abXef", 3},   {2, 0, 0, 8, "acdef", 1},    {1, 3, 0, 8, "aef", 1},
      {0, 0, 0, 8, "abcdef", 0},    {3, 0, 0, 13, "abcdef", 3},  {0, 0, 0, 'z', "abcdef", 0},
      {10, 5, 6, 'X', "abcdef", 6}, {1, 1, 6, 'X', "aXcdef", 2}, {0, 0, 7, 'q', "Qabcdef", 1},
  };
  for (const auto& [start, length, maxLength, key, text, caret] : rows) {
    TextBox box(form, "handleField");
    box.SetText("abcdef");
    int changes = 0;
    box.Change = [&] { ++changes; };
    box.KeyPress = [](int& k) { k = k == 'q' ? 'Q' : k == 'z' ? 0 : k; };  // replace, drop
    box.SetMaxLength(maxLength);
    box.SetSelection(start, length);
    box.TypeChar(key);
    box.SetText(box.Text());  // the same text again: no Change
    EXPECT_EQ(std::tuple(box.Text(), box.SelStart(), changes),
              std::tuple(text, caret, box.Text() != "abcdef" ? 1 : 0))
        << start << "," << length << " key " << int(key);
  }
}

TEST_F(Toolkit, FormsAndControlsAreWindowsOfTheProgramPlacedInPixelsAndHitFrontFirst) {
  EXPECT_EQ(std::pair(RectOf(form), form.ScaleWidth()), std::pair(Rect{100, 50, 300, 150}, 200.0f));
  EXPECT_TRUE(desktop.GetWindowLongA(form.hWnd(), vd::GWL_EXSTYLE) & vd::WS_EX_TOOLWINDOW);
  form.Show();
  PictureBox strip(form, "Picture5", ScaleMode::kTwips);
  strip.Move(0, 0, 200, 20);
  Label name(strip, "productName", "VUEDECK");
  name.Move(60, 45, 720, 195);  // twips in the strip: 4, 3, 48 x 13 pixels
  EXPECT_EQ(RectOf(name), (Rect{104, 53, 152, 66}));
  strip.SetBorderStyle(true);  // the children move inside the border
  form.SetLeft(3000);          // and go with their form
  EXPECT_EQ(RectOf(name), (Rect{205, 54, 253, 67}));
  strip.SetVisible(false);
  EXPECT_FALSE(name.GetPeer()->IsShown()) << "hidden with its container";
  PictureBox a(form, "a", ScaleMode::kPixels), b(form, "b", ScaleMode::kPixels);
  a.Move(10, 30, 100, 60);
  b.Move(50, 30, 100, 60);  // overlaps a from x 50 to 110
  const vd::Point overlap{275, 90}, onlyA{215, 90};
  EXPECT_EQ(desktop.WindowFromPoint(overlap), b.hWnd()) << "a new control stands in front";
  a.ZOrder(0);
  EXPECT_EQ(desktop.WindowFromPoint(overlap), a.hWnd());
  a.ZOrder(1);
  EXPECT_EQ(desktop.WindowFromPoint(overlap), b.hWnd());
  a.SetEnabled(false);  // the point falls through to the form
  EXPECT_EQ(desktop.WindowFromPoint(onlyA), form.hWnd());
}

TEST_F(Toolkit, PictureBoxSurfaceFollowsSizeBorderColourAndPicture) {
  PictureBox box(form, "picWin", ScaleMode::kPixels);
  box.Move(0, 0, 8.4f, 6.6f);  // sizes round to whole pixels
  vd::Bitmap& surface = box.Surface();
  EXPECT_EQ(std::tuple(surface.Width(), surface.Height(), surface.GetPixel(0, 0)),
            std::tuple(8, 7, backend.SysColor(15)));  // the button face at first
  box.SetBackColor(0x0000FF);
  surface.SetPixel(2, 3, 0x00FF00);
  box.SetWidth(20);  // the drawing stays at the top left, the new area is the back colour
  box.SetBorderStyle(true);
  EXPECT_EQ(std::tuple(surface.Width(), surface.GetPixel(2, 3), surface.GetPixel(15, 3)),
            std::tuple(18, 0x00FF00u, 0x0000FFu));
  box.SetBackColor(0x111111);
  box.SetPicture(vd::Bitmap(4, 3, 0xABCDEF));  // the background: what was drawn goes
  EXPECT_EQ(std::tuple(box.Width(), surface.GetPixel(3, 2), surface.GetPixel(2, 3)),
            std::tuple(20.0f, 0xABCDEFu, 0x111111u));
  box.SetAutoSize(true);
  box.SetPicture(vd::Bitmap(5, 2, 0x123456));  // the border around it
  EXPECT_EQ(std::pair(box.Width(), surface.GetPixel(4, 1)), std::pair(7.0f, 0x123456u));
  box.SetPicture(vd::Bitmap());
  EXPECT_EQ(surface.GetPixel(4, 1), 0x111111u);
}

// Ticks come in time order, the older timer's first; enabled or given an interval, a timer counts
// afresh. A handler letting messages run (a modal dialog) is not entered again by its own timer,
// whose ticks meanwhile are dropped. After a Sleep each timer that fell due ticks once.
TEST_F(Toolkit, TheClockTicksInOrderOneHandlerAtATimeAndASleepCoalescesLateTicks) {
  Timer slow(form, "slow", 50, true), fast(form, "fast", 30, true);
  Timer off(form, "off", 10, false), zero(form, "zero", 0, true);
  for (Timer* t : {&slow, &fast, &off, &zero}) NoteTicks(*t);
  for (int i = 0; i < 50; ++i) backend.Advance(3);  // small steps give the same ticks
  fast.SetEnabled(false);
  backend.Advance(20);
  slow.SetEnabled(true);  // counts from 170 now
  backend.Advance(40);
  slow.SetInterval(20);  // and from 210
  backend.Advance(25);
  slow.SetInterval(100);  // from 235
  Timer outer(form, "outer", 10, true), other(form, "other", 14, true);
  auto victim = std::make_unique<Timer>(form, "victim", 40, true);
  for (Timer* t : {&other, victim.get()}) NoteTicks(*t);
  outer.Tick = [&] {
    Note("outer@" + std::to_string(backend.Now()));
    if (backend.Now() == 245) backend.Advance(40);
    if (backend.Now() == 295) victim.reset(), other.SetEnabled(false);
    if (backend.Now() == 315) desktop.Sleep(500);
  };
  backend.Advance(80);
  backend.Advance(10);
  desktop.Sleep(50);
  backend.DoEvents();  // runs what is due without moving the clock
  backend.DoEvents();
  EXPECT_EQ(desktop.VirtualTimeMs(), 875u);
  EXPECT_EQ(seen,
            "fast@30,slow@50,fast@60,fast@90,slow@100,fast@120,slow@150,fast@150,slow@230,"
            "outer@245,other@249,other@263,victim@275,other@277,other@291,outer@295,outer@305,"
            "outer@315,outer@815,slow@815,outer@825,outer@875,");
}

}  // namespace
