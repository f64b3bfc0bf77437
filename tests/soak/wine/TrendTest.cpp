// The arithmetic of the random run's verdict: what counts as handles that grew, and the slope of
// the memory samples.
#include <gtest/gtest.h>

#include <cmath>

#include "Trend.h"

namespace vdsoak {
namespace {

QuietPoint At(double seconds, HandleCounts counts) { return QuietPoint{seconds, counts, 0}; }

TEST(Trend, HandlesThatStayOrShrinkDoNotCountAsGrowth) {
  EXPECT_TRUE(HandleGrowth({}).empty());
  EXPECT_TRUE(HandleGrowth({At(20, {0, 0, 30, 1, 0, 0, 40, 5}), At(80, {0, 0, 30, 1, 0, 0, 40, 5}),
                            At(140, {0, 0, 28, 1, 0, 0, 39, 5})})
                  .empty());
}

TEST(Trend, AKindAboveItsCountAfterTheWarmUpIsGrowthAtEachQuietPoint) {
  const auto grew =
      HandleGrowth({At(20, {0, 0, 30, 1, 0, 0, 40, 5}), At(80, {0, 0, 31, 1, 0, 0, 40, 5}),
                    At(140, {0, 0, 30, 1, 0, 1, 40, 5})});
  ASSERT_EQ(grew.size(), 2u);
  EXPECT_NE(grew[0].find("GDI objects: 30 after the warm-up, 31"), std::string::npos) << grew[0];
  EXPECT_NE(grew[0].find("80 s"), std::string::npos) << grew[0];
  EXPECT_NE(grew[1].find("menus: 0 after the warm-up, 1"), std::string::npos) << grew[1];
}

TEST(Trend, CachedFontsAndBrushesMayFillButNotPastTheirBound) {
  EXPECT_TRUE(
      HandleGrowth({At(20, {0, 0, 30, 1, 0, 0, 40, 5}), At(80, {0, 0, 30, 1, 0, 0, 40, 12})})
          .empty());
  const auto grew =
      HandleGrowth({At(20, {0, 0, 30, 1, 0, 0, 40, 5}), At(80, {0, 0, 30, 1, 0, 0, 40, 65})});
  ASSERT_EQ(grew.size(), 1u);
  EXPECT_NE(grew[0].find("cached fonts and brushes: 65, above 64"), std::string::npos) << grew[0];
}

TEST(Trend, ADeviceContextHeldAtAnyQuietPointIsReportedTheFirstToo) {
  const auto grew =
      HandleGrowth({At(20, {1, 0, 30, 1, 0, 0, 40, 5}), At(80, {0, 2, 30, 1, 0, 0, 40, 5})});
  ASSERT_EQ(grew.size(), 2u);
  EXPECT_NE(grew[0].find("window DCs: 1 held"), std::string::npos) << grew[0];
  EXPECT_NE(grew[1].find("memory DCs: 2 held"), std::string::npos) << grew[1];
}

TEST(Trend, SlopeOfALeastSquaresLine) {
  EXPECT_DOUBLE_EQ(Slope({0, 1, 2, 3}, {5, 8, 11, 14}), 3.0);
  EXPECT_DOUBLE_EQ(Slope({0, 1, 2, 3}, {7, 7, 7, 7}), 0.0);
  // Noise around a rise of 2 a step.
  EXPECT_NEAR(Slope({0, 1, 2, 3, 4, 5}, {0, 3, 3, 7, 7, 11}), 2.03, 0.01);
  EXPECT_DOUBLE_EQ(Slope({4}, {9}), 0.0) << "one point has no slope";
  EXPECT_DOUBLE_EQ(Slope({2, 2, 2}, {1, 5, 9}), 0.0) << "no spread in x";
}

TEST(Trend, MemorySlopeIsInKilobytesAMinuteAndIgnoresTheWarmUp) {
  std::vector<MemorySample> samples;
  // The warm-up climbs 50 MB; afterwards 1 KB is added every 2 s: 30 KB a minute.
  for (int s = 0; s < 60; s += 2) samples.push_back({double(s), 1e6 + s * 1e6});
  for (int s = 60; s <= 300; s += 2) samples.push_back({double(s), 8e7 + (s - 60) / 2 * 1024.0});
  EXPECT_NEAR(KilobytesPerMinute(samples, 60), 30.0, 1e-6);
  EXPECT_GT(KilobytesPerMinute(samples, 0), 1000.0) << "with the warm-up, the climb dominates";
}

}  // namespace
}  // namespace vdsoak
