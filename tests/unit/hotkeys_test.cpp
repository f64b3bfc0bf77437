// The hotkeys: what the settings file registers, what each does when pressed, and setting them
// in the options dialog, where no two of the program's hotkeys may share a combination.
#include <gtest/gtest.h>

#include "OptionsProgram.h"

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

// Each choice in turn, on what the ones before left; CTRL+B is held by another program. A
// combination another hotkey holds (desktop 1's CTRL+A for desktop 2 or panic) or another program
// holds is refused and told, and the lists show the hotkey in effect again, which keeps working;
// one taken replaces the one the hotkey held (desktop 2's CTRL+6, then CTRL+C).
TEST_F(Hotkeys, EachCombinationRegistersItsKeyCodeAndNoTwoHotkeysShareOne) {
  fake.HoldHotkeyElsewhere(kCtrl, 'B');
  StartAgain();
  enum { kPanic = -1, kHide = -2 };
  const struct {
    int target, modifier, key;  // a desktop, kPanic or kHide; the lists' indexes
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
               {kHide, 2, 46, "SHIFT+F8", kShift, 0x77, 7}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.shown);
    O().Show();
    const std::string t = c.target > 0 ? "desktop" : c.target == kPanic ? "panic" : "hide";
    if (c.target > 0) O().desktops.hotkeyDesktopList.SetListIndex(c.target - 1);
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
  EXPECT_EQ(Saved("1 2 3 key2"), "1=1,16,1 2=1,38,1 3=0,9,1 key2=49");  // panic waits for OK
}

}  // namespace
}  // namespace vd::testing
