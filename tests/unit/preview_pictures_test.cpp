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

TEST(PreviewPictures, APictureComesBackPixelForPixelAndGoesWithItsMiniature) {
  PreviewPictures pictures;
  pictures.Load(3);
  EXPECT_FALSE(pictures.HasPicture(3));
  EXPECT_TRUE(pictures.Picture(3).Empty());

  Bitmap window(300, 200, 0xC0C0C0);
  window.FillRect(10, 10, 290, 30, 0x800000);  // a caption bar and some noise in the middle
  window.Blit(100, 80, Noise(50, 40, 7), 0, 0, 50, 40);
  pictures.SetPicture(3, window);
  pictures.SetPicture(9, window);  // not loaded: not kept
  ASSERT_TRUE(pictures.HasPicture(3));
  EXPECT_EQ(pictures.Picture(3).Pixels(), window.Pixels());
  EXPECT_LT(pictures.Bytes(), window.Pixels().size() * 4 / 10);  // flat parts pack well

  Bitmap target(400, 250, 0xFFFFFF);
  pictures.DrawInto(3, target);
  EXPECT_EQ(target.GetPixel(20, 20), 0x800000u);
  EXPECT_EQ(target.GetPixel(350, 20), 0xFFFFFFu);  // beyond the picture: untouched

  pictures.Unload(3);
  EXPECT_FALSE(pictures.Exists(3));
  EXPECT_EQ(pictures.Bytes(), 0u);
  EXPECT_TRUE(pictures.Indexes().empty());
}

// A hundred large windows whose pictures do not pack: the store keeps within its budget by
// keeping the pictures captured longest ago smaller, and still gives each at its window's size.
TEST(PreviewPictures, ManyLargePicturesKeepWithinTheBudgetOldestFirst) {
  constexpr size_t kBudget = 3u << 20;
  PreviewPictures pictures(kBudget);
  for (int v = 1; v <= 100; ++v) {
    pictures.Load(v);
    pictures.SetPicture(v, Noise(320, 240, static_cast<uint32_t>(v)));
    ASSERT_LE(pictures.Bytes(), kBudget) << "after picture " << v;
  }
  for (int v : {1, 50, 100}) {
    const Bitmap back = pictures.Picture(v);
    EXPECT_EQ(back.Width(), 320);
    EXPECT_EQ(back.Height(), 240);
  }
  // The latest picture is kept whole; the first ones were made smaller.
  EXPECT_EQ(pictures.Picture(100).Pixels(), Noise(320, 240, 100).Pixels());
  EXPECT_NE(pictures.Picture(1).Pixels(), Noise(320, 240, 1).Pixels());
  // A plain window's picture packs small: it is kept whole, however old.
  const Bitmap plain(320, 240, 0x204080);
  pictures.SetPicture(1, plain);
  for (int v = 2; v <= 100; ++v) pictures.SetPicture(v, Noise(320, 240, static_cast<uint32_t>(v)));
  EXPECT_EQ(pictures.Picture(1).Pixels(), plain.Pixels());
  EXPECT_LE(pictures.Bytes(), kBudget);
}

}  // namespace
}  // namespace vd
