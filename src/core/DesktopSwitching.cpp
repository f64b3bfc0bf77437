// Switching desktops: a desktop is nothing but the number in a row's "Desktop" column; opening
// one hides every managed window of the others and shows its own. Also the placing of one
// window on a desktop and the adding of desktop cells.
#include "core/Program.h"
#include "core/Text.h"
#include "core/frmMain.h"
#include "core/modTransparent.h"

namespace vd {

namespace {
int32_t AsNumber(const std::string& text) { return ToInt32(text).value_or(0); }
}  // namespace

void frmMain::OpenDesktop(int16_t desktop) {
  PaintDesktopCell(CurrentDesktop, 315, ColorNormal, 0);
  PaintDesktopCell(desktop, 315, ColorSelected, 0);
  CurrentDesktop = desktop;
  for (int i = 1; i <= Table.Count(); ++i) {
    Hwnd hwnd = Table.HandleAt(i);
    if (hwnd == PagerHandle) continue;
    if (Table.GetAt(i, WindowTable::kShowAll).empty() &&
        AsNumber(Table.GetAt(i, WindowTable::kDesktop)) != desktop) {
      HideWindow(hwnd);
    }
  }
  ShowDesktop(desktop);
  LastActiveWindow = 0;
}

void frmMain::ShowDesktop(int16_t desktop) {
  MoveSelectionBox(desktop);
  for (int i = 1; i <= Table.Count(); ++i) {
    Hwnd hwnd = Table.HandleAt(i);
    const std::string key = Table.KeyAt(i);
    const bool showAll = Table.Get(key, WindowTable::kShowAll) == "1";
    if (AsNumber(Table.Get(key, WindowTable::kDesktop)) == desktop) {
      if (AnimateMode && Table.Get(key, WindowTable::kShowAll).empty()) {
        float factor = ScreenWidthPx > 0 ? CellWidth / ScreenWidthPx : 0.0f;
        float left = ToSingle(Table.Get(key, WindowTable::kLeft)).value_or(0.0f);
        MoveIn(hwnd, factor > 0 ? RoundEven(left / factor) : 0);
      } else {
        ws_.ShowWindow(hwnd, SW_SHOW);
        const std::string& alpha = Table.Get(key, WindowTable::kTransparent);
        if (!alpha.empty()) {
          if (auto a = ToInt32(alpha)) modTransparent::SetWindowAlpha(ws_, hwnd, *a);
        }
      }
    }
    if (showAll) {
      int32_t v = AsNumber(Table.Get(key, WindowTable::kVirtualWindow));
      if (picWin.Exists(v) && v > 0) picWin(v).SetVisible(false);
      PlaceMiniature(hwnd, desktop);
      ws_.ShowWindow(hwnd, SW_SHOW);
      if (!ReapplyTransparency(hwnd)) modTransparent::ClearWindowAlpha(ws_, hwnd);
    }
  }
  FillWindowMenus(desktop);
}

// The slides of the desktop transition come with window tracking; until then a switch shows
// and hides at once.
void frmMain::MoveOut() {}

void frmMain::MoveIn(Hwnd, int32_t) {}

void frmMain::HideWindow(Hwnd hwnd) {
  const std::string key = WindowTable::KeyOf(hwnd);
  if (!Table.RowExists(key)) return;
  if (Table.Get(key, WindowTable::kShowAll) != "1") ws_.ShowWindow(hwnd, SW_HIDE);
}

void frmMain::PlaceWindow(int16_t desktop, Hwnd hwnd, float left, float top, float width,
                          float height) {
  const std::string key = WindowTable::KeyOf(hwnd);
  if (!Table.RowExists(key)) return;
  Table.Set(key, WindowTable::kDesktop, std::to_string(desktop));
  if (Table.Get(key, WindowTable::kOnTop) == "0") {
    // To the top of the Z order without staying top-most.
    ws_.SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
    ws_.SetWindowPos(hwnd, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
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
