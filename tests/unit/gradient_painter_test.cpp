// The cells' gradient: the ramp from the first colour to the second laid across the cell at
// the angle, every pixel painted.
#include <gtest/gtest.h>

#include <algorithm>

#include "pager/GradientPainter.h"
#include "platform/fake/FakeWindowSystem.h"

namespace vd {
namespace {

// Black to pure red over 40 x 30 pixels, so the red channel tells a pixel's place in the ramp.
// At 0 degrees the first colour is on the left, at 90 at the bottom, at 180 on the right and at
// 270 at the top; at 90 and 180 the first line falls just outside, so that edge shows the
// ramp's second entry.
TEST(GradientPainter, LaysTheRampAcrossTheCellFromTheSideTheAngleNames) {
  struct Case {
    float angle;
    int x0, y0, x1, y1;  // a pixel at the first colour's edge and one at the far edge
    bool edgeIsSecondEntry;
  };
  const Case cases[] = {{0, 0, 15, 39, 15, false},   {270, 20, 0, 20, 29, false},
                        {180, 39, 15, 0, 15, true},  {90, 20, 29, 20, 0, true},
                        {-90, 20, 0, 20, 29, false}, {720, 0, 15, 39, 15, false}};
  fake::FakeWindowSystem fake;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.angle);
    GradientPainter painter(fake);
    painter.SetColor1(0x000000);
    painter.SetColor2(0x0000FF);
    painter.SetAngle(c.angle);
    Bitmap b(40, 30, 0x123456);
    ASSERT_TRUE(painter.Draw(b));
    EXPECT_EQ(std::count(b.Pixels().begin(), b.Pixels().end(), 0x123456u), 0) << "all painted";
    const uint32_t edge = b.GetPixel(c.x0, c.y0);
    EXPECT_EQ(edge != 0, c.edgeIsSecondEntry) << edge;
    EXPECT_LE(edge, 0x10u);
    EXPECT_GT(b.GetPixel(c.x1, c.y1), 0xE0u) << "the far edge is nearly the second colour";
  }
  // A target one pixel wide or high is left as it is.
  GradientPainter painter(fake);
  Bitmap thin(1, 30, 0x123456);
  EXPECT_FALSE(painter.Draw(thin));
  EXPECT_EQ(thin.GetPixel(0, 5), 0x123456u);
  // System colour references are resolved; an index that names none is kept as it is.
  painter.SetColor1(static_cast<int32_t>(0x80000005u));
  EXPECT_EQ(painter.Color1(), fake.GetSysColor(5));
  painter.SetColor2(static_cast<int32_t>(0x80000019u));
  EXPECT_EQ(painter.Color2(), 0x80000019u);
}

TEST(GradientPainter, BlendsColoursChannelByChannelRoundingHalvesToEven) {
  std::vector<uint32_t> ramp;
  EXPECT_EQ(GradientPainter::BlendColors(0x000000, 0x0000FF, 4, ramp), 4);
  EXPECT_EQ(ramp, (std::vector<uint32_t>{0, 64, 128, 255}));
  EXPECT_EQ(GradientPainter::BlendColors(0x112233, 0x445566, 1, ramp), 2);
  EXPECT_EQ(ramp, (std::vector<uint32_t>{0x112233, 0x445566}));
  GradientPainter::BlendColors(0x000000, 0xFF0000, 4, ramp);
  EXPECT_EQ(ramp[1], 64u << 16);
}

}  // namespace
}  // namespace vd
