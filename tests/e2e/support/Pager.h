// The pager seen from outside, for the tests of its face and its gestures: where a desktop's
// cell and a window's miniature are on the screen, the pointer moved, held and dragged the way
// a hand does it, and the program's own windows that a gesture opens (a popup menu, a question
// with its buttons).
#pragma once

#include <windows.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "ScreenShot.h"
#include "SettingsIni.h"

namespace vde2e {

// The grid as the program lays it out, computed from the settings it started with and the
// pager's place on the screen (the pager has no frame: its client area starts at its window's
// top-left corner). With c columns and r rows on a pager w % and h % of the screen, a cell is
// screen width * w / 100 / c pixels wide and screen height * h / 100 / r high; cell 1 stands at
// pager pixel (1, 22) and neighbours are one pixel apart. Cells count row by row from 1.
class PagerGrid {
 public:
  PagerGrid(HWND pager, const SettingsIni& settings);

  double CellWidth() const { return cellWidth_; }
  double CellHeight() const { return cellHeight_; }

  // Cell n on the screen, its edges rounded as the pager rounds its child windows'.
  RECT Cell(int n) const;
  // Where the miniature of a window with screen rectangle `window` lies while the window
  // belongs to desktop n: the window scaled from the screen into the cell, its size no larger
  // than a cell.
  RECT Miniature(int n, const RECT& window) const;
  // A point of cell n that no miniature of these tests covers: near its bottom-right corner
  // (the tests keep their windows off the screen's bottom-right).
  POINT FreePoint(int n) const;
  // Screen pixels to one pager pixel, across and down: how far a drop may land from the
  // exact place.
  double ScreenPerPagerX() const { return screenWidth_ / cellWidth_; }
  double ScreenPerPagerY() const { return screenHeight_ / cellHeight_; }

 private:
  double CellLeft(int n) const;  // screen coordinates, unrounded
  double CellTop(int n) const;

  RECT pager_{};
  int columns_ = 1, rows_ = 1;
  double screenWidth_ = 0, screenHeight_ = 0;
  double cellWidth_ = 0, cellHeight_ = 0;
};

// The pager's child window that covers `expected` give or take a pixel on each edge (the
// rounding of its edges): a miniature placed there. Null when none is.
HWND MiniatureAt(HWND pager, const RECT& expected);

POINT Middle(const RECT& r);

// Colours as a screenshot pixel reads them (0x00BBGGRR): each channel within `tolerance`.
bool NearColor(uint32_t a, uint32_t b, int tolerance);
std::string Hex(uint32_t color);
// Most of the 5 x 5 pixels around `at` have about the colour: a miniature is its window's
// picture scaled down, so its edges blend.
bool ColorAround(const vdtools::Image& shot, POINT at, uint32_t color);

// Whether the screenshot shows cell `cell` as the open desktop's: the cell's gradient starts
// at its top-left corner from the colour "color_selected" of `settings`.
bool ShowsSelectedCell(const vdtools::Image& shot, const RECT& cell, const SettingsIni& settings);

// Puts the pointer at `p`, waits until it stays there and sends a move event, so that the
// window under it hears of it. Under Wine the X server's echo of an earlier move can put the
// pointer back a moment after SetCursorPos; the wait outlasts it.
bool PointerTo(POINT p);
// PointerTo(p), then a click of the left or right button there.
bool ClickPoint(POINT p, bool rightButton = false);
// Presses the left button at `from`, moves the pointer one pixel down (a drag starts with the
// first move) and then to `to` in `steps` steps, and keeps the button down.
bool PressAndMove(POINT from, POINT to, int steps);
bool ReleaseLeftButton();
// PressAndMove, a rest of `restMs` at `to` (the pager notes the cell under the pointer every
// 100 ms, and a drop goes to the cell it noted last), and the button released there.
bool DragAndRest(POINT from, POINT to, int steps, DWORD restMs);
// Presses and releases each key in turn, as one types them.
bool TypeKeys(std::initializer_list<WORD> keys);

// The popup menu on the screen, if one shows.
HWND VisiblePopupMenu();
// Waits for a popup menu and chooses an entry with the keyboard: Home selects the first entry
// (separators are skipped, greyed entries are not), then `keys` (arrows), then Enter. False
// when no menu showed or it did not close.
bool ChooseFromPopupMenu(std::initializer_list<WORD> keys, DWORD timeoutMs = 5000);

// The window's class name.
std::string ClassOf(HWND hwnd);
// A descendant window of one of the program's windows, as another process reads it: its class,
// its text (asked of the window itself, as an edit field of another process keeps its text to
// itself; a hung window holds the question up 2 s at most), its screen rectangle.
struct Child {
  HWND hwnd;
  std::string className;
  std::string text;
  RECT rect;
  bool visible;
  bool Is(const char* name) const;
};
// Every descendant window of `root`, in the system's order; the one reader of the program's
// controls for every test.
std::vector<Child> ChildrenOf(HWND root);
// The visible push buttons anywhere inside `form`.
std::vector<Child> VisibleButtons(HWND form);
// The first visible push button captioned `caption` inside `form`; null when none.
HWND ButtonCaptioned(HWND form, const std::string& caption);
// Waits for a visible top-level window of process `pid` that holds visible buttons with each
// of `captions`: the question a gesture opened. Null when none showed in time.
HWND WaitForQuestion(DWORD pid, std::initializer_list<const char*> captions,
                     DWORD timeoutMs = 5000);

// The lines of a text file's bytes (CR LF or LF ends), for counting entries.
std::vector<std::string> Lines(const std::string& bytes);

}  // namespace vde2e
