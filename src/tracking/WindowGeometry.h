// What the pager reads off a window: its caption, whether it has the style of a window the
// program manages (visible, with a border), its rectangle, and that rectangle scaled from the
// screen into a desktop cell.
#pragma once

#include <string>

#include "platform/WindowSystem.h"

namespace vd {

class WindowGeometry {
 public:
  explicit WindowGeometry(WindowSystem& ws) : ws_(ws) {}

  struct ScaledRect {
    float left = 0, top = 0, width = 0, height = 0;
  };

  std::string Title(Hwnd hwnd) const;
  bool HasManagedStyle(Hwnd hwnd) const;
  // The window's rectangle on the screen, in pixels; empty for a window that is gone.
  Rect Bounds(Hwnd hwnd) const;
  // The window's rectangle scaled into a cell, read from the window once; all 0 before the
  // screen has been measured.
  ScaledRect Scaled(Hwnd hwnd) const;

  // The screen's size in pixels, as the system reports it now.
  void MeasureScreen();
  float ScreenWidth() const { return screenWidth_; }
  float ScreenHeight() const { return screenHeight_; }
  // The size of one desktop cell, in the pager's pixels.
  void SetCellSize(float width, float height);
  float CellWidth() const { return cellWidth_; }
  float CellHeight() const { return cellHeight_; }

 private:
  WindowSystem& ws_;
  float screenWidth_ = 0, screenHeight_ = 0;
  float cellWidth_ = 0, cellHeight_ = 0;
};

}  // namespace vd
