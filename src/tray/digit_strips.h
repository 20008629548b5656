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

// The four strips of one picture size: bold, thin, narrow and mini digits.
struct StripSet {
  const DigitStrip& bold;
  const DigitStrip& thin;
  const DigitStrip& narrow;
  const DigitStrip& mini;
};

const StripSet& stripsAt16();  // PicClip_2, PicClip_3, PicClip_4, PicClip_Mini
const StripSet& stripsAt20();
const StripSet& stripsAt24();

// The holders of one strip set.
struct StripClips {
  explicit StripClips(const StripSet& set)
      : clip2(set.bold), clip3(set.thin), clip4(set.narrow), clipMini(set.mini) {}
  TPicClip clip2;
  TPicClip clip3;
  TPicClip clip4;
  TPicClip clipMini;
};

// The strips the picture draws with at each of its designed sizes, owned by whoever composes
// pictures (the main form).
struct DigitStrips {
  StripClips at16{stripsAt16()};
  StripClips at20{stripsAt20()};
  StripClips at24{stripsAt24()};

  // The holders for a picture designed at 16, 20 or 24 pixels.
  StripClips& forSize(int designSize) {
    return designSize == 24 ? at24 : designSize == 20 ? at20 : at16;
  }
};

}  // namespace kelvane
