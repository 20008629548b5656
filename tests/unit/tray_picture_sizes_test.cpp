// The pictures drawn for 20 and 24 pixels, checked against the tables of
// docs/tray-picture-sizes.md, read from the file: for every combination of the looks' options and
// every load, each glyph is its cell of the documented strip at the documented place, nothing
// else is drawn in the digits' colour, every glyph lies inside the picture with a blank column
// after it, and the picture is not the enlargement of the 16-pixel one.
#include "tray/picture_design.h"
#include "tray/picture_text.h"
#include "tray/tray_image.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

using namespace kelvane;

namespace {

const NumberFormat kDot = NumberFormat::fromSystem(".", ",", "3;0");
const SystemColorTable kColors = windows10SystemColors();
constexpr TColor kFont = rgbColor(7, 7, 7);

std::vector<std::string> cellsOf(const std::string& text) {
  std::vector<std::string> cells;
  std::istringstream in(text);
  for (std::string cell; in >> cell;) cells.push_back(cell);
  return cells;
}

std::vector<int> numbersOf(const std::string& text) {
  std::vector<int> numbers;
  std::istringstream in(text);
  for (std::string word; in >> word;)
    if (word.find_first_not_of("0123456789") == std::string::npos) numbers.push_back(std::stoi(word));
  return numbers;
}

// The document's layout table (quantity -> numbers per size) and its strips ("bold 20" -> the
// eleven cells, each a list of rows).
struct PictureTables {
  std::map<std::string, std::map<int, std::vector<int>>> layout;
  std::map<std::string, std::vector<std::vector<std::string>>> strips;

  const std::vector<int>& at(const std::string& quantity, int size) const {
    return layout.at(quantity).at(size);
  }
};

PictureTables readTables() {
  PictureTables tables;
  std::ifstream file(std::string(KELVANE_SOURCE_DIR) + "/docs/tray-picture-sizes.md");
  std::string line, strip;
  bool inLayout = false;
  while (std::getline(file, line)) {
    if (line.rfind("| Quantity |", 0) == 0) inLayout = true;
    if (line.rfind("#### Strip ", 0) == 0) {
      strip = line.substr(11, line.find(':') - 11);
      tables.strips[strip] = std::vector<std::vector<std::string>>(11);
      continue;
    }
    if (line.empty() || line[0] != '|' || line.rfind("|---", 0) == 0) {
      if (line.empty()) inLayout = false;
      continue;
    }
    std::vector<std::string> columns;
    std::istringstream in(line.substr(1));
    for (std::string column; std::getline(in, column, '|');) columns.push_back(column);
    if (inLayout && columns.size() >= 4 && columns[0] != " Quantity ") {
      const std::string key = columns[0].substr(1, columns[0].size() - 2);
      for (int i = 0; i < 3; ++i) tables.layout[key][16 + 4 * i] = numbersOf(columns[1 + i]);
    } else if (!strip.empty() && columns.size() >= 2 && columns[0] != " Row ") {
      const auto cells = cellsOf(columns[1]);
      for (std::size_t c = 0; c < cells.size() && c < 11; ++c) tables.strips[strip][c].push_back(cells[c]);
    }
  }
  return tables;
}

MemorySample sampleAtLoad(std::uint32_t load) {
  constexpr std::uint64_t GB = 1ull << 30;
  return {load, 16 * GB, 16 * GB - 16 * GB * load / 100, 24 * GB, 24 * GB - 24 * GB * load / 100};
}

std::string stripName(const TKelvaneOptions& o, std::size_t n) {
  if (o.MiniInternalFont) return "mini";
  if (n == 1 || (n == 2 && !o.ShowPercentage)) return "bold";
  return n <= 3 ? "thin" : "narrow";
}

std::string runName(const TKelvaneOptions& o, std::size_t n) {
  switch (n) {
    case 1: return "One glyph: x0";
    case 2: return o.MiniInternalFont ? "Two mini glyphs: x0 pitch"
                   : o.ShowPercentage ? "Two thin glyphs: x0 pitch" : "Two glyphs: x0 pitch";
    case 3: return "Three glyphs: x0 pitch";
    case 4: return "Four glyphs: x0 pitch";
    default: return "Five or more glyphs: x0 pitch";
  }
}

// Checks one picture against the tables; returns the first fault, or "" when there is none.
std::string checkPicture(const PictureTables& t, const TKelvaneOptions& o, const MemorySample& sample,
                         int size, DigitStrips& strips) {
  const std::string text = PictureText(sample, o, kDot);
  const TrayImageInput in{o, sample, text, LoadLevel(sample, o), kColors, kDot, {}, size};
  const TrayPicture picture = ComposeTrayImage(in, strips);
  const PixelBuffer& p = picture.pixels;
  if (p.width() != size || p.height() != size) return "picture of the wrong size";

  TrayImageInput at16 = in;
  at16.size = 16;
  if (scaleNearest(ComposeTrayImage(at16, strips).pixels, size, size) == p)
    return "the picture is the enlarged 16-pixel one";

  const DigitText digits = BuiltInDigitText(text, o.OptimizeForGigabytes, kDot);
  const std::size_t n = digits.glyphs.size();
  const auto& cells = t.strips.at(stripName(o, n) + " " + std::to_string(size));
  const auto run = t.at(runName(o, n), size);
  int x0 = run[0];
  const int pitch = run.size() > 1 ? run[1] : 0;
  if (digits.gigabyteLayout && x0 > 0) --x0;
  const bool bottom = o.BarBottom;
  int top = t.at(bottom ? "Glyph top, bar at the bottom" : "Glyph top, bar at the top", size)[0];
  if (o.TransBk && !bottom) top += t.at("See-through drop, bar at the top", size)[0];
  if (o.MiniInternalFont)
    top += t.at(bottom ? "Mini drop, bar at the bottom" : "Mini drop, bar at the top", size)[0];
  const std::string pointKey = std::string(o.MiniInternalFont ? "Mini point row" : "Point row") +
                               (bottom ? ", bar at the bottom" : ", bar at the top");
  const int pointRow = t.at(pointKey, size)[0];
  const int pointSize = t.at("Point size", size)[0];

  const Pixel ink = pixelFromColor(kFont);
  int inkExpected = 0, previousRight = -1;
  for (std::size_t i = 1; i <= n; ++i) {
    int x = static_cast<int>(i - 1) * pitch + x0;
    if (static_cast<int>(i) == digits.pointPosition) {
      for (int dy = 0; dy < pointSize; ++dy)
        for (int dx = 0; dx < pointSize; ++dx)
          if (!p.contains(x + dx, pointRow + dy) || p.pixel(x + dx, pointRow + dy) != ink)
            return "no decimal point at " + std::to_string(x) + "," + std::to_string(pointRow);
      inkExpected += pointSize * pointSize;
      x0 += pointSize + 1;
      x += pointSize + 1;
    }
    const auto& cell = cells[static_cast<std::size_t>(digits.glyphs[i - 1] == '%' ? 10 : digits.glyphs[i - 1] - '0')];
    const int w = static_cast<int>(cell[0].size()), h = static_cast<int>(cell.size());
    const std::string where = "glyph " + std::to_string(i) + " of " + digits.glyphs + " at " + std::to_string(x);
    if (x < 0 || top < 0 || x + w > size || top + h > size) return where + " leaves the picture";
    if (x <= previousRight + 1 && i > 1) return where + " touches the glyph before it";
    for (int y = 0; y < h; ++y) {
      for (int cx = 0; cx < w; ++cx) {
        const bool glyphPixel = cell[static_cast<std::size_t>(y)][static_cast<std::size_t>(cx)] == '#';
        if ((p.pixel(x + cx, top + y) == ink) != glyphPixel) return where + " differs from its cell";
        inkExpected += glyphPixel;
      }
      if (x + w < size && p.pixel(x + w, top + y) == ink) return where + " has no blank column after it";
    }
    previousRight = x + w - 1;
  }
  int ink_ = 0;
  for (Pixel px : p.pixels()) ink_ += px == ink;
  if (ink_ != inkExpected) return "digit colour drawn outside the glyphs and the point";
  return "";
}

}  // namespace

TEST(TrayPictureSizes, EveryLookAndLoadDrawsTheDocumentedGlyphsInsideThePicture) {
  const PictureTables tables = readTables();
  ASSERT_EQ(tables.strips.size(), 8u) << "docs/tray-picture-sizes.md: the eight strips";
  ASSERT_GE(tables.layout.size(), 20u) << "docs/tray-picture-sizes.md: the layout table";
  DigitStrips strips;
  int pictures = 0;
  for (int size : {20, 24}) {
    for (unsigned bits = 0; bits < 512; ++bits) {
      TKelvaneOptions o = defaultOptions(10);
      o.InternalFont = true;
      o.TransBk = bits & 1;
      o.NoBorder = bits & 2;
      o.BarBottom = bits & 4;
      o.StandardGauge = bits & 8;
      o.FullBar = bits & 16;
      o.MiniInternalFont = bits & 32;
      o.ShowPercentage = bits & 64;
      o.ShowPercSign = bits & 128;
      o.OptimizeForGigabytes = bits & 256;
      o.FontColor = kFont;
      ApplyFontColor(o);
      for (std::uint32_t load = 0; load <= 100; ++load) {
        const std::string fault = checkPicture(tables, o, sampleAtLoad(load), size, strips);
        ++pictures;
        if (!fault.empty()) {
          ADD_FAILURE() << size << " px, options " << bits << ", load " << load << ": " << fault;
          return;
        }
      }
    }
  }
  EXPECT_EQ(pictures, 2 * 512 * 101);
}

TEST(TrayPictureSizes, EachIconSizeTakesTheLargestWholeMultipleOfADesign) {
  struct Case { int iconSize; PictureFit fit; };
  for (const Case& c : {Case{16, {16, 1, 0, 16}}, Case{20, {20, 1, 0, 20}}, Case{24, {24, 1, 0, 24}},
                        Case{28, {24, 1, 2, 28}}, Case{32, {16, 2, 0, 32}}, Case{40, {20, 2, 0, 40}},
                        Case{48, {24, 2, 0, 48}}, Case{36, {16, 2, 2, 36}}, Case{64, {16, 4, 0, 64}},
                        Case{12, {16, 1, 0, 12}}}) {
    EXPECT_EQ(fitPicture(c.iconSize), c.fit) << c.iconSize;
  }

  // Doubled pixel for pixel; centred with a see-through margin.
  PixelBuffer picture(24, 24, 0xFFFFFF);
  picture.setPixel(3, 5, 0x00FF00);
  bool seeThrough = false;
  const PixelBuffer doubled = placeOnIcon(picture, fitPicture(48), seeThrough);
  EXPECT_FALSE(seeThrough);
  for (int y = 0; y < 48; ++y)
    for (int x = 0; x < 48; ++x)
      ASSERT_EQ(doubled.pixel(x, y), picture.pixel(x / 2, y / 2)) << x << "," << y;
  const PixelBuffer centred = placeOnIcon(picture, fitPicture(28), seeThrough);
  EXPECT_TRUE(seeThrough);
  EXPECT_EQ(centred.pixel(1, 1), TransparentKey);
  EXPECT_EQ(centred.pixel(2 + 3, 2 + 5), 0x00FF00u);
  EXPECT_EQ(centred.pixel(25, 25), 0xFFFFFFu);
  EXPECT_EQ(centred.pixel(26, 25), TransparentKey);
}
