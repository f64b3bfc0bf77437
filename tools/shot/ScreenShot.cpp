#include "ScreenShot.h"

#include <windows.h>

#include <bit>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "PngWriter.h"

namespace vdtools {
namespace {

uint32_t BigEndian32(const uint8_t* p) {
  return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

}  // namespace

uint32_t Image::ColorAt(int x, int y) const {
  if (x < 0 || y < 0 || x >= width || y >= height) return 0xFFFFFFFFu;
  const uint8_t* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16);
}

bool ReadXwd(const std::string& path, Image& out) {
  std::ifstream in(path, std::ios::binary);
  const std::vector<uint8_t> file((std::istreambuf_iterator<char>(in)), {});
  if (file.size() < 100) return false;
  // The header: 25 unsigned 32-bit fields, most significant byte first.
  auto field = [&](int index) { return BigEndian32(&file[index * 4]); };
  const uint32_t headerSize = field(0), version = field(1), format = field(2);
  const uint32_t width = field(4), height = field(5), byteOrder = field(7);
  const uint32_t bitsPerPixel = field(11), bytesPerLine = field(12);
  uint32_t redMask = field(14), greenMask = field(15), blueMask = field(16);
  const uint32_t colors = field(19);
  const uint32_t kZPixmap = 2;
  if (version != 7 || format != kZPixmap || (bitsPerPixel != 32 && bitsPerPixel != 24))
    return false;
  if (width == 0 || height == 0 || width > 16384 || height > 16384) return false;
  if (!redMask || !greenMask || !blueMask) redMask = 0xFF0000, greenMask = 0xFF00, blueMask = 0xFF;
  const size_t offset = static_cast<size_t>(headerSize) + static_cast<size_t>(colors) * 12;
  if (bytesPerLine < width * (bitsPerPixel / 8)) return false;
  if (file.size() < offset + static_cast<size_t>(bytesPerLine) * height) return false;

  const int bytes = static_cast<int>(bitsPerPixel / 8);
  const int rs = std::countr_zero(redMask), gs = std::countr_zero(greenMask),
            bs = std::countr_zero(blueMask);
  out.width = static_cast<int>(width);
  out.height = static_cast<int>(height);
  out.rgb.resize(static_cast<size_t>(width) * height * 3);
  for (uint32_t y = 0; y < height; ++y) {
    const uint8_t* row = &file[offset + static_cast<size_t>(y) * bytesPerLine];
    for (uint32_t x = 0; x < width; ++x) {
      const uint8_t* p = row + static_cast<size_t>(x) * bytes;
      uint32_t v = 0;
      for (int k = 0; k < bytes; ++k) {
        // byte order 0: least significant byte first.
        v |= static_cast<uint32_t>(p[k]) << (byteOrder == 0 ? 8 * k : 8 * (bytes - 1 - k));
      }
      uint8_t* dst = &out.rgb[(static_cast<size_t>(y) * width + x) * 3];
      dst[0] = static_cast<uint8_t>((v & redMask) >> rs);
      dst[1] = static_cast<uint8_t>((v & greenMask) >> gs);
      dst[2] = static_cast<uint8_t>((v & blueMask) >> bs);
    }
  }
  return true;
}

bool CaptureDesktopDc(Image& out) {
  const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
  const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
  const int width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
  const int height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
  if (width <= 0 || height <= 0) return false;

  HDC screen = GetDC(nullptr);
  if (!screen) return false;
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP dib =
      memory ? CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0) : nullptr;
  bool ok = false;
  if (dib && bits) {
    HGDIOBJ old = SelectObject(memory, dib);
    ok = BitBlt(memory, 0, 0, width, height, screen, left, top, SRCCOPY | CAPTUREBLT) != FALSE;
    SelectObject(memory, old);
    GdiFlush();
    if (ok) {
      out.width = width;
      out.height = height;
      out.rgb.resize(static_cast<size_t>(width) * height * 3);
      const uint8_t* src = static_cast<const uint8_t*>(bits);  // B, G, R, unused
      for (size_t i = 0, n = static_cast<size_t>(width) * height; i < n; ++i) {
        out.rgb[i * 3 + 0] = src[i * 4 + 2];
        out.rgb[i * 3 + 1] = src[i * 4 + 1];
        out.rgb[i * 3 + 2] = src[i * 4 + 0];
      }
    }
  }
  if (dib) DeleteObject(dib);
  if (memory) DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return ok;
}

bool CaptureScreen(Image& out) {
  const char* screenFile = std::getenv(kXvfbScreenVariable);
  if (screenFile && *screenFile) return ReadXwd(HostPathToWindows(screenFile), out);
  return CaptureDesktopDc(out);
}

bool SavePng(const Image& image, const std::string& path) {
  if (image.width <= 0 || image.height <= 0) return false;
  return WriteBytes(path, EncodePng(image.rgb.data(), image.width, image.height));
}

}  // namespace vdtools
