// The preview pictures: kept packed, given back at their window's size, within a budget.
#include <gtest/gtest.h>

#include <cstdint>

#include "pager/PreviewPictures.h"

namespace vd {
namespace {

// A picture no run-length packing can shrink: every pixel differs from its neighbour.
Bitmap Noise(int width, int height, uint32_t seed) {
  Bitmap picture(width, height);
  for (uint32_t& p : picture.Pixels()) p = (seed = seed * 1664525u + 1013904223u) >> 8;
  return picture;
}

// Within the budget the pictures captured longest ago are kept smaller, and given back at their
// window's size; the latest is kept whole.
TEST(PreviewPictures, KeptPackedWithinTheBudgetTheOldestMadeSmallerFirst) {
  constexpr size_t kBudget = 3u << 20;
  PreviewPictures pictures(kBudget);
  pictures.Load(1);
  Bitmap window(300, 200, 0xC0C0C0);
  window.FillRect(10, 10, 290, 30, 0x800000);  // a caption bar and some noise in the middle
  window.Blit(100, 80, Noise(50, 40, 7), 0, 0, 50, 40);
  pictures.SetPicture(1, window);
  pictures.SetPicture(0, window);  // not loaded: not kept
  EXPECT_EQ(pictures.Picture(1).Pixels(), window.Pixels());
  EXPECT_LT(pictures.Bytes(), window.Pixels().size() * 4 / 10);  // flat parts pack well
  const Bitmap strip(40, 1, 0x102030);                           // a window one pixel high
  pictures.Load(2);
  pictures.SetPicture(2, strip);
  EXPECT_EQ(pictures.Picture(2).Pixels(), strip.Pixels());
  pictures.Unload(2);
  pictures.Unload(1);
  EXPECT_EQ(pictures.Bytes(), 0u);
  for (int v = 1; v <= 100; ++v) {
    pictures.Load(v);
    pictures.SetPicture(v, Noise(320, 240, static_cast<uint32_t>(v)));
    ASSERT_LE(pictures.Bytes(), kBudget) << "after picture " << v;
  }
  const Bitmap first = pictures.Picture(1);
  EXPECT_TRUE(first.Width() == 320 && first.Height() == 240) << "at its window's size";
  EXPECT_NE(first.Pixels(), Noise(320, 240, 1).Pixels()) << "kept smaller";
  EXPECT_EQ(pictures.Picture(100).Pixels(), Noise(320, 240, 100).Pixels());
}

}  // namespace
}  // namespace vd
