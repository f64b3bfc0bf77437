// The cells' gradient: the ramp between two colours laid across the cell at the angle.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <vector>

#include "pager/GradientPainter.h"
#include "platform/fake/FakeWindowSystem.h"

namespace vd {
namespace {

// Black to pure red over 40 x 30 pixels: the red channel tells a pixel's place in the ramp. At 0
// degrees the first colour is on the left, at 90 at the bottom, at 180 on the right, at 270 at the
// top; at 90 and 180 the first line falls just outside, so that edge shows the second entry.
TEST(GradientPainter, LaysTheRampAcrossTheCellFromTheSideTheAngleNames) {
  const std::tuple<float, int, int, int, int, bool> cases[] = {
      // angle; a pixel at the first colour's edge, one at the far edge; the edge's entry is 1
      {0, 0, 15, 39, 15, false}, {270, 20, 0, 20, 29, false}, {180, 39, 15, 0, 15, true},
      {90, 20, 29, 20, 0, true}, {-90, 20, 0, 20, 29, false}, {720, 0, 15, 39, 15, false}};
  fake::FakeWindowSystem fake;
  GradientPainter painter(fake);
  painter.SetColor1(0x000000);
  painter.SetColor2(0x0000FF);
  for (const auto& [angle, x0, y0, x1, y1, edgeIsSecondEntry] : cases) {
    painter.SetAngle(angle);
    Bitmap b(40, 30, 0x123456);
    ASSERT_TRUE(painter.Draw(b));
    const uint32_t edge = b.GetPixel(x0, y0), far = b.GetPixel(x1, y1);
    EXPECT_EQ(std::count(b.Pixels().begin(), b.Pixels().end(), 0x123456u), 0) << angle;
    EXPECT_TRUE((edge != 0) == edgeIsSecondEntry && edge <= 0x10 && far > 0xE0)
        << angle << ": " << edge << " to " << far;
  }
  // System colour references are resolved; an index that names none is kept as it is.
  painter.SetColor1(static_cast<int32_t>(0x80000005u));
  painter.SetColor2(static_cast<int32_t>(0x80000019u));
  EXPECT_EQ(std::tuple(painter.Color1(), painter.Color2()),
            std::tuple(fake.GetSysColor(5), 0x80000019u));
  // The ramp: channel by channel, halves to even.
  std::vector<uint32_t> ramp;
  EXPECT_EQ(GradientPainter::BlendColors(0x000000, 0x0A0000, 4, ramp), 4);
  EXPECT_EQ(ramp, (std::vector<uint32_t>{0, 2 << 16, 5 << 16, 10 << 16}));
}

}  // namespace
}  // namespace vd
