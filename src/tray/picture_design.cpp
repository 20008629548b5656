#include "tray/picture_design.h"

#include <array>

#include "tray/tray_image.h"

namespace kelvane {

namespace {

// 16 pixels: five segments of two columns, the last gap in the very last column.
constexpr std::array<int, 5> kGaps16 = {2, 5, 8, 11, 15};
constexpr std::array<int, 4> kGaps16Border = {3, 6, 9, 12};
// 20 pixels: five segments of three columns without a border; inside the border four segments
// of three with gaps of two, which is the one way equal segments fill its 18 columns.
constexpr std::array<int, 5> kGaps20 = {3, 7, 11, 15, 19};
constexpr std::array<int, 6> kGaps20Border = {4, 5, 9, 10, 14, 15};
// 24 pixels: four segments of four columns with gaps of two, with and without the border.
constexpr std::array<int, 8> kGaps24 = {4, 5, 10, 11, 16, 17, 22, 23};
constexpr std::array<int, 6> kGaps24Border = {5, 6, 11, 12, 17, 18};

const PictureDesign kDesign16{
    .size = 16, .band = 5, .gapsWithoutBorder = kGaps16, .gapsWithBorder = kGaps16Border,
    .digitTop = {6, 1}, .seeThroughDrop = 1, .miniDrop = {1, 2},
    .pointRow = {{15, 9}, {13, 8}}, .pointSize = 1,
    .one = {4, 6}, .twoMini = {3, 6}, .twoThin = {1, 8}, .two = {1, 8}, .three = {1, 5}, .four = {0, 4},
    .more = {0, 4}, .strips = stripsAt16()};

const PictureDesign kDesign20{
    .size = 20, .band = 6, .gapsWithoutBorder = kGaps20, .gapsWithBorder = kGaps20Border,
    .digitTop = {7, 1}, .seeThroughDrop = 0, .miniDrop = {2, 2},
    .pointRow = {{17, 11}, {15, 9}}, .pointSize = 1,
    .one = {6, 0}, .twoMini = {5, 6}, .twoThin = {4, 7}, .two = {2, 9}, .three = {2, 6}, .four = {1, 5},
    .more = {0, 4}, .strips = stripsAt20()};

const PictureDesign kDesign24{
    .size = 24, .band = 7, .gapsWithoutBorder = kGaps24, .gapsWithBorder = kGaps24Border,
    .digitTop = {9, 1}, .seeThroughDrop = 0, .miniDrop = {2, 2},
    .pointRow = {{20, 12}, {18, 10}}, .pointSize = 2,
    .one = {7, 0}, .twoMini = {6, 7}, .twoThin = {5, 8}, .two = {1, 12}, .three = {2, 7}, .four = {1, 6},
    .more = {0, 5}, .strips = stripsAt24()};

}  // namespace

const PictureDesign& pictureDesign(int designSize) {
  switch (designSize) {
    case 20: return kDesign20;
    case 24: return kDesign24;
    default: return kDesign16;
  }
}

PictureFit fitPicture(int iconSize) {
  if (iconSize <= TrayImageSize) return {TrayImageSize, 1, 0, iconSize};
  PictureFit best{TrayImageSize, 1, 0, iconSize};
  for (int design : {16, 20, 24}) {
    const int factor = iconSize / design;
    if (factor >= 1 && design * factor >= best.designSize * best.factor) {
      best.designSize = design;
      best.factor = factor;
    }
  }
  best.offset = (iconSize - best.designSize * best.factor) / 2;
  return best;
}

PixelBuffer placeOnIcon(const PixelBuffer& picture, const PictureFit& fit, bool& seeThrough) {
  if (fit.iconSize < fit.designSize) return scaleNearest(picture, fit.iconSize, fit.iconSize);
  const int placed = fit.designSize * fit.factor;
  if (placed == fit.iconSize && fit.factor == 1) return picture;
  PixelBuffer icon(fit.iconSize, fit.iconSize, TransparentKey);
  if (placed < fit.iconSize) seeThrough = true;
  for (int y = 0; y < placed; ++y)
    for (int x = 0; x < placed; ++x)
      icon.setPixel(fit.offset + x, fit.offset + y, picture.pixel(x / fit.factor, y / fit.factor));
  return icon;
}

}  // namespace kelvane
