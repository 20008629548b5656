#pragma once
// Where the controls of the welcome and about windows go, as data: designed at 96 DPI and
// scaled to the system's DPI, so the shell only creates what it is given.

#include <vector>

#include "common/geometry.h"

namespace kelvane {

struct Box {
  int left = 0, top = 0, width = 0, height = 0;
  int right() const { return left + width; }
  int bottom() const { return top + height; }
};


struct AboutLayout {
  int clientWidth = 0, clientHeight = 0;
  Box picture;          // Image1: the program icon
  Box title;            // LblTitle
  Box version;          // Label2
  Box download;         // LabelDownload
  Box support;          // LinkLabel3
  Box donationPicture;  // Image3
  Box donation;         // LinkLabel2
  Box ok;               // Button1
  int titlePixels = 0;  // the title's character height
};
AboutLayout aboutLayout(int dpi);

// A single-line text is given this much more than its measured width (in percent): the same
// text in another font, or a longer number in it, must not clip.
inline constexpr int kSingleLineSparePercent = 10;

// What the about window's texts measure in their fonts, in pixels: the widest of the title,
// the version and support lines and every caption the download line can take; the donation line.
struct AboutTextWidths {
  int column = 0;
  int donation = 0;
};
// The layout widened so that every text keeps its spare: the text column and the window grow
// by what the widest text lacks, and the button moves with the right edge. A layout whose texts
// fit stays as it is.
AboutLayout fitAboutTexts(AboutLayout layout, const AboutTextWidths& widths);

struct WelcomeLayout {
  int clientWidth = 0, clientHeight = 0;
  Box picture;          // Image1: the program icon
  Box heading;          // Label1
  Box explanation;      // LinkLabel2
  Box illustration;     // Image3
  Box band;             // shp1
  Box donationPicture;  // Image2
  Box donation;         // LinkLabel4
  Box dontShowAgain;    // CheckBox1
  Box ok;               // Button1
  int headingPixels = 0;
};
WelcomeLayout welcomeLayout(int dpi);

// What the welcome window's texts measure in their fonts, in pixels: the heading's and the check
// box caption's widths (single lines), and the heights of the explanation and the donation text
// wrapped to their boxes' widths.
struct WelcomeTextSizes {
  int headingWidth = 0;
  int explanationHeight = 0;
  int donationHeight = 0;
  int checkBoxWidth = 0;  // the caption with the box's mark
};
// The layout grown so that every text fits: a wrapped text that needs more lines gets them and
// pushes what lies below it (and the window's bottom) down, the band growing with its text; a
// single line widens into the room beside it. A layout whose texts fit stays as it is.
WelcomeLayout fitWelcomeTexts(WelcomeLayout layout, const WelcomeTextSizes& sizes);

// Which stored size a square picture shown `wanted` pixels wide is scaled from: the smallest
// at least as large (scaling down stays sharp), else the largest.
int storedSizeFor(const std::vector<int>& stored, int wanted);

}  // namespace kelvane
