#pragma once
// The tray picture's designs: one layout for each size it is drawn for (16, 20 and 24 pixels),
// and the choice of design for the size the notification area shows icons at. Larger sizes
// repeat the pixels of a design a whole number of times, so no stroke is ever thicker on one
// side than on the other; a size that is no whole multiple of a design shows the largest one
// that fits, centred.

#include <span>

#include "tray/digit_strips.h"
#include "tray/pixel_buffer.h"

namespace kelvane {

// Where the glyphs of a text of one length start and how far apart their left edges are.
struct DigitRun {
  int x0;
  int pitch;
};

struct PictureDesign {
  int size;
  // Rows of the bordered bar; the fill inside it is two rows fewer, and the digits rise by this
  // much when the bar is at the bottom in the system-font look.
  int band;
  std::span<const int> gapsWithoutBorder;  // segment gap columns
  std::span<const int> gapsWithBorder;
  int digitTop[2];       // top row of the glyphs: bar at the top, bar at the bottom
  int seeThroughDrop;    // added to the top row for a see-through picture with the bar at the top
  int miniDrop[2];       // added for mini digits: bar at the top, bar at the bottom
  int pointRow[2][2];    // [mini][bar at the bottom]: top row of the decimal point
  int pointSize;         // the decimal point is a square of this side
  // By the number of glyphs; two glyphs of the mini or the thin strip (a percentage such as
  // 5%) have runs of their own.
  DigitRun one, twoMini, twoThin, two, three, four, more;
  const StripSet& strips;
};

// The design drawn at 16, 20 or 24 pixels; any other size gets the 16-pixel design.
const PictureDesign& pictureDesign(int designSize);

// How a picture of one design becomes an icon of `iconSize` pixels: each design pixel repeated
// `factor` times each way, the result placed at `offset` from the icon's top left (centred
// when it is smaller than the icon).
struct PictureFit {
  int designSize = 16;
  int factor = 1;
  int offset = 0;
  int iconSize = 16;

  bool operator==(const PictureFit&) const = default;
};

// The largest whole multiple of a design that fits `iconSize`; of equal results the larger
// design (48 is 24 doubled, not 16 tripled). Below 16 pixels the 16-pixel design, reduced.
PictureFit fitPicture(int iconSize);

// The picture of `fit.designSize` pixels as an icon of `fit.iconSize`: repeated and centred.
// A margin around a smaller picture is see-through (TransparentKey), so `seeThrough` is then
// set whatever the look.
PixelBuffer placeOnIcon(const PixelBuffer& picture, const PictureFit& fit, bool& seeThrough);

}  // namespace kelvane
