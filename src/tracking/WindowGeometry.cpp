#include "tracking/WindowGeometry.h"

namespace vd {

namespace {
// The screen-to-cell factor; 0 before the screen has been measured.
float Factor(float cell, float screen) { return screen > 0 ? cell / screen : 0.0f; }
}  // namespace

std::string WindowGeometry::Title(Hwnd hwnd) const {
  // The whole caption in one read: a buffer no caption fills. (Asking the length first would
  // cost the window system a second round trip, ten times a second for the front window.)
  return ws_.GetWindowTextW(hwnd);
}

bool WindowGeometry::HasManagedStyle(Hwnd hwnd) const {
  constexpr uint32_t kManaged = WS_VISIBLE | WS_BORDER;
  const auto style = static_cast<uint32_t>(ws_.GetWindowLongA(hwnd, GWL_STYLE));
  return (style & kManaged) == kManaged;
}

Rect WindowGeometry::Bounds(Hwnd hwnd) const {
  Rect r;
  if (!ws_.GetWindowRect(hwnd, &r)) return Rect{};
  return r;
}

WindowGeometry::ScaledRect WindowGeometry::Scaled(Hwnd hwnd) const {
  const Rect r = Bounds(hwnd);
  const float fx = Factor(cellWidth_, screenWidth_), fy = Factor(cellHeight_, screenHeight_);
  return ScaledRect{static_cast<float>(r.left) * fx, static_cast<float>(r.top) * fy,
                    static_cast<float>(r.Width()) * fx, static_cast<float>(r.Height()) * fy};
}

void WindowGeometry::MeasureScreen() {
  screenWidth_ = static_cast<float>(ws_.GetSystemMetrics(SM_CXSCREEN));
  screenHeight_ = static_cast<float>(ws_.GetSystemMetrics(SM_CYSCREEN));
}

void WindowGeometry::SetCellSize(float width, float height) {
  cellWidth_ = width;
  cellHeight_ = height;
}

}  // namespace vd
