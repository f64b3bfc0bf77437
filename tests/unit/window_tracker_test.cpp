// The window tracker: which windows it takes on, offers or passes over, and what it keeps of
// them while they live (captions, the ignore list, the summoned window, auto-hide).
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <set>
#include <vector>

#include "ProgramFixture.h"
#include "dialogs/AddWindowPrompt.h"
#include "options/OptionsDialog.h"
#include "pager/MiniatureView.h"
#include "tracking/ManageRule.h"

namespace vd::testing {
namespace {

class Tracker : public ProgramFixture {
 protected:
  Hwnd Open(const std::string& caption, uint32_t style = 0, Rect rect = {100, 100, 500, 400},
            int ownAlpha = -1) {
    fake::WindowTraits traits;
    traits.caption = caption;
    traits.rect = rect;
    if (style != 0) traits.style = style;
    if (ownAlpha >= 0) traits.exStyle = WS_EX_LAYERED;
    const Hwnd hwnd = fake.CreateWindow(traits);
    if (ownAlpha >= 0) fake.SetLayeredWindowAttributes(hwnd, 0, ownAlpha, LWA_ALPHA);
    return hwnd;
  }
};

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

// Windows found by the start-up scan or by the poll when they come to the front: what is taken
// on, where it is put and how it is layered.
TEST_F(Tracker, TakesOnBorderedWindowsFromTheScanAndThePollAndOffersBorderlessOnes) {
  struct Case {
    const char* window;
    bool atStart;
    uint32_t style;  // 0: an ordinary bordered window
    Rect rect;
    int ownAlpha;  // -1: not layered by its application
    bool managed, offered;
    Rect placedAt;
    int alpha;
  };
  const Rect usual{100, 100, 500, 400};
  const Case cases[] = {
      {"bordered, at start", true, 0, usual, -1, true, false, usual, -1},
      {"borderless, at start", true, WS_VISIBLE, usual, -1, false, false, usual, -1},
      {"parked left of the screen",
       true,
       0,
       {-2000, 300, -1400, 700},
       -1,
       true,
       false,
       {0, 0, 600, 400},
       -1},
      {"layered by its application", true, 0, usual, 230, true, false, usual, 230},
      {"bordered, comes forward", false, 0, usual, -1, true, false, usual, -1},
      {"borderless, comes forward", false, WS_VISIBLE, usual, -1, false, true, usual, -1},
  };
  std::vector<Hwnd> windows;
  for (const Case& c : cases) {
    windows.push_back(c.atStart ? Open(c.window, c.style, c.rect, c.ownAlpha) : 0);
  }
  ASSERT_TRUE(StartWith(kGrid3x2));
  for (size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    if (!c.atStart) {
      windows[i] = Open(c.window, c.style, c.rect, c.ownAlpha);
      BringToFront(windows[i]);
    }
    const Hwnd w = windows[i];
    EXPECT_EQ(Pager().IsManaged(w), c.managed) << c.window;
    EXPECT_EQ(Pager().offerButton.Visible(), c.offered) << c.window;
    EXPECT_EQ(Pager().Tracker().PendingWindow(), c.offered ? w : 0) << c.window;
    EXPECT_EQ(DesktopOf(w), c.managed ? 1 : 0) << c.window;
    Rect r;
    fake.GetWindowRect(w, &r);
    EXPECT_EQ(r, c.placedAt) << c.window;
    EXPECT_EQ(fake.Alpha(w), c.alpha) << c.window;
  }
  // The program's own windows are never taken; a second scan only reads captions again.
  BringToFront(program->Options().hWnd());
  for (Hwnd own : {Pager().hWnd(), program->Options().hWnd()}) EXPECT_FALSE(Pager().IsManaged(own));
  fake.SetCaption(windows[0], "Editor - notes.txt");
  const int count = Pager().Table.Count();
  Pager().Tracker().Scan();
  EXPECT_EQ(Pager().Table.Count(), count);
  EXPECT_EQ(Record(windows[0]).title, "Editor - notes.txt");
  BringToFront(windows[0]);  // and its miniature's tip once it comes forward
  EXPECT_EQ(MiniatureOf(windows[0]).ToolTipText(), "Editor - notes.txt");
  // With animation on, a window is taken on fully opaque through its layering, as a slide
  // leaves it.
  Pager().Desktops().SetAnimate(true);
  const Hwnd animated = Open("Taken while animating");
  BringToFront(animated);
  EXPECT_EQ(fake.Alpha(animated), 255);
}

// The offered window waits behind the offer button; the prompt names it (cut at 30 characters)
// and adds it, or blocks it by its full title.
TEST_F(Tracker, AnOfferedWindowIsAddedOrBlockedFromThePrompt) {
  struct Case {
    std::string title;
    bool yes, ignore;
    const char* asked;
  };
  const std::string longTitle(31, 'b');
  const Case cases[] = {
      {longTitle, false, true,
       "'bbbbbbbbbbbbbbbbbbbbbbbbbbbbbb...' is not in the window list.\r\n\r\n"
       "Do you want to add this window ?"},
      {"Palette", true, false,
       "'Palette' is not in the window list.\r\n\r\nDo you want to add this window ?"},
      {"Ticker", false, false,
       "'Ticker' is not in the window list.\r\n\r\nDo you want to add this window ?"},
  };
  ASSERT_TRUE(StartWith(kGrid3x2));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title);
    const Hwnd offered = Open(c.title, WS_VISIBLE);
    BringToFront(offered);
    ASSERT_TRUE(Pager().offerButton.Visible());
    std::string asked;
    backend->onModal = [&](forms::Form& form) {
      auto& prompt = dynamic_cast<AddWindowPrompt&>(form);
      asked = prompt.messageLabel.Caption();
      prompt.ignoreBox.SetValue(c.ignore ? 1 : 0);
      (c.yes ? prompt.yesButton : prompt.noButton).RaiseClick();
    };
    Pager().offerButton.RaiseClick();
    EXPECT_EQ(asked, c.asked);
    EXPECT_EQ(Pager().IsManaged(offered), c.yes);
    EXPECT_EQ(Pager().ignoreList.Contains(c.title), c.ignore);
    EXPECT_EQ(Pager().offerButton.Visible(), !c.yes && !c.ignore) << "still in front";
  }
}

TEST_F(Tracker, IgnoreListMatchesExactlyIsSavedOnceWhateverTheRunsAndHoldsAtMostAThousand) {
  WriteFile("ignore.list", "Notepad\r\n\r\nOpen\r\nCalculator\r\n");
  const Hwnd exact = Open("Calculator"), otherCase = Open("calculator"), trailing = Open("Open ");
  ASSERT_TRUE(StartWith(kGrid3x2));
  IgnoreList& list = Pager().ignoreList;
  EXPECT_FALSE(Pager().IsManaged(exact));
  EXPECT_TRUE(Pager().IsManaged(otherCase));
  EXPECT_TRUE(Pager().IsManaged(trailing));
  list.Add("Mail");
  list.Add("Mail");
  list.Save();
  const std::string expected =
      "\xEF\xBB\xBFStart Menu\r\nProgram Manager\r\nOpen\r\nNotepad\r\nCalculator\r\nMail\r\n";
  EXPECT_EQ(ReadFile("ignore.list"), expected);
  list.Reset();  // the next run reads it back and writes the same file: no growth
  list.Save();
  EXPECT_EQ(ReadFile("ignore.list"), expected);

  std::string many;
  for (int i = 0; i < 5000; ++i) many += "Window " + std::to_string(i) + "\r\n";
  WriteFile("ignore.list", many);
  list.Reset();
  list.Add("One more");
  EXPECT_EQ(list.Titles().size(), 1000u);
  EXPECT_EQ(list.Titles()[3], "Window 0");

  // Saved at the exit in one step: when that fails, the old list stays whole, the new one
  // stands beside it, the user is told, and the windows still come back.
  WriteFile("ignore.list", "Notepad\r\n");
  list.Reset();
  list.Add("Mail");
  AnswerMessageBoxes();
  Pager().Desktops().Place(2, otherCase, 0, 0, 0, 0);
  fake.FailFileReplacements(1);
  Pager().CloseAll();
  EXPECT_EQ(ReadFile("ignore.list"), "Notepad\r\n");
  EXPECT_EQ(ReadFile("ignore.list.new"),
            "\xEF\xBB\xBFStart Menu\r\nProgram Manager\r\nOpen\r\nNotepad\r\nMail\r\n");
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].title, "Ignore List");
  EXPECT_TRUE(fake.IsWindowVisible(otherCase));
  EXPECT_TRUE(fake.ProcessEnded());
  EXPECT_EQ(ExitCode(), "0");
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

TEST_F(Tracker, AClosedWindowLeavesWithinATickAndNoNumberIsUsedTwice) {
  ASSERT_TRUE(StartWith(kGrid3x2));
  std::vector<Hwnd> windows;
  for (int i = 1; i <= 5; ++i) {
    windows.push_back(Open("Window " + std::to_string(i)));
    BringToFront(windows.back());
  }
  const int fifth = Record(windows[4]).miniature;
  fake.DestroyWindow(windows[2]);
  backend->Advance(100);
  EXPECT_FALSE(Pager().IsManaged(windows[2]));
  const Hwnd sixth = Open("Window 6");
  BringToFront(sixth);
  EXPECT_EQ(Record(sixth).miniature, fifth + 1);
  // The first window arriving while desktop 2 is current is the first to arrive there.
  Pager().Desktops().Open(2);
  const Hwnd onTwo = Open("Arrives on 2");
  BringToFront(onTwo);
  EXPECT_EQ(DesktopOf(onTwo), 2);
  EXPECT_EQ(Record(onTwo).arrival, 1);
}

// Heard from the system's events, a window that comes forward is taken on and a closed or
// caption-cleared one leaves within a tick. Events lost after the system had shown it reports
// them are made up for by the sweep (every two seconds, the captions within five sweeps). Where
// it never reports a window in front or closing (as Wine), those are looked for every 100 ms;
// where it reports no events at all, the sweep looks for everything every 100 ms.
TEST_F(Tracker, WhatTheEventsMissTheSweepCatches) {
  struct Case {
    const char* events;
    bool offered, neverSent, lostLater;
    uint32_t takeOnMs, closeMs, clearMs;
  };
  const Case cases[] = {{"heard", true, false, false, 100, 100, 100},
                        {"lost", true, false, true, 2000, 2000, 10000},
                        {"never sent", true, true, false, 100, 100, 10000},
                        {"not reported", false, false, false, 100, 100, 2000}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.events);
    fake.SetWindowEventsOffered(c.offered);
    fake.WithholdWindowEvents(c.neverSent);
    std::vector<Hwnd> windows;
    for (int i = 0; i < 7; ++i) {
      windows.push_back(Open(std::string(c.events) + " " + std::to_string(i)));
    }
    ASSERT_TRUE(program ? Restart() : StartWith(kGrid3x2));
    EXPECT_EQ(Pager().EventsHeard(), c.offered);
    if (c.lostLater) {  // a window in front and one closing are heard first
      BringToFront(windows[6]);
      fake.DestroyWindow(windows[5]);
      backend->Advance(100);
      fake.WithholdWindowEvents(true);
    }
    const Hwnd late = Open("Late, " + std::string(c.events));
    fake.Activate(late);
    backend->Advance(c.takeOnMs);
    EXPECT_TRUE(Pager().IsManaged(late));
    fake.DestroyWindow(windows[0]);
    backend->Advance(c.closeMs);
    EXPECT_FALSE(Pager().IsManaged(windows[0]));
    fake.SetCaption(windows[1], "");
    backend->Advance(c.clearMs);
    EXPECT_FALSE(Pager().IsManaged(windows[1]));
    EXPECT_TRUE(Pager().IsManaged(windows[2]));
    fake.WithholdWindowEvents(false);
  }
}

// Idle: shown, with the mouse elsewhere, the pager never asks where the mouse is and copies an
// unchanged front window about once a second; where the system never reports closes (as Wine),
// it also lists the windows every 100 ms. Put away, only the sweep asks anything of the system,
// once every two seconds, and nothing is copied.
TEST_F(Tracker, AnIdlePagerAsksOnlyWhatItMust) {
  struct Case {
    const char* system;
    bool reportsCloses;
    size_t listsShown;  // the lists of the top-level windows in ten seconds
  };
  for (const Case& c : {Case{"reporting closes", true, 5}, Case{"as Wine", false, 105}}) {
    SCOPED_TRACE(c.system);
    fake.WithholdWindowEvents(!c.reportsCloses);
    std::vector<Hwnd> windows;
    for (int i = 0; i < 21; ++i) windows.push_back(Open("Idle " + std::to_string(i)));
    ASSERT_TRUE(program ? Restart() : StartWith(kGrid3x2));
    fake.DestroyWindow(windows[20]);
    BringToFront(windows[3]);
    backend->Advance(3000);
    auto callsIn10s = [&] {
      fake.ClearCalls();
      backend->Advance(10000);
      std::map<std::string, size_t> calls;
      for (const fake::Call& call : fake.Calls()) ++calls[call.name];
      return calls;
    };
    std::map<std::string, size_t> shown = callsIn10s();
    EXPECT_EQ(shown["GetCursorPos"], 0u);
    EXPECT_LE(shown["CaptureWindow"], 11u);
    EXPECT_NEAR(static_cast<double>(shown["TopLevelWindows"]), c.listsShown, 1.0);
    Pager().HidePager();
    backend->Advance(1000);
    std::map<std::string, size_t> hidden = callsIn10s();
    EXPECT_EQ(hidden["TopLevelWindows"], 5u);
    EXPECT_EQ(hidden["CaptureWindow"] + hidden["GetCursorPos"], 0u);
    size_t total = 0;
    for (const auto& [name, count] : hidden) total += count;
    EXPECT_LE(total, 5u * 20) << "twenty calls a sweep at most, with twenty windows";
    fake.WithholdWindowEvents(false);
    for (const Hwnd w : windows) fake.DestroyWindow(w);
  }
}

// A window that clears its caption is forgotten; the program shows it first only when the
// program hid it (one marked for every desktop while hidden elsewhere included). One its own
// application hid stays hidden, on the current desktop or left behind on another.
TEST_F(Tracker, AWindowThatClearsItsCaptionIsGivenBackOnlyWhenTheProgramHidIt) {
  struct Case {
    const char* window;
    int desktop;  // 3 is shown
    bool hiddenByItsApplication, markedForAll;
    bool shownAfter;
  };
  const Case cases[] = {{"hidden by the program", 2, false, false, true},
                        {"hidden, then marked for every desktop", 2, false, true, true},
                        {"hidden by its application, left behind", 1, true, false, false},
                        {"hidden by its application here", 3, true, false, false}};
  std::vector<Hwnd> windows;
  for (const Case& c : cases) windows.push_back(Open(c.window));
  ASSERT_TRUE(StartWith(kGrid3x2));
  for (size_t i = 0; i < windows.size(); ++i) {
    Pager().Desktops().Place(static_cast<int16_t>(cases[i].desktop), windows[i], 0, 0, 0, 0);
    if (cases[i].hiddenByItsApplication && cases[i].desktop != 3)
      fake.ShowWindow(windows[i], SW_HIDE);
  }
  Pager().Desktops().Open(3);
  for (size_t i = 0; i < windows.size(); ++i) {
    if (cases[i].hiddenByItsApplication && cases[i].desktop == 3)
      fake.ShowWindow(windows[i], SW_HIDE);
    if (cases[i].markedForAll) {
      Pager().windowMenu.Open(windows[i]);
      Pager().windowMenu.showOnAllEntry.RaiseClick();
    }
    fake.SetCaption(windows[i], "");
  }
  backend->Advance(2000);  // the refresh reads every caption within two seconds
  for (size_t i = 0; i < windows.size(); ++i) {
    EXPECT_FALSE(Pager().IsManaged(windows[i])) << cases[i].window;
    EXPECT_EQ(fake.IsWindowVisible(windows[i]), cases[i].shownAfter) << cases[i].window;
    EXPECT_NE(fake.GetForegroundWindow(), windows[i]) << "given back behind the others";
  }
}

// A summoned window goes back when another window comes forward, unless its own desktop is
// shown by then; a second summon sends the first summoned window back.
TEST_F(Tracker, ASummonedWindowIsSentBackOnlyWhenItsDesktopIsNotShown) {
  const Hwnd summoned = Open("Summoned"), second = Open("Second");
  ASSERT_TRUE(StartWith(kGrid3x2));
  const Hwnd other = Open("Other");
  WindowTracker& tracker = Pager().Tracker();
  Pager().Desktops().Place(2, summoned, 0, 0, 0, 0);
  Pager().Desktops().Place(3, second, 0, 0, 0, 0);
  Pager().Desktops().Open(1);
  tracker.Summon(summoned);
  EXPECT_TRUE(fake.IsWindowVisible(summoned));
  EXPECT_TRUE(Pager().PagerShown()) << "auto-hide is off";
  BringToFront(other);
  EXPECT_EQ(tracker.SummonedWindow(), 0);
  EXPECT_FALSE(fake.IsWindowVisible(summoned));

  tracker.Summon(summoned);
  tracker.Summon(second);
  EXPECT_FALSE(fake.IsWindowVisible(summoned));
  EXPECT_TRUE(fake.IsWindowVisible(second));

  tracker.Summon(summoned);
  Pager().Desktops().Open(2);
  BringToFront(Open("Third"));
  EXPECT_EQ(tracker.SummonedWindow(), 0);
  EXPECT_TRUE(fake.IsWindowVisible(summoned));
}

// A window's dialogs (owned windows, through any chain of owners) have no record of their own
// and go wherever their owner goes; a dialog whose owner is not managed is managed as before.
TEST_F(Tracker, AManagedWindowsDialogsGoWhereItGoesAndComeBackWhateverEnds) {
  auto dialogOf = [this](Hwnd owner, const std::string& caption) {
    fake::WindowTraits traits;
    traits.caption = caption;
    traits.owner = owner;
    return fake.CreateWindow(traits);
  };
  WriteFile("ignore.list", "Ignored\r\n");
  const Hwnd owner = Open("Editor"), find = dialogOf(owner, "Find"),
             palette = dialogOf(find, "Tip");
  const Hwnd hidden = Open("Hidden owner", WS_BORDER | WS_CAPTION), ignored = Open("Ignored");
  const Hwnd strays[] = {dialogOf(hidden, "Stray 1"), dialogOf(ignored, "Stray 2")};
  ASSERT_TRUE(StartWith(kGrid3x2));
  const Hwnd later = dialogOf(owner, "Replace");
  BringToFront(later);
  for (Hwnd dialog : {find, palette, later}) EXPECT_FALSE(Pager().IsManaged(dialog)) << dialog;
  EXPECT_FALSE(Pager().offerButton.Visible()) << "a dialog is never offered on its own";
  for (Hwnd stray : strays) EXPECT_TRUE(Pager().IsManaged(stray)) << stray;

  const Hwnd dialogs[] = {find, palette, later};
  auto dialogsShown = [&](bool shown) {
    for (Hwnd dialog : dialogs) EXPECT_EQ(fake.IsWindowVisible(dialog), shown) << dialog;
  };
  DesktopSwitcher& desktops = Pager().Desktops();
  desktops.Place(2, owner, 0, 0, 0, 0);  // "Move To" desktop 2
  desktops.SetShown(owner, false);
  dialogsShown(false);
  desktops.Open(2);
  dialogsShown(true);
  desktops.Open(1);
  dialogsShown(false);
  Pager().Tracker().Summon(owner);
  dialogsShown(true);
  BringToFront(strays[0]);
  dialogsShown(false);
  EXPECT_TRUE(Restart()) << "a run ended by force: the record brings them back";
  dialogsShown(true);
  Pager().Desktops().Place(2, owner, 0, 0, 0, 0);
  Pager().Desktops().SetShown(owner, false);
  Pager().CloseAll();
  dialogsShown(true);
}

// Windows the user cannot see (cloaked by the compositor, or on another of the system's own
// desktops) are left alone; the table follows the user from one system desktop to another.
TEST_F(Tracker, WindowsOutOfSightAreLeftAloneAndTheTableFollowsTheSystemsDesktops) {
  const Hwnd here = Open("Here"), cloaked = Open("Suspended"), there = Open("There");
  const Hwnd hidden = Open("Hidden by the pager");
  fake.SetCloaked(cloaked, true);
  fake.PutOnSystemDesktop(there, 2);
  ASSERT_TRUE(StartWith(kGrid3x2));
  BringToFront(cloaked);
  for (Hwnd w : {cloaked, there}) EXPECT_FALSE(Pager().IsManaged(w)) << w;
  EXPECT_FALSE(Pager().offerButton.Visible());
  fake.SetCloaked(cloaked, false);
  BringToFront(cloaked);
  EXPECT_TRUE(Pager().IsManaged(cloaked)) << "taken on once it uncloaks";

  Pager().Desktops().Place(2, hidden, 0, 0, 0, 0);
  Pager().Desktops().SetShown(hidden, false);
  for (Hwnd w : {here, cloaked, hidden}) fake.PutOnSystemDesktop(w, 1);
  fake.ClearCalls();
  fake.SwitchSystemDesktop(2);
  backend->Advance(2100);
  for (Hwnd w : {here, cloaked}) {
    EXPECT_FALSE(Pager().IsManaged(w)) << w;
    EXPECT_TRUE(fake.CallsOn("ShowWindow", w).empty() && fake.IsWindowVisible(w)) << w;
  }
  EXPECT_TRUE(Pager().IsManaged(there)) << "came into sight";
  EXPECT_TRUE(Pager().IsManaged(hidden)) << "a window the pager hid stays the pager's";
}

// Auto-hide: the pager goes when the user turns from one window to another; the first window
// to come forward after the pager came back only becomes the one in front.
TEST_F(Tracker, AutoHidePutsThePagerAwayWhenTheUserTurnsToAnotherWindow) {
  const Hwnd a = Open("A"), b = Open("B");
  ASSERT_TRUE(StartWith(std::string(kGrid3x2) + "auto_hide=1\r\n"));
  BringToFront(a);
  BringToFront(b);
  EXPECT_FALSE(Pager().PagerShown()) << "turned from A to B";
  Pager().ShowPager();
  BringToFront(b);
  EXPECT_TRUE(Pager().PagerShown()) << "B was in front already";
  BringToFront(a);
  EXPECT_FALSE(Pager().PagerShown()) << "turned from B to A, however soon";
  Pager().ShowPager();
  Pager().Tracker().Summon(b);
  EXPECT_FALSE(Pager().PagerShown()) << "a summoned window puts it away too";
}

}  // namespace
}  // namespace vd::testing
