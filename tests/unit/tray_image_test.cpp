// The tray picture, pinned pixel by pixel for the looks users know, and swept over loads and
// option combinations for the properties every look must keep.
#include "tray/tray_image.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

using namespace kelvane;

namespace {

const NumberFormat kDot = NumberFormat::fromSystem(".", ",", "3;0");
const SystemColorTable kColors = windows10SystemColors();

constexpr Pixel kWhite = 0xFFFFFF, kBlack = 0x000000, kGreen = 0x00FF00, kRed = 0xFF0000;
constexpr Pixel kShadow = 0xA0A0A0, kMagenta = 0xFF00FF;

struct Compose {
  TKelvaneOptions options = defaultOptions(10);
  std::uint32_t load = 50;
  std::string text = "3.45";

  TrayPicture run(SystemFontMetrics metrics = {}) const {
    MemorySample sample;
    sample.dwMemoryLoad = load;
    DigitStrips strips;
    const TrayImageInput in{options, sample, text, LoadLevel(sample, options), kColors, kDot, metrics};
    return ComposeTrayImage(in, strips);
  }
};

// The picture as 16 lines of characters, one per pixel, through a legend; unknown colours show
// as their hex value so a failure message says what was drawn.
std::vector<std::string> grid(const PixelBuffer& pixels, const std::map<Pixel, char>& legend) {
  std::vector<std::string> lines;
  for (int y = 0; y < pixels.height(); ++y) {
    std::string line;
    for (int x = 0; x < pixels.width(); ++x) {
      const auto it = legend.find(pixels.pixel(x, y));
      if (it != legend.end()) {
        line += it->second;
      } else {
        char hex[16];
        std::snprintf(hex, sizeof hex, "[%06X]", pixels.pixel(x, y));
        line += hex;
      }
    }
    lines.push_back(line);
  }
  return lines;
}

const std::map<Pixel, char> kLegend = {{kWhite, '.'}, {kBlack, '#'}, {kGreen, 'g'}, {kRed, 'r'},
                                       {kShadow, 'S'}, {TransparentKey, 'k'}, {kMagenta, 'M'},
                                       {0xFFFF00, 'y'}};

// The digits "3.45" in the 5-pixel strip at columns 0, 7 and 12, top row 6, point at (5, 15).
const std::vector<std::string> kDigits345 = {
    "###....#..#..###",  // 6
    "...#...#..#.#...",
    "...#...#..#.#...",
    "...#...#..#.#...",
    "###....####..##.",  // 10
    "...#......#....#",
    "...#......#....#",
    "...#......#....#",
    "###.......#.###.",  // 14
    ".....#..........",  // 15: the decimal point
};

std::vector<std::string> concat(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

const std::string kBlank(16, '.');

}  // namespace

TEST(TrayImage, DefaultLookForThreePointFourFive) {
  const Compose c;  // defaults: digits, no border, segment gaps, white, bar on top, gigabytes
  const TrayPicture picture = c.run();
  const std::vector<std::string> expected = concat(
      {kBlank, ".g.gg.gg........", ".g.gg.gg........", ".g.gg.gg........", kBlank, kBlank},
      kDigits345);
  EXPECT_EQ(grid(picture.pixels, kLegend), expected);
  EXPECT_FALSE(picture.seeThrough);
  EXPECT_FALSE(picture.fontText.has_value());
}

TEST(TrayImage, BorderedBarKeepsItsFrameAndInnerGaps) {
  Compose c;
  c.options.NoBorder = false;
  const std::vector<std::string> expected = concat(
      {std::string(16, 'S'), "Sgg.gg.g.......S", "Sgg.gg.g.......S", "Sgg.gg.g.......S",
       std::string(16, 'S'), kBlank},
      kDigits345);
  EXPECT_EQ(grid(c.run().pixels, kLegend), expected);
}

TEST(TrayImage, BarAtTheBottomWithoutBorderMovesDigitsUp) {
  Compose c;
  c.options.BarBottom = true;
  std::vector<std::string> digits(kDigits345.begin(), kDigits345.end() - 1);
  digits.back() = "###..#....#.###.";  // the point joins the digits' last row
  const std::vector<std::string> expected =
      concat(concat({kBlank}, digits),
             {kBlank, kBlank, ".g.gg.gg........", ".g.gg.gg........", ".g.gg.gg........", kBlank});
  EXPECT_EQ(grid(c.run().pixels, kLegend), expected);
}

TEST(TrayImage, PercentagesPickTheirStrip) {
  Compose c;
  c.options.ShowPercentage = true;
  c.options.ShowPercSign = true;
  c.options.OptimizeForGigabytes = false;

  // 100%: four 3-pixel cells at 0, 4, 8 and 12, the percent cell being two dots.
  c.load = 100;
  c.text = "100%";
  const std::vector<std::string> full = {
      kBlank,
      ".r.rr.rr.rr.rrr.",
      ".r.rr.rr.rr.rrr.",
      ".r.rr.rr.rr.rrr.",
      kBlank,
      kBlank,
      ".#...#...#......",
      ".#..#.#.#.#.....",
      "##..#.#.#.#..#..",
      ".#..#.#.#.#.....",
      ".#..#.#.#.#.....",
      ".#..#.#.#.#..#..",
      ".#..#.#.#.#.....",
      ".#...#...#......",
      kBlank,
      kBlank,
  };
  EXPECT_EQ(grid(c.run().pixels, kLegend), full);

  // 45%: three 5-pixel cells at 1, 6 and 11 with a proper percent sign.
  c.load = 45;
  c.text = "45%";
  const std::vector<std::string> fortyFive = {
      kBlank,
      ".g.gg.g.........",
      ".g.gg.g.........",
      ".g.gg.g.........",
      kBlank,
      kBlank,
      ".#..#..###......",
      ".#..#.#....##...",
      ".#..#.#....##..#",
      ".#..#.#.......#.",
      ".####..##....#..",
      "....#....#..#...",
      "....#....#.#..##",
      "....#....#....##",
      "....#.###.......",
      kBlank,
  };
  EXPECT_EQ(grid(c.run().pixels, kLegend), fortyFive);

  // 5%: two characters of a percentage take the 5-pixel strip too, at 1 and 9; no fill at 5 %.
  c.load = 5;
  c.text = "5%";
  const std::vector<std::string> five = {
      kBlank, kBlank, kBlank, kBlank, kBlank, kBlank,
      "..###...........",
      ".#.......##.....",
      ".#.......##..#..",
      ".#..........#...",
      "..##.......#....",
      "....#.....#.....",
      "....#....#..##..",
      "....#.......##..",
      ".###............",
      kBlank,
  };
  EXPECT_EQ(grid(c.run().pixels, kLegend), five);

  // A two-digit size uses the bold 7-pixel strip: "1" and "2" at columns 1 and 9.
  c.options.ShowPercentage = false;
  c.load = 50;
  c.text = "12";
  const PixelBuffer twelve = c.run().pixels;
  EXPECT_EQ(grid(twelve, kLegend)[6], "...##.....####..");
  EXPECT_EQ(grid(twelve, kLegend)[13], "..####...######.");
}

TEST(TrayImage, MagentaDigitsStayVisible) {
  Compose c;
  c.options.FontColor = 0xFF00FF;
  ApplyFontColor(c.options);
  const std::vector<std::string> lines = grid(c.run().pixels, kLegend);
  for (std::size_t i = 0; i < kDigits345.size(); ++i) {
    std::string expected = kDigits345[i];
    for (char& ch : expected) ch = ch == '#' ? 'M' : ch;
    EXPECT_EQ(lines[6 + i], expected) << "row " << 6 + i;
  }
}

TEST(TrayImage, MiniDigitsOnlyWithBuiltInDigits) {
  Compose plain, mini;
  mini.options.MiniInternalFont = true;
  EXPECT_NE(plain.run().pixels, mini.run().pixels);

  plain.options.InternalFont = mini.options.InternalFont = false;
  const SystemFontMetrics metrics{12, 8};
  EXPECT_EQ(plain.run(metrics), mini.run(metrics));

  // The mini strip: 4-pixel cells at 0, 7 and 12 one row lower, the point on row 13.
  const std::vector<std::string> expected = {
      kBlank, ".g.gg.gg........", ".g.gg.gg........", ".g.gg.gg........", kBlank, kBlank, kBlank,
      "####.....#..####",
      "..#.....##..#...",
      ".##....#.#..###.",
      "...#...####....#",
      "#..#.....#.....#",
      ".##......#..###.",
      ".....#..........",
      kBlank, kBlank,
  };
  Compose m;
  m.options.MiniInternalFont = true;
  EXPECT_EQ(grid(m.run().pixels, kLegend), expected);
}

TEST(TrayImage, SystemFontTextIsCentredAboveTheBottom) {
  Compose c;
  c.options.InternalFont = false;
  c.options.OptimizeForGigabytes = false;
  c.text = "1,234";
  const TrayPicture top = c.run({11, 7});
  ASSERT_TRUE(top.fontText.has_value());
  EXPECT_EQ(top.fontText->text, "1234");
  EXPECT_EQ(top.fontText->x, 2);  // (16 - 11) / 2
  EXPECT_EQ(top.fontText->y, 9);  // 16 - 7
  EXPECT_EQ(top.fontText->color, kBlack);

  c.options.BarBottom = true;
  c.options.OptimizeForGigabytes = true;
  c.text = "12.34";
  const TrayPicture bottom = c.run({20, 7});
  EXPECT_EQ(bottom.fontText->text, "12.34");
  EXPECT_EQ(bottom.fontText->x, -2);  // truncated toward zero
  EXPECT_EQ(bottom.fontText->y, 4);   // 16 - 7 - 5
}

TEST(TrayImage, ValuesTooLongForFourGlyphsAndTheGigabyteLayout) {
  // 12,345 MB cannot be drawn in four glyphs; it is drawn exactly like 12.06 GB would be.
  Compose megabytes, gigabytes;
  megabytes.options.OptimizeForGigabytes = false;
  megabytes.text = "12,345";
  gigabytes.text = "12.06";
  const PixelBuffer drawn = megabytes.run().pixels;
  EXPECT_EQ(drawn, gigabytes.run().pixels);
  EXPECT_EQ(drawn.pixel(10, 15), kBlack);  // the point between 12 and 0

  // Four glyphs already start at the left edge; the gigabyte layout must not push them past it.
  Compose percent;
  percent.options.ShowPercentage = percent.options.ShowPercSign = true;
  percent.text = "100%";
  Compose plain = percent;
  plain.options.OptimizeForGigabytes = false;
  EXPECT_EQ(percent.run().pixels, plain.run().pixels);
  EXPECT_EQ(grid(percent.run().pixels, kLegend)[8].substr(0, 2), "##");  // the 1's foot
}
