// The program's windows as a user meets them: real keys and clicks (SendInput, so hotkeys fire
// and clicks reach the window under the pointer), the controls inside its windows read from
// outside, the pager's cells and miniatures, its popup menus.
#pragma once

#include <windows.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "ScreenShot.h"

namespace vde2e {

// Presses the keys in order and releases them in reverse order: {VK_MENU, '3'} is Alt+3.
bool PressChord(std::initializer_list<WORD> keys);
// Alt + the digit n: desktop n's hotkey in the tests' settings.
inline bool Hotkey(int desktop) { return PressChord({VK_MENU, WORD('0' + desktop)}); }
// Clicks put the pointer there first, until it stays (under Wine the X server's echo of an
// earlier move can put it back a moment after SetCursorPos), and send a move event there.
bool ClickAt(POINT p, bool rightButton = false);
bool ClickOn(HWND control);  // in its middle
// Presses the left button at `from`, moves to `to` in steps, rests there (the pager notes the
// cell under the pointer every 100 ms, and a drop goes to the cell it noted last) and lets go.
bool Drag(POINT from, POINT to);
POINT Middle(const RECT& r);

// A descendant window of one of the program's windows: its class, its text (asked of the
// window itself, which another process's edit field needs), its screen rectangle.
struct Child {
  HWND hwnd;
  std::string className;
  std::string text;
  RECT rect;
  bool visible;
};
// Every descendant window of `root`, in the system's order: the one reader of the program's
// controls for every test.
std::vector<Child> ChildrenOf(HWND root);
// The visible child of that class (case aside) and text; null when there is none.
HWND ChildWith(HWND root, const char* className, const std::string& text);

// The pager's desktop cells, row by row.
std::vector<RECT> Cells(HWND pager);
// The miniature in `cell` that stands where a window at `window` stands on the screen, scaled
// into the cell (give or take two pager pixels), looked for until `waitMs` passed; an empty
// rectangle when there is none.
RECT MiniatureOf(HWND pager, const RECT& cell, const RECT& window, DWORD waitMs = 5000);

// Waits for a popup menu and works it from the keyboard: Home selects the first entry
// (separators are skipped), then `keys`, then Enter unless the last of them is Escape. True
// once the menu has closed.
bool ChooseFromMenu(std::initializer_list<WORD> keys);
// Most of the 5 x 5 pixels around `at` have about the colour (0x00BBGGRR): a miniature is its
// window's picture scaled down, so its edges blend.
bool ColorAround(const vdtools::Image& shot, POINT at, uint32_t color);

}  // namespace vde2e
