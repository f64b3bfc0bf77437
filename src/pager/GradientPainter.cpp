#include "pager/GradientPainter.h"

#include <algorithm>
#include <cmath>

namespace vd {

namespace {

int32_t RoundHalfEven(double v) { return static_cast<int32_t>(std::nearbyint(v)); }

double SafeDivide(double a, double b) { return b == 0 ? 0 : a / b; }

}  // namespace

uint32_t GradientPainter::SystemColourOr(int32_t color) const {
  const uint32_t low = static_cast<uint32_t>(color) & 0x7FFFFFFF;
  if (color < 0 && low < 25) return ws_.GetSysColor(static_cast<int>(low));
  return static_cast<uint32_t>(color);
}

void GradientPainter::SetColor1(int32_t color) { color1_ = SystemColourOr(color); }

void GradientPainter::SetColor2(int32_t color) { color2_ = SystemColourOr(color); }

void GradientPainter::SetAngle(float degrees) {
  angle_ = degrees - 360.0f * std::floor(degrees / 360.0f);
  if (angle_ >= 360.0f) angle_ = 0;  // a value a hair below a multiple of 360
}

void GradientPainter::RotatePoint(PointF centre, PointF& point, float degrees) {
  const float r = degrees * 0.017453292519943278f;
  const float dx = point.x - centre.x;
  const float dy = point.y - centre.y;
  point.x = dy * std::sin(r) + dx * std::cos(r) + centre.x;
  point.y = dy * std::cos(r) - dx * std::sin(r) + centre.y;
}

int GradientPainter::BlendColors(uint32_t c1, uint32_t c2, int steps,
                                 std::vector<uint32_t>& colours) {
  const int n = std::max(steps, 2);
  const float r1 = static_cast<float>(c1 & 0xFF), g1 = static_cast<float>((c1 >> 8) & 0xFF),
              b1 = static_cast<float>((c1 >> 16) & 0xFF);
  const float r2 = static_cast<float>(c2 & 0xFF), g2 = static_cast<float>((c2 >> 8) & 0xFF),
              b2 = static_cast<float>((c2 >> 16) & 0xFF);
  const float stepR = static_cast<float>(SafeDivide(r2 - r1, n));
  const float stepG = static_cast<float>(SafeDivide(g2 - g1, n));
  const float stepB = static_cast<float>(SafeDivide(b2 - b1, n));
  colours.assign(static_cast<size_t>(n), 0);
  colours.front() = c1;
  colours.back() = c2;
  for (int i = 1; i <= n - 2; ++i) {
    const float fi = static_cast<float>(i);
    const uint32_t r = static_cast<uint32_t>(RoundHalfEven(fi * stepR + r1));
    const uint32_t g = static_cast<uint32_t>(RoundHalfEven(fi * stepG + g1));
    const uint32_t b = static_cast<uint32_t>(RoundHalfEven(fi * stepB + b1));
    colours[static_cast<size_t>(i)] = g * 256 + r + b * 65536;
  }
  return n;
}

bool GradientPainter::Draw(Bitmap& surface) noexcept {
  try {
    const int width = surface.Width(), height = surface.Height();
    if (width <= 1 || height <= 1) return false;
    return DrawGradient(surface, width, height) >= 1;
  } catch (...) {
    return false;  // the drawing is abandoned; the cell keeps what it showed
  }
}

int GradientPainter::DrawGradient(Bitmap& surface, int width, int height) {
  const float w = static_cast<float>(width), h = static_cast<float>(height);
  // A line through the centre long enough to cross the rectangle at any angle.
  const PointF centre{std::floor(w / 2), std::floor(h / 2)};
  const float longest = std::max(w, h);
  const float half = (std::sqrt(longest * longest + longest * longest) + 2) / 2;
  PointF p0{centre.x - half, centre.y};
  PointF p1{centre.x + half, centre.y};
  // Perpendicular to the gradient's direction.
  const float turn = (angle_ + 90) - 360 * std::floor((angle_ + 90) / 360);
  RotatePoint(centre, p0, turn);
  RotatePoint(centre, p1, turn);
  // Where the sweep starts (just outside one edge) and which way it steps.
  const float ax = std::fabs(p0.x - p1.x), ay = std::fabs(p0.y - p1.y);
  const bool steep = ay >= ax;
  float ox = 0, oy = 0;
  int sx = 0, sy = 0;
  const bool firstQuadrant = angle_ <= 90;
  const bool upToHalf = angle_ <= 180;
  const bool upTo270 = angle_ <= 270;
  if (steep) {
    const bool fromLeft = firstQuadrant || !upTo270;
    if (fromLeft) {
      ox = -std::max(p0.x, p1.x);
      sx = 1;
    } else {
      ox = w - std::min(p0.x, p1.x);
      sx = -1;
    }
  } else {
    if (upToHalf) {
      oy = h - std::min(p0.y, p1.y);
      sy = -1;
    } else {
      oy = -std::max(p0.y, p1.y);
      sy = 1;
    }
  }
  // The line ends, pair by pair, until both ends of the last pair lie past the far edge.
  struct PointI {
    int32_t x, y;
  };
  std::vector<PointI> points;
  points.reserve(1000);
  points.push_back({RoundHalfEven(ox + p0.x), RoundHalfEven(oy + p0.y)});
  points.push_back({RoundHalfEven(ox + p1.x), RoundHalfEven(oy + p1.y)});
  auto beyond = [&](const PointI& p) {
    if (sx == 1) return p.x > width;
    if (sx == -1) return p.x < 0;
    if (sy == 1) return p.y > height;
    return p.y < 0;
  };
  const size_t limit = 8 * static_cast<size_t>(width + height) + 16;
  for (;;) {
    const size_t k = points.size();
    points.push_back({points[k - 2].x + sx, points[k - 2].y + sy});
    if (beyond(points[k]) && beyond(points[k - 1])) break;
    if (points.size() > limit) break;  // never: the sweep always reaches the far edge
  }
  const int k = static_cast<int>(points.size());
  // One colour per line.
  std::vector<uint32_t> colours;
  BlendColors(color1_, color2_, RoundHalfEven(k / 2.0), colours);
  // Line j of the sweep has colour j: the first line has Color1.
  int i = 0;
  for (; i <= k - 2; i += 2) {
    const size_t c = std::min(static_cast<size_t>(i / 2), colours.size() - 1);
    surface.Line(points[static_cast<size_t>(i)].x, points[static_cast<size_t>(i)].y,
                 points[static_cast<size_t>(i) + 1].x, points[static_cast<size_t>(i) + 1].y,
                 colours[c]);
  }
  return i;
}

}  // namespace vd
