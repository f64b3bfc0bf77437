// The hotkeys: what the settings file registers, what each does when pressed, and setting them
// in the options dialog, where no two of the program's hotkeys may share a combination.
#include <gtest/gtest.h>

#include <algorithm>

#include "OptionsProgram.h"
#include "desktops/GridWalk.h"
#include "pager/DesktopNote.h"
#include "pager/TrayIcon.h"

namespace vd::testing {
namespace {

constexpr uint32_t kAlt = MOD_ALT, kCtrl = MOD_CONTROL, kShift = MOD_SHIFT, kWin = MOD_WIN;
using Hotkeys = OptionsProgram;

// Each press in turn, on what the ones before left.
TEST_F(Hotkeys, TheFilesHotkeysSwitchDesktopsHideThePagerAndPanic) {
  const struct {
    std::function<void()> before;
    uint32_t mod, vk;
    bool registered;
    const char* seen;
  } cases[] = {
      {nullptr, kCtrl, '6', true, "current=2 pager=shown1"},    // 2=1,12,1
      {nullptr, kAlt, '1', true, "current=1 pager=shown1"},     // 1=0,7,1
      {nullptr, kAlt, '1', true, "current=1 pager=shown1"},     // the current desktop's
      {nullptr, kAlt, '4', false, "current=1 pager=shown1"},    // 4=0,10,0: disabled
      {nullptr, kCtrl, 0x7B, true, "current=1 pager=hidden0"},  // hide=1,50
      {nullptr, kCtrl, 0x7B, true, "current=1 pager=shown1"},
      {[this] { P().SetupDesktops(2, 1); }, kAlt, '3', false,
       "current=1 pager=shown1"},                                                        // vanished
      {[this] { P().SetupDesktops(3, 3); }, kAlt, '3', true, "current=3 pager=shown1"},  // back
      {[this] {
         P().Desktops().Place(3, work, 0, 0, 0, 0), P().Desktops().SetAnimate(true), O().Show();
       },
       kAlt, 0x7A, true, "current=7 pager=hidden0 dialog=closed0"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.seen);
    if (c.before) c.before();
    const int before = P().Desktops().Current();
    fake.ClearCalls();
    EXPECT_EQ(fake.PressHotkey(c.mod, c.vk), c.registered);
    ExpectFacts(c.seen);
    EXPECT_EQ(fake.CallsOn("ShowWindow", work).empty(), P().Desktops().Current() == before);
    EXPECT_TRUE(fake.CallsOn("MoveWindow", work).empty());  // no slide
  }
  EXPECT_TRUE(P().Desktops().Animates());
  fake.SendMessageA(P().hWnd(), WM_HOTKEY, 42, 0);  // names no desktop
  EXPECT_EQ(P().Desktops().Current(), 7);
}

// Where each grid key leads, at the edges with and without wrapping, in the smallest and the
// largest grid: desktop, columns, rows, key, wrap, where to.
TEST(GridWalk, KeysLeadToTheNeighbourOrAroundTheEdgeOrNowhere) {
  using enum GridKey;
  const struct {
    int desktop, columns, rows;
    GridKey key;
    bool wrap;
    int to;
  } cases[] = {
      {5, 3, 3, kLeft, false, 4},     {5, 3, 3, kUp, false, 2},   {5, 3, 3, kDown, false, 8},
      {5, 3, 3, kRight, false, 6},    {4, 3, 3, kLeft, false, 4}, {4, 3, 3, kLeft, true, 6},
      {3, 3, 3, kRight, true, 1},     {2, 3, 3, kUp, true, 8},    {8, 3, 3, kDown, true, 2},
      {9, 3, 3, kNext, false, 9},     {9, 3, 3, kNext, true, 1},  {1, 3, 3, kPrevious, true, 9},
      {3, 3, 3, kNext, false, 4},     {1, 1, 1, kRight, true, 1}, {1, 1, 1, kNext, true, 1},
      {81, 9, 9, kDown, false, 81},   {81, 9, 9, kDown, true, 9}, {41, 9, 9, kCarryUp, false, 32},
      {6, 3, 2, kCarryDown, true, 3}, {5, 3, 3, kBack, true, 5},  {12, 3, 3, kRight, true, 12}};
  for (const auto& c : cases) {
    EXPECT_EQ(GridStep(c.desktop, c.columns, c.rows, c.key, c.wrap), c.to)
        << c.desktop << " " << static_cast<int>(c.key) << " " << c.wrap;
  }
}

// The built-in grid keys on the 3 x 3 grid, each press in turn on what the ones before left:
// walking, back (twice: there again), next and previous, with and without wrapping; back to a
// desktop the grid lost does nothing. Then the front window: sent to desktop 3, the focus going
// to the next window here; carried right, the desktop following it and the focus staying; a
// window shown on all desktops and the pager in front are left alone.
TEST_F(Hotkeys, TheGridKeysWalkGoBackAndSendOrCarryTheFrontWindow) {
  constexpr uint32_t kGrid = kWin | kCtrl | kAlt, kCarry = kGrid | kShift;
  constexpr uint32_t kLeft = 0x25, kUp = 0x26, kRight = 0x27, kDown = 0x28, kPrior = 0x21,
                     kNext = 0x22, kBack = 0x08;
  const struct {
    uint32_t vk;
    int current;
  } walk[] = {{kRight, 2}, {kDown, 5}, {kBack, 2}, {kBack, 5}, {kLeft, 4}, {kLeft, 4},
              {kPrior, 3}, {kNext, 4}, {kUp, 1},   {kUp, 1},   {kBack, 4}};
  for (const auto& w : walk) {
    EXPECT_TRUE(fake.PressHotkey(kGrid, w.vk));
    EXPECT_EQ(P().Desktops().Current(), w.current) << w.vk;
  }
  program->settings.wrapGrid = true;
  for (const auto& [vk, current] : {std::pair{kUp, 1u}, {kUp, 7u}, {kLeft, 9u}, {kNext, 1u}}) {
    fake.PressHotkey(kGrid, vk);
    EXPECT_EQ(P().Desktops().Current(), static_cast<int>(current)) << vk;
  }
  P().SetupDesktops(2, 2);  // desktop 9, left last, is gone
  fake.PressHotkey(kGrid, kBack);
  EXPECT_EQ(P().Desktops().Current(), 1);
  P().SetupDesktops(3, 3);

  fake.Activate(work);
  EXPECT_TRUE(fake.PressHotkey(kGrid, '3'));
  ExpectFacts("current=1 Work=3h Mail=1 Notes=1");
  EXPECT_TRUE(fake.GetForegroundWindow() == mail || fake.GetForegroundWindow() == notes);
  fake.Activate(mail);
  fake.ClearCalls();
  EXPECT_TRUE(fake.PressHotkey(kCarry, kRight));
  ExpectFacts("current=2 Work=3h Mail=2 Notes=1h");
  EXPECT_EQ(fake.GetForegroundWindow(), mail);
  for (const fake::Call& call : fake.CallsOn("ShowWindow", mail)) {
    EXPECT_NE(call.args.at(1), "0") << "hidden on the way";
  }
  Record(notes).showAll = true;
  for (const Hwnd front : {notes, P().hWnd()}) {
    fake.Activate(front);
    fake.PressHotkey(kGrid, '3');
    fake.PressHotkey(kCarry, kLeft);
    ExpectFacts("current=2 Work=3h Mail=2 Notes=1h");
  }
}

// A named desktop shows its name in its cell (when the cell holds a line), in the status caption,
// "Move To" and the tray icon's tip; an unnamed one stays "Desktop n". With the pager put away,
// a switch by hotkey shows the note without taking the focus, which fades and goes within about
// a second; with the pager shown, with the note switched off, or on panic, none shows.
TEST_F(Hotkeys, NamesShowWhereDesktopsAreNamedAndTheNoteTellsTheDesktopWhenThePagerIsAway) {
  program->settings.desktopNames[2] = "Почта ✉";
  P().ApplySettings(false);
  ASSERT_TRUE(P().cellNames.size() > 2 && P().cellNames[2] && !P().cellNames[1]);
  EXPECT_EQ(P().cellNames[2]->Caption(), "Почта ✉");
  P().windowMenu.Fill(1);
  EXPECT_EQ(P().windowMenu.moveToEntries(2).Caption(), "2: Почта ✉");
  EXPECT_EQ(P().windowMenu.moveToEntries(3).Caption(), "Desktop 3");
  EXPECT_FALSE(P().windowMenu.windowListTitle.Visible());
  P().windowMenu.Fill(2);
  EXPECT_TRUE(P().windowMenu.windowListTitle.Visible() &&
              P().windowMenu.windowListTitle.Caption() == "2: Почта ✉");
  fake.PressHotkey(kCtrl, '6');  // desktop 2's
  EXPECT_EQ(P().statusLabel.Caption(), "2: Почта ✉");
  EXPECT_EQ(fake.TrayIcons().back().tip, "VUEDECK - 2: Почта ✉");
  EXPECT_FALSE(P().Note().IsShown());  // the pager is shown
  fake.PressHotkey(kAlt, '1');
  EXPECT_EQ(fake.TrayIcons().back().tip, "VUEDECK Virtual Desktop");

  fake.PressHotkey(kCtrl, 0x7B);  // the pager put away
  fake.Activate(work);
  fake.PressHotkey(kCtrl, '6');
  EXPECT_TRUE(P().Note().IsShown() && P().Note().text.Caption() == "2: Почта ✉");
  EXPECT_TRUE(fake.IsTopMost(P().Note().hWnd()));
  EXPECT_NE(fake.GetForegroundWindow(), P().Note().hWnd());
  backend->Advance(600);
  EXPECT_TRUE(P().Note().IsShown());
  backend->Advance(600);
  EXPECT_FALSE(P().Note().IsShown());
  program->settings.switchNote = false;
  fake.PressHotkey(kAlt, '1');
  EXPECT_FALSE(P().Note().IsShown());
  program->settings.switchNote = true;
  fake.PressHotkey(kAlt, 0x7A);  // panic, to desktop 7
  EXPECT_FALSE(P().Note().IsShown());

  // Cells lower than a line of text show no name.
  program->settings.heightPercent = 10;
  P().SetupDesktops(3, 9);
  EXPECT_FALSE(P().cellNames[2]);
}

// Each choice in turn, on what the ones before left; CTRL+B is held by another program. A
// combination another hotkey holds (desktop 1's CTRL+A for desktop 2, panic or a grid key) or
// another program holds is refused and told, and the lists show the hotkey in effect again, which
// keeps working; one taken replaces the one the hotkey held (desktop 2's CTRL+6, then CTRL+C).
// The hotkey that sends the front window to desktop 3 and the grid's "Go right" are set the same
// way.
TEST_F(Hotkeys, EachCombinationRegistersItsKeyCodeAndNoTwoHotkeysShareOne) {
  fake.HoldHotkeyElsewhere(kCtrl, 'B');
  StartAgain();
  enum { kPanic = -1, kHide = -2, kSendTo3 = -3, kGoRight = -4 };
  const struct {
    int target, modifier, key;  // a desktop, kPanic, kHide, kSendTo3 or kGoRight; the indexes
    const char* shown;          // in the lists after; then pressed:
    uint32_t mod, vk;
    int desktop;  // the current desktop after, 0 when the press finds no hotkey
  } cases[] = {{kHide, 0, 0, "ALT+TAB", kAlt, 0x09, 1},
               {kHide, 3, 1, "WIN+RETURN", kWin, 0x0D, 1},
               {kHide, 2, 2, "SHIFT+PAGE UP", kShift, 0x21, 1},
               {kHide, 1, 3, "CTRL+PAGE DOWN", kCtrl, 0x22, 1},
               {kHide, 0, 4, "ALT+INSERT", kAlt, 0x2D, 1},
               {kHide, 0, 5, "ALT+DELETE", kAlt, 0x2E, 1},
               {kHide, 3, 6, "WIN+0", kWin, '0', 1},
               {kHide, 2, 15, "SHIFT+9", kShift, '9', 1},
               {kHide, 2, 39, "SHIFT+F1", kShift, 0x70, 1},
               {kHide, 1, 50, "CTRL+F12", kCtrl, 0x7B, 1},
               {1, 1, 16, "CTRL+A", kCtrl, 'A', 1},
               {2, 1, 16, "CTRL+6", kCtrl, '6', 2},
               {1, 1, 16, "CTRL+A", kCtrl, 'A', 1},
               {kPanic, 1, 16, "ALT+F11", kCtrl, 'A', 1},
               {3, 1, 17, "ALT+3", kAlt, '3', 3},
               {2, 1, 18, "CTRL+C", kCtrl, '6', 0},
               {2, 1, 38, "CTRL+W", kCtrl, 'W', 2},
               {kPanic, 1, 47, "CTRL+F9", kCtrl, 0x78, 7},
               {kHide, 2, 46, "SHIFT+F8", kShift, 0x77, 7},
               {kGoRight, 1, 53, "CTRL+RIGHT", kCtrl, 0x27, 8},
               {kGoRight, 1, 16, "CTRL+RIGHT", kCtrl, 'A', 1},
               {kSendTo3, 1, 39, "CTRL+F1", kCtrl, 0x70, 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.shown);
    O().Show();
    const char* kinds[] = {"desktop", "panic", "hide", "send", "grid"};
    const std::string t = kinds[std::max(0, -c.target)];
    if (c.target > 0) O().desktops.hotkeyDesktopList.SetListIndex(c.target - 1);
    if (c.target == kSendTo3) O().desktops.hotkeyDesktopList.SetListIndex(2);
    if (c.target == kGoRight) O().keys.gridActionList.SetListIndex(1);
    auto& modifiers = dynamic_cast<forms::ComboBox&>(*Find(O(), t + "ModifierList"));
    auto& keys = dynamic_cast<forms::ComboBox&>(*Find(O(), t + "KeyList"));
    modifiers.SetListIndex(c.modifier), keys.SetListIndex(c.key);
    Told();
    Edit("set" + std::string(1, static_cast<char>(std::toupper(t[0]))) + t.substr(1) +
         "HotkeyButton");
    const bool assigned = keys.ListIndex() == c.key;
    EXPECT_EQ(Told(), assigned ? "Hotkeys Assigned: Selected hotkeys have been assigned "
                                 "successfully."
                               : "Hotkeys Error: The selected hotkeys have been assigned. Please "
                                 "choose a different combinations.");
    EXPECT_EQ(modifiers.Text() + "+" + keys.Text(), c.shown);
    O().cancelButton.RaiseClick();
    const int before = P().Desktops().Current();
    const bool shown = P().PagerShown();
    EXPECT_EQ(fake.PressHotkey(c.mod, c.vk), c.desktop != 0);
    EXPECT_EQ(P().Desktops().Current(), c.desktop ? c.desktop : before);
    EXPECT_EQ(P().PagerShown() != shown, c.target == kHide || (c.target == kPanic && assigned));
    if (!P().PagerShown()) P().ShowPager();
  }
  // Panic's combination waits for OK.
  EXPECT_EQ(Saved("1 2 3 key2 SEND/3 KEYS/right"),
            "1=1,16,1 2=1,38,1 3=0,9,1 key2=49 SEND/3=1,39,1 KEYS/right=1,53,1");
  // A hotkey switched off frees its combination for another.
  O().Show();
  O().desktops.hotkeyDesktopList.SetListIndex(1);
  Edit("desktopHotkeyBox=0 setDesktopHotkeyButton");
  O().desktops.hotkeyDesktopList.SetListIndex(2);
  Told();
  Edit("desktopModifierList=1 desktopKeyList=38 setDesktopHotkeyButton");
  EXPECT_EQ(Told(), "Hotkeys Assigned: Selected hotkeys have been assigned successfully.");
  O().cancelButton.RaiseClick();
  EXPECT_TRUE(fake.PressHotkey(kCtrl, 'W'));
  EXPECT_EQ(P().Desktops().Current(), 3);
}

}  // namespace
}  // namespace vd::testing
