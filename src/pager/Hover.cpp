// Hover tracking: the cell under the mouse is highlighted, the status caption follows the
// mouse, the cell under the cursor is noted for drops, and resting on a hidden window's
// miniature arms its preview. refreshTimer also refreshes the window table every 100 ms.
#include "core/Program.h"
#include "core/Text.h"
#include "pager/PagerWindow.h"
#include "pager/PreviewWindow.h"

namespace vd {

bool PagerWindow::IsCursorOver(Hwnd hwnd) {
  Point p;
  if (hwnd == 0 || !ws_.GetCursorPos(&p)) return false;
  return ws_.WindowFromPoint(p) == hwnd;
}

void PagerWindow::StartPreview() {
  const Hwnd window = HoverWindow;
  if (window == 0 || !IsManaged(window) || DesktopOf(window) == CurrentDesktop) return;
  PreviewShown = true;
  // The window's last full-size picture, at the window's own place and size.
  const int32_t v = MiniatureOf(window);
  preview_->StartPreview(geometry.Bounds(window),
                         [this, v](Bitmap& surface) { previewPictures.DrawInto(v, surface); });
}

void PagerWindow::OnCellMouseMove(int index) {
  HoverWindow = 0;
  preview_->Hide();
  HoverCell(index);
}

void PagerWindow::HoverCell(int index) {
  auto paintState = [this](int cell) {
    PaintDesktopCell(cell, 315,
                     cell == CurrentDesktop ? settings_.colorSelected : settings_.colorNormal, 0);
  };
  if (HoverActive && index != HoverDesktop) {
    paintState(HoverDesktop);
    HoverActive = false;
  }
  if (!HoverActive) {
    cellHoverTimer.SetEnabled(true);
    HoverActive = true;
    HoverDesktop = static_cast<int16_t>(index);
    PaintDesktopCell(index, 315,
                     index == CurrentDesktop ? settings_.colorSelected : settings_.colorHover, 0);
    statusLabel.SetCaption("Desktop " + std::to_string(index));
  }
}

void PagerWindow::EndCellHover() {
  // No cell is hovered (the miniature's window left the table, or the cell left the grid):
  // nothing to end, and the timer stops instead of ticking until the next hover.
  const bool cellExists = HoverDesktop > 0 && cells.Exists(HoverDesktop);
  if (cellExists && IsCursorOver(cells(HoverDesktop).hWnd())) return;
  cellHoverTimer.SetEnabled(false);
  HoverActive = false;
  if (!cellExists) return;
  if (OverMiniature) return;
  const bool overMiniature =
      miniatures.Exists(HoverMiniature) && IsCursorOver(miniatures(HoverMiniature).hWnd());
  if (HoverDesktop == CurrentDesktop) {
    if (!overMiniature) PaintDesktopCell(HoverDesktop, 315, settings_.colorSelected, 0);
  } else {
    PaintDesktopCell(HoverDesktop, 315,
                     overMiniature ? settings_.colorHover : settings_.colorNormal, 0);
  }
}

void PagerWindow::MiniatureHover(int index) {
  if (!miniatures.Exists(index)) return;
  statusLabel.SetCaption(miniatures(index).ToolTipText());
  if (PreviewShown) return;
  HoverWindow = WindowOfMiniature(index);
  if (HoverMiniature != index) {
    OverMiniature = false;
    statusLabel.SetCaption("Desktop " + std::to_string(CurrentDesktop));
    PreviewTicks = 0;
  }
  if (!OverMiniature) {
    HoverMiniature = index;
    miniatureHoverTimer.SetEnabled(true);
    OverMiniature = true;
  }
  cellHoverTimer.SetEnabled(true);
  HoverActive = true;
  HoverDesktop = static_cast<int16_t>(DesktopOf(HoverWindow));
}

void PagerWindow::EndMiniatureHover() {
  if (miniatures.Exists(HoverMiniature) && IsCursorOver(miniatures(HoverMiniature).hWnd())) return;
  miniatureHoverTimer.SetEnabled(false);
  OverMiniature = false;
  PreviewTicks = 0;
  statusLabel.SetCaption("Desktop " + std::to_string(CurrentDesktop));
  if (HoverDesktop == CurrentDesktop) {
    PaintDesktopCell(HoverDesktop, 315, settings_.colorSelected, 0);
    return;
  }
  // Hover when the cursor is over the cell of the miniature's window's desktop.
  const int desktop = DesktopOf(WindowOfMiniature(HoverMiniature));
  const bool overCell = cells.Exists(desktop) && IsCursorOver(cells(desktop).hWnd());
  PaintDesktopCell(HoverDesktop, 315, overCell ? settings_.colorHover : settings_.colorNormal, 0);
}

void PagerWindow::OnRefreshTick() {
  UnloadQueuedMiniatures();
  // Which cell the cursor is strictly inside (the edge pixels count as outside).
  Point p;
  if (ws_.GetCursorPos(&p)) {
    const float tppX = static_cast<float>(program_.backend.TwipsPerPixelX());
    const float tppY = static_cast<float>(program_.backend.TwipsPerPixelY());
    const float originX = Left() / tppX, originY = Top() / tppY;
    const float x = static_cast<float>(p.x), y = static_cast<float>(p.y);
    for (int i = 1; i <= DesktopCount; ++i) {
      if (!cells.Exists(i)) continue;
      const forms::PictureBox& cell = cells(i);
      const float left = originX + cell.Left(), top = originY + cell.Top();
      if (left < x && x < left + cell.Width() && top < y && y < top + cell.Height()) {
        CursorCell = static_cast<int16_t>(i);
        if (i != CurrentDesktop) PaintDesktopCell(i, 315, settings_.colorHover, 0);
      } else {
        PaintDesktopCell(i, 315,
                         i == CurrentDesktop ? settings_.colorSelected : settings_.colorNormal, 0);
      }
    }
  }
  RefreshWindows();
  recoveryRecord_.SaveIfBehind();
  // Ten ticks on one miniature open the preview, once per stay.
  if (settings_.preview) {
    if (OverMiniature) {
      // Counted up to the tenth tick only: a rest of any length opens it once.
      if (PreviewTicks < 10 && ++PreviewTicks == 10) StartPreview();
    } else {
      PreviewTicks = 0;
    }
  }
}

}  // namespace vd
