// Switching desktops: a desktop is nothing but the number in a row's "Desktop" column; opening
// one hides every managed window of the others and shows its own. Also the placing of one
// window on a desktop and the adding of desktop cells.
#include <algorithm>

#include "core/Program.h"
#include "core/Text.h"
#include "desktops/Transparency.h"
#include "pager/PagerWindow.h"
#include "settings/Hotkeys.h"

namespace vd {

void PagerWindow::OpenDesktop(int16_t desktop) {
  // Desktops that do not exist are never opened: that would hide every window.
  if (desktop < 1 || desktop > DesktopCount) return;
  const Hwnd foregroundBefore = ws_.GetForegroundWindow();
  recoveryRecord_.BeginBatch();
  PaintDesktopCell(CurrentDesktop, 315, settings_.colorNormal, 0);
  PaintDesktopCell(desktop, 315, settings_.colorSelected, 0);
  CurrentDesktop = desktop;
  // The windows of the other desktops hide side by side, not one after the other.
  ws_.BeginShowBatch();
  for (Hwnd hwnd : Table.Handles()) {
    const ManagedWindow* w = Table.Find(hwnd);
    if (hwnd == hWnd() || w == nullptr) continue;
    if (!w->showAll && w->desktop != desktop) HideWindow(hwnd);
  }
  // Without slides this desktop's windows are asked to show right after, in the same batch,
  // and one wait covers them all; slides start from windows that are hidden.
  if (AnimateMode) ws_.EndShowBatch();
  ShowDesktop(desktop);
  LastActiveWindow = 0;
  recoveryRecord_.EndBatch();
  KeepFocusVisible(foregroundBefore);
}

void PagerWindow::KeepFocusVisible(Hwnd foregroundBefore) {
  if (!IsManaged(foregroundBefore) || ws_.IsWindowVisible(foregroundBefore)) return;
  // The top-most shown window of the current desktop, walking the Z order from the top.
  int guard = 0;
  for (Hwnd w = ws_.GetWindow(hWnd(), GW_HWNDFIRST); w != 0 && guard < 100000;
       w = ws_.GetWindow(w, GW_HWNDNEXT), ++guard) {
    const ManagedWindow* managed = Table.Find(w);
    if (w == hWnd() || managed == nullptr || !ws_.IsWindowVisible(w)) continue;
    if (managed->showAll || managed->desktop == CurrentDesktop) {
      ws_.SetForegroundWindow(w);
      return;
    }
  }
  ws_.SetForegroundWindow(hWnd());
}

void PagerWindow::ShowDesktop(int16_t desktop) {
  MoveSelectionBox(desktop);
  // Without slides the windows show side by side; their transparency is set once they are
  // shown (a window made layered while hidden may not be drawn when it shows).
  const bool together = !AnimateMode;
  std::vector<Hwnd> shown;
  if (together) ws_.BeginShowBatch();
  for (Hwnd hwnd : Table.Handles()) {
    // Read before anything is shown: showing a window answers sent messages, whose handlers
    // may take records out of the table (a window that closes meanwhile is skipped).
    const ManagedWindow* w = Table.Find(hwnd);
    if (w == nullptr) continue;
    const bool showAll = w->showAll;
    const int32_t miniature = w->miniature;
    if (w->desktop == desktop) {
      if (AnimateMode && !showAll) {
        // The window slides in to its own left edge, read from the window itself.
        MoveIn(hwnd, geometry.Bounds(hwnd).left);
      } else {
        SetWindowShown(hwnd, true);
        if (!showAll) shown.push_back(hwnd);
      }
    }
    if (showAll) {
      if (miniature > 0 && miniatures.Exists(miniature)) miniatures(miniature).SetVisible(false);
      if (ManagedWindow* record = Table.Find(hwnd)) record->desktop = desktop;
      miniatureView_.Place(hwnd);
      SetWindowShown(hwnd, true);
      shown.push_back(hwnd);
    }
  }
  if (together) ws_.EndShowBatch();
  for (Hwnd hwnd : shown) {
    const ManagedWindow* w = Table.Find(hwnd);
    if (w == nullptr) continue;
    if (w->showAll) {
      if (!layering_.ReapplyTransparency(hwnd)) layering_.MakeOpaque(hwnd);
    } else if (w->transparency) {
      transparency::SetWindowAlpha(ws_, hwnd, *w->transparency);
    }
  }
  FillWindowMenus(desktop);
}

void PagerWindow::MoveOut() {
  if (!AnimateMode) return;
  for (Hwnd hwnd : Table.Handles()) {
    const ManagedWindow* w = Table.Find(hwnd);
    if (w == nullptr || w->showAll || w->desktop != CurrentDesktop) continue;
    // The slide starts from the window's real rectangle and puts it back there, to the pixel.
    const Rect r = geometry.Bounds(hwnd);
    int32_t x = r.left;
    transparency::SetWindowAlpha(ws_, hwnd, 254);
    for (int a = 254; a > 0; a -= 40) {
      x -= 20;
      ws_.MoveWindow(hwnd, x, r.top, r.Width(), r.Height(), true);
      transparency::SetWindowAlpha(ws_, hwnd, a);
    }
    HideWindow(hwnd);
    ws_.MoveWindow(hwnd, r.left, r.top, r.Width(), r.Height(), true);
    layering_.MakeOpaque(hwnd);
  }
}

void PagerWindow::MoveIn(Hwnd hwnd, int32_t target) {
  if (!AnimateMode) return;
  const ManagedWindow* w = Table.Find(hwnd);
  if (w == nullptr) return;
  // Read once: showing and moving the window answers sent messages, and the handlers they run
  // may take records out of the table.
  const std::optional<int> transparency = w->transparency;
  const Rect r = geometry.Bounds(hwnd);
  const int own = transparency.value_or(255);
  int32_t x = target + 60;
  ws_.MoveWindow(hwnd, x, r.top, r.Width(), r.Height(), true);
  transparency::SetWindowAlpha(ws_, hwnd, 0);
  SetWindowShown(hwnd, true);
  int a = 0;
  while (x > target) {
    x -= 5;
    ws_.MoveWindow(hwnd, x, r.top, r.Width(), r.Height(), true);
    transparency::SetWindowAlpha(ws_, hwnd, a);
    if (!transparency || a + 10 <= own) {
      a += 10;
    } else {
      a = own;
    }
  }
  ws_.MoveWindow(hwnd, target, r.top, r.Width(), r.Height(), true);
  // The slide ends with the window as the user left it: opaque (its own layering), or at the
  // transparency the user chose. The layered style is set anew while the window is shown:
  // some systems do not draw a window that became layered while it was hidden.
  if (!transparency) {
    layering_.MakeOpaque(hwnd);
  } else {
    transparency::ClearWindowAlpha(ws_, hwnd);
    transparency::SetWindowAlpha(ws_, hwnd, own);
  }
}

void PagerWindow::HideWindow(Hwnd hwnd) {
  const ManagedWindow* w = Table.Find(hwnd);
  if (w != nullptr && !w->showAll) SetWindowShown(hwnd, false);
}

void PagerWindow::PlaceWindow(int16_t desktop, Hwnd hwnd, float left, float top, float width,
                              float height) {
  ManagedWindow* w = Table.Find(hwnd);
  if (w == nullptr) return;
  w->desktop = desktop;
  if (!w->onTop) {
    // To the top of the Z order without staying top-most.
    ws_.SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, kRaiseFlags);
    ws_.SetWindowPos(hwnd, HWND_NOTOPMOST, 0, 0, 0, 0, kRaiseFlags);
  }
  if (left == 0 && top == 0 && width == 0 && height == 0) return;
  if (desktop != CurrentDesktop) HideWindow(hwnd);
  const float sx =
      geometry.ScreenWidth() > 0 ? geometry.CellWidth() / geometry.ScreenWidth() : 0.0f;
  const float sy =
      geometry.ScreenHeight() > 0 ? geometry.CellHeight() / geometry.ScreenHeight() : 0.0f;
  if (sx > 0 && sy > 0) {
    ws_.MoveWindow(hwnd, RoundEven(left / sx), RoundEven(top / sy), RoundEven(width / sx),
                   RoundEven(height / sy), true);
  }
}

void PagerWindow::AddDesktop(int column, int row) {
  if (DesktopCount == 1) PaintDesktopCell(1, 315, settings_.colorNormal, 0);
  DesktopCount = static_cast<int16_t>(DesktopCount + 1);
  const int k = DesktopCount;
  forms::PictureBox& cell = cells.Exists(k) ? cells(k) : cells.Load(k);
  const float w = cells(1).Width();
  const float h = cells(1).Height();
  const float t1 = cells(1).Top();
  cell.Move(static_cast<float>(column - 1) * w + 1 + static_cast<float>(column - 1),
            static_cast<float>(row - 1) * h + t1 + static_cast<float>(row - 1), w, h);
  PaintDesktopCell(k, 315, k == CurrentDesktop ? settings_.colorSelected : settings_.colorNormal,
                   0);
  if (CurrentDesktop == 1 && k == 2) PaintDesktopCell(1, 315, settings_.colorSelected, 0);
  cell.SetVisible(true);
  cell.Refresh();
  MoveSelectionBox(k);
}

GridChange PagerWindow::ApplyGrid(int columns, int rows) {
  GridChange change;
  const int n = std::clamp(columns, 1, 9) * std::clamp(rows, 1, 9);
  for (int i = DesktopCount; i >= n + 1; --i) {
    if (moveToEntries.Exists(i)) moveToEntries.Unload(i);
  }
  for (ManagedWindow& w : Table) {
    if (w.desktop > n) {
      w.desktop = n;
      change.relocated = true;
    }
  }
  if (settings_.panicDesktop > n) {
    // Only a panic hotkey that was on is reported as switched off.
    change.panicDisabled = settings_.panicEnabled;
    settings_.panicEnabled = false;
    ws_.UnregisterHotKey(hWnd(), Hotkeys::kPanicHotkeyId);
  }
  SetupDesktops(columns, rows);
  // The current desktop vanished, or windows were moved onto it: the last remaining desktop
  // is opened, showing the windows moved there.
  if (CurrentDesktop > DesktopCount || (change.relocated && CurrentDesktop == DesktopCount)) {
    const bool animate = AnimateMode;
    AnimateMode = false;
    OpenDesktop(DesktopCount);
    AnimateMode = animate;
  }
  // Adding the cells moved the selection box along to the last one: it frames the current
  // desktop's cell again.
  MoveSelectionBox(CurrentDesktop);
  statusLabel.SetCaption("Desktop " + std::to_string(CurrentDesktop));
  return change;
}

GridChange PagerWindow::ApplySettings(bool rebuildGrid) {
  AnimateMode = settings_.animate;
  ReapplyWindowOpacity();
  GridChange change;
  if (rebuildGrid) change = ApplyGrid(settings_.columns.value_or(1), settings_.rows.value_or(1));
  BlankCurrentMiniatures();
  // The current desktop's windows get new pictures, without the side effects of a window
  // coming forward (auto-hide, dismissing a summoned window).
  replacingMiniatures_ = true;
  for (const Hwnd hwnd : Table.Handles()) {
    if (DesktopOf(hwnd) == CurrentDesktop) UpdateActiveWindow(hwnd, CurrentDesktop, true);
  }
  replacingMiniatures_ = false;
  if (settings_.opacity) transparency::SetWindowAlpha(ws_, hWnd(), settings_.PagerAlpha());
  // The pager comes out shown and repainted (also when it was put away when the dialog was
  // opened from the tray icon).
  if (!IsShown()) Show();
  Refresh();
  PagerShown = true;
  return change;
}

void PagerWindow::ReapplyWindowOpacity() {
  for (const Hwnd hwnd : Table.Handles()) {
    const ManagedWindow* w = Table.Find(hwnd);
    if (w == nullptr) continue;
    if (AnimateMode) {
      if (w->desktop == CurrentDesktop) transparency::SetWindowAlpha(ws_, hwnd, 255);
    } else if (!w->transparency) {
      layering_.MakeOpaque(hwnd);
    } else {
      transparency::SetWindowAlpha(ws_, hwnd, *w->transparency);
    }
  }
}

void PagerWindow::BlankCurrentMiniatures() {
  for (const ManagedWindow& w : Table) {
    if (w.desktop == CurrentDesktop) miniatureView_.Blank(w.handle);
  }
}

}  // namespace vd
