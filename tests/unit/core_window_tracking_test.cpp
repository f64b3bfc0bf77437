#include <gtest/gtest.h>
#include <algorithm>

#include "ProgramFixture.h"
#include "core/Text.h"
#include "core/modTransparent.h"
#include "settings/frmOptions.h"

namespace vd::testing {
namespace {

const char* kSettings =
    "[SETUP]\r\ncolumns=3\r\nrows=2\r\nwidth=30\r\nheight=20\r\n"
    "color_normal=255\r\ncolor_hover=65280\r\ncolor_selected=16711680\r\ncolor_box=65535\r\n";

class Tracking : public ProgramFixture {
 protected:
  void StartWith(const std::string& settings = kSettings) {
    WriteFile("settings.ini", settings);
    ASSERT_TRUE(Start());
  }
  // The user brings a window to the front; the poll and the 100 ms refresh see it.
  void BringToFront(Hwnd hwnd) {
    fake.Activate(hwnd);
    backend->Advance(100);
  }
  std::string Cell(Hwnd hwnd, int column) {
    return Pager().Table.Get(WindowTable::KeyOf(hwnd), column);
  }
  void Switch(int16_t desktop) {
    Pager().MoveOut();
    Pager().OpenDesktop(desktop);
  }
};

TEST_F(Tracking, WindowsOpenAtStartAreManagedOnDesktop1AndTheProgramsOwnAreNot) {
  Hwnd a = OpenWindow("Editor");
  Hwnd b = OpenWindow("Mail");
  fake::WindowSpec noBorder;
  noBorder.caption = "Splash";
  noBorder.style = WS_VISIBLE;
  Hwnd c = fake.CreateWindow(noBorder);
  StartWith();
  frmMain& pager = Pager();
  EXPECT_TRUE(pager.IsManaged(a));
  EXPECT_TRUE(pager.IsManaged(b));
  EXPECT_FALSE(pager.IsManaged(c));  // the scan takes only bordered, visible windows
  EXPECT_FALSE(pager.IsManaged(pager.hWnd()));
  EXPECT_FALSE(pager.IsManaged(program->Options().hWnd()));
  EXPECT_EQ(Cell(a, WindowTable::kDesktop), "1");
  EXPECT_EQ(Cell(a, WindowTable::kOnTop), "0");
  EXPECT_EQ(Cell(a, WindowTable::kShowAll), "");
  // A second scan only refreshes the caption.
  fake.SetCaption(a, "Editor - notes.txt");
  pager.GetActiveWindows();
  EXPECT_EQ(pager.Table.Count(), 2);
  EXPECT_EQ(Cell(a, WindowTable::kTitle), "Editor - notes.txt");
}

TEST_F(Tracking, ThePollAddsOffersOrSkipsTheForegroundWindowInItsOrderOfChecks) {
  StartWith();
  frmMain& pager = Pager();
  pager.AddIgnoreList("Spam");

  Hwnd later = OpenWindow("Calculator");
  BringToFront(later);
  EXPECT_TRUE(pager.IsManaged(later));

  fake::WindowSpec bare;
  bare.style = WS_VISIBLE;  // no border: offered, not taken
  bare.caption = "Tool palette";
  Hwnd palette = fake.CreateWindow(bare);
  BringToFront(palette);
  EXPECT_FALSE(pager.IsManaged(palette));
  EXPECT_TRUE(pager.cmdQuery.Visible());
  EXPECT_EQ(pager.PendingWindow, palette);
  EXPECT_EQ(pager.PendingTitle, "Tool palette");
  // Accepting the offer adds it even without the style bits.
  pager.AddAlertWindow();
  EXPECT_TRUE(pager.IsManaged(palette));

  bare.caption = "Spam";
  Hwnd ignoredBare = fake.CreateWindow(bare);
  pager.cmdQuery.SetVisible(false);
  BringToFront(ignoredBare);
  EXPECT_FALSE(pager.IsManaged(ignoredBare));
  EXPECT_FALSE(pager.cmdQuery.Visible());  // an ignored window is not even offered

  Hwnd untitled = OpenWindow("");
  BringToFront(untitled);
  EXPECT_FALSE(pager.IsManaged(untitled));

  BringToFront(pager.hWnd());
  BringToFront(program->Options().hWnd());
  EXPECT_FALSE(pager.IsManaged(pager.hWnd()));
  EXPECT_FALSE(pager.IsManaged(program->Options().hWnd()));
}

TEST_F(Tracking, IgnoreListMatchesExactlyAndIsSavedOnceWhateverTheRuns) {
  WriteFile("ignore.list", "Notepad\r\n\r\nOpen\r\nCalculator\r\n");
  Hwnd exact = OpenWindow("Calculator");
  Hwnd otherCase = OpenWindow("calculator");
  Hwnd trailing = OpenWindow("Open ");
  StartWith();
  frmMain& pager = Pager();
  EXPECT_EQ(pager.IgnoreTitles, (std::vector<std::string>{"Start Menu", "Program Manager",
                                                          "Open", "Notepad", "Calculator"}));
  EXPECT_FALSE(pager.IsManaged(exact));
  EXPECT_TRUE(pager.IsManaged(otherCase));
  EXPECT_TRUE(pager.IsManaged(trailing));

  pager.AddIgnoreList("Mail");
  pager.AddIgnoreList("Mail");
  pager.SaveIgnoreList();
  const std::string expected =
      "Start Menu\r\nProgram Manager\r\nOpen\r\nNotepad\r\nCalculator\r\nMail\r\n";
  EXPECT_EQ(ReadFile("ignore.list"), expected);
  // The next run reads it back and writes the same file again: no growth.
  pager.SetIgnoreList();
  pager.SaveIgnoreList();
  EXPECT_EQ(ReadFile("ignore.list"), expected);
}

TEST_F(Tracking, IgnoreListNeverGrowsPastAThousandEntries) {
  std::string many;
  for (int i = 0; i < 5000; ++i) many += "Window " + std::to_string(i) + "\r\n";
  WriteFile("ignore.list", many);
  StartWith();
  EXPECT_EQ(Pager().IgnoreTitles.size(), 1000u);
  EXPECT_EQ(Pager().IgnoreTitles[3], "Window 0");
  Pager().AddIgnoreList("One more");
  EXPECT_EQ(Pager().IgnoreTitles.size(), 1000u);
}

TEST_F(Tracking, ArrivalCountersAndMiniatureIndicesAreNeverReused) {
  StartWith();
  frmMain& pager = Pager();
  std::vector<Hwnd> windows;
  for (int i = 1; i <= 5; ++i) {
    windows.push_back(OpenWindow("Window " + std::to_string(i)));
    BringToFront(windows.back());
  }
  EXPECT_EQ(Cell(windows[4], WindowTable::kVirtualWindow), "5");
  fake.DestroyWindow(windows[2]);
  backend->Advance(100);
  EXPECT_FALSE(pager.IsManaged(windows[2]));  // a closed window leaves within one tick
  Hwnd sixth = OpenWindow("Window 6");
  BringToFront(sixth);
  EXPECT_EQ(Cell(sixth, WindowTable::kVirtualWindow), "6");

  // The first window arriving while desktop 2 is current gets arrival number 1 there.
  pager.OpenDesktop(2);
  Hwnd onTwo = OpenWindow("Arrives on 2");
  BringToFront(onTwo);
  EXPECT_EQ(Cell(onTwo, WindowTable::kDesktop), "2");
  EXPECT_EQ(Cell(onTwo, WindowTable::kZOrder), "1");
}

TEST_F(Tracking, AWindowFoundLeftOfTheScreenIsBroughtToTheTopLeftCorner) {
  Hwnd parked = OpenWindow("Parked", {-2000, 300, -1400, 700});
  StartWith();
  Rect r;
  fake.GetWindowRect(parked, &r);
  EXPECT_EQ(r, (Rect{0, 0, 600, 400}));
}

TEST_F(Tracking, ASwitchShowsExactlyTheNewDesktopsWindowsAndTheShowAllOnes) {
  Hwnd a = OpenWindow("A"), b = OpenWindow("B"), c = OpenWindow("C"), s = OpenWindow("S");
  StartWith();
  frmMain& pager = Pager();
  pager.PlaceWindow(2, b, 0, 0, 0, 0);
  pager.PlaceWindow(3, c, 0, 0, 0, 0);
  pager.Table.Set(WindowTable::KeyOf(s), WindowTable::kShowAll, "1");
  pager.OpenDesktop(1);
  EXPECT_FALSE(fake.IsWindowVisible(b));
  EXPECT_FALSE(fake.IsWindowVisible(c));

  Switch(2);
  EXPECT_EQ(pager.CurrentDesktop, 2);
  EXPECT_FALSE(fake.IsWindowVisible(a));
  EXPECT_TRUE(fake.IsWindowVisible(b));
  EXPECT_FALSE(fake.IsWindowVisible(c));
  EXPECT_TRUE(fake.IsWindowVisible(s));
  EXPECT_EQ(Cell(s, WindowTable::kDesktop), "2");  // "Show All" windows follow the user
  EXPECT_TRUE(fake.IsWindowVisible(pager.hWnd()));

  // Desktops that do not exist are never opened.
  for (int16_t bad : {0, 7, -1}) {
    pager.OpenDesktop(bad);
    EXPECT_EQ(pager.CurrentDesktop, 2);
    EXPECT_TRUE(fake.IsWindowVisible(b));
  }
}

TEST_F(Tracking, KeysNeverGoToAWindowTheSwitchHid) {
  Hwnd a = OpenWindow("A"), b = OpenWindow("B"), c = OpenWindow("C");
  StartWith();
  frmMain& pager = Pager();
  pager.PlaceWindow(2, b, 0, 0, 0, 0);
  pager.PlaceWindow(2, c, 0, 0, 0, 0);
  fake.Activate(c);
  fake.Activate(a);
  Switch(2);
  const Hwnd focused = fake.GetForegroundWindow();  // a shown window of desktop 2
  EXPECT_TRUE(focused == b || focused == c) << focused;
  EXPECT_TRUE(fake.IsWindowVisible(focused));
  Switch(3);
  EXPECT_EQ(fake.GetForegroundWindow(), pager.hWnd());  // nothing there: the pager
  // A window shown on every desktop keeps the focus.
  pager.Table.Set(WindowTable::KeyOf(a), WindowTable::kShowAll, "1");
  Switch(1);
  fake.Activate(a);
  Switch(2);
  EXPECT_EQ(fake.GetForegroundWindow(), a);
}

TEST_F(Tracking, AnAnimatedSwitchPutsEveryWindowBackToThePixelAndOpaque) {
  Hwnd a = OpenWindow("A", {13, 27, 613, 427});
  Hwnd own = OpenWindow("Shaped", {200, 100, 500, 300});
  fake.SetWindowLongA(own, GWL_EXSTYLE, WS_EX_LAYERED);
  fake.SetLayeredWindowAttributes(own, 0, 230, LWA_ALPHA);
  Hwnd t = OpenWindow("T", {50, 60, 450, 360});
  StartWith();
  frmMain& pager = Pager();
  pager.Table.Set(WindowTable::KeyOf(t), WindowTable::kTransparent, "150");
  pager.PlaceWindow(2, t, 0, 0, 0, 0);
  pager.OpenDesktop(1);
  // The window moves on the screen after it was taken: the row's copy is stale.
  fake.MoveWindow(a, 15, 29, 600, 400, true);
  Rect beforeA, beforeOwn;
  fake.GetWindowRect(a, &beforeA);
  fake.GetWindowRect(own, &beforeOwn);
  pager.AnimateMode = true;

  Switch(2);
  Rect afterA, afterOwn;
  fake.GetWindowRect(a, &afterA);
  fake.GetWindowRect(own, &afterOwn);
  EXPECT_FALSE(fake.IsWindowVisible(a));
  EXPECT_EQ(afterA, beforeA);
  EXPECT_EQ(afterOwn, beforeOwn);
  EXPECT_EQ(fake.Alpha(a), -1);
  EXPECT_EQ(fake.Alpha(own), 230);  // its application's own layering stays
  // The window of desktop 2 slid in and ends at its own transparency.
  EXPECT_TRUE(fake.IsWindowVisible(t));
  EXPECT_EQ(fake.Alpha(t), 150);
  std::vector<std::string> alphas;
  for (const auto& call : fake.CallsOn("SetLayeredWindowAttributes", t)) {
    alphas.push_back(call.args.at(2));
  }
  ASSERT_GE(alphas.size(), 13u);
  EXPECT_EQ(alphas[alphas.size() - 2], "110");  // the slide stops short of 150 ...
  EXPECT_EQ(alphas.back(), "150");              // ... which is set at the end
}

TEST_F(Tracking, PlacingAWindowOnADesktopHidesItOnlyWhenThatDesktopIsNotShown) {
  Hwnd w = OpenWindow("W", {100, 100, 500, 400});
  StartWith();
  frmMain& pager = Pager();
  const float sx = pager.CellWidth / pager.ScreenWidthPx;
  const float sy = pager.CellHeight / pager.ScreenHeightPx;
  pager.PlaceWindow(3, w, 200 * sx, 50 * sy, 400 * sx, 300 * sy);
  EXPECT_FALSE(fake.IsWindowVisible(w));
  Rect r;
  fake.GetWindowRect(w, &r);
  EXPECT_EQ(r, (Rect{200, 50, 600, 350}));
  pager.PlaceWindow(1, w, 10 * sx, 10 * sy, 400 * sx, 300 * sy);
  EXPECT_EQ(Cell(w, WindowTable::kDesktop), "1");
  fake.GetWindowRect(w, &r);
  EXPECT_EQ(r.left, 10);
}

TEST_F(Tracking, AHiddenWindowThatClearsItsCaptionIsGivenBackBeforeItIsForgotten) {
  Hwnd w = OpenWindow("Chat");
  Hwnd here = OpenWindow("Here");
  StartWith();
  frmMain& pager = Pager();
  pager.PlaceWindow(2, w, 0, 0, 0, 0);
  pager.OpenDesktop(1);
  ASSERT_FALSE(fake.IsWindowVisible(w));
  fake.SetCaption(w, "");
  // A window on the current desktop that its own application hid is left alone.
  fake.ShowWindow(here, SW_HIDE);
  fake.SetCaption(here, "");
  backend->Advance(100);
  EXPECT_FALSE(pager.IsManaged(w));
  EXPECT_TRUE(fake.IsWindowVisible(w));
  EXPECT_FALSE(fake.IsWindowVisible(here));
}

TEST_F(Tracking, ASummonedWindowIsSentBackOnlyWhenItsDesktopIsNotShown) {
  Hwnd summoned = OpenWindow("Summoned");
  Hwnd other = OpenWindow("Other");
  StartWith();
  frmMain& pager = Pager();
  pager.PlaceWindow(2, summoned, 0, 0, 0, 0);
  pager.OpenDesktop(1);
  pager.SummonedWindow = summoned;
  modTransparent::FadeIn(fake, summoned, 255, 1);
  BringToFront(other);
  EXPECT_EQ(pager.SummonedWindow, 0);
  EXPECT_FALSE(fake.IsWindowVisible(summoned));
  EXPECT_EQ(fake.Alpha(summoned), -1);

  // Summoned, then its own desktop was opened: dismissing it must not hide it there.
  pager.SummonedWindow = summoned;
  modTransparent::FadeIn(fake, summoned, 255, 1);
  pager.OpenDesktop(2);
  Hwnd third = OpenWindow("Third");
  BringToFront(third);
  EXPECT_EQ(pager.SummonedWindow, 0);
  EXPECT_TRUE(fake.IsWindowVisible(summoned));
}

TEST_F(Tracking, TheOptionsDialogKeepsThePagerFromHiding) {
  StartWith();
  frmMain& pager = Pager();
  program->Options().chkAutoHide.SetValue(1);
  pager.DialogOpen = true;
  pager.HidePager();
  EXPECT_TRUE(pager.IsShown());
  pager.DialogOpen = false;
  pager.HidePager();
  EXPECT_FALSE(pager.IsShown());
  EXPECT_FALSE(pager.PagerShown);
  pager.ShowPager();
  EXPECT_TRUE(pager.IsShown());
  EXPECT_EQ(fake.Alpha(pager.hWnd()), 255);
}

TEST(Transparency, AlphaStepsAndLimits) {
  fake::FakeWindowSystem fake;
  Hwnd w = fake.CreateWindow({});
  EXPECT_EQ(modTransparent::SetWindowAlpha(fake, w, 256), 1);
  EXPECT_EQ(modTransparent::SetWindowAlpha(fake, w, -1), 1);
  EXPECT_EQ(fake.Alpha(w), -1);
  EXPECT_EQ(modTransparent::SetWindowAlpha(fake, w, 0), 0);
  EXPECT_EQ(fake.Alpha(w), 0);
  EXPECT_EQ(modTransparent::ClearWindowAlpha(fake, w), 0);
  EXPECT_EQ(fake.Alpha(w), -1);

  fake.ClearCalls();
  int alpha = 15;
  modTransparent::FadeOut(fake, w, alpha, 10);
  EXPECT_EQ(fake.CallsOn("SetLayeredWindowAttributes", w).size(), 1u);
  EXPECT_EQ(alpha, 10);
  modTransparent::FadeOut(fake, w, alpha, 10);
  EXPECT_EQ(fake.CallsOn("SetLayeredWindowAttributes", w).size(), 1u);

  fake.ShowWindow(w, SW_HIDE);
  const uint32_t start = fake.VirtualTimeMs();
  modTransparent::FadeIn(fake, w, 255, 10);
  EXPECT_TRUE(fake.IsWindowVisible(w));
  EXPECT_EQ(fake.Alpha(w), 255);
  EXPECT_EQ(fake.VirtualTimeMs() - start, 51u * 10u);  // 51 steps of 10 ms
}

}  // namespace
}  // namespace vd::testing

namespace vd::testing {
namespace {

TEST_F(Tracking, AStartWithManyWindowsDoesNotPauseAndEachGetsItsFirstPictureLater) {
  std::vector<Hwnd> windows;
  for (int i = 0; i < 50; ++i) {
    windows.push_back(OpenWindow("Window " + std::to_string(i), {10 * i, 5 * i, 400 + 10 * i, 300}));
    fake.SetWindowPicture(windows.back(), Bitmap(400, 300 - 5 * i, 0x00AA00 + static_cast<uint32_t>(i)));
  }
  const uint32_t before = fake.VirtualTimeMs();
  StartWith();
  EXPECT_LT(fake.VirtualTimeMs() - before, 100u);  // the scan itself never sleeps
  EXPECT_EQ(Pager().Table.Count(), 50);
  backend->Advance(100);
  for (int i = 0; i < 50; ++i) {
    const int v = ToInt32(Cell(windows[static_cast<size_t>(i)], WindowTable::kVirtualWindow)).value_or(0);
    EXPECT_EQ(Pager().picWin(v).Surface().GetPixel(1, 1), 0x00AA00u + static_cast<uint32_t>(i)) << i;
  }
}

}  // namespace
}  // namespace vd::testing

namespace vd::testing {
namespace {

int StackPosition(frmMain& pager, const forms::Control& control) {
  const auto& children = pager.Children();
  return static_cast<int>(std::find(children.begin(), children.end(), &control) - children.begin());
}

TEST_F(Tracking, MiniaturesOverlapAsTheWindowsDoAndStayLiveWhileThePagerIsInFront) {
  Hwnd bottom = OpenWindow("Bottom", {0, 0, 600, 400});
  Hwnd middle = OpenWindow("Middle", {100, 50, 700, 450});
  Hwnd top = OpenWindow("Top", {200, 100, 800, 500});
  StartWith();
  frmMain& pager = Pager();
  auto miniature = [&](Hwnd h) -> forms::PictureBox& {
    return pager.picWin(ToInt32(Cell(h, WindowTable::kVirtualWindow)).value_or(0));
  };
  EXPECT_LT(StackPosition(pager, miniature(top)), StackPosition(pager, miniature(middle)));
  EXPECT_LT(StackPosition(pager, miniature(middle)), StackPosition(pager, miniature(bottom)));

  // With the pager in front, every shown window's picture is taken again in turn.
  fake.Activate(pager.hWnd());
  for (Hwnd h : {bottom, middle, top}) fake.SetWindowPicture(h, Bitmap(600, 400, 0x2468AC));
  backend->Advance(400);
  for (Hwnd h : {bottom, middle, top}) {
    EXPECT_EQ(miniature(h).Surface().GetPixel(2, 2), 0x2468ACu) << h;
  }
}

}  // namespace
}  // namespace vd::testing
