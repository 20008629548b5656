#include "dialogs/window_layouts.h"

namespace kelvane {

namespace {

Box scaled(int left, int top, int width, int height, int dpi) {
  return {scaleToDpi(left, dpi), scaleToDpi(top, dpi), scaleToDpi(width, dpi), scaleToDpi(height, dpi)};
}

}  // namespace

int scaleToDpi(int length, int dpi) { return (length * dpi + 48) / 96; }

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

int storedSizeFor(const std::vector<int>& stored, int wanted) {
  int best = 0, largest = 0;
  for (const int size : stored) {
    if (size > largest) largest = size;
    if (size >= wanted && (best == 0 || size < best)) best = size;
  }
  return best != 0 ? best : largest;
}

}  // namespace kelvane
