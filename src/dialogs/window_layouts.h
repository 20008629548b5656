#pragma once
// Where the controls of the welcome and about windows go, as data: designed at 96 DPI and
// scaled to the system's DPI, so the shell only creates what it is given.

#include <vector>

namespace kelvane {

struct Box {
  int left = 0, top = 0, width = 0, height = 0;
  int right() const { return left + width; }
  int bottom() const { return top + height; }
};

// A design length at 96 DPI in pixels at `dpi`, rounded to the nearest.
int scaleToDpi(int length, int dpi);

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

// Which stored size a square picture shown `wanted` pixels wide is scaled from: the smallest
// at least as large (scaling down stays sharp), else the largest.
int storedSizeFor(const std::vector<int>& stored, int wanted);

}  // namespace kelvane
