#pragma once
// The built-in pixel digits: strips of 11 equal cells (digits 0-9, then the percent sign or what
// the strip has in its place), black glyphs on a magenta background, and TPicClip, the holder
// that hands out one cell at a time.

#include <span>

#include "tray/pixel_buffer.h"

namespace kelvane {

inline constexpr Pixel StripGlyphColor = 0x000000;
inline constexpr Pixel StripBackgroundColor = 0xFF00FF;  // magenta, the strips' see-through colour

// A strip kept as its pixel rows: '#' a glyph pixel, '.' background, a blank between two cells.
struct DigitStrip {
  int width;   // of the whole strip bitmap
  int height;
  std::span<const char* const> rows;

  int cellWidth(int cols) const { return width / cols; }
  // The strip bitmap's pixel at (x, y).
  Pixel pixel(int x, int y, int cols) const;
};

const DigitStrip& PicClip_2();     // 77 x 8, bold digits two pixels wide, cell 10 empty
const DigitStrip& PicClip_3();     // 55 x 9, thin digits, cell 10 a percent sign
const DigitStrip& PicClip_4();     // 33 x 8, narrow digits, cell 10 two dots
const DigitStrip& PicClip_Mini();  // 44 x 6, small digits, cell 10 a percent sign

// Hands out the cells of one strip. The cell bitmap belongs to the holder and is reused: a cell
// stays valid until the next Cell call on the same holder, and changing it leaves the strip as is.
class TPicClip {
 public:
  explicit TPicClip(const DigitStrip& strip) : strip_(&strip) {}

  int Rows = 1;
  int Cols = 11;

  PixelBuffer& Cell(int index);

 private:
  const DigitStrip* strip_;
  PixelBuffer cell_;
};

// The four strips the picture draws with, owned by whoever composes pictures (the main form).
struct DigitStrips {
  TPicClip clip2{PicClip_2()};
  TPicClip clip3{PicClip_3()};
  TPicClip clip4{PicClip_4()};
  TPicClip clipMini{PicClip_Mini()};
};

}  // namespace kelvane
