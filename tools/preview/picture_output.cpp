#include "picture_output.h"

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <vector>

#include "png_file.h"
#include "tray/picture_design.h"

using namespace kelvane;

namespace preview {

namespace {

bool writePictureFile(const std::string& path, const PixelBuffer& picture) {
  const std::string error = writePngFile(path, picture.pixels(), picture.width(), picture.height());
  if (!error.empty()) std::cerr << "kelvane-preview: " << path << ": " << error << "\n";
  return error.empty();
}

// A 16 GB machine at the given load, with a page file half as large again.
MemorySample sampleAtLoad(std::uint32_t load) {
  constexpr std::uint64_t GB = 1ull << 30;
  MemorySample sample;
  sample.dwMemoryLoad = load;
  sample.ullTotalPhys = 16 * GB;
  sample.ullAvailPhys = sample.ullTotalPhys - sample.ullTotalPhys * load / 100;
  sample.ullTotalPageFile = 24 * GB;
  sample.ullAvailPageFile = sample.ullTotalPageFile - sample.ullTotalPageFile * load / 100;
  return sample;
}

// The looks users pick most, each a small change to the settings given.
std::vector<TKelvaneOptions> mainLooks(const TKelvaneOptions& base) {
  std::vector<TKelvaneOptions> looks;
  auto add = [&](auto change) {
    TKelvaneOptions o = base;
    change(o);
    ApplyFontColor(o);
    looks.push_back(o);
  };
  add([](TKelvaneOptions&) {});                                           // as configured
  add([](TKelvaneOptions& o) { o.ShowPercentage = o.ShowPercSign = true; });
  add([](TKelvaneOptions& o) { o.ShowPercentage = true; o.NoBorder = false; o.FullBar = true; });
  add([](TKelvaneOptions& o) { o.ShowPercentage = true; o.TransBk = true; o.StandardGauge = false; });
  add([](TKelvaneOptions& o) { o.BarBottom = true; });
  add([](TKelvaneOptions& o) { o.BarBottom = true; o.NoBorder = false; o.ShowPercentage = true; });
  add([](TKelvaneOptions& o) { o.MiniInternalFont = true; o.ShowPercentage = o.ShowPercSign = true; });
  add([](TKelvaneOptions& o) { o.OptimizeForGigabytes = false; });      // megabytes
  add([](TKelvaneOptions& o) { o.ShowFree = true; o.FontColor = 0xFF00FF; o.TransBk = true; });
  return looks;
}

// On the sheet, see-through pixels show as a chequer pattern rather than as near-black.
void showSeeThroughAsChecks(PixelBuffer& picture) {
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width(); ++x)
      if (picture.pixel(x, y) == TransparentKey)
        picture.setPixel(x, y, (x / 4 + y / 4) % 2 ? 0xB8B8B8 : 0x8C8C8C);
}

}  // namespace

TrayPicture composePreviewPicture(const TKelvaneOptions& options, const MemorySample& sample,
                                  const NumberFormat& format, int size, const TaskbarLook& taskbar) {
  const SystemColorTable colors = windows10SystemColors();
  const std::string text = PictureText(sample, options, format);
  DigitStrips strips;
  const PictureFit fit = fitPicture(size);
  const TrayImageInput in{options, sample, text, LoadLevel(sample, options), colors, format, {},
                          fit.designSize, pictureColors(options, taskbar, colors)};
  TrayPicture picture = ComposeTrayImage(in, strips);
  picture.pixels = placeOnIcon(picture.pixels, fit, picture.seeThrough);
  return picture;
}

void printPixels(const TrayPicture& picture) {
  std::cout << "pixels:\n";
  for (int y = 0; y < picture.pixels.height(); ++y) {
    for (int x = 0; x < picture.pixels.width(); ++x) {
      char token[8];
      std::snprintf(token, sizeof token, "%06X", picture.pixels.pixel(x, y) & 0xFFFFFFu);
      std::cout << (x ? " " : "") << token;
    }
    std::cout << "\n";
  }
  if (picture.fontText)
    std::cerr << "kelvane-preview: the value drawn in the system font is not part of the pixels\n";
}

bool writePicturePng(const TrayPicture& picture, int scale, const std::string& path) {
  const int size = picture.pixels.width() * scale;
  const PixelBuffer scaled = scaleNearest(picture.pixels, size, size);
  return writePictureFile(path, scaled);
}

bool writeContactSheet(const TKelvaneOptions& base, const NumberFormat& format, int size,
                       const std::string& path, const TaskbarLook& taskbar) {
  // Four screen pixels per picture pixel up to 32; larger pictures are shown about 128 wide.
  const int scale = size <= 32 ? 4 : std::max(1, 128 / size);
  constexpr int kGap = 8, kColumns = 21;
  const int cell = size * scale + kGap;
  const std::vector<TKelvaneOptions> looks = mainLooks(base);
  const int rows = static_cast<int>(looks.size());
  PixelBuffer sheet(kColumns * cell + kGap, rows * cell + kGap, 0xD4D4D4);
  for (int row = 0; row < rows; ++row) {
    for (int column = 0; column < kColumns; ++column) {
      const MemorySample sample = sampleAtLoad(static_cast<std::uint32_t>(column * 5));
      const TrayPicture picture =
          composePreviewPicture(looks[static_cast<std::size_t>(row)], sample, format, size, taskbar);
      PixelBuffer big = scaleNearest(picture.pixels, size * scale, size * scale);
      if (picture.seeThrough) showSeeThroughAsChecks(big);
      DrawTransparent(sheet, kGap + column * cell, kGap + row * cell, big, 0xFFFFFFFFu);
    }
  }
  return writePictureFile(path, sheet);
}

}  // namespace preview
