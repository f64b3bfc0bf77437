// What the mouse does on a miniature: a click raises the window (switching to its desktop
// first), a drag moves the miniature and a drop sends the window to the cell it was dropped
// on, at the matching place on the screen; a right click opens the window menu.
#include "core/Program.h"
#include "core/Text.h"
#include "pager/PagerWindow.h"
#include "pager/PreviewWindow.h"

namespace vd {

void PagerWindow::OnMiniatureMouseDown(int index, int button, float x, float y) {
  if (!miniatures.Exists(index)) return;
  hover_.HidePreview();
  if (IsManaged(SelectedWindow)) miniatureView_.NotInFront(SelectedWindow);
  SelectedWindow = WindowOfMiniature(index);
  if (button == forms::kLeftButton && miniatureDrag_.Press(index, x, y)) {
    miniatures(index).ZOrder(0);
  }
}

void PagerWindow::OnMiniatureMouseMove(int index, int button, float x, float y) {
  if (!miniatures.Exists(index)) return;
  statusLabel.SetCaption(miniatures(index).ToolTipText());
  if (button == forms::kLeftButton && miniatureDrag_.Move(x, y)) {
    hover_.HidePreview();
    DragMiniature(button, x, y, index);
  }
  hover_.OnMiniatureMouseMove(index);
}

void PagerWindow::EndDragWithoutDrop(int index) {
  if (!miniatureDrag_.EndWithoutDrop(index)) return;
  // The miniature goes back to where its window is.
  if (IsManaged(SelectedWindow)) miniatureView_.Refresh(SelectedWindow, false);
}

void PagerWindow::DragMiniature(int button, float x, float y, int index) {
  if (button != forms::kLeftButton || !miniatures.Exists(index)) return;
  const float tppX = static_cast<float>(program_.backend.TwipsPerPixelX());
  const float tppY = static_cast<float>(program_.backend.TwipsPerPixelY());
  forms::PictureBox& miniature = miniatures(index);
  const DragGesture::Grip& grab = miniatureDrag_.Grab();
  miniature.SetLeft(miniature.Left() + x / tppX - grab.x / tppX);
  miniature.SetTop(miniature.Top() + y / tppY - grab.y / tppY);
}

void PagerWindow::OnMiniatureMouseUp(int index, int button, float, float) {
  tracker_.NoteMoved(0);
  if (!miniatures.Exists(index)) return;
  if (button == forms::kRightButton) {
    windowMenu.Open(SelectedWindow);
    return;
  }
  if (button != forms::kLeftButton) return;
  if (!miniatureDrag_.IsDragging()) {
    ActivateWindow(WindowOfMiniature(index));
    return;
  }
  // The drop goes to the cell the hit test last found under the cursor; before any hit, and
  // for a cell the grid no longer has, to the current desktop.
  int target = hover_.CursorCell();
  if (target < 1 || target > desktops_.Count() || !cells.Exists(target)) {
    target = desktops_.Current();
    hover_.NoteCursorCell(target);
  }
  const forms::PictureBox& miniature = miniatures(index);
  const float left = miniature.Left() - cells(target).Left();
  const float top = miniature.Top() - cells(target).Top();
  if (IsManaged(SelectedWindow)) {
    desktops_.Place(target, SelectedWindow, left, top, geometry.Scaled(SelectedWindow).width,
                    geometry.Scaled(SelectedWindow).height);
    if (DesktopOf(SelectedWindow) == desktops_.Current()) {
      desktops_.SetShown(SelectedWindow, true);
    }
  }
  miniatureDrag_.End();
}

void PagerWindow::ActivateWindow(Hwnd hwnd) {
  if (windowMenu.ConsumeSkippedActivation()) return;
  if (miniatureDrag_.IsDragging()) return;
  const ManagedWindow* w = Table.Find(hwnd);
  if (w == nullptr) return;
  const int desktop = w->desktop;
  if (!w->showAll && desktop != desktops_.Current()) {
    desktops_.SwitchTo(desktop);
  }
  if (IsManaged(SelectedWindow)) miniatureView_.NotInFront(SelectedWindow);
  SelectedWindow = hwnd;
  // Raised to the top of the ordinary windows, without the keyboard focus.
  // The switch may have forgotten the window meanwhile.
  w = Table.Find(hwnd);
  if (w != nullptr && !w->onTop) {
    ws_.SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, kRaiseFlags);
    ws_.SetWindowPos(hwnd, HWND_NOTOPMOST, 0, 0, 0, 0, kRaiseFlags);
  }
  tracker_.Refresh();
}

}  // namespace vd
