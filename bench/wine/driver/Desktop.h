// Reading the real state of top-level windows, and waiting for it to change.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace vdbench {

// What the driver can observe of a window from outside its process.
struct WindowFacts {
  HWND hwnd = nullptr;
  bool exists = false;
  bool visible = false;
  RECT rect{};                // GetWindowRect, screen pixels
  SIZE client{};              // size of the client area
  LONG style = 0;             // GWL_STYLE
  LONG exStyle = 0;           // GWL_EXSTYLE
  bool topmost = false;       // WS_EX_TOPMOST
  std::optional<BYTE> alpha;  // the layered alpha, when the window is layered with one
  std::string caption;

  int Width() const { return rect.right - rect.left; }
  int Height() const { return rect.bottom - rect.top; }
  // No caption bar, no sizing or dialog frame, and the client area is the whole window.
  bool Borderless() const;
};

WindowFacts ReadWindowFacts(HWND hwnd);
std::ostream& operator<<(std::ostream& out, const WindowFacts& facts);

// The top-level windows that belong to process `pid`, in Z order (topmost first).
std::vector<HWND> TopLevelWindowsOf(DWORD pid, bool visibleOnly);

// True when `upper` comes before `lower` in the system's Z order of top-level windows.
bool IsAbove(HWND upper, HWND lower);

// The top-level window a click at screen point (x, y) reaches.
HWND TopLevelWindowAt(int x, int y);

// True when both rectangles are the same to the pixel.
bool SameRect(const RECT& a, const RECT& b);
// "(left,top) WxH", for failure messages.
std::string Describe(const RECT& r);

// Polls `condition` every `pollMs` until it holds or `timeoutMs` passed; true when it held.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs, DWORD pollMs = 20);

// Puts the mouse pointer in the screen's bottom-right corner, where it hides nothing a
// screenshot check looks at.
void ParkCursor();

}  // namespace vdbench
