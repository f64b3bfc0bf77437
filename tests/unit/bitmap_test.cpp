// The in-memory bitmap: lines as the system's one-pixel pen draws them, rectangles, clipped
// copies and stretched copies.
#include "platform/Bitmap.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <set>
#include <utility>
#include <vector>

namespace {

using vd::Bitmap;
using vd::StretchMode;

constexpr uint32_t kInk = 0x0000FF;
constexpr uint32_t kPaper = 0xFFFFFF;

std::set<std::pair<int, int>> Inked(const Bitmap& b) {
  std::set<std::pair<int, int>> out;
  for (int y = 0; y < b.Height(); ++y) {
    for (int x = 0; x < b.Width(); ++x) {
      if (b.GetPixel(x, y) == kInk) out.insert({x, y});
    }
  }
  return out;
}

using Pixels = std::set<std::pair<int, int>>;

Pixels DrawLine(int x1, int y1, int x2, int y2) {
  Bitmap b(40, 40, kPaper);
  b.Line(x1, y1, x2, y2, kInk);
  return Inked(b);
}

// Lines stop before their end point; a shallow or steep one takes the pixel nearest the exact
// line, exactly half-way going to the smaller coordinate whichever way it is drawn.
TEST(BitmapLine, ExactPixelsOfStraightShallowAndSteepLines) {
  const struct {
    int x1, y1, x2, y2;
    Pixels pixels;
  } lines[] = {
      {1, 2, 5, 2, {{1, 2}, {2, 2}, {3, 2}, {4, 2}}},
      {5, 2, 1, 2, {{5, 2}, {4, 2}, {3, 2}, {2, 2}}},
      {3, 6, 3, 3, {{3, 6}, {3, 5}, {3, 4}}},
      {4, 0, 0, 4, {{4, 0}, {3, 1}, {2, 2}, {1, 3}}},
      {7, 7, 7, 7, {}},                        // a line to its own start draws nothing
      {0, 0, 3, 1, {{0, 0}, {1, 0}, {2, 1}}},  // offsets 0, 1/3, 2/3 round to 0, 0, 1
      {0, 0, 1, 3, {{0, 0}, {0, 1}, {1, 2}}},
      {0, 0, 4, 1, {{0, 0}, {1, 0}, {2, 0}, {3, 1}}},  // half-way at the second step
      {4, 1, 0, 0, {{4, 1}, {3, 1}, {2, 0}, {1, 0}}},
  };
  for (const auto& l : lines) {
    EXPECT_EQ(DrawLine(l.x1, l.y1, l.x2, l.y2), l.pixels)
        << l.x1 << "," << l.y1 << " -> " << l.x2 << "," << l.y2;
  }
}

TEST(BitmapShapes, LinesFramesAndFillsAreClippedAndRightAndBottomAreExclusive) {
  Bitmap b(10, 10, kPaper);
  b.Line(-5, 5, 15, 5, kInk);
  b.Line(3, -100, 3, 100, kInk);
  Pixels pixels = Inked(b);
  EXPECT_EQ(pixels.size(), 19u);  // row 5 and column 3 across the bitmap, sharing one pixel
  EXPECT_TRUE(pixels.count({0, 5}) && pixels.count({9, 5}) && pixels.count({3, 0}) &&
              pixels.count({3, 9}));

  Bitmap frame(8, 8, kPaper);
  frame.FrameRect(1, 2, 5, 6, kInk);
  frame.FrameRect(6, 6, 6, 9, kInk);  // empty: nothing
  pixels = Inked(frame);
  EXPECT_EQ(pixels.size(), 12u);  // 4 + 4 + 2 + 2 around a 4 x 4 rectangle
  EXPECT_TRUE(pixels.count({1, 2}) && pixels.count({4, 5}) && pixels.count({4, 2}));
  EXPECT_FALSE(pixels.count({5, 2}) || pixels.count({1, 6}) || pixels.count({2, 3}));

  Bitmap fill(4, 3, kPaper);
  fill.FillRect(-2, 1, 2, 10, kInk);
  EXPECT_EQ(Inked(fill), (Pixels{{0, 1}, {1, 1}, {0, 2}, {1, 2}}));
  fill.Resize(6, 2, 0x123456);  // keeps the top left, the new area in the given colour
  EXPECT_EQ(fill.GetPixel(1, 1), kInk);
  EXPECT_EQ(fill.GetPixel(3, 0), kPaper);
  EXPECT_EQ(fill.GetPixel(5, 1), 0x123456u);
  EXPECT_EQ(fill.GetPixel(6, 1), 0u) << "reads outside give 0";
  fill.Resize(-1, 5);
  EXPECT_TRUE(fill.Empty());
}

TEST(BitmapCopy, BlitIsClippedOnBothSides) {
  Bitmap source(4, 4);
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 4; ++x) source.SetPixel(x, y, static_cast<uint32_t>(10 * y + x + 1));
  }
  Bitmap target(5, 5, kPaper);
  target.Blit(-1, 3, source, 0, 0, 4, 4);  // sticks out left and bottom
  EXPECT_EQ(target.GetPixel(0, 3), source.GetPixel(1, 0));
  EXPECT_EQ(target.GetPixel(2, 4), source.GetPixel(3, 1));
  EXPECT_EQ(target.GetPixel(3, 3), kPaper);
  EXPECT_EQ(target.GetPixel(0, 2), kPaper);

  Bitmap second(5, 5, kPaper);
  second.Blit(0, 0, source, -2, 3, 4, 4);  // source rectangle partly outside the source
  EXPECT_EQ(second.GetPixel(2, 0), source.GetPixel(0, 3));
  EXPECT_EQ(second.GetPixel(3, 0), source.GetPixel(1, 3));
  EXPECT_EQ(second.GetPixel(1, 0), kPaper);
  EXPECT_EQ(second.GetPixel(2, 1), kPaper);
}

TEST(BitmapCopy, NearestStretchRepeatsPixelsAndHalftoneAveragesTheCoveredArea) {
  Bitmap source(2, 2);
  for (int i = 0; i < 4; ++i) source.SetPixel(i % 2, i / 2, static_cast<uint32_t>(i + 1));
  Bitmap big(6, 6, kPaper);
  big.StretchFrom(1, 1, 4, 4, source, 0, 0, 2, 2, StretchMode::kColorOnColor);
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 4; ++x) {
      EXPECT_EQ(big.GetPixel(1 + x, 1 + y), source.GetPixel(x / 2, y / 2)) << x << "," << y;
    }
  }
  EXPECT_EQ(big.GetPixel(0, 0), kPaper);
  EXPECT_EQ(big.GetPixel(5, 5), kPaper);

  // A black and white checkerboard halved becomes an even grey.
  Bitmap checker(4, 4);
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 4; ++x) checker.SetPixel(x, y, (x + y) % 2 ? 0xFFFFFF : 0);
  }
  Bitmap half(2, 2);
  half.StretchFrom(0, 0, 2, 2, checker, 0, 0, 4, 4, StretchMode::kHalftone);
  for (uint32_t p : half.Pixels()) EXPECT_EQ(p, 0x808080u);
  // Three pixels into two: each target pixel covers one and a half source pixels.
  Bitmap row(3, 1);
  row.SetPixel(1, 0, 0x0000F0);
  Bitmap two(2, 1);
  two.StretchFrom(0, 0, 2, 1, row, 0, 0, 3, 1, StretchMode::kHalftone);
  EXPECT_EQ(two.Pixels(), (std::vector<uint32_t>{0x000050, 0x000050}));  // 0xF0 * 0.5 / 1.5
}

TEST(BitmapCopy, AllBlackIgnoresTheUnusedByte) {
  Bitmap b(3, 3, 0xFF000000u);
  EXPECT_TRUE(b.AllBlack());
  b.SetPixel(2, 2, 0x000001);
  EXPECT_FALSE(b.AllBlack());
}

}  // namespace
