// Real keyboard and mouse input, as a user gives it: SendInput for keys and buttons,
// SetCursorPos for the pointer. The system routes it: hotkeys fire, clicks reach the window
// under the pointer.
#pragma once

#include <windows.h>

#include <initializer_list>

namespace vdbench {

// Presses the keys in order and releases them in reverse order: {VK_MENU, '3'} is Alt+3.
bool PressChord(std::initializer_list<WORD> keys);

// Moves the pointer to screen point (x, y) and clicks there.
bool ClickAt(int x, int y, bool rightButton = false);

}  // namespace vdbench
