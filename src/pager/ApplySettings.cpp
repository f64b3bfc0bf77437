// What the pager does with confirmed settings: a new grid (the windows of vanished desktops
// and a panic desktop that vanished), the effects, the opacity, fresh miniatures.
#include <algorithm>

#include "core/Program.h"
#include "core/Text.h"
#include "desktops/Transparency.h"
#include "pager/PagerWindow.h"
#include "settings/Hotkeys.h"

namespace vd {

GridChange PagerWindow::ApplyGrid(int columns, int rows) {
  GridChange change;
  const int n = std::clamp(columns, 1, 9) * std::clamp(rows, 1, 9);
  windowMenu.ForgetDesktopsBeyond(n);
  change.relocated = desktops_.Relocate(n);
  if (settings_.panicDesktop > n) {
    // Only a panic hotkey that was on is reported as switched off.
    change.panicDisabled = settings_.panicEnabled;
    settings_.panicEnabled = false;
    program_.hotkeys.Release(hWnd(), Hotkeys::kPanicHotkeyId);
  }
  SetupDesktops(columns, rows);
  // The current desktop vanished, or windows were moved onto it: the last remaining desktop
  // is opened, showing the windows moved there.
  if (desktops_.Current() > desktops_.Count() ||
      (change.relocated && desktops_.Current() == desktops_.Count())) {
    const bool animate = desktops_.Animates();
    desktops_.SetAnimate(false);
    desktops_.Open(desktops_.Count());
    desktops_.SetAnimate(animate);
  }
  // Adding the cells moved the selection box along to the last one: it frames the current
  // desktop's cell again.
  MoveSelectionBox(desktops_.Current());
  statusLabel.SetCaption(DesktopTitle(settings_, desktops_.Current()));
  return change;
}

void PagerWindow::RecaptureCurrentDesktop() {
  // New pictures, without the side effects of a window coming forward (auto-hide, dismissing
  // a summoned window).
  std::vector<Hwnd> current;
  for (const ManagedWindow& w : Table) {
    if (w.desktop == desktops_.Current()) current.push_back(w.handle);
  }
  tracker_.RefreshQuietly(current, true);
}

GridChange PagerWindow::ApplySettings(bool rebuildGrid) {
  desktops_.SetAnimate(settings_.animate);
  desktops_.ReapplyWindowOpacity();
  GridChange change;
  if (rebuildGrid) change = ApplyGrid(settings_.columns.value_or(1), settings_.rows.value_or(1));
  // The desktops' names may have changed.
  ShowDesktopNames();
  statusLabel.SetCaption(DesktopTitle(settings_, desktops_.Current()));
  BlankCurrentMiniatures();
  RecaptureCurrentDesktop();
  if (settings_.opacity) transparency::SetWindowAlpha(ws_, hWnd(), settings_.PagerAlpha());
  // The pager comes out shown and repainted (also when it was put away when the dialog was
  // opened from the tray icon).
  if (!IsShown()) Show();
  Refresh();
  pagerShown_ = true;
  return change;
}

void PagerWindow::BlankCurrentMiniatures() {
  for (const ManagedWindow& w : Table) {
    if (w.desktop == desktops_.Current()) miniatureView_.Blank(w.handle);
  }
}

}  // namespace vd
