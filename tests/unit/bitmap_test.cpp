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

std::set<std::pair<int, int>> DrawLine(int x1, int y1, int x2, int y2) {
  Bitmap b(40, 40, kPaper);
  b.Line(x1, y1, x2, y2, kInk);
  return Inked(b);
}

using Pixels = std::set<std::pair<int, int>>;

TEST(BitmapLine, StraightLinesStopBeforeTheEndPoint) {
  EXPECT_EQ(DrawLine(1, 2, 5, 2), (Pixels{{1, 2}, {2, 2}, {3, 2}, {4, 2}}));
  EXPECT_EQ(DrawLine(5, 2, 1, 2), (Pixels{{5, 2}, {4, 2}, {3, 2}, {2, 2}}));
  EXPECT_EQ(DrawLine(3, 1, 3, 4), (Pixels{{3, 1}, {3, 2}, {3, 3}}));
  EXPECT_EQ(DrawLine(3, 6, 3, 3), (Pixels{{3, 6}, {3, 5}, {3, 4}}));
  EXPECT_EQ(DrawLine(0, 0, 4, 4), (Pixels{{0, 0}, {1, 1}, {2, 2}, {3, 3}}));
  EXPECT_EQ(DrawLine(4, 0, 0, 4), (Pixels{{4, 0}, {3, 1}, {2, 2}, {1, 3}}));
  EXPECT_TRUE(DrawLine(7, 7, 7, 7).empty()) << "a line to its own start draws nothing";
}

TEST(BitmapLine, ShallowAndSteepLinesFollowTheExactLine) {
  // Slope 1/3: offsets 0, 1/3, 2/3 round to 0, 0, 1.
  EXPECT_EQ(DrawLine(0, 0, 3, 1), (Pixels{{0, 0}, {1, 0}, {2, 1}}));
  // Steep, x offsets 0, 1/3, 2/3.
  EXPECT_EQ(DrawLine(0, 0, 1, 3), (Pixels{{0, 0}, {0, 1}, {1, 2}}));
  // Exactly half-way (slope 1/4 at the second step) goes to the smaller coordinate, in both
  // directions of drawing.
  EXPECT_EQ(DrawLine(0, 0, 4, 1), (Pixels{{0, 0}, {1, 0}, {2, 0}, {3, 1}}));
  EXPECT_EQ(DrawLine(4, 1, 0, 0), (Pixels{{4, 1}, {3, 1}, {2, 0}, {1, 0}}));
}

TEST(BitmapLine, EveryLineIsAConnectedRunOfNearestPixels) {
  const std::vector<std::array<int, 4>> lines = {
      {2, 3, 37, 11},  {37, 11, 2, 3}, {5, 30, 9, 1},  {9, 1, 5, 30},    {20, 20, 1, 25},
      {1, 25, 20, 20}, {0, 39, 39, 0}, {30, 2, 2, 16}, {11, 11, 12, 38}, {38, 12, 11, 11}};
  for (const auto& [x1, y1, x2, y2] : lines) {
    SCOPED_TRACE(testing::Message() << x1 << "," << y1 << " -> " << x2 << "," << y2);
    const Pixels pixels = DrawLine(x1, y1, x2, y2);
    const int dx = x2 - x1, dy = y2 - y1;
    const bool xMajor = std::abs(dx) > std::abs(dy);
    EXPECT_EQ(static_cast<int>(pixels.size()), std::max(std::abs(dx), std::abs(dy)));
    EXPECT_TRUE(pixels.count({x1, y1}));
    EXPECT_FALSE(pixels.count({x2, y2}));
    for (const auto& [x, y] : pixels) {
      // Within half a pixel of the ideal line, measured along the minor axis.
      const double exact = xMajor ? y1 + static_cast<double>(x - x1) * dy / dx
                                  : x1 + static_cast<double>(y - y1) * dx / dy;
      EXPECT_LE(std::abs((xMajor ? y : x) - exact), 0.5);
    }
  }
}

TEST(BitmapLine, PartsOutsideTheBitmapAreClipped) {
  Bitmap b(10, 10, kPaper);
  b.Line(-5, 5, 15, 5, kInk);
  b.Line(3, -100, 3, 100, kInk);
  const Pixels pixels = Inked(b);
  EXPECT_EQ(pixels.size(), 19u);  // row 5 and column 3 across the bitmap, sharing one pixel
  EXPECT_TRUE(pixels.count({0, 5}) && pixels.count({9, 5}) && pixels.count({3, 0}) &&
              pixels.count({3, 9}));
}

TEST(BitmapShapes, FrameRectOutlinesWithExclusiveRightAndBottom) {
  Bitmap b(8, 8, kPaper);
  b.FrameRect(1, 2, 5, 6, kInk);
  const Pixels pixels = Inked(b);
  EXPECT_EQ(pixels.size(), 12u);  // 4 + 4 + 2 + 2 around a 4 x 4 rectangle
  EXPECT_TRUE(pixels.count({1, 2}) && pixels.count({4, 5}) && pixels.count({4, 2}));
  EXPECT_FALSE(pixels.count({5, 2}) || pixels.count({1, 6}) || pixels.count({2, 3}));
  b.FrameRect(6, 6, 6, 9, kInk);  // empty rectangle
  EXPECT_EQ(Inked(b).size(), 12u);
}

TEST(BitmapShapes, FillRectAndResizeKeepTheTopLeft) {
  Bitmap b(4, 3, kPaper);
  b.FillRect(-2, 1, 2, 10, kInk);
  EXPECT_EQ(Inked(b), (Pixels{{0, 1}, {1, 1}, {0, 2}, {1, 2}}));
  b.Resize(6, 2, 0x123456);
  EXPECT_EQ(b.Width(), 6);
  EXPECT_EQ(b.Height(), 2);
  EXPECT_EQ(b.GetPixel(1, 1), kInk);
  EXPECT_EQ(b.GetPixel(3, 0), kPaper);
  EXPECT_EQ(b.GetPixel(5, 1), 0x123456u);
  EXPECT_EQ(b.GetPixel(6, 1), 0u) << "reads outside give 0";
  b.Resize(-1, 5);
  EXPECT_TRUE(b.Empty());
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

TEST(BitmapCopy, NearestStretchRepeatsAndDropsPixels) {
  Bitmap source(2, 2);
  source.SetPixel(0, 0, 1);
  source.SetPixel(1, 0, 2);
  source.SetPixel(0, 1, 3);
  source.SetPixel(1, 1, 4);
  Bitmap big(6, 6, kPaper);
  big.StretchFrom(1, 1, 4, 4, source, 0, 0, 2, 2, StretchMode::kColorOnColor);
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 4; ++x) {
      EXPECT_EQ(big.GetPixel(1 + x, 1 + y), source.GetPixel(x / 2, y / 2)) << x << "," << y;
    }
  }
  EXPECT_EQ(big.GetPixel(0, 0), kPaper);
  EXPECT_EQ(big.GetPixel(5, 5), kPaper);
}

TEST(BitmapCopy, HalftoneStretchAveragesTheCoveredArea) {
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
  EXPECT_EQ(two.GetPixel(0, 0), 0x000050u);  // 0xF0 * 0.5 / 1.5
  EXPECT_EQ(two.GetPixel(1, 0), 0x000050u);
}

TEST(BitmapCopy, AllBlackIgnoresTheUnusedByte) {
  Bitmap b(3, 3, 0xFF000000u);
  EXPECT_TRUE(b.AllBlack());
  b.SetPixel(2, 2, 0x000001);
  EXPECT_FALSE(b.AllBlack());
}

}  // namespace
