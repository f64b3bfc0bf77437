#include "desktops/Transparency.h"

namespace vd::transparency {

int SetWindowAlpha(WindowSystem& ws, Hwnd hwnd, int alpha) {
  if (alpha < 0 || alpha > 255) return 1;
  int32_t exStyle = ws.GetWindowLongA(hwnd, GWL_EXSTYLE);
  if (!(static_cast<uint32_t>(exStyle) & WS_EX_LAYERED))
    ws.SetWindowLongA(hwnd, GWL_EXSTYLE, static_cast<int32_t>(exStyle | WS_EX_LAYERED));
  if (!ws.SetLayeredWindowAttributes(hwnd, 0, static_cast<uint8_t>(alpha), LWA_ALPHA)) return 2;
  return 0;
}

int ClearWindowAlpha(WindowSystem& ws, Hwnd hwnd) {
  int32_t exStyle = ws.GetWindowLongA(hwnd, GWL_EXSTYLE);
  if (!(static_cast<uint32_t>(exStyle) & WS_EX_LAYERED)) return 0;
  ws.SetWindowLongA(hwnd, GWL_EXSTYLE,
                    static_cast<int32_t>(static_cast<uint32_t>(exStyle) & ~WS_EX_LAYERED));
  return 0;
}

void FadeIn(WindowSystem& ws, Hwnd hwnd, int target, uint32_t pauseMs) {
  int a = 0;
  SetWindowAlpha(ws, hwnd, 0);
  ws.ShowWindow(hwnd, SW_SHOW);
  while (a < target) {
    SetWindowAlpha(ws, hwnd, a);
    a += 5;
    ws.Sleep(pauseMs);
  }
  // The final opacity is set with the layered style made anew now that the window is shown:
  // some systems do not draw a window that became layered while it was hidden.
  ClearWindowAlpha(ws, hwnd);
  SetWindowAlpha(ws, hwnd, target);
}

void FadeOut(WindowSystem& ws, Hwnd hwnd, int& alpha, uint32_t pauseMs) {
  while (alpha >= 11) {
    SetWindowAlpha(ws, hwnd, alpha);
    ws.Sleep(pauseMs);
    alpha -= 5;
  }
}

}  // namespace vd::transparency
