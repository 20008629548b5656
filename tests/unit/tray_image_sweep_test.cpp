// Every load from 0 to 100 in every combination of the bar's options: the fill, the rest of the
// bar, the segment gaps and the border each land exactly where the look says, and nothing is
// drawn anywhere else. Expected positions are written out per layout, not derived from y1.
#include "tray/tray_image.h"

#include <gtest/gtest.h>

#include <set>

using namespace kelvane;

namespace {

const NumberFormat kDot = NumberFormat::fromSystem(".", ",", "3;0");
const SystemColorTable kColors = windows10SystemColors();

// A colour of its own for every element, so each pixel tells who drew it.
constexpr TColor kBk = rgbColor(250, 250, 240), kBorder = rgbColor(10, 20, 30),
                 kRest = rgbColor(40, 50, 60), kGreen = rgbColor(0, 200, 0),
                 kYellow = rgbColor(200, 200, 0), kRed = rgbColor(200, 0, 0),
                 kFont = rgbColor(7, 7, 7);

struct Layout {
  int left, firstRow, lastRow;  // the fill rectangle's fixed edges
  std::set<int> gapColumns;
  int gapFirstRow, gapLastRow;
};

Layout expectedLayout(const TKelvaneOptions& o) {
  Layout l{1, 1, 3, {}, 0, 0};
  if (o.InternalFont && o.NoBorder && o.TransBk) {
    l.left = 0;
    l.firstRow = o.BarBottom ? 12 : 0;
    l.lastRow = o.BarBottom ? 15 : 3;
  } else if (o.BarBottom) {
    const bool lower = !o.NoBorder || o.InternalFont;  // a border, or the digits' own rows
    l.firstRow = lower ? 12 : 11;
    l.lastRow = lower ? 14 : 13;
  }
  if (o.NoBorder) {
    l.gapColumns = {2, 5, 8, 11, 15};
    l.gapFirstRow = o.BarBottom ? 11 : (o.TransBk ? 0 : 1);
    l.gapLastRow = l.gapFirstRow + 4;
  } else {
    l.gapColumns = {3, 6, 9, 12};
    l.gapFirstRow = o.BarBottom ? 12 : 1;
    l.gapLastRow = l.gapFirstRow + 2;
  }
  return l;
}

// The loads the look names explicitly, then the plain rule for the rest.
int expectedFillEnd(std::uint32_t load, const TKelvaneOptions& o) {
  const int full = o.NoBorder && !o.StandardGauge && o.TransBk ? 16 : 15;
  if (load <= 12) return 1;
  if (load >= 94) return full;
  return static_cast<int>(load * 16 / 100);
}

}  // namespace

TEST(TrayImageSweep, BarFillRestGapsAndNothingElse) {
  int pictures = 0;
  for (int bits = 0; bits < 128; ++bits) {
    TKelvaneOptions o = defaultOptions(10);
    o.InternalFont = bits & 1;
    o.TransBk = bits & 2;
    o.NoBorder = bits & 4;
    o.BarBottom = bits & 8;
    o.StandardGauge = bits & 16;
    o.FullBar = bits & 32;
    o.MiniInternalFont = bits & 64;
    o.OpaqueBkColor = kBk;
    o.BarBorderColor = kBorder;
    o.FullBarColor = kRest;
    o.GreenColor = kGreen;
    o.YellowColor = kYellow;
    o.RedColor = kRed;
    o.FontColor = kFont;
    ApplyFontColor(o);
    const Layout layout = expectedLayout(o);
    const Pixel bk = o.TransBk ? TransparentKey : pixelFromColor(kBk);
    const int restEnd = o.NoBorder && !o.StandardGauge && o.TransBk ? 16 : 15;

    for (std::uint32_t load = 0; load <= 100; ++load) {
      MemorySample sample;
      sample.dwMemoryLoad = load;
      const LoadLevelKind level = LoadLevel(sample, o);
      const Pixel fillColor = pixelFromColor(
          level == LoadLevelKind::Green ? kGreen : level == LoadLevelKind::Yellow ? kYellow : kRed);
      const std::string text = "3.45";
      DigitStrips strips;
      const TrayImageInput in{o, sample, text, level, kColors, kDot, {}};
      const TrayPicture picture = ComposeTrayImage(in, strips);
      const PixelBuffer& p = picture.pixels;
      ASSERT_EQ(p.width(), 16);
      ASSERT_EQ(p.height(), 16);
      const int fillEnd = expectedFillEnd(load, o);
      SCOPED_TRACE(testing::Message() << "options " << bits << " load " << load);
      ++pictures;

      for (int y = 0; y < 16; ++y) {
        const bool barRow = y >= layout.firstRow && y <= layout.lastRow;
        const bool gapRow = o.StandardGauge && y >= layout.gapFirstRow && y <= layout.gapLastRow;
        for (int x = 0; x < 16; ++x) {
          const Pixel px = p.pixel(x, y);
          const bool gap = gapRow && layout.gapColumns.count(x);
          const bool filled = barRow && !gap && x >= layout.left && x < fillEnd;
          const bool rest = o.FullBar && barRow && !gap && x >= fillEnd && x < restEnd;
          ASSERT_EQ(px == fillColor, filled) << "fill at " << x << "," << y;
          ASSERT_EQ(px == pixelFromColor(kRest), rest) << "rest at " << x << "," << y;
          if (gap) {
            ASSERT_EQ(px, bk) << "gap at " << x << "," << y;
          }
          if (px == pixelFromColor(kBorder)) {
            ASSERT_FALSE(o.NoBorder) << x << "," << y;
          }
          if (px == pixelFromColor(kFont)) {
            ASSERT_TRUE(o.InternalFont) << x << "," << y;
          }
          const bool known = px == bk || px == fillColor || px == pixelFromColor(kRest) ||
                             px == pixelFromColor(kBorder) || px == pixelFromColor(kFont);
          ASSERT_TRUE(known) << std::hex << px << " at " << x << "," << y;
        }
      }
      if (!o.NoBorder) {
        EXPECT_EQ(p.pixel(0, layout.firstRow), pixelFromColor(kBorder));
      }
      if (load == 100) {
        for (Pixel px : p.pixels()) ASSERT_NE(px, pixelFromColor(kRest));
      }
      EXPECT_EQ(picture.seeThrough, o.TransBk);
      EXPECT_EQ(picture.fontText.has_value(), !o.InternalFont);
    }
  }
  EXPECT_EQ(pictures, 128 * 101);
}

TEST(TrayImageSweep, FillLengthFollowsTheLoad) {
  TKelvaneOptions o = defaultOptions(10);
  EXPECT_EQ(BarFillLength(0, o), 1);
  EXPECT_EQ(BarFillLength(12, o), 1);
  EXPECT_EQ(BarFillLength(13, o), 2);
  EXPECT_EQ(BarFillLength(50, o), 8);
  EXPECT_EQ(BarFillLength(93, o), 14);
  EXPECT_EQ(BarFillLength(94, o), 15);
  EXPECT_EQ(BarFillLength(100, o), 15);
  EXPECT_EQ(BarFillLength(4000000000u, o), 15);  // a nonsense reading still stays inside
  o.TransBk = true;
  o.StandardGauge = false;
  EXPECT_EQ(BarFillLength(94, o), 16);
  o.NoBorder = false;
  EXPECT_EQ(BarFillLength(100, o), 15);
}
