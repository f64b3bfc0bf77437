// A picture held in memory: width x height pixels, each a Windows colour value 0x00BBGGRR.
// Captures of windows arrive as bitmaps, picture boxes draw into one, and the Win32 forms
// backend presents it on screen; the same pixels are therefore checked by the headless tests
// and shown by the real program. A bitmap owns its pixels and is cheap to move.
#pragma once

#include <cstdint>
#include <vector>

namespace vd {

// How a stretched copy combines source pixels.
enum class StretchMode {
  kColorOnColor,  // nearest source pixel (COLORONCOLOR)
  kHalftone,      // average of the source pixels under each target pixel (HALFTONE): legible
};

class Bitmap {
 public:
  Bitmap() = default;
  Bitmap(int width, int height, uint32_t fill = 0);

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return width_ <= 0 || height_ <= 0; }
  const std::vector<uint32_t>& Pixels() const { return pixels_; }
  std::vector<uint32_t>& Pixels() { return pixels_; }

  // Out-of-range reads give 0; out-of-range writes are ignored.
  uint32_t GetPixel(int x, int y) const;
  void SetPixel(int x, int y, uint32_t color);

  // Resizes keeping the overlapping top-left part; new pixels take fill.
  void Resize(int width, int height, uint32_t fill = 0);
  void Fill(uint32_t color);
  void FillRect(int left, int top, int right, int bottom, uint32_t color);  // right/bottom excl.
  // A one-pixel line from (x1, y1) to (x2, y2), excluding the end point, pixel for pixel as
  // the system's MoveToEx/LineTo draws it with a solid pen of width 1.
  void Line(int x1, int y1, int x2, int y2, uint32_t color);
  // Outline of a rectangle (right and bottom exclusive), as the system's Rectangle with a
  // hollow brush.
  void FrameRect(int left, int top, int right, int bottom, uint32_t color);
  // Plain copy of a source rectangle to (x, y), clipped on both sides (BitBlt with SRCCOPY).
  void Blit(int x, int y, const Bitmap& source, int srcX, int srcY, int width, int height);
  // Scaled copy of a source rectangle into a target rectangle (StretchBlt with SRCCOPY).
  void StretchFrom(int x, int y, int width, int height, const Bitmap& source, int srcX, int srcY,
                   int srcWidth, int srcHeight, StretchMode mode);
  // True when every pixel is black (0x000000), as an unusable capture comes back.
  bool AllBlack() const;

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<uint32_t> pixels_;  // row-major, top row first
};

}  // namespace vd
