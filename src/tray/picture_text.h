#pragma once
// Which characters the picture draws for a display text: the built-in digits and the system
// font each take the text in their own way, with the system's separators passed in.
//
// Sixteen pixels hold at most four glyphs. A whole number of five or more digits (10000 MB and
// more shown in megabytes, the largest byte or kilobyte counts, a terabyte shown in gigabytes)
// would not fit, and dropping a digit would show a value ten times too small. Such a value is
// shown in the next larger unit with two decimals, cut to four characters like the gigabyte
// display (12,345 MB becomes 12.0): the tool tip shows gigabytes for those amounts as well, and
// the decimal point tells the reader that the unit is not the usual one.

#include <string>

#include "common/number_format.h"

namespace kelvane {

struct DigitText {
  // One byte per character to draw: '0'-'9' or '%'; any other character becomes '?' and is left
  // out of the picture (it has no glyph) while keeping its place.
  std::string glyphs;
  // 1-based index into `glyphs` of the character the decimal point stands in front of; 0 none.
  int pointPosition = 0;
  // The gigabyte layout: the digits start one column further left to make room for the point.
  bool gigabyteLayout = false;
};

DigitText BuiltInDigitText(const std::string& displayText, bool optimizeForGigabytes,
                           const NumberFormat& format);

// The text drawn in the system font: without the separators, or unchanged in gigabyte mode.
std::string SystemFontText(const std::string& displayText, bool optimizeForGigabytes,
                           const NumberFormat& format);

}  // namespace kelvane
