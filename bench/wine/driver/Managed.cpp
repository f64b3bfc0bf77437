#include "Managed.h"

#include "Desktop.h"
#include "Input.h"

namespace vdbench {

bool PressDesktopHotkey(int desktop) {
  return PressChord({VK_MENU, static_cast<WORD>('0' + desktop)});
}

bool WaitVisibility(std::initializer_list<HWND> windows, bool visible, DWORD timeoutMs) {
  return WaitUntil(
      [&] {
        for (HWND w : windows) {
          if ((IsWindowVisible(w) != FALSE) != visible) return false;
        }
        return true;
      },
      timeoutMs, 10);
}

RECT RectOf(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  return r;
}

bool WaitTopLeftAt(HWND hwnd, int x, int y, DWORD timeoutMs) {
  return WaitUntil(
      [&] {
        RECT r = RectOf(hwnd);
        return r.left == x && r.top == y;
      },
      timeoutMs, 10);
}

HWND OpenManagedWindow(WinMaker& maker, const std::string& caption, int width, int height,
                       const std::string& options, const RECT* place, std::string& why) {
  HWND hwnd = maker.Open(caption, kFarLeft, 200, width, height, options);
  if (!hwnd) {
    why = "winmaker could not open \"" + caption + "\"";
    return nullptr;
  }
  if (!maker.Front(caption)) {
    why = "\"" + caption + "\" could not be brought to the front";
    return nullptr;
  }
  if (!WaitTopLeftAt(hwnd, 0, 0)) {
    why = "\"" + caption + "\", the front window, was not taken on: it stays at " +
          Describe(RectOf(hwnd));
    return nullptr;
  }
  RECT r = RectOf(hwnd);
  if (r.right - r.left != width || r.bottom - r.top != height) {
    why = "\"" + caption + "\" lost its size when it was brought in: " + Describe(r);
    return nullptr;
  }
  if (place && !maker.Move(caption, place->left, place->top, place->right - place->left,
                           place->bottom - place->top)) {
    why = "\"" + caption + "\" could not be moved to " + Describe(*place);
    return nullptr;
  }
  return hwnd;
}

}  // namespace vdbench
