// The miniatures: windows scaled into their cell and stacked as they are, pictures copied in
// a rhythm that keeps them live and cheap, the preview of a hidden window, and nothing kept of
// a window that closed.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <map>
#include <vector>

#include "ProgramFixture.h"
#include "pager/CaptureRhythm.h"
#include "pager/PreviewPictures.h"
#include "pager/PreviewWindow.h"

namespace vd::testing {
namespace {

// Unless a test sets another, cells of 100 x 60 pixels on a screen of 1000 x 600: a factor of
// 0.1 both ways.
class Miniatures : public ProgramFixture {
 protected:
  void SetUp() override { fake.SetScreen(1000, 600); }
};

// A miniature stands in its cell where the window stands on the screen, at a tenth of its size
// here; it is never larger than the cell, wherever the window reaches.
TEST_F(Miniatures, StandInTheCellAsTheirWindowsOnTheScreenNoLargerThanTheCell) {
  struct Case {
    const char* window;
    Rect rect;
    std::vector<float> leftTopWidthHeight;  // in the cell, pixels
  };
  const Case cases[] = {
      {"plain", {500, 100, 900, 400}, {50, 10, 40, 30}},
      {"maximised", {-8, -8, 1008, 608}, {-0.8f, -0.8f, 100, 60}},
      {"partly left of the screen", {-200, 300, 300, 500}, {-20, 30, 50, 20}},
      {"larger than the screen", {0, 0, 3000, 2000}, {0, 0, 100, 60}},
  };
  std::vector<Hwnd> windows;
  for (const Case& c : cases) windows.push_back(OpenWindow(c.window, c.rect));
  ASSERT_TRUE(StartWith(kGrid3x2));
  const forms::PictureBox& cell = Pager().cells(1);
  for (size_t i = 0; i < windows.size(); ++i) {
    const forms::PictureBox& m = MiniatureOf(windows[i]);
    const std::vector<float> got = {m.Left() - cell.Left(), m.Top() - cell.Top(), m.Width(),
                                    m.Height()};
    for (size_t k = 0; k < 4; ++k)
      EXPECT_NEAR(got[k], cases[i].leftTopWidthHeight[k], 1e-3) << cases[i].window << " " << k;
  }
}

TEST_F(Miniatures, OverlapAsTheWindowsDo) {
  Hwnd bottom = OpenWindow("Bottom", {0, 0, 600, 400});
  Hwnd middle = OpenWindow("Middle", {100, 50, 700, 450});
  Hwnd top = OpenWindow("Top", {200, 100, 800, 500});
  ASSERT_TRUE(StartWith(kGrid3x2));
  EXPECT_LT(StackPosition(MiniatureOf(top)), StackPosition(MiniatureOf(middle)));
  EXPECT_LT(StackPosition(MiniatureOf(middle)), StackPosition(MiniatureOf(bottom)));
}

TEST_F(Miniatures, TheWindowThatComesForwardIsInFrontAndOnTopOnesStayAbove) {
  Hwnd a = OpenWindow("A"), b = OpenWindow("B"), onTop = OpenWindow("On top");
  ASSERT_TRUE(StartWith(kGrid3x2));
  Record(onTop).onTop = true;
  for (Hwnd front : {a, b, a}) {
    fake.Activate(front);
    backend->Advance(100);
    EXPECT_LT(StackPosition(MiniatureOf(front)), StackPosition(MiniatureOf(front == a ? b : a)));
    EXPECT_LT(StackPosition(MiniatureOf(onTop)), StackPosition(MiniatureOf(front)));
  }
}

TEST_F(Miniatures, AStartWithManyWindowsDoesNotPauseAndEachGetsItsFirstPictureLater) {
  std::vector<Hwnd> windows;
  for (int i = 0; i < 50; ++i) {
    windows.push_back(
        OpenWindow("Window " + std::to_string(i), {10 * i, 5 * i, 400 + 10 * i, 300}));
    fake.SetWindowPicture(windows.back(), Bitmap(400, 300 - 5 * i, 0x00AA00u + i));
  }
  const uint32_t before = fake.VirtualTimeMs();
  ASSERT_TRUE(StartWith(kGrid3x2));
  EXPECT_LT(fake.VirtualTimeMs() - before, 100u) << "the scan itself never sleeps";
  EXPECT_EQ(Pager().Table.Count(), 50);
  // Two windows taken on 50 ms later wait their own 100 ms; the one that closes meanwhile
  // takes no other window's first picture with it.
  backend->Advance(50);
  const Hwnd late = OpenWindow("Late"), gone = OpenWindow("Gone");
  fake.SetWindowPicture(late, Bitmap(400, 300, 0x0000CCu));
  for (Hwnd w : {late, gone}) Pager().Tracker().AddWindow(w, "Late", 1, false);
  fake.DestroyWindow(gone);
  backend->Advance(50);
  for (int i = 0; i < 50; ++i) {
    EXPECT_EQ(MiniatureOf(windows[i]).Surface().GetPixel(0, 0), 0x00AA00u + i) << i;
  }
  EXPECT_NE(MiniatureOf(late).Surface().GetPixel(0, 0), 0x0000CCu);
  backend->Advance(100);
  EXPECT_EQ(MiniatureOf(late).Surface().GetPixel(0, 0), 0x0000CCu);
}

// The front window's copies: every tick while they change; after each unchanged copy the wait
// doubles (1, 3, 7, then 9 ticks); a window coming back to the front is copied at once.
TEST(CaptureRhythm, UnchangedCopiesSpaceOutAndAWindowBackInFrontIsCopiedAtOnce) {
  CaptureRhythm rhythm;
  uint64_t fingerprint = 100;
  auto dueTicks = [&](Hwnd hwnd, int ticks, bool changing) {
    std::vector<int> due;
    for (int t = 1; t <= ticks; ++t) {
      if (!rhythm.DueForFrontWindow(hwnd)) continue;
      due.push_back(t);
      rhythm.NoteCopy(hwnd, changing ? ++fingerprint : fingerprint, true);
    }
    return due;
  };
  EXPECT_EQ(dueTicks(1, 5, true), (std::vector<int>{1, 2, 3, 4, 5}));
  EXPECT_EQ(dueTicks(1, 26, false), (std::vector<int>{1, 3, 7, 15, 25}));
  EXPECT_TRUE(rhythm.DueForFrontWindow(2));
  EXPECT_TRUE(rhythm.DueForFrontWindow(1)) << "back in front";
}

TEST_F(Miniatures, UnchangedWindowsAreCopiedAboutOnceASecondAndChangesStillShow) {
  const Hwnd a = OpenWindow("A"), b = OpenWindow("B", {600, 100, 900, 400});
  fake.SetWindowPicture(a, Bitmap(400, 300, 0x000011));
  fake.SetWindowPicture(b, Bitmap(300, 300, 0x000022));
  ASSERT_TRUE(StartWith(kGrid3x2));
  auto copiesIn = [&](Hwnd hwnd, uint32_t ms) {
    fake.ClearCalls();
    backend->Advance(ms);
    return fake.CallsOn("CaptureWindow", hwnd).size();
  };
  auto showsColour = [&](Hwnd hwnd, uint32_t colour) {
    return MiniatureOf(hwnd).Surface().GetPixel(1, 1) == colour;
  };

  BringToFront(a);
  backend->Advance(3000);
  EXPECT_LE(copiesIn(a, 2000), 3u) << "an unchanged front window, over two seconds";
  fake.SetWindowPicture(a, Bitmap(400, 300, 0x000033));
  int ticks = 0;
  for (; ticks < 20 && !showsColour(a, 0x000033); ++ticks) backend->Advance(100);
  EXPECT_LE(ticks, 10) << "a change shows within a second";
  EXPECT_GE(copiesIn(a, 400), 2u) << "after a change the window is copied often again";

  fake.Activate(b);
  EXPECT_EQ(copiesIn(b, 100), 1u) << "the window that came to the front, at the next tick";

  // The pager in front: nothing is copied until a window changes (comes forward, is moved or
  // renamed).
  fake.Activate(Pager().hWnd());
  backend->Advance(300);
  fake.ClearCalls();
  backend->Advance(3000);
  EXPECT_EQ(fake.CallsOn("CaptureWindow", a).size() + fake.CallsOn("CaptureWindow", b).size(), 0u)
      << "an unchanged desktop, over three seconds";
  fake.SetWindowPicture(b, Bitmap(300, 300, 0x000044));
  fake.SetCaption(b, "B, renamed");
  backend->Advance(200);
  EXPECT_TRUE(showsColour(b, 0x000044));
}

TEST_F(Miniatures, BlackCopiesAreNoChangeOfTheWindow) {
  // Copies that come back black (a window covered whole) keep the last picture, and the
  // window is neither copied nor asked to render itself each tick.
  const Hwnd w = OpenWindow("Covered");
  fake.SetWindowPicture(w, Bitmap(400, 300, 0x000055));
  ASSERT_TRUE(StartWith(kGrid3x2));
  BringToFront(w);
  backend->Advance(1000);
  fake.SetWindowPicture(w, Bitmap(400, 300, 0));
  fake.ClearCalls();
  backend->Advance(3000);
  EXPECT_LE(fake.CallsOn("CaptureWindow", w).size(), 5u);
  EXPECT_LE(fake.CallsOn("PrintWindow", w).size(), 5u);
  EXPECT_EQ(MiniatureOf(w).Surface().GetPixel(1, 1), 0x000055u);
}

// Where the compositor offers live thumbnails, the current desktop's shown windows have one at
// their miniature's place (cut at the cell's edge) and are not copied each tick, but when the
// program hides them (a black copy keeps the picture before). A switch swaps the thumbnails; a
// drag, a close and the exit give them up. Where none are offered, the copies are as before.
TEST_F(Miniatures, LiveThumbnailsStandForTheCurrentDesktopsShownWindowsWhereOffered) {
  for (const bool offered : {true, false}) {
    SCOPED_TRACE(offered ? "offered" : "not offered");
    fake.SetThumbnailsOffered(offered);
    const Hwnd a = OpenWindow("A"), cut = OpenWindow("Cut", {-200, 300, 300, 500});
    const Hwnd other = OpenWindow("Other");
    fake.SetWindowPicture(a, Bitmap(400, 300, 0x11));
    fake.SetWindowPicture(cut, Bitmap(500, 200, 0x22));
    ASSERT_TRUE(program ? Restart() : StartWith(kGrid3x2));
    DesktopSwitcher& desktops = Pager().Desktops();
    desktops.Place(2, other, 0, 0, 0, 0);
    Pager().Miniatures().Place(other);
    desktops.Open(1);
    // By source: where each is drawn in the pager, of which part of the window (empty: all).
    using Drawn = std::map<Hwnd, std::pair<Rect, Rect>>;
    auto live = [&] {
      Drawn drawn;
      for (const fake::Thumbnail& t : fake.Thumbnails()) {
        EXPECT_TRUE(t.destination == Pager().hWnd() && t.properties.visible);
        drawn[t.source] = {t.properties.destination, t.properties.source};
      }
      return drawn;
    };
    const int x = static_cast<int>(std::lround(Pager().cells(1).Left()));
    const int y = static_cast<int>(std::lround(Pager().cells(1).Top()));
    auto inCell = [&](int l, int t, int r, int b) { return Rect{x + l, y + t, x + r, y + b}; };
    auto shows = [&](Hwnd hwnd) { return MiniatureOf(hwnd).Surface().GetPixel(1, 1); };
    backend->Advance(300);  // the first pictures
    const Drawn atStart{{a, {inCell(10, 10, 50, 40), {}}},
                        {cut, {inCell(0, 30, 30, 50), {200, 0, 500, 200}}}};
    EXPECT_EQ(live(), offered ? atStart : Drawn{});

    // In front, changing and moving: followed by its thumbnail, copied only where none is live.
    BringToFront(a);
    fake.SetWindowPicture(a, Bitmap(400, 300, 0x33));
    fake.MoveWindow(a, 200, 100, 400, 300, true);
    fake.ClearCalls();
    backend->Advance(1000);
    EXPECT_EQ(fake.CallsOn("CaptureWindow", a).empty(), offered);
    EXPECT_EQ(live()[a].first, offered ? inCell(20, 10, 60, 40) : Rect{});

    // Hidden by a switch: the copy the tick owes is taken, a black one keeping the picture before
    // (the miniature's and the preview's); none of a window the tick would not have copied.
    fake.SetWindowPicture(a, Bitmap(400, 300, 0));  // drawn by the graphics card
    fake.SetWindowPicture(cut, Bitmap(500, 200, 0x44));
    backend->Advance(1000);
    fake.ClearCalls();
    desktops.SwitchTo(2);
    EXPECT_EQ(fake.CallsOn("CaptureWindow", a).size(), offered ? 1u : 0u);
    EXPECT_EQ(shows(a), offered ? 0x11u : 0x33u);
    EXPECT_EQ(shows(cut), 0x22u);
    EXPECT_EQ(live().size() == 1 && live().count(other) == 1, offered);
    fake.DestroyWindow(other);
    backend->Advance(100);
    EXPECT_EQ(live(), Drawn{});

    // With the pager in front a window that changed (renamed) is copied by the tick, or owes
    // its copy where it is live.
    desktops.SwitchTo(1);
    fake.Activate(Pager().hWnd());
    fake.SetCaption(cut, "Cut, renamed");
    backend->Advance(2000);
    EXPECT_EQ(fake.CallsOn("CaptureWindow", cut).empty(), offered);
    desktops.SetShown(cut, false);  // as Move To hides it
    EXPECT_EQ(shows(cut), 0x44u);

    // A dragged miniature shows the stored picture; dropped, it is drawn live again.
    forms::PictureBox& miniature = MiniatureOf(a);
    Pager().Miniatures().Blank(a);  // its picture box cleared, as by the options' OK
    miniature.RaiseMouseDown(forms::kLeftButton, 0, 45, 45);
    miniature.RaiseMouseMove(forms::kLeftButton, 0, 60, 45);
    EXPECT_EQ(shows(a), offered ? 0x11u : 0xFFFFFFu);
    backend->Advance(100);  // a tick during the drag
    EXPECT_EQ(live().count(a), 0u);
    miniature.RaiseMouseUp(forms::kLeftButton, 0, 60, 45);
    backend->Advance(100);
    EXPECT_EQ(live().count(a), offered ? 1u : 0u);
    Pager().CloseAll();
    EXPECT_EQ(live(), Drawn{});
    for (Hwnd hwnd : {a, cut}) fake.DestroyWindow(hwnd);
  }
}

// A closed window's miniature and full-size picture go with it: a pager running for weeks must
// not hold a control and a picture of every window it ever managed.
TEST_F(Miniatures, ClosedWindowsLeaveNoMiniatureNorPictureBehind) {
  OpenWindow("Work", {100, 100, 500, 400});
  OpenWindow("Mail", {500, 100, 900, 400});
  ASSERT_TRUE(StartWith(kGrid3x2));
  backend->Advance(300);  // the first pictures are taken
  for (int i = 0; i < 20; ++i) {
    const Hwnd passing = OpenWindow("Dialog " + std::to_string(i));
    fake.Activate(passing);
    backend->Advance(300);
    ASSERT_TRUE(Pager().IsManaged(passing));
    fake.DestroyWindow(passing);
    backend->Advance(300);
  }
  EXPECT_EQ(Pager().Table.Count(), 2);
  EXPECT_LE(Pager().miniatures.Indexes().size(), 3u);  // the template and the two windows'
  EXPECT_LE(Pager().Miniatures().Pictures().Indexes().size(), 2u);
}

// Resting on a hidden window's miniature for a second fades in its picture at the window's
// place, holds it three seconds and fades it out; a second preview starts the same way,
// whatever the first left running. A window of the current desktop gets none.
TEST_F(Miniatures, RestingOnAHiddenWindowsMiniatureFadesItsPreviewInAndOut) {
  const Hwnd work = OpenWindow("Work", {100, 100, 500, 400});
  const Hwnd mail = OpenWindow("Mail", {500, 0, 1000, 400});
  ASSERT_TRUE(StartWith(std::string(kGrid3x2) + "preview=1\r\n"));
  fake.SetWindowPicture(mail, Bitmap(500, 400, 0x3366CC));
  Pager().Desktops().Place(3, mail, 0, 0, 0, 0);
  Pager().Desktops().Open(1);
  Pager().Tracker().UpdateActiveWindow(mail, 3, true);
  PreviewWindow& preview = Pager().Preview();
  EXPECT_FALSE(preview.IsShown());
  forms::PictureBox& miniature = MiniatureOf(mail);
  auto rest = [&] {
    fake.SetCursor(OnPager(miniature.Left() + 2, miniature.Top() + 2));
    miniature.RaiseMouseMove(0, 0, 30, 30);
    miniature.RaiseMouseMove(0, 0, 30, 30);
    const uint32_t start = fake.VirtualTimeMs();
    while (!preview.IsShown() && fake.VirtualTimeMs() - start < 3000) backend->Advance(10);
    return fake.VirtualTimeMs() - start;
  };
  EXPECT_NEAR(rest(), 1000, 110) << "ten ticks";
  Rect shown;
  fake.GetWindowRect(preview.hWnd(), &shown);
  EXPECT_EQ(shown, (Rect{500, 0, 1000, 400})) << "at the window's place and size";
  EXPECT_EQ(preview.Surface().GetPixel(5, 5), 0x3366CCu);
  backend->Advance(400);
  EXPECT_EQ(fake.Alpha(preview.hWnd()), 200);
  backend->Advance(1000);  // holding
  auto ontoCell1 = [&] {   // a cell's free area hides it at once
    fake.SetCursor(OnPager(Pager().cells(1).Left() + 95, Pager().cells(1).Top() + 55));
    Pager().cells(1).RaiseMouseMove(0, 0, 5, 5);
    backend->Advance(10);
  };
  ontoCell1();
  EXPECT_FALSE(preview.IsShown());
  EXPECT_NEAR(rest(), 1000, 110);
  backend->Advance(400);
  EXPECT_EQ(fake.Alpha(preview.hWnd()), 200);
  backend->Advance(2500);
  EXPECT_EQ(fake.Alpha(preview.hWnd()), 200) << "held three seconds";
  backend->Advance(1000);
  EXPECT_EQ(fake.Alpha(preview.hWnd()), 0) << "faded out";

  ontoCell1();
  MiniatureOf(work).RaiseMouseMove(0, 0, 30, 30);
  Pager().Hover().StartPreview();
  EXPECT_FALSE(preview.IsShown());
}

}  // namespace
}  // namespace vd::testing
