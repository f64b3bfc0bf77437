// What the mouse does on a miniature: a press selects its window, a click raises the window
// (switching to its desktop first), a drag moves the miniature and a drop sends the window to
// the cell it was dropped on, at the matching place on the screen; a right click opens the
// window menu.
#pragma once

#include "core/WindowTable.h"
#include "desktops/DesktopSwitcher.h"
#include "forms/Backend.h"
#include "forms/ControlArray.h"
#include "forms/Controls.h"
#include "gestures/DragGesture.h"
#include "gestures/WindowMenu.h"
#include "pager/HoverTracker.h"
#include "pager/MiniatureView.h"
#include "platform/WindowSystem.h"
#include "tracking/WindowGeometry.h"
#include "tracking/WindowTracker.h"

namespace vd {

class MiniatureGestures {
 public:
  struct Parts {
    WindowSystem& ws;
    const WindowTable& table;
    const WindowGeometry& geometry;
    const forms::ControlArray<forms::PictureBox>& cells;
    forms::ControlArray<forms::PictureBox>& miniatures;
    DesktopSwitcher& desktops;
    WindowTracker& tracker;
    MiniatureView& miniatureView;
    HoverTracker& hover;
    WindowMenu& windowMenu;
  };
  explicit MiniatureGestures(Parts parts) : p_(parts) {}
  MiniatureGestures(const MiniatureGestures&) = delete;
  MiniatureGestures& operator=(const MiniatureGestures&) = delete;

  // The miniature's mouse events (positions in twips inside the miniature).
  void OnMouseDown(int miniature, int button, float x, float y);
  void OnMouseMove(int miniature, int button, float x, float y);
  void OnMouseUp(int miniature, int button);
  // The dragged miniature lost the mouse capture, or is going away: the drag ends, nothing is
  // dropped, and the miniature goes back to its window's place.
  void EndDragWithoutDrop(int miniature);
  // Raises a managed window, switching to its desktop first (a click on its miniature, a pick
  // in the window list).
  void ActivateWindow(Hwnd hwnd);

  // The window whose miniature was pressed or activated last.
  Hwnd Selected() const { return selected_; }
  const DragGesture& Drag() const { return drag_; }

 private:
  void Select(Hwnd hwnd);
  void FollowPointer(int miniature, float x, float y);
  void Drop(int miniature);

  Parts p_;
  DragGesture drag_;
  Hwnd selected_ = 0;
};

}  // namespace vd
