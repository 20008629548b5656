#include "tray/digit_strips.h"

#include <array>

namespace kelvane {

namespace {

constexpr std::array<const char*, 8> kStrip2Rows = {
    ".####.. ..##... .####.. .####.. ....#.. .#####. .####.. ######. .####.. .####.. .......",
    "##..##. .###... ##..##. ##..##. ...##.. .##.... ##..... ....##. ##..##. ##..##. .......",
    "##..##. ..##... ....##. ....##. ..###.. .##.... ##..... ...##.. ##..##. ##..##. .......",
    "##..##. ..##... ...##.. ..###.. .#.##.. .####.. #####.. ...##.. .####.. ##..##. .......",
    "##..##. ..##... ..##... ....##. #..##.. ....##. ##..##. ...##.. ##..##. .#####. .......",
    "##..##. ..##... .##.... ....##. ######. ....##. ##..##. ..##... ##..##. ....##. .......",
    "##..##. ..##... ##..... ##..##. ...##.. ##..##. ##..##. ..##... ##..##. ....##. .......",
    ".####.. .####.. ######. .####.. ...##.. .####.. .####.. ..##... .####.. .####.. .......",
};

constexpr std::array<const char*, 9> kStrip3Rows = {
    ".##.. ..#.. ###.. ###.. #..#. .###. .###. ####. .##.. .##.. .....",
    "#..#. .##.. ...#. ...#. #..#. #.... #.... ...#. #..#. #..#. ##...",
    "#..#. ..#.. ...#. ...#. #..#. #.... #.... ...#. #..#. #..#. ##..#",
    "#..#. ..#.. ...#. ...#. #..#. #.... #.... ..#.. #..#. #..#. ...#.",
    "#..#. ..#.. .##.. ###.. ####. .##.. .##.. ..#.. .##.. .###. ..#..",
    "#..#. ..#.. #.... ...#. ...#. ...#. #..#. .#... #..#. ...#. .#...",
    "#..#. ..#.. #.... ...#. ...#. ...#. #..#. .#... #..#. ...#. #..##",
    "#..#. ..#.. #.... ...#. ...#. ...#. #..#. #.... #..#. ...#. ...##",
    ".##.. .###. .###. ###.. ...#. ###.. .##.. #.... .##.. .##.. .....",
};

constexpr std::array<const char*, 8> kStrip4Rows = {
    ".#. .#. ##. ##. #.# .## .## ### .#. .#. ...",
    "#.# .#. ..# ..# #.# #.. #.. ..# #.# #.# ...",
    "#.# ##. ..# ..# #.# #.. #.. ..# #.# #.# .#.",
    "#.# .#. ..# ..# #.# #.. #.. .#. #.# #.# ...",
    "#.# .#. .#. ##. ### .#. ##. .#. .#. .## ...",
    "#.# .#. #.. ..# ..# ..# #.# .#. #.# ..# .#.",
    "#.# .#. #.. ..# ..# ..# #.# #.. #.# ..# ...",
    ".#. .#. .## ##. ..# ##. .#. #.. .#. ##. ...",
};

constexpr std::array<const char*, 6> kStripMiniRows = {
    ".##. ..#. ###. #### ..#. #### .### #### .##. .##. ##..",
    "#..# .##. ...# ..#. .##. #... #... ...# #..# #..# ##.#",
    "#.## ..#. ...# .##. #.#. ###. ###. ..#. .##. #..# ..#.",
    "##.# ..#. .##. ...# #### ...# #..# .#.. #..# .### .#..",
    "#..# ..#. #... #..# ..#. ...# #..# .#.. #..# ...# #.##",
    ".##. ..#. #### .##. ..#. ###. .##. .#.. .##. .##. ..##",
};

constexpr DigitStrip kStrip2{77, 8, kStrip2Rows};
constexpr DigitStrip kStrip3{55, 9, kStrip3Rows};
constexpr DigitStrip kStrip4{33, 8, kStrip4Rows};
constexpr DigitStrip kStripMini{44, 6, kStripMiniRows};
constexpr StripSet kStrips16{kStrip2, kStrip3, kStrip4, kStripMini};

}  // namespace

Pixel DigitStrip::pixel(int x, int y, int cols) const {
  const int cw = cellWidth(cols);
  // Each cell's text is followed by one blank that separates it from the next.
  const int column = (x / cw) * (cw + 1) + x % cw;
  return rows[static_cast<std::size_t>(y)][column] == '#' ? StripGlyphColor : StripBackgroundColor;
}

const DigitStrip& PicClip_2() { return kStrip2; }
const DigitStrip& PicClip_3() { return kStrip3; }
const DigitStrip& PicClip_4() { return kStrip4; }
const DigitStrip& PicClip_Mini() { return kStripMini; }
const StripSet& stripsAt16() { return kStrips16; }

PixelBuffer& TPicClip::Cell(int index) {
  const int cw = strip_->width / Cols;
  const int ch = strip_->height / Rows;
  if (cell_.width() != cw || cell_.height() != ch) cell_ = PixelBuffer(cw, ch);
  if (index < 0 || index >= Rows * Cols) {
    cell_.fillRect({0, 0, cw, ch}, StripBackgroundColor);
    return cell_;
  }
  const int left = (index % Cols) * cw;
  const int top = (index / Cols) * ch;
  for (int y = 0; y < ch; ++y)
    for (int x = 0; x < cw; ++x) cell_.setPixel(x, y, strip_->pixel(left + x, top + y, Cols));
  return cell_;
}

}  // namespace kelvane
