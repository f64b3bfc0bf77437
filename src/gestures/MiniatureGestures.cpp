#include "gestures/MiniatureGestures.h"

namespace vd {

void MiniatureGestures::Select(Hwnd hwnd) {
  // The window selected before has not come forward since: its miniature is raised again when
  // it does.
  if (p_.table.Contains(selected_)) p_.miniatureView.NotInFront(selected_);
  selected_ = hwnd;
}

void MiniatureGestures::OnMouseDown(int miniature, int button, float x, float y) {
  if (!p_.miniatures.Exists(miniature)) return;
  p_.hover.HidePreview();
  Select(p_.table.WindowWithMiniature(miniature));
  if (button == forms::kLeftButton && drag_.Press(miniature, x, y)) {
    p_.miniatures(miniature).ZOrder(0);
  }
}

void MiniatureGestures::OnMouseMove(int miniature, int button, float x, float y) {
  if (!p_.miniatures.Exists(miniature)) return;
  if (button == forms::kLeftButton && drag_.Move(x, y)) {
    p_.hover.HidePreview();
    p_.miniatureView.Hold(p_.table.WindowWithMiniature(miniature));
    FollowPointer(miniature, x, y);
  }
  p_.hover.OnMiniatureMouseMove(miniature);  // the status caption names its window
}

void MiniatureGestures::EndDragWithoutDrop(int miniature) {
  if (!drag_.EndWithoutDrop(miniature)) return;
  p_.miniatureView.Release();
  // The miniature goes back to where its window is.
  if (p_.table.Contains(selected_)) p_.miniatureView.Refresh(selected_, false);
}

void MiniatureGestures::FollowPointer(int miniature, float x, float y) {
  // The pointer's travel in the miniature's twips, in the pixels the pager places it in.
  forms::PictureBox& box = p_.miniatures(miniature);
  const DragGesture::Grip& grab = drag_.Grab();
  box.SetLeft(box.Left() + (x - grab.x) / forms::kTwipsPerPixel);
  box.SetTop(box.Top() + (y - grab.y) / forms::kTwipsPerPixel);
}

void MiniatureGestures::OnMouseUp(int miniature, int button) {
  p_.tracker.NoteMoved(0);
  if (!p_.miniatures.Exists(miniature)) return;
  if (button == forms::kRightButton) {
    p_.windowMenu.Open(selected_);
  } else if (button == forms::kLeftButton) {
    if (drag_.IsDragging()) {
      Drop(miniature);
    } else {
      ActivateWindow(p_.table.WindowWithMiniature(miniature));
    }
  }
}

void MiniatureGestures::Drop(int miniature) {
  // The drop goes to the cell the hit test last found under the cursor; before any hit, and
  // for a cell the grid no longer has, to the current desktop.
  DesktopSwitcher& desktops = p_.desktops;
  int target = p_.hover.CursorCell();
  if (target < 1 || target > desktops.Count() || !p_.cells.Exists(target)) {
    target = desktops.Current();
    p_.hover.NoteCursorCell(target);
  }
  const forms::PictureBox& box = p_.miniatures(miniature);
  const float left = box.Left() - p_.cells(target).Left();
  const float top = box.Top() - p_.cells(target).Top();
  if (p_.table.Contains(selected_)) {
    const WindowGeometry::ScaledRect scaled = p_.geometry.Scaled(selected_);
    desktops.Place(target, selected_, left, top, scaled.width, scaled.height);
    const ManagedWindow* w = p_.table.Find(selected_);
    if (w != nullptr && w->desktop == desktops.Current()) desktops.SetShown(selected_, true);
  }
  drag_.End();
  p_.miniatureView.Release();
}

void MiniatureGestures::ActivateWindow(Hwnd hwnd) {
  if (p_.windowMenu.ConsumeSkippedActivation()) return;
  if (drag_.IsDragging()) return;
  const ManagedWindow* w = p_.table.Find(hwnd);
  if (w == nullptr) return;
  if (!w->showAll && w->desktop != p_.desktops.Current()) p_.desktops.SwitchTo(w->desktop);
  Select(hwnd);
  // Raised to the top of the ordinary windows, without the keyboard focus. The switch may
  // have forgotten the window meanwhile.
  w = p_.table.Find(hwnd);
  if (w != nullptr && !w->onTop) {
    p_.ws.SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, kRaiseFlags);
    p_.ws.SetWindowPos(hwnd, HWND_NOTOPMOST, 0, 0, 0, 0, kRaiseFlags);
  }
  p_.tracker.Refresh();
}

}  // namespace vd
