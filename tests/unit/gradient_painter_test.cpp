#include <gtest/gtest.h>

#include <set>

#include "pager/GradientPainter.h"
#include "platform/fake/FakeWindowSystem.h"

namespace vd {
namespace {

class Gradient : public ::testing::Test {
 protected:
  // Black to pure red, so the red channel tells the line's place in the ramp.
  Bitmap Paint(float angle, int width = 40, int height = 30) {
    GradientPainter painter(fake);
    painter.SetColor1(0x000000);
    painter.SetColor2(0x0000FF);
    painter.SetAngle(angle);
    Bitmap b(width, height, 0x123456);
    painted = painter.Draw(b);
    return b;
  }
  static std::set<uint32_t> Column(const Bitmap& b, int x) {
    std::set<uint32_t> out;
    for (int y = 0; y < b.Height(); ++y) out.insert(b.GetPixel(x, y));
    return out;
  }
  static std::set<uint32_t> Row(const Bitmap& b, int y) {
    std::set<uint32_t> out;
    for (int x = 0; x < b.Width(); ++x) out.insert(b.GetPixel(x, y));
    return out;
  }
  // The darkest red above black anywhere: the ramp's second entry.
  static uint32_t SecondEntry(const Bitmap& b) {
    uint32_t least = 0xFF;
    for (uint32_t p : b.Pixels()) {
      if (p != 0 && p <= 0xFF) least = std::min(least, p);
    }
    return least;
  }
  fake::FakeWindowSystem fake;
  bool painted = false;
};

TEST_F(Gradient, TheFirstLineHasColor1OnTheSideTheAngleNames) {
  Bitmap at0 = Paint(0);
  EXPECT_TRUE(painted);
  EXPECT_EQ(Column(at0, 0), std::set<uint32_t>{0x000000});
  EXPECT_GT(at0.GetPixel(39, 15), at0.GetPixel(20, 15));  // redder to the right
  Bitmap at270 = Paint(270);
  EXPECT_EQ(Row(at270, 0), std::set<uint32_t>{0x000000});
  EXPECT_GT(at270.GetPixel(20, 29), at270.GetPixel(20, 10));
  // Every pixel is painted: nothing of the old content shows.
  for (float angle : {0.f, 45.f, 90.f, 135.f, 180.f, 225.f, 270.f, 315.f, 10.f}) {
    Bitmap b = Paint(angle);
    for (uint32_t p : b.Pixels()) ASSERT_NE(p, 0x123456u) << angle;
  }
}

TEST_F(Gradient, At180And90TheFirstLineFallsJustOutsideSoTheEdgeShowsTheSecondEntry) {
  Bitmap at180 = Paint(180);
  EXPECT_EQ(Column(at180, 39), std::set<uint32_t>{SecondEntry(at180)});
  Bitmap at90 = Paint(90);
  EXPECT_EQ(Row(at90, 29), std::set<uint32_t>{SecondEntry(at90)});
}

TEST_F(Gradient, ATargetOfOnePixelIsLeftUntouched) {
  Bitmap thin = Paint(315, 1, 30);
  EXPECT_FALSE(painted);
  EXPECT_EQ(Column(thin, 0), std::set<uint32_t>{0x123456});
  Paint(315, 30, 1);
  EXPECT_FALSE(painted);
}

TEST_F(Gradient, AnglesAreReducedAndSystemColourReferencesResolved) {
  GradientPainter painter(fake);
  painter.SetAngle(-45);
  EXPECT_FLOAT_EQ(painter.Angle(), 315);
  painter.SetAngle(720);
  EXPECT_FLOAT_EQ(painter.Angle(), 0);
  painter.SetAngle(405);
  EXPECT_FLOAT_EQ(painter.Angle(), 45);
  painter.SetColor1(static_cast<int32_t>(0x80000005u));
  EXPECT_EQ(painter.Color1(), fake.GetSysColor(5));
  painter.SetColor2(static_cast<int32_t>(0x80000019u));  // index 25: not a system colour
  EXPECT_EQ(painter.Color2(), 0x80000019u);
}

TEST(BlendColors, DividesByTheCountAndRoundsHalvesToEven) {
  std::vector<uint32_t> ramp;
  EXPECT_EQ(GradientPainter::BlendColors(0x000000, 0x0000FF, 4, ramp), 4);
  EXPECT_EQ(ramp, (std::vector<uint32_t>{0, 64, 128, 255}));
  EXPECT_EQ(GradientPainter::BlendColors(0x112233, 0x445566, 0, ramp), 2);
  EXPECT_EQ(ramp, (std::vector<uint32_t>{0x112233, 0x445566}));
  EXPECT_EQ(GradientPainter::BlendColors(0x112233, 0x445566, 1, ramp), 2);
  // Green and blue are placed in their own bytes.
  GradientPainter::BlendColors(0x000000, 0xFF0000, 4, ramp);
  EXPECT_EQ(ramp[1], 64u << 16);
}

}  // namespace
}  // namespace vd
