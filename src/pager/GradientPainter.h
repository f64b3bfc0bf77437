// The gradient painter: fills a picture box's or a form's drawing surface with a linear
// two-colour gradient at any angle, drawn as a sweep of one-pixel lines (each line one colour
// of a ramp from Color1 toward Color2).
#pragma once

#include <cstdint>
#include <vector>

#include "platform/Bitmap.h"
#include "platform/WindowSystem.h"

namespace vd {

class GradientPainter {
 public:
  explicit GradientPainter(WindowSystem& ws) : ws_(ws) {}

  uint32_t Color1() const { return color1_; }
  // A system-colour reference (high bit set, index below 25 in the low bits) is stored as the
  // current system colour of that index; anything else is stored as given.
  void SetColor1(int32_t color);
  uint32_t Color2() const { return color2_; }
  void SetColor2(int32_t color);
  // Degrees, counter-clockwise on the screen: 0 runs from left (Color1) to right, 90 from the
  // bottom up, 270 from the top down. Stored reduced into [0, 360).
  float Angle() const { return angle_; }
  void SetAngle(float degrees);

  // Paints the whole surface; true when at least one line was drawn. A surface of width or
  // height 1 or less is left untouched. Never throws: a failure abandons the drawing.
  bool Draw(Bitmap& surface) noexcept;

  // Fills colours with a ramp of steps entries (at least 2) from c1 to c2 and returns the
  // number of entries. The steps divide by the number of entries, so the last step jumps to c2.
  static int BlendColors(uint32_t c1, uint32_t c2, int steps, std::vector<uint32_t>& colours);

  struct PointF {
    float x = 0, y = 0;
  };
  // Turns the point about the centre by degrees (single precision).
  static void RotatePoint(PointF centre, PointF& point, float degrees);

 private:
  // The sweep; returns the loop counter where the drawing stopped.
  int DrawGradient(Bitmap& surface, int width, int height);
  uint32_t SystemColourOr(int32_t color) const;

  WindowSystem& ws_;
  uint32_t color1_ = 0xFFFFD0;
  uint32_t color2_ = 0x400000;
  float angle_ = 315;
};

}  // namespace vd
