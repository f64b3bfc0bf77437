// What the pager reads off a window: its caption, whether it has the style bits a managed
// window needs, and its rectangle scaled from the screen into a desktop cell.
#include <limits>

#include "pager/PagerWindow.h"

namespace vd {

std::string PagerWindow::GetWindowTitle(Hwnd hwnd) {
  // The whole caption in one read: a buffer no caption fills. (Asking the length first would
  // cost the window system a second round trip, ten times a second for the front window.)
  return ws_.GetWindowTextA(hwnd, std::numeric_limits<int>::max());
}

bool PagerWindow::HasRequiredStyle(Hwnd hwnd) {
  uint32_t style = static_cast<uint32_t>(ws_.GetWindowLongA(hwnd, GWL_STYLE));
  return (style & RequiredStyleMask) == RequiredStyleMask;
}

Rect PagerWindow::GetWindowBounds(Hwnd hwnd) {
  Rect r;
  if (!ws_.GetWindowRect(hwnd, &r)) return Rect{};
  return r;
}

namespace {
// The screen-to-cell factor; 0 before the screen has been measured.
float Factor(float cell, float screen) { return screen > 0 ? cell / screen : 0.0f; }
}  // namespace

PagerWindow::ScaledRect PagerWindow::Scaled(Hwnd hwnd) {
  const Rect r = GetWindowBounds(hwnd);
  const float fx = Factor(CellWidth, ScreenWidthPx), fy = Factor(CellHeight, ScreenHeightPx);
  return ScaledRect{static_cast<float>(r.left) * fx, static_cast<float>(r.top) * fy,
                    static_cast<float>(r.Width()) * fx, static_cast<float>(r.Height()) * fy};
}

float PagerWindow::ScaledWidth(Hwnd hwnd) { return Scaled(hwnd).width; }
float PagerWindow::ScaledHeight(Hwnd hwnd) { return Scaled(hwnd).height; }
float PagerWindow::ScaledLeft(Hwnd hwnd) { return Scaled(hwnd).left; }
float PagerWindow::ScaledTop(Hwnd hwnd) { return Scaled(hwnd).top; }

Hwnd PagerWindow::WindowOfMiniature(int32_t miniature) const {
  if (miniature < 1) return 0;
  for (const ManagedWindow& w : Table) {
    if (w.miniature == miniature) return w.handle;
  }
  return 0;
}

}  // namespace vd
