// The drawing the Win32 peers share: see PeerDrawing.h. Bitmaps are copied pixel for pixel and
// a container's shapes are drawn over its surface, under its child windows.
#include "forms/win32/PeerDrawing.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "forms/Controls.h"

namespace forms::win32 {

namespace {

int Round(float v) { return static_cast<int>(std::lround(v)); }

}  // namespace

// ---- Drawing helpers ----------------------------------------------------------------------

void FillColor(Context& context, HDC dc, const RECT& rect, uint32_t color) {
  ::FillRect(dc, &rect, context.GetBrush(Context::Color(color)));
}

RECT EdgeRoundedRect(float left, float top, float width, float height) {
  return RECT{Round(left), Round(top), Round(left + width), Round(top + height)};
}

void DrawBitmap(HDC dc, int x, int y, const vd::Bitmap& bitmap, int srcX, int srcY, int width,
                int height) {
  if (srcX < 0) {
    width += srcX;
    x -= srcX;
    srcX = 0;
  }
  if (srcY < 0) {
    height += srcY;
    y -= srcY;
    srcY = 0;
  }
  width = std::min(width, bitmap.Width() - srcX);
  height = std::min(height, bitmap.Height() - srcY);
  if (width <= 0 || height <= 0) return;
  // The bitmap holds 0x00BBGGRR values; a 32-bit device-independent bitmap wants 0x00RRGGBB.
  std::vector<uint32_t> rows(static_cast<size_t>(width) * static_cast<size_t>(height));
  for (int row = 0; row < height; ++row) {
    const uint32_t* from = bitmap.Pixels().data() +
                           static_cast<size_t>(srcY + row) * static_cast<size_t>(bitmap.Width()) +
                           static_cast<size_t>(srcX);
    uint32_t* to = rows.data() + static_cast<size_t>(row) * static_cast<size_t>(width);
    for (int col = 0; col < width; ++col) {
      const uint32_t p = from[col];
      to[col] = ((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF);
    }
  }
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  ::SetDIBitsToDevice(dc, x, y, static_cast<DWORD>(width), static_cast<DWORD>(height), 0, 0, 0,
                      static_cast<UINT>(height), rows.data(), &info, DIB_RGB_COLORS);
}

// The surface, then the container's shapes from the back to the front (under the child
// windows, which clip themselves out of the container).
void PaintSurface(Context& context, HDC dc, const RECT& client, const vd::Bitmap& surface,
                  Container& container) {
  BufferedPaint buffer(dc, client);
  HDC out = buffer.Dc();
  FillColor(context, out, client, container.BackColor());
  DrawBitmap(out, 0, 0, surface, 0, 0, surface.Width(), surface.Height());
  // The window's size comes from its rounded edges, the surface's from its rounded size: they
  // may differ by a pixel, which takes the surface's last column or row rather than showing a
  // line of the background colour along the edge.
  const int w = surface.Width(), h = surface.Height();
  const bool wider = client.right - client.left == w + 1;
  const bool taller = client.bottom - client.top == h + 1;
  if (w > 0 && h > 0) {
    if (wider) DrawBitmap(out, w, 0, surface, w - 1, 0, 1, h);
    if (taller) DrawBitmap(out, 0, h, surface, 0, h - 1, w, 1);
    if (wider && taller) DrawBitmap(out, w, h, surface, w - 1, h - 1, 1, 1);
  }
  const std::vector<Control*>& children = container.Children();
  for (auto it = children.rbegin(); it != children.rend(); ++it) {
    if ((*it)->Kind() != ControlKind::kShape || !(*it)->Visible()) continue;
    const auto& shape = static_cast<const Shape&>(**it);
    const RECT box = EdgeRoundedRect(
        container.ToScreenPixelsX(shape.Left()), container.ToScreenPixelsY(shape.Top()),
        container.ToScreenPixelsX(shape.Width()), container.ToScreenPixelsY(shape.Height()));
    OwnedPen pen(::CreatePen(PS_SOLID, std::max(shape.BorderWidth(), 1),
                             Context::Color(shape.BorderColor())));
    SelectGuard usePen(out, pen.Get());
    SelectGuard noFill(out, ::GetStockObject(NULL_BRUSH));
    ::Rectangle(out, box.left, box.top, box.right, box.bottom);
  }
}

}  // namespace forms::win32
