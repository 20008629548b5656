#pragma once
// A plain top-down bitmap of 32-bit pixels, the canvas of the tray picture and of the digit cells.
// Pixels are 0x00RRGGBB, the byte order of a 32-bit device-independent bitmap, so the shell can
// hand the buffer to the system as it is.

#include <cstdint>
#include <vector>

#include "common/geometry.h"
#include "settings/options.h"

namespace kelvane {

using Pixel = std::uint32_t;

// Settings store colours as 0x00BBGGRR; the canvas wants 0x00RRGGBB.
constexpr Pixel pixelFromColor(TColor color) {
  const auto c = static_cast<std::uint32_t>(color);
  return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

class PixelBuffer {
 public:
  PixelBuffer() = default;
  PixelBuffer(int width, int height, Pixel fill = 0);

  int width() const { return width_; }
  int height() const { return height_; }
  bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

  // Reading outside the bitmap is a programming error; writing outside is clipped, like GDI.
  Pixel pixel(int x, int y) const { return pixels_[static_cast<std::size_t>(y * width_ + x)]; }
  void setPixel(int x, int y, Pixel value);
  void fillRect(Rect rect, Pixel value);
  // A one-pixel outline along the inside of the rectangle.
  void frameRect(Rect rect, Pixel value);

  const std::vector<Pixel>& pixels() const { return pixels_; }
  std::vector<Pixel>& pixels() { return pixels_; }

  bool operator==(const PixelBuffer&) const = default;

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<Pixel> pixels_;
};

// Every pixel of exactly `oldColor` becomes `newColor`; the others keep their value.
void RecolorBitmap(PixelBuffer& bitmap, Pixel oldColor, Pixel newColor);

// Copies `bitmap` onto `canvas` with its top left at (x, y), leaving the canvas as it was where
// the bitmap has `keyColor`. Parts outside the canvas are clipped.
void DrawTransparent(PixelBuffer& canvas, int x, int y, const PixelBuffer& bitmap, Pixel keyColor);

// Nearest-neighbour enlargement or reduction to size x size: every target pixel takes the source
// pixel under its centre, so whole-number factors repeat each pixel exactly and edges stay crisp.
PixelBuffer scaleNearest(const PixelBuffer& source, int width, int height);

}  // namespace kelvane
