// Which top-level windows the pager manages: the start-up scan, the foreground poll and the
// refresh of the table every 100 ms.
#include "core/Program.h"
#include "core/frmMain.h"
#include "settings/frmOptions.h"

namespace vd {

void frmMain::GetActiveWindows() {
  RequiredStyleMask = WS_VISIBLE | WS_BORDER;
  PagerHandle = hWnd();
}

// Taking windows into the table comes with window tracking; until then no window is added.
void frmMain::AddWindow(Hwnd, const std::string&, int16_t, bool) {}

void frmMain::AddAlertWindow() { AddWindow(PendingWindow, PendingTitle, CurrentDesktop, true); }

void frmMain::RefreshWindows() {}

void frmMain::UpdateActiveWindow(Hwnd, int16_t, bool) {}

bool frmMain::IsOwnWindow(Hwnd hwnd) {
  return hwnd != 0 && (hwnd == hWnd() || hwnd == program_.Options().hWnd());
}

}  // namespace vd
