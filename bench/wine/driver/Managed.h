// Seeing from outside that the program manages a window, and switching its desktops the way a
// user does.
//
// The program brings a window it takes on that stands wholly left of the screen to the screen's
// top-left corner, keeping its size. A window opened at kFarLeft therefore shows by its place
// whether the program took it: at (0,0) it is managed, still at kFarLeft it is not.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>

#include "WinMaker.h"

namespace vdbench {

inline constexpr int kFarLeft = -2000;
inline constexpr DWORD kSwitchTimeoutMs = 5000;  // a hotkey until the windows show or hide
inline constexpr DWORD kManageTimeoutMs = 5000;  // a new front window until it is taken

// Alt + the digit n: desktop n's hotkey in the settings the runs start with.
bool PressDesktopHotkey(int desktop);

// Waits until each window's visibility is `visible`.
bool WaitVisibility(std::initializer_list<HWND> windows, bool visible,
                    DWORD timeoutMs = kSwitchTimeoutMs);

// Waits until the window's top-left corner is at (x, y).
bool WaitTopLeftAt(HWND hwnd, int x, int y, DWORD timeoutMs = kManageTimeoutMs);

// Opens a window of `maker` at kFarLeft, brings it to the front and waits until the program
// has taken it on (moved it to (0,0)); then, when `place` is not empty, moves it there. The
// handle, or null when any of this failed (`why` says which).
HWND OpenManagedWindow(WinMaker& maker, const std::string& caption, int width, int height,
                       const std::string& options, const RECT* place, std::string& why);

// The window rectangle, read now.
RECT RectOf(HWND hwnd);

}  // namespace vdbench
