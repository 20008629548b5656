#include "dialogs/window_layouts.h"

#include <algorithm>

namespace kelvane {

namespace {

Box scaled(int left, int top, int width, int height, int dpi) {
  return {scaleToDpi(left, dpi), scaleToDpi(top, dpi), scaleToDpi(width, dpi), scaleToDpi(height, dpi)};
}

}  // namespace

AboutLayout aboutLayout(int dpi) {
  AboutLayout l;
  l.clientWidth = scaleToDpi(373, dpi);
  l.clientHeight = scaleToDpi(291, dpi);
  l.picture = scaled(24, 24, 48, 48, dpi);
  l.title = scaled(88, 26, 260, 24, dpi);
  l.version = scaled(88, 54, 260, 18, dpi);
  l.download = scaled(88, 92, 260, 18, dpi);
  l.support = scaled(88, 144, 260, 18, dpi);
  l.donationPicture = scaled(88, 178, 16, 16, dpi);
  l.donation = scaled(110, 177, 238, 18, dpi);
  l.ok = scaled(274, 250, 75, 25, dpi);
  l.titlePixels = scaleToDpi(16, dpi);
  return l;
}

WelcomeLayout welcomeLayout(int dpi) {
  WelcomeLayout l;
  l.clientWidth = scaleToDpi(557, dpi);
  l.clientHeight = scaleToDpi(406, dpi);
  l.picture = scaled(12, 10, 32, 32, dpi);
  l.heading = scaled(54, 16, 490, 22, dpi);
  l.explanation = scaled(12, 48, 533, 50, dpi);
  l.illustration = scaled(9, 100, 539, 194, dpi);
  l.band = scaled(0, 302, 557, 52, dpi);
  l.donationPicture = scaled(12, 312, 32, 32, dpi);
  l.donation = scaled(54, 312, 491, 36, dpi);
  l.dontShowAgain = scaled(12, 368, 300, 22, dpi);
  l.ok = scaled(470, 366, 75, 25, dpi);
  l.headingPixels = scaleToDpi(16, dpi);
  return l;
}

namespace {

int withSpare(int width) { return width + (width * kSingleLineSparePercent + 99) / 100; }

// Gives `box` `more` height, moving every box of the welcome window that starts at or below
// `box`'s old bottom down with the window's bottom.
void growWelcomeBox(WelcomeLayout& l, Box& box, int more) {
  if (more <= 0) return;
  const int from = box.bottom();
  box.height += more;
  for (Box* below : {&l.illustration, &l.band, &l.donationPicture, &l.donation, &l.dontShowAgain, &l.ok})
    if (below->top >= from) below->top += more;
  l.clientHeight += more;
}

}  // namespace

AboutLayout fitAboutTexts(AboutLayout l, const AboutTextWidths& widths) {
  const int lacking = std::max({0, withSpare(widths.column) - l.download.width,
                                withSpare(widths.donation) - l.donation.width});
  if (lacking == 0) return l;
  for (Box* box : {&l.title, &l.version, &l.download, &l.support, &l.donation}) box->width += lacking;
  l.ok.left += lacking;
  l.clientWidth += lacking;
  return l;
}

WelcomeLayout fitWelcomeTexts(WelcomeLayout l, const WelcomeTextSizes& sizes) {
  growWelcomeBox(l, l.explanation, sizes.explanationHeight - l.explanation.height);
  // The band is the donation text's background: it grows with it, and what lies below moves.
  const int donationMore = sizes.donationHeight - l.donation.height;
  if (donationMore > 0) l.donation.height += donationMore;
  growWelcomeBox(l, l.band, donationMore);
  // The heading may run to the right margin, the check box up to the button's left edge.
  const int margin = l.clientWidth - l.explanation.right();
  l.heading.width = std::max(l.heading.width, std::min(withSpare(sizes.headingWidth), l.clientWidth - margin - l.heading.left));
  l.dontShowAgain.width =
      std::max(l.dontShowAgain.width, std::min(withSpare(sizes.checkBoxWidth), l.ok.left - margin - l.dontShowAgain.left));
  return l;
}

int storedSizeFor(const std::vector<int>& stored, int wanted) {
  int best = 0, largest = 0;
  for (const int size : stored) {
    if (size > largest) largest = size;
    if (size >= wanted && (best == 0 || size < best)) best = size;
  }
  return best != 0 ? best : largest;
}

}  // namespace kelvane
