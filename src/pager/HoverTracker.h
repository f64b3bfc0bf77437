// Hover over the pager: the cell under the mouse is highlighted and the status caption follows
// the mouse, the cell the cursor is strictly inside is noted for drops, and a rest of ten ticks
// on a hidden window's miniature fades its preview in. It owns the two timers that end a hover
// once the mouse has left the cell or the miniature.
#pragma once

#include <cstdint>
#include <functional>

#include "core/WindowTable.h"
#include "forms/ControlArray.h"
#include "forms/Controls.h"
#include "forms/Timer.h"
#include "platform/WindowSystem.h"
#include "settings/Settings.h"

namespace vd {

class PreviewPictures;
class PreviewWindow;
class WindowGeometry;

class HoverTracker {
 public:
  // The parts of the pager the hover reads and draws on.
  struct Pager {
    forms::Container& form;  // parent of the hover timers
    WindowSystem& ws;
    const Settings& settings;
    const WindowTable& table;
    const WindowGeometry& geometry;
    forms::ControlArray<forms::PictureBox>& cells;
    forms::ControlArray<forms::PictureBox>& miniatures;
    forms::Label& statusLabel;
    PreviewWindow& preview;
    const PreviewPictures& previewPictures;
    std::function<int()> currentDesktop;
    std::function<void(int cell, uint32_t colour)> paintCell;
  };
  explicit HoverTracker(Pager pager);
  HoverTracker(const HoverTracker&) = delete;
  HoverTracker& operator=(const HoverTracker&) = delete;

  // The mouse moved over a cell's free area: the preview goes and the cell is highlighted.
  void OnCellMouseMove(int cell);
  // The mouse moved over a miniature: the caption shows its window, the rest count starts
  // when it is a new miniature, and its desktop's cell counts as hovered.
  void OnMiniatureMouseMove(int miniature);
  // The press or the drag of a miniature ends its preview.
  void HidePreview();

  // The mouse moved over the pager: the tick's hit test runs until it finds the mouse gone.
  void PointerMoved() { tracking_ = true; }
  bool Tracking() const { return tracking_; }
  // The hit test of each refresh tick: which cell the cursor is strictly inside (the edge
  // pixels count as outside), painting the cells to match. originX/Y: the pager's client
  // origin on the screen, in screen pixels; scale: screen pixels per pixel of the pager's
  // layout (1 at 100 %).
  void HitTest(float originX, float originY, float scale);
  // The rest count of each refresh tick: ten ticks on one miniature open the preview, once
  // per stay.
  void CountRestTick();
  // Shows the preview of the window whose miniature the mouse rests on, unless that window is
  // on the current desktop (it is on the screen anyway) or none was entered.
  void StartPreview();

  // The cell the hit test last found under the cursor; 0 before any, or after the grid was
  // rebuilt.
  int CursorCell() const { return cursorCell_; }
  void ForgetCursorCell() { cursorCell_ = 0; }
  // A drop that found no cell fell back on this one; so does the next, until the hit test
  // finds the cursor in a cell.
  void NoteCursorCell(int cell) { cursorCell_ = cell; }
  // A window left the table: a rest on its miniature opens nothing.
  void ForgetWindow(Hwnd hwnd) {
    if (restingWindow_ == hwnd) restingWindow_ = 0;
  }
  bool CellHoverRunning() const { return cellHoverTimer_.Enabled(); }

 private:
  void HoverCell(int cell);
  void EndCellHover();
  void EndMiniatureHover();
  bool IsCursorOver(Hwnd hwnd) const;
  void ShowCurrentDesktopCaption();

  Pager pager_;
  forms::Timer cellHoverTimer_;       // ends a cell's hover highlight
  forms::Timer miniatureHoverTimer_;  // ends a miniature's hover
  bool cellHovered_ = false;          // a cell is hover-highlighted (cellHoverTimer_ runs)
  int hoveredCell_ = 0;               // the hover-highlighted cell
  bool overMiniature_ = false;        // the mouse is over a miniature (miniatureHoverTimer_ runs)
  int32_t restTicks_ = 0;             // refresh ticks counted on one miniature, up to ten
  int cursorCell_ = 0;                // the cell the hit test last found under the cursor
  int32_t hoveredMiniature_ = 0;      // the miniature the mouse last entered
  Hwnd restingWindow_ = 0;            // its window; 0 after a move over a cell's free area
  bool previewFading_ = false;        // the preview is fading in
  bool tracking_ = false;             // the mouse was over the pager at the last hit test
};

}  // namespace vd
