// The in-memory bitmap: lines as the system's one-pixel pen draws them, rectangles and copies.
#include "platform/Bitmap.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace {

using vd::Bitmap;
using vd::StretchMode;

// The tests paint in character codes, so that a bitmap reads as its rows of text.
std::string Art(const Bitmap& b) {
  std::string rows;
  for (int y = 0; y < b.Height(); ++y) {
    if (y > 0) rows += '|';
    for (int x = 0; x < b.Width(); ++x) rows += static_cast<char>(b.GetPixel(x, y));
  }
  return rows;
}

// Each row draws on a 5 x 4 bitmap of dots: a Line, a Frame or a filled Rectangle in '#', or a
// Blit, a nearest-pixel Stretch or a Halftone stretch of a 4 x 4 source reading
// abcd|efgh|ijkl|mnop. Lines stop before their end point; a shallow or steep one takes the pixel
// nearest the exact line, exactly half-way going to the smaller coordinate whichever way it is
// drawn. Rectangles exclude their right and bottom edges. A nearest-pixel stretch takes the source
// pixel under the centre of each target pixel; a halftone one averages the area covered, weighing
// each pixel by the part of it covered.
TEST(Bitmap, ExactPixelsOfLinesRectanglesAndClippedCopiesAndAllBlackIgnoresTheUnusedByte) {
  const std::tuple<char, int, int, int, int, const char*> rows[] = {
      {'L', 0, 0, 4, 0, "####.|.....|.....|....."},  {'L', 4, 2, 0, 2, ".....|.....|.####|....."},
      {'L', 3, 3, 3, 0, ".....|...#.|...#.|...#."},  {'L', 2, 2, 2, 2, ".....|.....|.....|....."},
      {'L', 4, 0, 0, 4, "....#|...#.|..#..|.#..."},  {'L', 0, 0, 3, 1, "##...|..#..|.....|....."},
      {'L', 0, 0, 1, 3, "#....|#....|.#...|....."},  {'L', 0, 0, 4, 1, "###..|...#.|.....|....."},
      {'L', 4, 1, 0, 0, ".##..|...##|.....|....."},  {'L', -5, 1, 9, 1, ".....|#####|.....|....."},
      {'L', 3, -9, 3, 9, "...#.|...#.|...#.|...#."}, {'F', 1, 0, 4, 4, ".###.|.#.#.|.#.#.|.###."},
      {'F', 4, 1, 4, 9, ".....|.....|.....|....."},  {'F', 3, -1, 9, 2, "...#.|...##|.....|....."},
      {'R', -2, 1, 2, 9, ".....|##...|##...|##..."}, {'R', 3, -1, 9, 1, "...##|.....|.....|....."},
      {'B', -1, 2, 0, 0, ".....|.....|bcd..|fgh.."}, {'B', 3, -1, 0, 0, "...ef|...ij|...mn|....."},
      {'B', 0, 0, -2, 3, "..mn.|.....|.....|....."}, {'S', 1, 0, 4, 2, ".aabb|.aabb|.eeff|.eeff"},
      {'S', 0, 0, 2, 4, "fh...|np...|.....|....."},  {'S', 3, 2, 4, 2, ".....|.....|...aa|...aa"},
      {'H', 0, 0, 2, 4, "df...|ln...|.....|....."},  {'H', 0, 0, 2, 3, "cd...|hi...|.....|....."},
  };
  Bitmap src(4, 4);
  for (int i = 0; i < 16; ++i) src.Pixels()[static_cast<size_t>(i)] = 'a' + i;
  for (const auto& [op, p, q, r, t, art] : rows) {
    Bitmap b(5, 4, '.');
    if (op == 'L') b.Line(p, q, r, t, '#');
    if (op == 'F') b.FrameRect(p, q, r, t, '#');
    if (op == 'R') b.FillRect(p, q, r, t, '#');
    if (op == 'B') b.Blit(p, q, src, r, t, 4, 4);
    if (op == 'S') b.StretchFrom(p, q, r, r, src, 0, 0, t, t, StretchMode::kColorOnColor);
    if (op == 'H') b.StretchFrom(p, q, r, r, src, 0, 0, t, t, StretchMode::kHalftone);
    EXPECT_EQ(Art(b), art) << op << " " << p << " " << q << " " << r << " " << t;
  }
  Bitmap black(3, 3, 0xFF000000u);  // AllBlack ignores the unused byte
  EXPECT_TRUE(black.AllBlack());
  black.SetPixel(2, 2, 0x000001);
  EXPECT_FALSE(black.AllBlack());
}

}  // namespace
