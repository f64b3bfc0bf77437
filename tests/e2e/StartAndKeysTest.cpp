// The program coming up, worked from the keyboard, and giving back every window at its exit.
#include "E2eTest.h"

namespace vde2e {

// Most of the pager's title strip differs from the desktop's colour (read at the screen's right
// edge, where no test puts a window).
static bool PagerOnScreen(const vdtools::Image& shot, const RECT& r) {
  const uint32_t desktop = shot.ColorAt(shot.width - 5, shot.height / 2);
  int differing = 0;
  for (int x = r.left + 2; x < r.right - 2; x += 4)
    differing += shot.ColorAt(x, r.top + 9) != desktop ? 1 : -1;
  return differing > 0;
}

using StartAndKeys = E2eTest;

TEST_F(StartAndKeys, OnePagerOnTopHotkeysSwitchHideAndPanicAndTheExitGivesEveryWindowBack) {
  Set("ALERT", "enabled", "1");  // Ctrl+F11 opens desktop 2 and hides the pager
  Set("ALERT", "desktop", "2");
  const RECT parkedPlace{0, 0, 360, 240}, plainPlace{520, 560, 840, 780};
  const RECT laterPlace{300, 300, 640, 520};
  HWND parked = Open("Parked", {-2000, 120, -1640, 360}, 0x2080E0);
  HWND plain = Open("Plain", plainPlace, 0x20C060);
  HWND pager = Start();
  ASSERT_TRUE(parked && plain && pager);
  const RECT r = RectOf(pager);
  EXPECT_TRUE(Topmost(pager) && AlphaOf(pager) == 255 &&
              !(GetWindowLongA(pager, GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME)) && r.left >= 0 &&
              r.top >= 0 && r.right <= GetSystemMetrics(SM_CXSCREEN) &&
              r.bottom <= GetSystemMetrics(SM_CYSCREEN) && r.bottom - r.top > 40)
      << Facts({pager});
  EXPECT_TRUE(Shot("started", [&](const vdtools::Image& s) { return PagerOnScreen(s, r); }));
  // The start-up scan brings the window left of the screen to its top-left corner.
  EXPECT_TRUE(WaitUntil([&] { return At(parked, parkedPlace) && At(plain, plainPlace); }))
      << Facts({parked, plain});

  // A second copy shows nothing and ends; the first runs on with its one pager.
  ChildProcess& second = Launch();
  bool showed = false;
  const auto ended = [&] {
    showed = showed || !WindowsOf(second.Pid()).empty();
    return second.WaitExit(0);
  };
  EXPECT_TRUE(WaitUntil(ended, kExitMs, 5));
  EXPECT_FALSE(showed);
  EXPECT_EQ(WindowsOf(Vuedeck().Pid()), std::vector<HWND>{pager});

  // A window brought to the front stays beneath the pager: a click on the title strip reaches
  // the pager. (Wine's X display draws the front window over it all the same.)
  ASSERT_TRUE(Open("Cover", {r.left - 60, r.top - 60, r.right + 60, r.bottom + 60}, 0xFF00FF) &&
              Maker("front", "Cover"));
  EXPECT_EQ(GetAncestor(WindowFromPoint({Middle(r).x, r.top + 10}), GA_ROOT), pager);
  Shot("under-a-front-window");
  ASSERT_TRUE(Maker("close", "Cover"));

  // Each desktop's hotkey shows its windows, at their places, and hides the others'.
  ASSERT_TRUE(Hotkey(2) && WaitShown({parked, plain}, false)) << Facts({parked, plain});
  HWND later = OpenManaged("Later", laterPlace, 0xC02080);
  Shot("desktop-2");
  ASSERT_TRUE(later && Hotkey(1) && WaitShown({parked, plain}, true, {later}))
      << Facts({parked, plain, later});
  EXPECT_TRUE(At(parked, parkedPlace) && At(plain, plainPlace)) << Facts({parked, plain});
  Shot("desktop-1");

  // Ctrl+F12 puts the pager away and brings it back; the panic key Ctrl+F11 hides it and opens
  // desktop 2. Shown means opaque too, and a hidden window keeps its place.
  auto pagerAfter = [&](WORD key, bool shown, const std::string& step) {
    return PressChord({VK_CONTROL, key}) && WaitUntil([&] {
             return IsWindowVisible(pager) == shown && (!shown || AlphaOf(pager) == 255);
           }) &&
           Shot(step, [&](const vdtools::Image& s) { return PagerOnScreen(s, r) == shown; });
  };
  EXPECT_TRUE(pagerAfter(VK_F12, false, "hidden")) << Facts({pager});
  EXPECT_TRUE(pagerAfter(VK_F12, true, "shown-again")) << Facts({pager});
  EXPECT_TRUE(pagerAfter(VK_F11, false, "panic")) << Facts({pager});
  EXPECT_TRUE(WaitShown({later}, true, {parked, plain}));
  EXPECT_TRUE(At(later, laterPlace)) << Facts({later});
  EXPECT_TRUE(pagerAfter(VK_F12, true, "pager-back")) << Facts({pager});

  // The pager's windows are Unicode windows: its Show/Hide field takes a character beyond the
  // basic plane, typed as two halves, whole, and keeps what the program holds of the text.
  std::vector<Child> children = ChildrenOf(pager);
  std::erase_if(children, [](const Child& c) { return _stricmp(c.className.c_str(), "Edit"); });
  ASSERT_EQ(children.size(), 1u);
  HWND field = children[0].hwnd;
  const std::string pair = "\U0001F600";  // two units of UTF-16
  const std::string typed = "\u00e9" + pair + "7", edited = "\u00e9" + pair + "x7";
  ASSERT_TRUE(ClickOn(field) && TypeUnicode(L"\u00e9\U0001F6007"));
  EXPECT_TRUE(WaitUntil([&] { return TextOf(field) == typed; })) << TextOf(field);
  ASSERT_TRUE(PressChord({VK_LEFT}) && TypeUnicode(L"x"));
  EXPECT_TRUE(WaitUntil([&] { return TextOf(field) == edited; })) << TextOf(field);

  // Closed from desktop 2, the program gives back desktop 1's windows too: shown, not layered,
  // at their places and to be seen there.
  ASSERT_TRUE(CloseAndWaitForExit());
  EXPECT_TRUE(WaitShown({parked, plain, later}, true, {}, 0));
  for (HWND w : {parked, plain, later}) {
    EXPECT_FALSE(GetWindowLongA(w, GWL_EXSTYLE) & WS_EX_LAYERED) << Facts({w});
  }
  EXPECT_TRUE(Shot("after-exit", [&](const vdtools::Image& s) {
    return ColorAround(s, Middle(parkedPlace), 0x2080E0) &&
           ColorAround(s, Middle(plainPlace), 0x20C060) &&
           ColorAround(s, Middle(laterPlace), 0xC02080);
  }));
}

}  // namespace vde2e
