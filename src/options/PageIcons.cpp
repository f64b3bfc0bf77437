#include "options/PageIcons.h"

#include <algorithm>
#include <cmath>

#include "options/OptionsStyle.h"

namespace vd::options {

namespace {

// An icon drawn on a grid of `design` units (its size at 100 %) at the size the scale asks
// for: every edge falls on a whole pixel, so the icon is as sharp at 150 % as at 100 %.
class ScaledIcon {
 public:
  ScaledIcon(int design, int dpi, uint32_t face)
      : design_(design),
        size_(std::max(design, static_cast<int>(std::lround(design * dpi / 96.0)))),
        icon_(size_, size_, face) {}

  int At(int units) const { return static_cast<int>(std::lround(units * size_ / double(design_))); }
  // A rectangle in design units (right and bottom excluded), at least a pixel each way.
  void Fill(int left, int top, int right, int bottom, uint32_t color) {
    const int l = At(left), t = At(top);
    icon_.FillRect(l, t, std::max(l + 1, At(right)), std::max(t + 1, At(bottom)), color);
  }
  void Frame(int left, int top, int right, int bottom, uint32_t color) {
    icon_.FrameRect(At(left), At(top), At(right), At(bottom), color);
  }
  // A disc filling the icon less `margin` design units all round.
  void Disc(double margin, uint32_t color) {
    const double radius = size_ / 2.0 - margin * size_ / design_;
    for (int y = 0; y < size_; ++y) {
      for (int x = 0; x < size_; ++x) {
        const double dx = x + 0.5 - size_ / 2.0, dy = y + 0.5 - size_ / 2.0;
        if (dx * dx + dy * dy <= radius * radius) icon_.SetPixel(x, y, color);
      }
    }
  }
  // A line in design units, `thickness` design units thick (stacked one pixel apart).
  void Stroke(int x1, int y1, int x2, int y2, int thickness, uint32_t color) {
    for (int t = 0; t < At(thickness); ++t)
      icon_.Line(At(x1), At(y1) + t, At(x2), At(y2) + t, color);
  }
  Bitmap Take() { return std::move(icon_); }

 private:
  int design_, size_;
  Bitmap icon_;
};

}  // namespace

Bitmap IconGeneral(uint32_t face, int dpi) {
  ScaledIcon icon(20, dpi, face);
  // Three sliders.
  const int knobs[] = {12, 5, 9};
  for (int i = 0; i < 3; ++i) {
    const int y = 4 + i * 6;
    icon.Fill(2, y, 18, y + 1, 0x606060);
    icon.Fill(knobs[i] - 2, y - 2, knobs[i] + 2, y + 3, kAccent);
  }
  return icon.Take();
}

Bitmap IconDesktops(uint32_t face, int dpi) {
  ScaledIcon icon(20, dpi, face);
  // A grid of four desktops, the first one chosen.
  for (int row = 0; row < 2; ++row) {
    for (int column = 0; column < 2; ++column) {
      const int x = 2 + column * 9, y = 2 + row * 9;
      icon.Fill(x, y, x + 7, y + 7, row == 0 && column == 0 ? kAccent : 0x785A46);
    }
  }
  return icon.Take();
}

Bitmap IconPanic(uint32_t face, int dpi) {
  ScaledIcon icon(20, dpi, face);
  // A red round sign with a white mark.
  icon.Disc(1, 0x2020D0);
  icon.Fill(9, 4, 11, 12, 0xFFFFFF);
  icon.Fill(9, 14, 11, 16, 0xFFFFFF);
  return icon.Take();
}

Bitmap IconAppearance(uint32_t face, int dpi) {
  ScaledIcon icon(20, dpi, face);
  // Four colour swatches.
  const uint32_t colours[] = {0x3030E0, 0x30B030, 0xE07020, 0x00C8FF};
  for (int i = 0; i < 4; ++i) {
    const int x = 2 + (i % 2) * 9, y = 2 + (i / 2) * 9;
    icon.Fill(x, y, x + 7, y + 7, colours[i]);
    icon.Frame(x, y, x + 7, y + 7, 0x404040);
  }
  return icon.Take();
}

Bitmap IconKeys(uint32_t face, int dpi) {
  ScaledIcon icon(20, dpi, face);
  // Four arrows out of a chosen desktop in the middle, each head three steps wide.
  icon.Fill(8, 8, 12, 12, kAccent);
  icon.Fill(9, 4, 11, 8, 0x785A46);
  icon.Fill(9, 12, 11, 16, 0x785A46);
  icon.Fill(4, 9, 8, 11, 0x785A46);
  icon.Fill(12, 9, 16, 11, 0x785A46);
  for (int step = 0; step < 3; ++step) {
    const int near = 1 + step, from = 9 - step, to = 11 + step;
    icon.Fill(from, near, to, near + 1, 0x785A46);        // up
    icon.Fill(from, 19 - near, to, 20 - near, 0x785A46);  // down
    icon.Fill(near, from, near + 1, to, 0x785A46);        // left
    icon.Fill(19 - near, from, 20 - near, to, 0x785A46);  // right
  }
  return icon.Take();
}

Bitmap IconConfirm(uint32_t face, int dpi) {
  ScaledIcon icon(16, dpi, face);
  // A green tick, three pixels thick at 100 %.
  icon.Stroke(2, 8, 6, 12, 3, 0x20A020);
  icon.Stroke(6, 12, 14, 4, 3, 0x20A020);
  return icon.Take();
}

}  // namespace vd::options
