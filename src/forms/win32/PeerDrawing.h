// The drawing the Win32 peers share: painting off screen in one step, colour fills, pixel
// rectangles rounded edge by edge, copying the toolkit's in-memory bitmaps to a device context,
// and a container's surface with its shapes (the form's, a picture box's).
#pragma once

#include <algorithm>
#include <cstdint>

#include "forms/Control.h"
#include "forms/win32/Win32Internal.h"
#include "platform/Bitmap.h"

namespace forms::win32 {

// Draws off screen and copies the result in one step, so nothing flickers.
class BufferedPaint {
 public:
  BufferedPaint(HDC target, const RECT& client)
      : target_(target),
        width_(client.right - client.left),
        height_(client.bottom - client.top),
        dc_(::CreateCompatibleDC(target)),
        bitmap_(::CreateCompatibleBitmap(target, std::max(width_, 1), std::max(height_, 1))),
        select_(dc_.Get(), bitmap_.Get()) {}
  ~BufferedPaint() { ::BitBlt(target_, 0, 0, width_, height_, dc_.Get(), 0, 0, SRCCOPY); }
  BufferedPaint(const BufferedPaint&) = delete;
  BufferedPaint& operator=(const BufferedPaint&) = delete;
  HDC Dc() const { return dc_.Get(); }

 private:
  HDC target_;
  int width_, height_;
  MemoryDc dc_;
  OwnedBitmap bitmap_;
  SelectGuard select_;
};

// Fills a rectangle with a colour property (an RGB value or a system colour).
void FillColor(Context& context, HDC dc, const RECT& rect, uint32_t color);

// The pixel rectangle of a control whose place and size in pixels may be fractional: each edge
// is rounded on its own (right = left + width, bottom = top + height) and the size is what lies
// between them, so two neighbours that do not touch keep the gap between them whatever the
// fractions.
RECT EdgeRoundedRect(float left, float top, float width, float height);

// Copies a part of a bitmap to a device context, pixel for pixel.
void DrawBitmap(HDC dc, int x, int y, const vd::Bitmap& bitmap, int srcX, int srcY, int width,
                int height);

// Draws a container's surface and its shapes (the form's, a picture box's).
void PaintSurface(Context& context, HDC dc, const RECT& client, const vd::Bitmap& surface,
                  Container& container);

}  // namespace forms::win32
