// Colours the taskbar and high contrast impose on the picture at draw time: which ones, and that
// only the text and border pixels change.
#include "tray/picture_colors.h"

#include <gtest/gtest.h>

#include "tray/tray_image.h"

using namespace kelvane;

namespace {

const NumberFormat kDot = NumberFormat::fromSystem(".", ",", "3;0");

SystemColorTable highContrastColors() {
  SystemColorTable table = windows10SystemColors();
  table[5] = rgbColor(0, 0, 0);        // window: black
  table[8] = rgbColor(255, 255, 0);    // window text: yellow
  return table;
}

TrayPicture compose(const TKelvaneOptions& o, const PictureColors& colors) {
  MemorySample sample;
  sample.dwMemoryLoad = 50;
  DigitStrips strips;
  const std::string text = "3.45";
  return ComposeTrayImage({o, sample, text, LoadLevel(sample, o), windows10SystemColors(), kDot, {}, TrayImageSize, colors},
                          strips);
}

}  // namespace

TEST(PictureColors, DecisionWithHighContrastAsAnInput) {
  const SystemColorTable table = highContrastColors();
  constexpr TColor yellow = rgbColor(255, 255, 0), black = 0, white = 0xFFFFFF;
  struct Row {
    const char* what;
    bool follow, seeThrough;
    std::optional<bool> light;
    bool highContrast;
    PictureColors expected;
  };
  const Row rows[] = {
      {"choice off", false, true, false, false, {}},
      {"dark taskbar", true, true, false, false, {white, white, std::nullopt}},
      {"light taskbar", true, true, true, false, {black, black, std::nullopt}},
      {"no taskbar mode (Windows 7)", true, true, std::nullopt, false, {}},
      {"opaque picture", true, false, false, false, {}},
      {"high contrast, see-through", false, true, false, true, {yellow, yellow, std::nullopt}},
      {"high contrast, opaque", false, false, std::nullopt, true, {yellow, yellow, black}},
      {"high contrast over the choice", true, true, true, true, {yellow, yellow, std::nullopt}},
  };
  for (const Row& row : rows) {
    TKelvaneOptions o = defaultOptions(10);
    o.FollowTaskbarTheme = row.follow;
    o.TransBk = row.seeThrough;
    EXPECT_EQ(pictureColors(o, {row.light, row.highContrast}, table), row.expected) << row.what;
  }
}

TEST(PictureColors, OnlyTextAndBorderPixelsTakeTheTaskbarColour) {
  TKelvaneOptions o = defaultOptions(10);
  o.TransBk = true;
  o.NoBorder = false;
  o.FollowTaskbarTheme = true;
  o.BarBorderColor = rgbColor(64, 64, 128);
  const TKelvaneOptions before = o;
  const TrayPicture plain = compose(o, {});
  const TrayPicture dark = compose(o, pictureColors(o, {false, false}, windows10SystemColors()));
  const TrayPicture light = compose(o, pictureColors(o, {true, false}, windows10SystemColors()));
  EXPECT_EQ(o, before);  // the record keeps the user's colours

  const Pixel text = pixelFromColor(resolveSystemColor(o.Font.Color, windows10SystemColors()));
  const Pixel border = pixelFromColor(o.BarBorderColor);
  int textPixels = 0, borderPixels = 0;
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) {
      const Pixel p = plain.pixels.pixel(x, y);
      if (p == text) {
        ++textPixels;
        EXPECT_EQ(dark.pixels.pixel(x, y), 0xFFFFFFu) << x << "," << y;
        EXPECT_EQ(light.pixels.pixel(x, y), 0x000000u) << x << "," << y;
      } else if (p == border) {
        ++borderPixels;
        EXPECT_EQ(dark.pixels.pixel(x, y), 0xFFFFFFu) << x << "," << y;
        EXPECT_EQ(light.pixels.pixel(x, y), 0x000000u) << x << "," << y;
      } else {
        // Background, load colour and gaps stay.
        EXPECT_EQ(dark.pixels.pixel(x, y), p) << x << "," << y;
        EXPECT_EQ(light.pixels.pixel(x, y), p) << x << "," << y;
      }
    }
  }
  EXPECT_GT(textPixels, 10);
  EXPECT_GT(borderPixels, 10);
}

TEST(PictureColors, HighContrastFillsAnOpaqueBackgroundWithTheWindowColour) {
  TKelvaneOptions o = defaultOptions(10);
  o.InternalFont = false;  // the system-font value takes the text colour too
  const TrayPicture picture = compose(o, pictureColors(o, {std::nullopt, true}, highContrastColors()));
  EXPECT_EQ(picture.pixels.pixel(0, 15), 0x000000u);
  ASSERT_TRUE(picture.fontText);
  EXPECT_EQ(picture.fontText->color, 0xFFFF00u);
}
