// The preview's PNG files, read back with libpng to the very pixels that went in.
#include "png_file.h"

#include <gtest/gtest.h>
#include <png.h>

#include <filesystem>
#include <string>
#include <vector>

using namespace preview;

namespace {

struct ReadBack {
  std::string error;
  int width = 0, height = 0;
  std::vector<std::uint32_t> pixels;
};

ReadBack readPng(const std::string& path) {
  ReadBack result;
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return {image.message};
  image.format = PNG_FORMAT_RGB;
  std::vector<std::uint8_t> rgb(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) return {image.message};
  result.width = static_cast<int>(image.width);
  result.height = static_cast<int>(image.height);
  for (std::size_t i = 0; i + 2 < rgb.size(); i += 3) {
    result.pixels.push_back((std::uint32_t{rgb[i]} << 16) | (std::uint32_t{rgb[i + 1]} << 8) | rgb[i + 2]);
  }
  return result;
}

std::string scratchPath(const std::string& name) {
  return (std::filesystem::temp_directory_path() / ("kelvane_png_file_" + name)).string();
}

}  // namespace

TEST(PngFile, ReadsBackToTheSamePixelsAndIsCompressed) {
  const int w = 200, h = 120;
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(w * h));
  for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<std::uint32_t>(i * 2654435761u) & 0xFFFFFF;
  const std::string noisy = scratchPath("noisy.png");
  ASSERT_EQ(writePngFile(noisy, pixels, w, h), "");
  const ReadBack back = readPng(noisy);
  EXPECT_EQ(back.error, "");
  EXPECT_EQ(back.width, w);
  EXPECT_EQ(back.height, h);
  EXPECT_EQ(back.pixels, pixels);

  // A contact sheet is mostly one grey: real deflate makes it a small fraction of its raw size.
  const std::vector<std::uint32_t> grey(pixels.size(), 0xD4D4D4);
  const std::string flat = scratchPath("flat.png");
  ASSERT_EQ(writePngFile(flat, grey, w, h), "");
  EXPECT_LT(std::filesystem::file_size(flat), static_cast<std::uintmax_t>(w * h * 3 / 50));
  EXPECT_EQ(readPng(flat).pixels, grey);
  std::filesystem::remove(noisy);
  std::filesystem::remove(flat);
}

TEST(PngFile, FailuresAreReportedNotWritten) {
  const std::vector<std::uint32_t> pixels(16 * 16, 0x00FF00);
  const std::string path = scratchPath("bad.png");
  std::filesystem::remove(path);
  EXPECT_NE(writePngFile(path, pixels, 16, 15), "");
  EXPECT_NE(writePngFile(path, pixels, 0, 0), "");
  EXPECT_NE(writePngFile(path, {}, 16, 16), "");
  EXPECT_FALSE(std::filesystem::exists(path));
  EXPECT_NE(writePngFile(scratchPath("no such folder/x.png"), pixels, 16, 16), "");
}
