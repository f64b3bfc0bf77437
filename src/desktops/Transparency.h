// Window transparency: setting and clearing a window's layered style and stepping its opacity.
#pragma once

#include <cstdint>

#include "platform/WindowSystem.h"

namespace vd::transparency {

// Makes the window layered with this opacity. 0 when done; 1 when the alpha lies outside 0 to
// 255 (nothing changes); 2 when a call failed.
int SetWindowAlpha(WindowSystem& ws, Hwnd hwnd, int alpha);
// Removes the layered style so the window is drawn opaque again; 0, or 2 when a call failed.
int ClearWindowAlpha(WindowSystem& ws, Hwnd hwnd);
// Shows the window at opacity 0 and raises it by 5 per step, pausing between steps, up to
// target.
void FadeIn(WindowSystem& ws, Hwnd hwnd, int target, uint32_t pauseMs);
// Lowers the window's opacity by 5 per step from alpha while it is at least 11, pausing
// between steps; alpha ends at the first value below 11. The window is not hidden.
void FadeOut(WindowSystem& ws, Hwnd hwnd, int& alpha, uint32_t pauseMs);

}  // namespace vd::transparency
