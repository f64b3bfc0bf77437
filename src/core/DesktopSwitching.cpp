// Switching desktops: a desktop is nothing but the number in a row's "Desktop" column; opening
// one hides every managed window of the others and shows its own. Also the placing of one
// window on a desktop and the adding of desktop cells.
#include "core/Program.h"
#include "core/Text.h"
#include "core/frmMain.h"
#include "core/modTransparent.h"

namespace vd {

void frmMain::OpenDesktop(int16_t desktop) {
  // Desktops that do not exist are never opened: that would hide every window.
  if (desktop < 1 || desktop > DesktopCount) return;
  const Hwnd foregroundBefore = ws_.GetForegroundWindow();
  switching_ = true;
  PaintDesktopCell(CurrentDesktop, 315, ColorNormal, 0);
  PaintDesktopCell(desktop, 315, ColorSelected, 0);
  CurrentDesktop = desktop;
  // The windows of the other desktops hide side by side, not one after the other.
  ws_.BeginShowBatch();
  for (Hwnd hwnd : ManagedWindows()) {
    const std::string key = WindowTable::KeyOf(hwnd);
    if (hwnd == PagerHandle || !Table.RowExists(key)) continue;
    if (Table.Get(key, WindowTable::kShowAll).empty() &&
        AsNumber(Table.Get(key, WindowTable::kDesktop)) != desktop) {
      HideWindow(hwnd);
    }
  }
  // Without slides this desktop's windows are asked to show right after, in the same batch,
  // and one wait covers them all; slides start from windows that are hidden.
  if (AnimateMode) ws_.EndShowBatch();
  ShowDesktop(desktop);
  LastActiveWindow = 0;
  switching_ = false;
  SaveRecoveryRecord();
  KeepFocusVisible(foregroundBefore);
}

void frmMain::KeepFocusVisible(Hwnd foregroundBefore) {
  if (!IsManaged(foregroundBefore) || ws_.IsWindowVisible(foregroundBefore)) return;
  // The top-most shown window of the current desktop, walking the Z order from the top.
  int guard = 0;
  for (Hwnd w = ws_.GetWindow(hWnd(), GW_HWNDFIRST); w != 0 && guard < 100000;
       w = ws_.GetWindow(w, GW_HWNDNEXT), ++guard) {
    const std::string key = WindowTable::KeyOf(w);
    if (w == PagerHandle || !Table.RowExists(key) || !ws_.IsWindowVisible(w)) continue;
    if (Table.Get(key, WindowTable::kShowAll) == "1" ||
        AsNumber(Table.Get(key, WindowTable::kDesktop)) == CurrentDesktop) {
      ws_.SetForegroundWindow(w);
      return;
    }
  }
  ws_.SetForegroundWindow(hWnd());
}

void frmMain::ShowDesktop(int16_t desktop) {
  MoveSelectionBox(desktop);
  // Without slides the windows show side by side; their transparency is set once they are
  // shown (a window made layered while hidden may not be drawn when it shows).
  const bool together = !AnimateMode;
  std::vector<std::pair<Hwnd, std::string>> shown;  // the window and its row key
  if (together) ws_.BeginShowBatch();
  for (Hwnd hwnd : ManagedWindows()) {
    const std::string key = WindowTable::KeyOf(hwnd);
    if (!Table.RowExists(key)) continue;  // it closed while another window was shown
    const bool showAll = Table.Get(key, WindowTable::kShowAll) == "1";
    if (AsNumber(Table.Get(key, WindowTable::kDesktop)) == desktop) {
      if (AnimateMode && Table.Get(key, WindowTable::kShowAll).empty()) {
        // The window slides in to its own left edge, read from the window itself.
        MoveIn(hwnd, GetWindowBounds(hwnd).left);
      } else {
        SetWindowShown(hwnd, true);
        if (!showAll) shown.emplace_back(hwnd, key);
      }
    }
    if (showAll) {
      int32_t v = AsNumber(Table.Get(key, WindowTable::kVirtualWindow));
      if (picWin.Exists(v) && v > 0) picWin(v).SetVisible(false);
      PlaceMiniature(hwnd, desktop);
      SetWindowShown(hwnd, true);
      shown.emplace_back(hwnd, key);
    }
  }
  if (together) ws_.EndShowBatch();
  for (const auto& [hwnd, key] : shown) {
    if (Table.Get(key, WindowTable::kShowAll) == "1") {
      if (!ReapplyTransparency(hwnd)) MakeOpaque(hwnd);
    } else if (auto a = ToInt32(Table.Get(key, WindowTable::kTransparent))) {
      modTransparent::SetWindowAlpha(ws_, hwnd, *a);
    }
  }
  FillWindowMenus(desktop);
}

void frmMain::MoveOut() {
  if (!AnimateMode) return;
  for (Hwnd hwnd : ManagedWindows()) {
    const std::string key = WindowTable::KeyOf(hwnd);
    if (!Table.RowExists(key) || !Table.Get(key, WindowTable::kShowAll).empty() ||
        AsNumber(Table.Get(key, WindowTable::kDesktop)) != CurrentDesktop) {
      continue;
    }
    // The slide starts from the window's real rectangle and puts it back there, to the pixel.
    const Rect r = GetWindowBounds(hwnd);
    int32_t x = r.left;
    modTransparent::SetWindowAlpha(ws_, hwnd, 254);
    for (int a = 254; a > 0; a -= 40) {
      x -= 20;
      ws_.MoveWindow(hwnd, x, r.top, r.Width(), r.Height(), true);
      modTransparent::SetWindowAlpha(ws_, hwnd, a);
    }
    HideWindow(hwnd);
    ws_.MoveWindow(hwnd, r.left, r.top, r.Width(), r.Height(), true);
    MakeOpaque(hwnd);
  }
}

void frmMain::MoveIn(Hwnd hwnd, int32_t target) {
  if (!AnimateMode) return;
  const std::string key = WindowTable::KeyOf(hwnd);
  if (!Table.RowExists(key)) return;
  const Rect r = GetWindowBounds(hwnd);
  // A copy: showing and moving the window answers sent messages, and the handlers they run
  // may take rows out of the table.
  const std::string transparent = Table.Get(key, WindowTable::kTransparent);
  const int own = ToInt32(transparent).value_or(255);
  int32_t x = target + 60;
  ws_.MoveWindow(hwnd, x, r.top, r.Width(), r.Height(), true);
  modTransparent::SetWindowAlpha(ws_, hwnd, 0);
  SetWindowShown(hwnd, true);
  int a = 0;
  while (x > target) {
    x -= 5;
    ws_.MoveWindow(hwnd, x, r.top, r.Width(), r.Height(), true);
    modTransparent::SetWindowAlpha(ws_, hwnd, a);
    if (transparent.empty() || a + 10 <= own) {
      a += 10;
    } else {
      a = own;
    }
  }
  ws_.MoveWindow(hwnd, target, r.top, r.Width(), r.Height(), true);
  // The slide ends with the window as the user left it: opaque (its own layering), or at the
  // transparency the user chose. The layered style is set anew while the window is shown:
  // some systems do not draw a window that became layered while it was hidden.
  if (transparent.empty()) {
    MakeOpaque(hwnd);
  } else {
    modTransparent::ClearWindowAlpha(ws_, hwnd);
    modTransparent::SetWindowAlpha(ws_, hwnd, own);
  }
}

void frmMain::MakeOpaque(Hwnd hwnd) {
  auto own = OriginallyLayered.find(hwnd);
  if (own == OriginallyLayered.end()) {
    modTransparent::ClearWindowAlpha(ws_, hwnd);
    return;
  }
  // The application layered this window itself: give it back its own layering.
  const int32_t exStyle = ws_.GetWindowLongA(hwnd, GWL_EXSTYLE);
  if (!(static_cast<uint32_t>(exStyle) & WS_EX_LAYERED)) {
    ws_.SetWindowLongA(hwnd, GWL_EXSTYLE, static_cast<int32_t>(exStyle | WS_EX_LAYERED));
  }
  if (own->second.hasAttributes) {
    ws_.SetLayeredWindowAttributes(hwnd, own->second.colorKey, own->second.alpha,
                                   own->second.flags);
  }
}

void frmMain::HideWindow(Hwnd hwnd) {
  const std::string key = WindowTable::KeyOf(hwnd);
  if (!Table.RowExists(key)) return;
  if (Table.Get(key, WindowTable::kShowAll) != "1") SetWindowShown(hwnd, false);
}

void frmMain::PlaceWindow(int16_t desktop, Hwnd hwnd, float left, float top, float width,
                          float height) {
  const std::string key = WindowTable::KeyOf(hwnd);
  if (!Table.RowExists(key)) return;
  Table.Set(key, WindowTable::kDesktop, std::to_string(desktop));
  if (Table.Get(key, WindowTable::kOnTop) == "0") {
    // To the top of the Z order without staying top-most.
    ws_.SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, kRaiseFlags);
    ws_.SetWindowPos(hwnd, HWND_NOTOPMOST, 0, 0, 0, 0, kRaiseFlags);
  }
  if (left == 0 && top == 0 && width == 0 && height == 0) return;
  if (desktop != CurrentDesktop) HideWindow(hwnd);
  const float sx = ScreenWidthPx > 0 ? CellWidth / ScreenWidthPx : 0.0f;
  const float sy = ScreenHeightPx > 0 ? CellHeight / ScreenHeightPx : 0.0f;
  if (sx > 0 && sy > 0) {
    ws_.MoveWindow(hwnd, RoundEven(left / sx), RoundEven(top / sy), RoundEven(width / sx),
                   RoundEven(height / sy), true);
  }
  Table.Set(key, WindowTable::kLeft, FormatSingle(left));
  Table.Set(key, WindowTable::kTop, FormatSingle(top));
}

std::vector<Hwnd> frmMain::ManagedWindows() const {
  std::vector<Hwnd> windows;
  windows.reserve(static_cast<size_t>(Table.Count()));
  for (int i = 1; i <= Table.Count(); ++i) windows.push_back(Table.HandleAt(i));
  return windows;
}

bool frmMain::ReapplyTransparency(Hwnd hwnd) {
  const std::string& alpha = Table.Get(WindowTable::KeyOf(hwnd), WindowTable::kTransparent);
  if (alpha.empty()) return false;
  if (auto a = ToInt32(alpha)) modTransparent::SetWindowAlpha(ws_, hwnd, *a);
  return true;
}

void frmMain::AddDesktop(int column, int row) {
  if (DesktopCount == 1) PaintDesktopCell(1, 315, ColorNormal, 0);
  DesktopCount = static_cast<int16_t>(DesktopCount + 1);
  const int k = DesktopCount;
  forms::PictureBox& cell = lblDesktop.Exists(k) ? lblDesktop(k) : lblDesktop.Load(k);
  const float w = lblDesktop(1).Width();
  const float h = lblDesktop(1).Height();
  const float t1 = lblDesktop(1).Top();
  cell.Move(static_cast<float>(column - 1) * w + 1 + static_cast<float>(column - 1),
            static_cast<float>(row - 1) * h + t1 + static_cast<float>(row - 1), w, h);
  PaintDesktopCell(k, 315, k == CurrentDesktop ? ColorSelected : ColorNormal, 0);
  if (CurrentDesktop == 1 && k == 2) PaintDesktopCell(1, 315, ColorSelected, 0);
  cell.SetVisible(true);
  cell.Refresh();
  MoveSelectionBox(k);
}

}  // namespace vd
