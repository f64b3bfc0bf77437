#include "pager/HoverTracker.h"

#include <string>
#include <utility>

#include "pager/PreviewPictures.h"
#include "pager/PreviewWindow.h"
#include "tracking/WindowGeometry.h"

namespace vd {

HoverTracker::HoverTracker(Pager pager)
    : pager_(std::move(pager)),
      cellHoverTimer_(pager_.form, "cellHoverTimer", 1, false),
      miniatureHoverTimer_(pager_.form, "miniatureHoverTimer", 1, false) {
  cellHoverTimer_.Tick = [this] { EndCellHover(); };
  miniatureHoverTimer_.Tick = [this] { EndMiniatureHover(); };
  pager_.preview.FadedIn = [this] { previewFading_ = false; };
}

bool HoverTracker::IsCursorOver(Hwnd hwnd) const {
  Point p;
  if (hwnd == 0 || !pager_.ws.GetCursorPos(&p)) return false;
  return pager_.ws.WindowFromPoint(p) == hwnd;
}

void HoverTracker::ShowCurrentDesktopCaption() {
  pager_.statusLabel.SetCaption(DesktopTitle(pager_.settings, pager_.currentDesktop()));
}

void HoverTracker::StartPreview() {
  const ManagedWindow* window = pager_.table.Find(restingWindow_);
  if (window == nullptr || window->desktop == pager_.currentDesktop()) return;
  previewFading_ = true;
  // The window's last full-size picture, at the window's own place and size.
  const int32_t v = window->miniature;
  const PreviewPictures& pictures = pager_.previewPictures;
  pager_.preview.StartPreview(pager_.geometry.Bounds(restingWindow_),
                              [&pictures, v](Bitmap& surface) { pictures.DrawInto(v, surface); });
}

void HoverTracker::HidePreview() {
  previewFading_ = false;
  pager_.preview.Hide();
}

void HoverTracker::OnCellMouseMove(int cell) {
  restingWindow_ = 0;
  pager_.preview.Hide();
  HoverCell(cell);
}

void HoverTracker::HoverCell(int cell) {
  const Settings& s = pager_.settings;
  const int current = pager_.currentDesktop();
  if (cellHovered_ && cell != hoveredCell_) {
    pager_.paintCell(hoveredCell_, hoveredCell_ == current ? s.colorSelected : s.colorNormal);
    cellHovered_ = false;
  }
  if (!cellHovered_) {
    cellHoverTimer_.SetEnabled(true);
    cellHovered_ = true;
    hoveredCell_ = cell;
    pager_.paintCell(cell, cell == current ? s.colorSelected : s.colorHover);
    pager_.statusLabel.SetCaption(DesktopTitle(pager_.settings, cell));
  }
}

void HoverTracker::EndCellHover() {
  // No cell is hovered (the miniature's window left the table, or the cell left the grid):
  // nothing to end, and the timer stops instead of ticking until the next hover.
  const bool cellExists = hoveredCell_ > 0 && pager_.cells.Exists(hoveredCell_);
  if (cellExists && IsCursorOver(pager_.cells(hoveredCell_).hWnd())) return;
  cellHoverTimer_.SetEnabled(false);
  cellHovered_ = false;
  if (!cellExists || overMiniature_) return;
  const Settings& s = pager_.settings;
  const bool overMiniature = pager_.miniatures.Exists(hoveredMiniature_) &&
                             IsCursorOver(pager_.miniatures(hoveredMiniature_).hWnd());
  if (hoveredCell_ == pager_.currentDesktop()) {
    if (!overMiniature) pager_.paintCell(hoveredCell_, s.colorSelected);
  } else {
    pager_.paintCell(hoveredCell_, overMiniature ? s.colorHover : s.colorNormal);
  }
}

void HoverTracker::OnMiniatureMouseMove(int miniature) {
  if (!pager_.miniatures.Exists(miniature)) return;
  pager_.statusLabel.SetCaption(pager_.miniatures(miniature).ToolTipText());
  if (previewFading_) return;
  restingWindow_ = pager_.table.WindowWithMiniature(miniature);
  if (hoveredMiniature_ != miniature) {
    overMiniature_ = false;
    ShowCurrentDesktopCaption();
    restTicks_ = 0;
  }
  if (!overMiniature_) {
    hoveredMiniature_ = miniature;
    miniatureHoverTimer_.SetEnabled(true);
    overMiniature_ = true;
  }
  cellHoverTimer_.SetEnabled(true);
  cellHovered_ = true;
  const ManagedWindow* window = pager_.table.Find(restingWindow_);
  hoveredCell_ = window != nullptr ? window->desktop : 0;
}

void HoverTracker::EndMiniatureHover() {
  const Settings& s = pager_.settings;
  if (pager_.miniatures.Exists(hoveredMiniature_) &&
      IsCursorOver(pager_.miniatures(hoveredMiniature_).hWnd())) {
    return;
  }
  miniatureHoverTimer_.SetEnabled(false);
  overMiniature_ = false;
  restTicks_ = 0;
  ShowCurrentDesktopCaption();
  if (hoveredCell_ == pager_.currentDesktop()) {
    pager_.paintCell(hoveredCell_, s.colorSelected);
    return;
  }
  // Hover when the cursor is over the cell of the miniature's window's desktop.
  const ManagedWindow* window =
      pager_.table.Find(pager_.table.WindowWithMiniature(hoveredMiniature_));
  const int desktop = window != nullptr ? window->desktop : 0;
  const bool overCell = pager_.cells.Exists(desktop) && IsCursorOver(pager_.cells(desktop).hWnd());
  pager_.paintCell(hoveredCell_, overCell ? s.colorHover : s.colorNormal);
}

void HoverTracker::HitTest(float originX, float originY, float scale) {
  Point p;
  if (!pager_.ws.GetCursorPos(&p)) return;
  const Settings& s = pager_.settings;
  const int current = pager_.currentDesktop();
  const float x = static_cast<float>(p.x), y = static_cast<float>(p.y);
  bool inCell = false;
  for (int i = 1; i <= pager_.cells.UBound(); ++i) {
    if (!pager_.cells.Exists(i)) continue;
    const forms::PictureBox& cell = pager_.cells(i);
    const float left = originX + cell.Left() * scale, top = originY + cell.Top() * scale;
    if (left < x && x < left + cell.Width() * scale && top < y && y < top + cell.Height() * scale) {
      inCell = true;
      cursorCell_ = i;
      if (i != current) pager_.paintCell(i, s.colorHover);
    } else {
      pager_.paintCell(i, i == current ? s.colorSelected : s.colorNormal);
    }
  }
  // Out of every cell, with no hover to end: the cells are painted as they rest, and the tick
  // stops asking until the mouse comes back.
  if (!inCell && !cellHovered_ && !overMiniature_) tracking_ = false;
}

void HoverTracker::CountRestTick() {
  if (!pager_.settings.preview) return;
  if (overMiniature_) {
    // Counted up to the tenth tick only: a rest of any length opens it once.
    if (restTicks_ < 10 && ++restTicks_ == 10) StartPreview();
  } else {
    restTicks_ = 0;
  }
}

}  // namespace vd
