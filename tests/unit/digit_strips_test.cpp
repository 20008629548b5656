// The digit strips and the small bitmap operations the digits are drawn with.
#include "tray/digit_strips.h"

#include <gtest/gtest.h>

#include <string>

using namespace kelvane;

namespace {

std::string rowOf(const PixelBuffer& b, int y) {
  std::string s;
  for (int x = 0; x < b.width(); ++x) s += b.pixel(x, y) == StripGlyphColor ? '#' : '.';
  return s;
}

}  // namespace

TEST(DigitStrips, StripsHaveTheirSizeAndOnlyGlyphOrBackgroundPixels) {
  struct Expect { const DigitStrip& strip; int width, height; };
  for (const Expect& e : {Expect{PicClip_2(), 77, 8}, Expect{PicClip_3(), 55, 9},
                          Expect{PicClip_4(), 33, 8}, Expect{PicClip_Mini(), 44, 6}}) {
    EXPECT_EQ(e.strip.width, e.width);
    ASSERT_EQ(static_cast<int>(e.strip.rows.size()), e.height);
    const int cw = e.width / 11;
    for (const char* row : e.strip.rows) {
      const std::string text = row;
      ASSERT_EQ(static_cast<int>(text.size()), 11 * (cw + 1) - 1) << text;
      for (std::size_t i = 0; i < text.size(); ++i) {
        const bool separator = (i + 1) % static_cast<std::size_t>(cw + 1) == 0;
        EXPECT_EQ(text[i] == ' ', separator) << text;
        if (!separator) {
          EXPECT_TRUE(text[i] == '#' || text[i] == '.') << text;
        }
      }
    }
  }
}

TEST(DigitStrips, CellCopiesOneCellIntoTheHoldersOwnBitmap) {
  TPicClip clip(PicClip_3());
  PixelBuffer& seven = clip.Cell(7);
  ASSERT_EQ(seven.width(), 5);
  ASSERT_EQ(seven.height(), 9);
  EXPECT_EQ(rowOf(seven, 0), "####.");
  EXPECT_EQ(rowOf(seven, 8), "#....");
  EXPECT_EQ(seven.pixel(4, 4), StripBackgroundColor);

  // Changing the cell leaves the strip alone: the next request is clean again.
  RecolorBitmap(seven, StripGlyphColor, 0x123456);
  EXPECT_EQ(clip.Cell(7).pixel(0, 0), StripGlyphColor);

  // The same bitmap is reused, and the percent sign is cell 10.
  PixelBuffer& percent = clip.Cell(10);
  EXPECT_EQ(&percent, &seven);
  EXPECT_EQ(rowOf(percent, 2), "##..#");

  TPicClip narrow(PicClip_4());
  EXPECT_EQ(rowOf(narrow.Cell(10), 2), ".#.");  // two dots, not a percent sign
  EXPECT_EQ(rowOf(narrow.Cell(10), 5), ".#.");
  EXPECT_EQ(narrow.Cell(11).pixel(1, 2), StripBackgroundColor);  // no such cell: empty
  TPicClip bold(PicClip_2());
  for (int y = 0; y < 8; ++y) EXPECT_EQ(rowOf(bold.Cell(10), y), ".......");
  TPicClip mini(PicClip_Mini());
  EXPECT_EQ(rowOf(mini.Cell(4), 3), "####");
}

TEST(BitmapOps, RecolorAndDrawTransparentArePerPixelExact) {
  PixelBuffer glyph(3, 2, 0xFF00FF);
  glyph.setPixel(1, 0, 0x000000);
  glyph.setPixel(2, 1, 0x000001);  // nearly black is not black
  RecolorBitmap(glyph, 0x000000, 0x00FF00);
  EXPECT_EQ(glyph.pixel(1, 0), 0x00FF00u);
  EXPECT_EQ(glyph.pixel(2, 1), 0x000001u);
  EXPECT_EQ(glyph.pixel(0, 0), 0xFF00FFu);

  PixelBuffer canvas(4, 3, 0xABCDEF);
  DrawTransparent(canvas, 2, 2, glyph, 0xFF00FF);  // mostly outside: clipped, no fault
  EXPECT_EQ(canvas.pixel(3, 2), 0x00FF00u);
  EXPECT_EQ(canvas.pixel(2, 2), 0xABCDEFu);
  DrawTransparent(canvas, -1, 0, glyph, 0xFF00FF);
  EXPECT_EQ(canvas.pixel(0, 0), 0x00FF00u);
  EXPECT_EQ(canvas.pixel(1, 1), 0x000001u);
  EXPECT_EQ(canvas.pixel(0, 1), 0xABCDEFu);
}

TEST(BitmapOps, NearestNeighbourScalingRepeatsWholePixels) {
  PixelBuffer source(16, 16);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) source.setPixel(x, y, static_cast<Pixel>(y * 16 + x));
  EXPECT_EQ(scaleNearest(source, 16, 16), source);

  const PixelBuffer doubled = scaleNearest(source, 32, 32);  // 200 %
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) ASSERT_EQ(doubled.pixel(x, y), source.pixel(x / 2, y / 2));

  // 150 %: 24 pixels, every source pixel shown once or twice, in order, none skipped.
  const PixelBuffer larger = scaleNearest(source, 24, 24);
  int previous = -1, repeats = 0;
  for (int x = 0; x < 24; ++x) {
    const int sx = static_cast<int>(larger.pixel(x, 0) % 16);
    EXPECT_TRUE(sx == previous || sx == previous + 1) << x;
    repeats += sx == previous;
    previous = sx;
  }
  EXPECT_EQ(previous, 15);
  EXPECT_EQ(repeats, 8);
  // 125 %: 20 pixels, four of them doubled.
  const PixelBuffer slightly = scaleNearest(source, 20, 20);
  EXPECT_EQ(slightly.pixel(19, 19), source.pixel(15, 15));
  EXPECT_EQ(slightly.pixel(0, 0), source.pixel(0, 0));
}
