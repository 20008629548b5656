#include "tray/pixel_buffer.h"

#include <algorithm>

namespace kelvane {

PixelBuffer::PixelBuffer(int width, int height, Pixel fill)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), fill) {}

void PixelBuffer::setPixel(int x, int y, Pixel value) {
  if (contains(x, y)) pixels_[static_cast<std::size_t>(y * width_ + x)] = value;
}

void PixelBuffer::fillRect(Rect rect, Pixel value) {
  const int left = std::max(rect.left, 0), right = std::min(rect.right, width_);
  const int top = std::max(rect.top, 0), bottom = std::min(rect.bottom, height_);
  for (int y = top; y < bottom; ++y) {
    Pixel* row = pixels_.data() + static_cast<std::ptrdiff_t>(y) * width_;
    for (int x = left; x < right; ++x) row[x] = value;
  }
}

void PixelBuffer::frameRect(Rect rect, Pixel value) {
  if (rect.right <= rect.left || rect.bottom <= rect.top) return;
  fillRect({rect.left, rect.top, rect.right, rect.top + 1}, value);
  fillRect({rect.left, rect.bottom - 1, rect.right, rect.bottom}, value);
  fillRect({rect.left, rect.top, rect.left + 1, rect.bottom}, value);
  fillRect({rect.right - 1, rect.top, rect.right, rect.bottom}, value);
}

void RecolorBitmap(PixelBuffer& bitmap, Pixel oldColor, Pixel newColor) {
  for (Pixel& p : bitmap.pixels())
    if (p == oldColor) p = newColor;
}

void DrawTransparent(PixelBuffer& canvas, int x, int y, const PixelBuffer& bitmap, Pixel keyColor) {
  for (int by = 0; by < bitmap.height(); ++by) {
    for (int bx = 0; bx < bitmap.width(); ++bx) {
      const Pixel p = bitmap.pixel(bx, by);
      if (p != keyColor) canvas.setPixel(x + bx, y + by, p);
    }
  }
}

PixelBuffer scaleNearest(const PixelBuffer& source, int width, int height) {
  PixelBuffer target(width, height);
  if (source.width() == 0 || source.height() == 0) return target;
  for (int y = 0; y < target.height(); ++y) {
    // Centre of the target pixel mapped back: (2y + 1) * sh / (2 * th), in integers.
    const int sy = (2 * y + 1) * source.height() / (2 * target.height());
    for (int x = 0; x < target.width(); ++x) {
      const int sx = (2 * x + 1) * source.width() / (2 * target.width());
      target.setPixel(x, y, source.pixel(sx, sy));
    }
  }
  return target;
}

}  // namespace kelvane
