// The desktop switcher: which windows a switch shows and hides, where the focus goes, slides
// that end where they began, and windows placed on a desktop.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "ProgramFixture.h"
#include "desktops/Transparency.h"

namespace vd::testing {
namespace {

class Switcher : public ProgramFixture {
 protected:
  void Switch(int16_t desktop) {
    Pager().Desktops().MoveOut();
    Pager().Desktops().Open(desktop);
  }
};

TEST_F(Switcher, ASwitchShowsExactlyTheNewDesktopsWindowsAndTheShowAllOnes) {
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

// A switch shows its windows without activating them and then activates one, once: the window
// the user left in front on that desktop while it is still there, else the top-most of its
// windows, else the pager; keys never stay with a hidden window. A window shown on every
// desktop that is in front keeps the focus.
TEST_F(Switcher, TheFocusGoesBackToTheWindowLeftInFrontAndNeverToAHiddenOne) {
  Hwnd a = OpenWindow("A"), b = OpenWindow("B"), c = OpenWindow("C"), d = OpenWindow("D");
  ASSERT_TRUE(StartWith(kGrid3x2));
  PagerWindow& pager = Pager();
  pager.Desktops().Place(2, b, 0, 0, 0, 0);
  pager.Desktops().Place(2, c, 0, 0, 0, 0);
  // D in front, A above it: the window left in front is neither the top-most nor the last of
  // the table.
  fake.Activate(d);
  backend->Advance(100);
  fake.SetWindowPos(a, HWND_TOP, 0, 0, 0, 0, kRaiseFlags);
  Switch(2);
  const Hwnd focused = fake.GetForegroundWindow();
  EXPECT_TRUE(focused == b || focused == c) << focused;
  fake.ClearCalls();
  Switch(1);
  EXPECT_EQ(fake.GetForegroundWindow(), d);
  int activations = 0;
  for (const fake::Call& call : fake.Calls()) {
    if (call.name == "SetForegroundWindow") ++activations;
    if (call.name == "ShowWindow") {
      EXPECT_NE(call.args[1], std::to_string(SW_SHOW));
    }
  }
  EXPECT_EQ(activations, 1);
  // D gone to another desktop meanwhile: the top-most window of desktop 1.
  Switch(2);
  pager.Desktops().Place(3, d, 0, 0, 0, 0);
  Switch(1);
  EXPECT_EQ(fake.GetForegroundWindow(), a);
  Switch(4);
  EXPECT_EQ(fake.GetForegroundWindow(), pager.hWnd()) << "nothing there: the pager";
  // A window shown on every desktop keeps the focus.
  Record(a).showAll = true;
  Switch(1);
  fake.Activate(a);
  Switch(2);
  EXPECT_EQ(fake.GetForegroundWindow(), a);
}

TEST_F(Switcher, AnAnimatedSwitchPutsEveryWindowBackToThePixelAndOpaque) {
  Hwnd a = OpenWindow("A", {13, 27, 613, 427});
  Hwnd own = OpenWindow("Shaped", {200, 100, 500, 300});
  fake.SetWindowLongA(own, GWL_EXSTYLE, WS_EX_LAYERED);
  fake.SetLayeredWindowAttributes(own, 0, 230, LWA_ALPHA);
  Hwnd t = OpenWindow("T", {50, 60, 450, 360});
  ASSERT_TRUE(StartWith(kGrid3x2));
  PagerWindow& pager = Pager();
  Record(t).transparency = 100;
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
  EXPECT_EQ(fake.Alpha(t), 100);
  const auto alphasOf = [&](Hwnd w) {
    std::vector<int> alphas;
    for (const auto& call : fake.CallsOn("SetLayeredWindowAttributes", w)) {
      alphas.push_back(std::stoi(call.args.at(2)));
    }
    return alphas;
  };
  const std::vector<int> out = alphasOf(a);
  ASSERT_FALSE(out.empty());
  EXPECT_LT(*std::min_element(out.begin(), out.end()), 40) << "the window left faded out";
  const std::vector<int> alphas = alphasOf(t);
  ASSERT_GE(alphas.size(), 13u);
  for (int step = 0; step <= 100; step += 10) {
    EXPECT_NE(std::find(alphas.begin(), alphas.end(), step), alphas.end())
        << "fades through " << step;
  }
  EXPECT_EQ(*std::max_element(alphas.begin(), alphas.end()), 100) << "never above its own";
  EXPECT_EQ(alphas.back(), 100);
  // Slid back in, each window is as its application left it: not layered, or at its own alpha.
  Switch(1);
  EXPECT_EQ(fake.Alpha(a), -1);
  EXPECT_EQ(fake.Alpha(own), 230);
}

TEST_F(Switcher, PlacingAWindowOnADesktopHidesItOnlyWhenThatDesktopIsNotShown) {
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

// Showing, hiding and sliding windows answers sent messages, whose handlers can take rows out
// of the table: a window that closes while a switch shows it costs no other window its show.
TEST_F(Switcher, AWindowThatClosesWhileASwitchShowsItLeavesTheOthersShownAndTheTableSound) {
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
          call.args[1] == std::to_string(SW_SHOWNA)) {
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
  fake.ClearCalls();
  const uint32_t start = fake.VirtualTimeMs();
  transparency::FadeIn(fake, w, 255, 10);
  EXPECT_TRUE(fake.IsWindowVisible(w));
  EXPECT_EQ(fake.Alpha(w), 255);
  std::vector<int> steps;  // every fifth level on the way up
  for (const auto& call : fake.CallsOn("SetLayeredWindowAttributes", w)) {
    steps.push_back(std::stoi(call.args.at(2)));
  }
  EXPECT_EQ(steps.size(), 53u);
  for (int level = 0; level <= 250; level += 5) {
    EXPECT_NE(std::find(steps.begin(), steps.end(), level), steps.end()) << level;
  }
  EXPECT_EQ(fake.VirtualTimeMs() - start, 51u * 10u) << "51 steps of 10 ms";
}

// With slides on, the shown windows are kept fully opaque between slides; turned off, each
// window gets its chosen transparency back, and the others their own layering.
TEST_F(Switcher, TurningSlidesOffGivesEachWindowItsTransparencyBack) {
  const Hwnd chosen = OpenWindow("Chosen"), plain = OpenWindow("Plain");
  ASSERT_TRUE(StartWith(kGrid3x2));
  Pager().windowMenu.Open(chosen);
  Pager().windowMenu.mediumTransparencyEntry.RaiseClick();
  Pager().Desktops().SetAnimate(true);
  Pager().Desktops().ReapplyWindowOpacity();
  EXPECT_EQ(fake.Alpha(chosen), 255);
  Pager().Desktops().SetAnimate(false);
  Pager().Desktops().ReapplyWindowOpacity();
  EXPECT_EQ(fake.Alpha(chosen), 150);
  EXPECT_EQ(fake.Alpha(plain), -1);
}

// However the program ends, every window is shown on desktop 1 at its own place, keeping the
// transparency and always-on-top the user chose, with nothing else left layered, and the tray
// icon is gone.
// A window the system will not let the program change (its application runs as administrator)
// stays shown on every desktop, its tip saying so, whether that is known when it is taken on or
// learnt from the first refused call of a switch or a slide: it is never recorded as hidden nor
// is any dialog the program could not hide, the window menu leaves it as it is, and once
// refused it is never asked again, the exit included.
TEST_F(Switcher, AWindowThatRefusesChangesStaysShownOnEveryDesktopAndIsNeverRecordedHidden) {
  const Hwnd other = OpenWindow("Other");
  const Hwnd refusingDialog = fake.CreateWindow({"Find", WS_VISIBLE, 0, {}, 2, 0, other});
  fake.RefuseChanges(refusingDialog, true);
  ASSERT_TRUE(StartWith(kGrid3x2));
  RecordPopups();
  Pager().Desktops().Place(6, other, 0, 0, 0, 0);  // never visited: always in the record
  auto recorded = [this](Hwnd hwnd) {
    const auto hidden = RecoveryRecord::ReadHidden(File("hidden.list").string());
    return hidden && std::ranges::count(*hidden, hwnd, &std::pair<Hwnd, uint32_t>::first) == 1;
  };
  auto changesAsked = [this](Hwnd hwnd) {
    size_t asked = 0;
    for (auto call : {"ShowWindow", "SetWindowPos", "MoveWindow", "SetWindowLongA",
                      "SetLayeredWindowAttributes"}) {
      asked += fake.CallsOn(call, hwnd).size();
    }
    return asked;
  };
  std::vector<Hwnd> refusing;
  for (auto [how, knownBeforehand, animate] : {std::tuple{"known when taken on", true, false},
                                               {"first refused by a switch", false, false},
                                               {"first refused by a slide", false, true}}) {
    SCOPED_TRACE(how);
    const Hwnd admin = refusing.emplace_back(OpenWindow(std::string("Admin ") + how));
    transparency::SetWindowAlpha(fake, admin, 230);  // its application layers it
    const Hwnd dialog = fake.CreateWindow({"Open", WS_VISIBLE, 0, {}, 3, 0, admin});
    fake.RefuseChanges(admin, knownBeforehand);
    Pager().Desktops().SetAnimate(animate);
    fake.ClearCalls();
    BringToFront(admin);
    for (int i = 0; i < 8; ++i) {
      Switch(static_cast<int16_t>(Pager().Desktops().Current() % 5 + 1));
      if (i == 0 && !knownBeforehand) fake.ClearCalls();
      for (Hwnd hwnd : {admin, dialog, refusingDialog}) {
        EXPECT_TRUE(fake.IsWindowVisible(hwnd) && !recorded(hwnd)) << hwnd;
      }
      EXPECT_TRUE(recorded(other));
    }
    EXPECT_EQ(MiniatureOf(admin).ToolTipText(),
              std::string("Admin ") + how + " (cannot be moved: runs as administrator)");
    const std::string entries[] = {
        "Desktop " + std::to_string(Pager().Desktops().Current() % 5 + 1), "Show on All Desktop",
        "Always On Top", "Medium"};
    for (const std::string& entry : entries) {
      choose = [&](forms::MenuItem& menu) { return menu.Find(entry); };
      RightClick(admin);
      EXPECT_TRUE(fake.IsWindowVisible(admin) && Record(admin).showAll) << entry;
      EXPECT_EQ(DesktopOf(admin), Pager().Desktops().Current()) << entry;
    }
    EXPECT_EQ(changesAsked(admin), 0u);
  }
  fake.ClearCalls();
  Pager().CloseAll();
  for (Hwnd hwnd : refusing) EXPECT_EQ(changesAsked(hwnd), 0u);
}

TEST_F(Switcher, HoweverTheProgramEndsEveryWindowComesBackAsTheUserLeftIt) {
  enum Ending { kExit, kTaskBarClose, kEndOfSession, kAWindowClosedMeanwhile };
  for (Ending ending : {kExit, kTaskBarClose, kEndOfSession, kAWindowClosedMeanwhile}) {
    SCOPED_TRACE(ending);
    const Hwnd plain = OpenWindow("Editor", {10, 20, 610, 420});
    const Hwnd maximised = OpenWindow("Mail", {-8, -8, 1288, 1032});
    const Hwnd translucent = OpenWindow("Terminal", {300, 200, 900, 700});
    const Hwnd onTop = OpenWindow("Clock", {1100, 10, 1270, 90});
    ASSERT_TRUE(Restart());
    Pager().windowMenu.Open(translucent);
    Pager().windowMenu.mediumTransparencyEntry.RaiseClick();
    Pager().windowMenu.Open(onTop);
    Pager().windowMenu.onTopEntry.RaiseClick();
    Pager().Desktops().Place(2, maximised, 0, 0, 0, 0);
    Pager().Desktops().Place(3, translucent, 0, 0, 0, 0);
    Pager().Desktops().Place(2, onTop, 0, 0, 0, 0);
    Pager().Desktops().SetAnimate(true);
    Switch(2);
    std::map<Hwnd, Rect> before;
    for (Hwnd h : {plain, maximised, translucent, onTop}) fake.GetWindowRect(h, &before[h]);
    if (ending == kAWindowClosedMeanwhile) {
      fake.DestroyWindow(plain);
      before.erase(plain);
    }
    fake.ClearCalls();
    if (ending == kTaskBarClose) fake.SendMessageA(Pager().hWnd(), WM_CLOSE, 0, 0);
    if (ending == kEndOfSession) fake.SendMessageA(Pager().hWnd(), WM_QUERYENDSESSION, 0, 0);
    if (ending == kExit || ending == kAWindowClosedMeanwhile) Pager().CloseAll();
    for (auto& [h, rect] : before) {
      EXPECT_TRUE(fake.IsWindowVisible(h)) << h;
      Rect now;
      fake.GetWindowRect(h, &now);
      EXPECT_EQ(now, rect) << h;
    }
    EXPECT_EQ(fake.Alpha(translucent), 150);
    EXPECT_EQ(fake.Alpha(maximised), -1);
    EXPECT_TRUE(fake.IsTopMost(onTop));
    EXPECT_FALSE(fake.IsTopMost(maximised));
    EXPECT_TRUE(fake.TrayIcons().empty());
    EXPECT_EQ(ExitCode(), "0");
    for (Hwnd h : {plain, maximised, translucent, onTop}) fake.DestroyWindow(h);
  }
}

}  // namespace
}  // namespace vd::testing
