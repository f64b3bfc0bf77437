#include "platform/Bitmap.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdlib>

namespace vd {

namespace {

// Integer division rounding toward positive infinity, for either sign.
int64_t CeilDiv(int64_t num, int64_t den) {
  int64_t q = num / den;
  if ((num % den != 0) && ((num > 0) == (den > 0))) ++q;
  return q;
}

// num / den rounded to the nearest integer; an exact half goes to the smaller neighbour
// (ceil(v - 1/2)). den > 0.
int64_t RoundHalfDown(int64_t num, int64_t den) { return CeilDiv(2 * num - den, 2 * den); }

struct Channels {
  double r = 0, g = 0, b = 0;
};

// The source pixels a target pixel covers along one axis, with the covered length of each.
struct Span {
  int first = 0;
  std::vector<double> weights;
};

std::vector<Span> AreaSpans(int targetLength, int sourceStart, int sourceLength) {
  std::vector<Span> spans(static_cast<size_t>(targetLength));
  const double scale = static_cast<double>(sourceLength) / targetLength;
  for (int t = 0; t < targetLength; ++t) {
    const double from = sourceStart + t * scale;
    const double to = sourceStart + (t + 1) * scale;
    Span& span = spans[static_cast<size_t>(t)];
    span.first = static_cast<int>(std::floor(from));
    for (int s = span.first; s < to; ++s) {
      const double covered = std::min<double>(to, s + 1) - std::max<double>(from, s);
      span.weights.push_back(covered > 0 ? covered : 0);
    }
  }
  return spans;
}

}  // namespace

Bitmap::Bitmap(int width, int height, uint32_t fill) {
  if (width > 0 && height > 0) {
    width_ = width;
    height_ = height;
    pixels_.assign(static_cast<size_t>(width) * static_cast<size_t>(height), fill);
  }
}

uint32_t Bitmap::GetPixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  return pixels_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)];
}

void Bitmap::SetPixel(int x, int y, uint32_t color) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  pixels_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)] = color;
}

void Bitmap::Resize(int width, int height, uint32_t fill) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (width == 0 || height == 0) {
    width_ = height_ = 0;
    pixels_.clear();
    return;
  }
  if (width == width_ && height == height_) return;
  std::vector<uint32_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height), fill);
  const int keepW = std::min(width, width_);
  const int keepH = std::min(height, height_);
  for (int y = 0; y < keepH; ++y) {
    std::copy_n(pixels_.begin() + static_cast<std::ptrdiff_t>(y) * width_, keepW,
                pixels.begin() + static_cast<std::ptrdiff_t>(y) * width);
  }
  pixels_ = std::move(pixels);
  width_ = width;
  height_ = height;
}

void Bitmap::Fill(uint32_t color) { std::fill(pixels_.begin(), pixels_.end(), color); }

void Bitmap::FillRect(int left, int top, int right, int bottom, uint32_t color) {
  left = std::max(left, 0);
  top = std::max(top, 0);
  right = std::min(right, width_);
  bottom = std::min(bottom, height_);
  for (int y = top; y < bottom; ++y) {
    auto row = pixels_.begin() + static_cast<std::ptrdiff_t>(y) * width_;
    std::fill(row + left, row + std::max(left, right), color);
  }
}

// The pixels are those of the system's cosmetic lines: along the major axis (the longer of
// |dx| and |dy|; the vertical one when they are equal) every step lights one pixel, starting
// with (x1, y1) and stopping before (x2, y2). The minor coordinate of each pixel is the exact
// line position rounded to the nearest integer; a position exactly half-way between two pixels
// goes to the smaller coordinate, whichever way the line is drawn. This is Bresenham's
// algorithm with the tie-breaking of the system's diamond-exit rule, so a line and its
// reverse light the same pixels except for their excluded end points.
void Bitmap::Line(int x1, int y1, int x2, int y2, uint32_t color) {
  const int64_t dx = static_cast<int64_t>(x2) - x1;
  const int64_t dy = static_cast<int64_t>(y2) - y1;
  const int64_t adx = std::llabs(dx);
  const int64_t ady = std::llabs(dy);
  if (adx > ady) {
    const int64_t sx = dx > 0 ? 1 : -1;
    for (int64_t k = 0; k < adx; ++k) {
      const int64_t y = y1 + RoundHalfDown(k * dy, adx);
      const int64_t x = x1 + k * sx;
      if (x >= 0 && x < width_ && y >= 0 && y < height_) {
        SetPixel(static_cast<int>(x), static_cast<int>(y), color);
      }
    }
  } else {
    const int64_t sy = dy > 0 ? 1 : -1;
    for (int64_t k = 0; k < ady; ++k) {
      const int64_t x = x1 + RoundHalfDown(k * dx, ady);
      const int64_t y = y1 + k * sy;
      if (x >= 0 && x < width_ && y >= 0 && y < height_) {
        SetPixel(static_cast<int>(x), static_cast<int>(y), color);
      }
    }
  }
}

void Bitmap::FrameRect(int left, int top, int right, int bottom, uint32_t color) {
  if (right <= left || bottom <= top) return;
  FillRect(left, top, right, top + 1, color);
  FillRect(left, bottom - 1, right, bottom, color);
  FillRect(left, top, left + 1, bottom, color);
  FillRect(right - 1, top, right, bottom, color);
}

void Bitmap::Blit(int x, int y, const Bitmap& source, int srcX, int srcY, int width, int height) {
  // Clip against the source, then against this bitmap, moving both origins together.
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
  if (x < 0) {
    width += x;
    srcX -= x;
    x = 0;
  }
  if (y < 0) {
    height += y;
    srcY -= y;
    y = 0;
  }
  width = std::min({width, source.width_ - srcX, width_ - x});
  height = std::min({height, source.height_ - srcY, height_ - y});
  if (width <= 0 || height <= 0) return;
  if (&source == this) {
    // Overlapping copy within one bitmap: go through a copy of the rows.
    Bitmap part(width, height);
    part.Blit(0, 0, source, srcX, srcY, width, height);
    Blit(x, y, part, 0, 0, width, height);
    return;
  }
  for (int row = 0; row < height; ++row) {
    std::copy_n(
        source.pixels_.begin() + static_cast<std::ptrdiff_t>(srcY + row) * source.width_ + srcX,
        width, pixels_.begin() + static_cast<std::ptrdiff_t>(y + row) * width_ + x);
  }
}

void Bitmap::StretchFrom(int x, int y, int width, int height, const Bitmap& source, int srcX,
                         int srcY, int srcWidth, int srcHeight, StretchMode mode) {
  if (width <= 0 || height <= 0 || srcWidth <= 0 || srcHeight <= 0 || source.Empty()) return;
  if (&source == this) {
    // The source is this very bitmap, which the stretch overwrites: it works from a copy.
    Bitmap copy = source;  // NOLINT(performance-unnecessary-copy-initialization)
    StretchFrom(x, y, width, height, copy, srcX, srcY, srcWidth, srcHeight, mode);
    return;
  }
  auto inSource = [&source](int sx, int sy) {
    return sx >= 0 && sy >= 0 && sx < source.width_ && sy < source.height_;
  };
  if (mode == StretchMode::kColorOnColor) {
    // The source pixel under the centre of each target pixel.
    for (int ty = 0; ty < height; ++ty) {
      if (y + ty < 0 || y + ty >= height_) continue;
      const int sy =
          srcY + static_cast<int>((2 * int64_t{ty} + 1) * srcHeight / (2 * int64_t{height}));
      for (int tx = 0; tx < width; ++tx) {
        if (x + tx < 0 || x + tx >= width_) continue;
        const int sx =
            srcX + static_cast<int>((2 * int64_t{tx} + 1) * srcWidth / (2 * int64_t{width}));
        if (inSource(sx, sy)) SetPixel(x + tx, y + ty, source.GetPixel(sx, sy));
      }
    }
    return;
  }
  // Area average: each target pixel is the mean of the source area it covers, every source
  // pixel weighted by the part of it that lies under the target pixel.
  const std::vector<Span> xs = AreaSpans(width, srcX, srcWidth);
  const std::vector<Span> ys = AreaSpans(height, srcY, srcHeight);
  for (int ty = 0; ty < height; ++ty) {
    if (y + ty < 0 || y + ty >= height_) continue;
    const Span& sySpan = ys[static_cast<size_t>(ty)];
    for (int tx = 0; tx < width; ++tx) {
      if (x + tx < 0 || x + tx >= width_) continue;
      const Span& sxSpan = xs[static_cast<size_t>(tx)];
      Channels sum;
      double total = 0;
      for (size_t j = 0; j < sySpan.weights.size(); ++j) {
        const int sy = sySpan.first + static_cast<int>(j);
        for (size_t i = 0; i < sxSpan.weights.size(); ++i) {
          const int sx = sxSpan.first + static_cast<int>(i);
          if (!inSource(sx, sy)) continue;
          const double w = sySpan.weights[j] * sxSpan.weights[i];
          const uint32_t p = source.GetPixel(sx, sy);
          sum.r += w * (p & 0xFF);
          sum.g += w * ((p >> 8) & 0xFF);
          sum.b += w * ((p >> 16) & 0xFF);
          total += w;
        }
      }
      if (total <= 0) continue;
      const auto channel = [total](double v) {
        return static_cast<uint32_t>(std::clamp(std::lround(v / total), 0L, 255L));
      };
      SetPixel(x + tx, y + ty, channel(sum.r) | (channel(sum.g) << 8) | (channel(sum.b) << 16));
    }
  }
}

// The alpha byte is ignored: some capture paths deliver 0xFF there for black pixels. An empty
// bitmap counts as black, as unusable as a capture that failed.
bool Bitmap::AllBlack() const {
  return std::all_of(pixels_.begin(), pixels_.end(),
                     [](uint32_t p) { return (p & 0x00FFFFFFu) == 0; });
}

}  // namespace vd
