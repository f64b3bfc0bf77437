// Which windows the program takes on and keeps (the start-up scan, the foreground poll, the
// ignore list), and what a switch of desktops does to them: shown, hidden, slid, focused, given
// back.
#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <vector>

#include "ProgramFixture.h"
#include "desktops/Transparency.h"
#include "options/OptionsDialog.h"
#include "pager/CaptureRhythm.h"
#include "pager/MiniatureView.h"
#include "tracking/ManageRule.h"

namespace vd::testing {
namespace {

class Tracking : public ProgramFixture {
 protected:
  // The user brings a window to the front; the poll and the 100 ms refresh see it.
  void BringToFront(Hwnd hwnd) {
    fake.Activate(hwnd);
    backend->Advance(100);
  }
  void Switch(int16_t desktop) {
    Pager().Desktops().MoveOut();
    Pager().Desktops().Open(desktop);
  }
  Hwnd OpenBare(const std::string& caption) {  // no border: the poll offers it, never takes it
    fake::WindowTraits bare;
    bare.style = WS_VISIBLE;
    bare.caption = caption;
    return fake.CreateWindow(bare);
  }
};

TEST_F(Tracking, TheStartUpScanTakesBorderedVisibleWindowsOnDesktop1ButNotTheProgramsOwn) {
  Hwnd a = OpenWindow("Editor");
  Hwnd parked = OpenWindow("Parked", {-2000, 300, -1400, 700});
  Hwnd splash = OpenBare("Splash");
  ASSERT_TRUE(StartWith(kGrid3x2));
  PagerWindow& pager = Pager();
  EXPECT_TRUE(pager.IsManaged(a));
  EXPECT_FALSE(pager.IsManaged(splash));
  EXPECT_FALSE(pager.IsManaged(pager.hWnd()));
  EXPECT_FALSE(pager.IsManaged(program->Options().hWnd()));
  EXPECT_EQ(DesktopOf(a), 1);
  EXPECT_FALSE(Record(a).onTop);
  EXPECT_FALSE(Record(a).showAll);
  // A window found wholly left of the screen is brought to its top-left corner.
  Rect r;
  fake.GetWindowRect(parked, &r);
  EXPECT_EQ(r, (Rect{0, 0, 600, 400}));
  // A second scan only refreshes the caption.
  fake.SetCaption(a, "Editor - notes.txt");
  pager.Tracker().Scan();
  EXPECT_EQ(pager.Table.Count(), 2);
  EXPECT_EQ(Record(a).title, "Editor - notes.txt");
}

// Which window is taken on, offered or passed over, in the order of the checks: each row
// differs from a window that is taken in what its name says.
TEST(ManageRule, TakesOffersOrPassesOverAWindowInTheOrderOfItsChecks) {
  struct Case {
    const char* window;
    WindowCandidate facts;
    ManageVerdict verdict;
  };
  auto with = [](auto change) {
    WindowCandidate w;
    change(w);
    return w;
  };
  const Case cases[] = {
      {"an ordinary window", {}, ManageVerdict::kTake},
      {"no window", with([](auto& w) { w.exists = false; }), ManageVerdict::kNotAWindow},
      {"managed already, and borderless",
       with([](auto& w) { w.managed = true, w.visibleWithBorder = false; }),
       ManageVerdict::kAlreadyManaged},
      {"the program's own", with([](auto& w) { w.ownWindow = true; }), ManageVerdict::kOwnWindow},
      {"untitled and ignored", with([](auto& w) { w.hasCaption = false, w.ignored = true; }),
       ManageVerdict::kNoCaption},
      {"ignored", with([](auto& w) { w.ignored = true; }), ManageVerdict::kIgnored},
      {"ignored and borderless: not even offered",
       with([](auto& w) { w.ignored = true, w.visibleWithBorder = false; }),
       ManageVerdict::kIgnored},
      {"borderless", with([](auto& w) { w.visibleWithBorder = false; }), ManageVerdict::kOffer},
      {"borderless, offer accepted",
       with([](auto& w) { w.visibleWithBorder = false, w.acceptedOffer = true; }),
       ManageVerdict::kTake},
      {"ignored, offer accepted", with([](auto& w) { w.ignored = true, w.acceptedOffer = true; }),
       ManageVerdict::kIgnored},
  };
  for (const Case& c : cases) EXPECT_EQ(DecideManagement(c.facts), c.verdict) << c.window;
}

// The poll hands the foreground window to that rule: an offered window waits behind the offer
// button until the user accepts it.
TEST_F(Tracking, ThePollTakesTheFrontWindowOrOffersItBehindTheOfferButton) {
  ASSERT_TRUE(StartWith(kGrid3x2));
  PagerWindow& pager = Pager();
  Hwnd later = OpenWindow("Calculator");
  BringToFront(later);
  EXPECT_TRUE(pager.IsManaged(later));

  Hwnd palette = OpenBare("Tool palette");
  BringToFront(palette);
  EXPECT_FALSE(pager.IsManaged(palette));
  EXPECT_TRUE(pager.offerButton.Visible());
  EXPECT_EQ(pager.Tracker().PendingWindow(), palette);
  EXPECT_EQ(pager.Tracker().PendingTitle(), "Tool palette");
  pager.Tracker().AddPendingWindow();  // the offer accepted: taken without the style bits
  EXPECT_TRUE(pager.IsManaged(palette));
  BringToFront(program->Options().hWnd());
  EXPECT_FALSE(pager.IsManaged(program->Options().hWnd()));
}

TEST_F(Tracking, IgnoreListMatchesExactlyIsSavedOnceWhateverTheRunsAndHoldsAtMostAThousand) {
  WriteFile("ignore.list", "Notepad\r\n\r\nOpen\r\nCalculator\r\n");
  Hwnd exact = OpenWindow("Calculator");
  Hwnd otherCase = OpenWindow("calculator");
  Hwnd trailing = OpenWindow("Open ");
  ASSERT_TRUE(StartWith(kGrid3x2));
  PagerWindow& pager = Pager();
  EXPECT_EQ(pager.ignoreList.Titles(), (std::vector<std::string>{"Start Menu", "Program Manager",
                                                                 "Open", "Notepad", "Calculator"}));
  EXPECT_FALSE(pager.IsManaged(exact));
  EXPECT_TRUE(pager.IsManaged(otherCase));
  EXPECT_TRUE(pager.IsManaged(trailing));

  pager.ignoreList.Add("Mail");
  pager.ignoreList.Add("Mail");
  pager.ignoreList.Save();
  const std::string expected =
      "Start Menu\r\nProgram Manager\r\nOpen\r\nNotepad\r\nCalculator\r\nMail\r\n";
  EXPECT_EQ(ReadFile("ignore.list"), expected);
  // The next run reads it back and writes the same file again: no growth.
  pager.ignoreList.Reset();
  pager.ignoreList.Save();
  EXPECT_EQ(ReadFile("ignore.list"), expected);

  std::string many;
  for (int i = 0; i < 5000; ++i) many += "Window " + std::to_string(i) + "\r\n";
  WriteFile("ignore.list", many);
  pager.ignoreList.Reset();
  EXPECT_EQ(pager.ignoreList.Titles().size(), 1000u);
  EXPECT_EQ(pager.ignoreList.Titles()[3], "Window 0");
  pager.ignoreList.Add("One more");
  EXPECT_EQ(pager.ignoreList.Titles().size(), 1000u);
}

// The list is put in place of the old one in one step: when that fails at the exit, the old
// list stays whole, the new one stands beside it, the user is told, and the windows come back.
TEST_F(Tracking, AnIgnoreListThatCannotBeSavedLeavesTheOldListWholeAndIsReported) {
  WriteFile("ignore.list", "Notepad\r\n");
  ASSERT_TRUE(StartWith(kGrid3x2));
  AnswerMessageBoxes();
  Hwnd away = OpenWindow("Away");
  fake.Activate(away);
  backend->Advance(200);
  Pager().Desktops().Place(2, away, 0, 0, 0, 0);
  Pager().ignoreList.Add("Mail");
  fake.FailFileReplacements(1);
  Pager().CloseAll();
  EXPECT_EQ(ReadFile("ignore.list"), "Notepad\r\n");
  EXPECT_EQ(ReadFile("ignore.list.new"),
            "Start Menu\r\nProgram Manager\r\nOpen\r\nNotepad\r\nMail\r\n");
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].title, "Ignore List");
  EXPECT_TRUE(fake.IsWindowVisible(away));
  EXPECT_TRUE(fake.ProcessEnded());
}

// Miniature numbers go on past the old 16-bit limit, and after the largest one start over at
// the lowest number not in use, never at 0 (the hidden template).
TEST(MiniatureNumbers, NeverWrapIntoTheTemplateOrANumberInUse) {
  const std::set<int32_t> inUse = {1, 32768};
  auto taken = [&inUse](int32_t n) { return inUse.count(n) != 0; };
  const std::pair<int32_t, int32_t> lastAndNext[] = {
      {0, 2}, {32766, 32767}, {32767, 32769}, {INT32_MAX, 2}};
  for (const auto& [last, next] : lastAndNext) {
    EXPECT_EQ(NextFreeNumber(last, taken), next) << "after " << last;
  }
}

TEST_F(Tracking, ArrivalCountersAndMiniatureIndicesAreNeverReused) {
  ASSERT_TRUE(StartWith(kGrid3x2));
  PagerWindow& pager = Pager();
  std::vector<Hwnd> windows;
  for (int i = 1; i <= 5; ++i) {
    windows.push_back(OpenWindow("Window " + std::to_string(i)));
    BringToFront(windows.back());
  }
  EXPECT_EQ(Record(windows[4]).miniature, 5);
  fake.DestroyWindow(windows[2]);
  backend->Advance(100);
  EXPECT_FALSE(pager.IsManaged(windows[2])) << "a closed window leaves within one tick";
  Hwnd sixth = OpenWindow("Window 6");
  BringToFront(sixth);
  EXPECT_EQ(Record(sixth).miniature, 6);

  // The first window arriving while desktop 2 is current gets arrival number 1 there.
  pager.Desktops().Open(2);
  Hwnd onTwo = OpenWindow("Arrives on 2");
  BringToFront(onTwo);
  EXPECT_EQ(DesktopOf(onTwo), 2);
  EXPECT_EQ(Record(onTwo).arrival, 1);
}

TEST_F(Tracking, ASwitchShowsExactlyTheNewDesktopsWindowsAndTheShowAllOnes) {
  Hwnd a = OpenWindow("A"), b = OpenWindow("B"), c = OpenWindow("C"), s = OpenWindow("S");
  ASSERT_TRUE(StartWith(kGrid3x2));
  PagerWindow& pager = Pager();
  pager.Desktops().Place(2, b, 0, 0, 0, 0);
  pager.Desktops().Place(3, c, 0, 0, 0, 0);
  Record(s).showAll = true;
  pager.Desktops().Open(1);
  EXPECT_FALSE(fake.IsWindowVisible(b) || fake.IsWindowVisible(c));

  Switch(2);
  EXPECT_EQ(pager.Desktops().Current(), 2);
  EXPECT_FALSE(fake.IsWindowVisible(a));
  EXPECT_TRUE(fake.IsWindowVisible(b));
  EXPECT_FALSE(fake.IsWindowVisible(c));
  EXPECT_TRUE(fake.IsWindowVisible(s));
  EXPECT_EQ(DesktopOf(s), 2) << "a window shown on every desktop follows the user";
  EXPECT_TRUE(fake.IsWindowVisible(pager.hWnd()));
  // Desktops that do not exist are never opened.
  for (int16_t bad : {0, 7, -1}) {
    pager.Desktops().Open(bad);
    EXPECT_EQ(pager.Desktops().Current(), 2);
    EXPECT_TRUE(fake.IsWindowVisible(b));
  }
}

TEST_F(Tracking, KeysNeverGoToAWindowTheSwitchHid) {
  Hwnd a = OpenWindow("A"), b = OpenWindow("B"), c = OpenWindow("C");
  ASSERT_TRUE(StartWith(kGrid3x2));
  PagerWindow& pager = Pager();
  pager.Desktops().Place(2, b, 0, 0, 0, 0);
  pager.Desktops().Place(2, c, 0, 0, 0, 0);
  fake.Activate(c);
  fake.Activate(a);
  Switch(2);
  const Hwnd focused = fake.GetForegroundWindow();  // a shown window of desktop 2
  EXPECT_TRUE(focused == b || focused == c) << focused;
  EXPECT_TRUE(fake.IsWindowVisible(focused));
  Switch(3);
  EXPECT_EQ(fake.GetForegroundWindow(), pager.hWnd()) << "nothing there: the pager";
  // A window shown on every desktop keeps the focus.
  Record(a).showAll = true;
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
  ASSERT_TRUE(StartWith(kGrid3x2));
  PagerWindow& pager = Pager();
  Record(t).transparency = 150;
  pager.Desktops().Place(2, t, 0, 0, 0, 0);
  pager.Desktops().Open(1);
  // The window moves on the screen after it was taken: the row's copy is stale.
  fake.MoveWindow(a, 15, 29, 600, 400, true);
  Rect beforeA, beforeOwn, afterA, afterOwn;
  fake.GetWindowRect(a, &beforeA);
  fake.GetWindowRect(own, &beforeOwn);
  pager.Desktops().SetAnimate(true);

  Switch(2);
  fake.GetWindowRect(a, &afterA);
  fake.GetWindowRect(own, &afterOwn);
  EXPECT_FALSE(fake.IsWindowVisible(a));
  EXPECT_EQ(afterA, beforeA);
  EXPECT_EQ(afterOwn, beforeOwn);
  EXPECT_EQ(fake.Alpha(a), -1);
  EXPECT_EQ(fake.Alpha(own), 230) << "its application's own layering stays";
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
  ASSERT_TRUE(StartWith(kGrid3x2));
  PagerWindow& pager = Pager();
  const float sx = pager.geometry.CellWidth() / pager.geometry.ScreenWidth();
  const float sy = pager.geometry.CellHeight() / pager.geometry.ScreenHeight();
  pager.Desktops().Place(3, w, 200 * sx, 50 * sy, 400 * sx, 300 * sy);
  EXPECT_FALSE(fake.IsWindowVisible(w));
  Rect r;
  fake.GetWindowRect(w, &r);
  EXPECT_EQ(r, (Rect{200, 50, 600, 350}));
  pager.Desktops().Place(1, w, 10 * sx, 10 * sy, 400 * sx, 300 * sy);
  EXPECT_EQ(DesktopOf(w), 1);
  fake.GetWindowRect(w, &r);
  EXPECT_EQ(r.left, 10);
}

// A window that clears its caption is forgotten; the program shows it first only when the
// program hid it. One its own application hid stays hidden, on the current desktop or left
// behind on another.
// Auto-hide: the pager goes when the user turns from one window to another; the first window
// to come forward after the pager came back only becomes the one in front.
TEST_F(Tracking, AutoHidePutsThePagerAwayWhenTheUserTurnsToAnotherWindow) {
  const Hwnd a = OpenWindow("A"), b = OpenWindow("B");
  ASSERT_TRUE(StartWith(std::string(kGrid3x2) + "auto_hide=1\r\n"));
  BringToFront(a);
  BringToFront(b);
  EXPECT_FALSE(Pager().PagerShown()) << "turned from A to B";
  Pager().ShowPager();
  BringToFront(a);
  EXPECT_TRUE(Pager().PagerShown()) << "A only became the window in front";
  BringToFront(b);
  EXPECT_FALSE(Pager().PagerShown());
}

TEST_F(Tracking, AWindowThatClearsItsCaptionIsGivenBackOnlyWhenTheProgramHidIt) {
  Hwnd w = OpenWindow("Chat");
  Hwnd behind = OpenWindow("Hidden by its application, then left behind");
  Hwnd here = OpenWindow("Here");
  ASSERT_TRUE(StartWith(kGrid3x2));
  Pager().Desktops().Place(2, w, 0, 0, 0, 0);
  Pager().Desktops().Place(3, here, 0, 0, 0, 0);
  fake.ShowWindow(behind, SW_HIDE);
  Pager().Desktops().Open(3);
  ASSERT_FALSE(fake.IsWindowVisible(w));
  fake.ShowWindow(here, SW_HIDE);
  for (Hwnd h : {w, behind, here}) fake.SetCaption(h, "");
  // The refresh reads every caption within two seconds.
  backend->Advance(2000);
  for (Hwnd h : {w, behind, here}) EXPECT_FALSE(Pager().IsManaged(h));
  EXPECT_TRUE(fake.IsWindowVisible(w));
  EXPECT_FALSE(fake.IsWindowVisible(behind));
  EXPECT_FALSE(fake.IsWindowVisible(here));
}

// Showing, hiding and sliding windows answers sent messages, whose handlers can take rows out
// of the table: a window that closes while a switch shows it costs no other window its show.
TEST_F(Tracking, AWindowThatClosesWhileASwitchShowsItLeavesTheOthersShownAndTheTableSound) {
  std::vector<Hwnd> two, three;
  for (int i = 0; i < 3; ++i) two.push_back(OpenWindow("Two " + std::to_string(i)));
  for (int i = 0; i < 3; ++i) three.push_back(OpenWindow("Three " + std::to_string(i)));
  ASSERT_TRUE(StartWith(kGrid3x2));
  for (Hwnd h : two) Pager().Desktops().Place(2, h, 0, 0, 0, 0);
  for (Hwnd h : three) Pager().Desktops().Place(3, h, 0, 0, 0, 0);
  Pager().Desktops().Open(1);
  struct Case {
    const char* how;
    bool animate;
    int16_t desktop;
    std::vector<Hwnd>& windows;
  };
  for (const Case& c : {Case{"at once", false, 2, two}, Case{"sliding", true, 3, three}}) {
    SCOPED_TRACE(c.how);
    const Hwnd closing = c.windows.back();  // the newest: first in the table, others follow
    Record(closing).transparency = 150;
    Pager().Desktops().SetAnimate(c.animate);
    fake.SetCallHook([&](const fake::Call& call) {
      if (call.name == "ShowWindow" && call.args[0] == std::to_string(closing) &&
          call.args[1] == std::to_string(SW_SHOW)) {
        fake.DestroyWindow(closing);
        Pager().Tracker().Refresh();  // a handler that runs meanwhile forgets it
      }
    });
    Pager().Desktops().Open(c.desktop);
    fake.SetCallHook(nullptr);
    EXPECT_FALSE(Pager().IsManaged(closing));
    for (size_t i = 0; i + 1 < c.windows.size(); ++i) {
      EXPECT_TRUE(fake.IsWindowVisible(c.windows[i])) << i;
      EXPECT_TRUE(Pager().IsManaged(c.windows[i])) << i;
    }
  }
}

TEST_F(Tracking, ASummonedWindowIsSentBackOnlyWhenItsDesktopIsNotShown) {
  Hwnd summoned = OpenWindow("Summoned");
  Hwnd other = OpenWindow("Other");
  ASSERT_TRUE(StartWith(kGrid3x2));
  PagerWindow& pager = Pager();
  pager.Desktops().Place(2, summoned, 0, 0, 0, 0);
  pager.Desktops().Open(1);
  pager.Tracker().Summon(summoned);
  BringToFront(other);
  EXPECT_EQ(pager.Tracker().SummonedWindow(), 0);
  EXPECT_FALSE(fake.IsWindowVisible(summoned));
  EXPECT_EQ(fake.Alpha(summoned), -1);

  // Summoned, then its own desktop was opened: dismissing it must not hide it there.
  pager.Tracker().Summon(summoned);
  pager.Desktops().Open(2);
  BringToFront(OpenWindow("Third"));
  EXPECT_EQ(pager.Tracker().SummonedWindow(), 0);
  EXPECT_TRUE(fake.IsWindowVisible(summoned));
}

TEST_F(Tracking, AStartWithManyWindowsDoesNotPauseAndEachGetsItsFirstPictureLater) {
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
  backend->Advance(100);
  for (int i = 0; i < 50; ++i) {
    EXPECT_EQ(MiniatureOf(windows[i]).Surface().GetPixel(1, 1), 0x00AA00u + i) << i;
  }
}

// The tick copies an unchanged window less and less often, down to once a second, and picks
// a change up within that second; a window coming to the front is copied at once. With the
// pager in front, the round over the shown windows is spaced out the same way.
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

TEST_F(Tracking, UnchangedWindowsAreCopiedAboutOnceASecondAndChangesStillShow) {
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

  // The pager in front: the round goes over A and B.
  fake.Activate(Pager().hWnd());
  backend->Advance(3000);
  fake.ClearCalls();
  backend->Advance(3000);
  EXPECT_LE(fake.CallsOn("CaptureWindow", a).size() + fake.CallsOn("CaptureWindow", b).size(), 5u)
      << "an unchanged desktop, over three seconds";
  fake.SetWindowPicture(b, Bitmap(300, 300, 0x000044));
  backend->Advance(2000);
  EXPECT_TRUE(showsColour(b, 0x000044));
}

TEST_F(Tracking, BlackCopiesAreNoChangeOfTheWindow) {
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

TEST(Transparency, AlphaStepsAndLimits) {
  fake::FakeWindowSystem fake;
  Hwnd w = fake.CreateWindow({});
  EXPECT_EQ(transparency::SetWindowAlpha(fake, w, 256), 1);
  EXPECT_EQ(transparency::SetWindowAlpha(fake, w, -1), 1);
  EXPECT_EQ(fake.Alpha(w), -1);
  EXPECT_EQ(transparency::SetWindowAlpha(fake, w, 0), 0);
  EXPECT_EQ(fake.Alpha(w), 0);
  EXPECT_EQ(transparency::ClearWindowAlpha(fake, w), 0);
  EXPECT_EQ(fake.Alpha(w), -1);

  fake.ClearCalls();
  int alpha = 15;
  transparency::FadeOut(fake, w, alpha, 10);
  transparency::FadeOut(fake, w, alpha, 10);  // at the floor already: nothing
  EXPECT_EQ(fake.CallsOn("SetLayeredWindowAttributes", w).size(), 1u);
  EXPECT_EQ(alpha, 10);

  fake.ShowWindow(w, SW_HIDE);
  const uint32_t start = fake.VirtualTimeMs();
  transparency::FadeIn(fake, w, 255, 10);
  EXPECT_TRUE(fake.IsWindowVisible(w));
  EXPECT_EQ(fake.Alpha(w), 255);
  EXPECT_EQ(fake.VirtualTimeMs() - start, 51u * 10u) << "51 steps of 10 ms";
}

}  // namespace
}  // namespace vd::testing
