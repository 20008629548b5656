// The PNG writer: checksums against their published check values, and a file read back chunk by
// chunk, block by block, to the very pixels that went in.
#include "common/png_writer.h"

#include <gtest/gtest.h>

#include <string>

using namespace kelvane;

namespace {

std::span<const std::uint8_t> bytesOf(const std::string& s) {
  return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

std::uint32_t bigEndian(const std::vector<std::uint8_t>& b, std::size_t at) {
  return (std::uint32_t{b[at]} << 24) | (std::uint32_t{b[at + 1]} << 16) |
         (std::uint32_t{b[at + 2]} << 8) | b[at + 3];
}

}  // namespace

TEST(PngWriter, ChecksumsMatchTheirCheckValues) {
  EXPECT_EQ(crc32(bytesOf("123456789")), 0xCBF43926u);
  EXPECT_EQ(crc32(bytesOf("")), 0u);
  EXPECT_EQ(adler32(bytesOf("Wikipedia")), 0x11E60398u);
  EXPECT_EQ(adler32(bytesOf("")), 1u);
}

TEST(PngWriter, FileReadsBackToTheSamePixels) {
  // Large enough for two stored blocks: 200 x 120 x 3 + 120 filter bytes > 65535.
  const int w = 200, h = 120;
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(w * h));
  for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<std::uint32_t>(i * 2654435761u) & 0xFFFFFF;
  const std::vector<std::uint8_t> png = encodePng(pixels, w, h);

  const std::vector<std::uint8_t> signature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  ASSERT_TRUE(std::equal(signature.begin(), signature.end(), png.begin()));
  std::size_t at = 8;
  std::vector<std::string> types;
  std::vector<std::uint8_t> idat;
  while (at < png.size()) {
    const std::uint32_t length = bigEndian(png, at);
    const std::string type(png.begin() + static_cast<std::ptrdiff_t>(at + 4), png.begin() + static_cast<std::ptrdiff_t>(at + 8));
    types.push_back(type);
    const std::span<const std::uint8_t> typed(png.data() + at + 4, length + 4);
    EXPECT_EQ(bigEndian(png, at + 8 + length), crc32(typed)) << type;
    if (type == "IHDR") {
      EXPECT_EQ(bigEndian(png, at + 8), static_cast<std::uint32_t>(w));
      EXPECT_EQ(bigEndian(png, at + 12), static_cast<std::uint32_t>(h));
      EXPECT_EQ(png[at + 16], 8);
      EXPECT_EQ(png[at + 17], 2);
    }
    if (type == "IDAT") idat.assign(png.begin() + static_cast<std::ptrdiff_t>(at + 8), png.begin() + static_cast<std::ptrdiff_t>(at + 8 + length));
    at += 12 + length;
  }
  EXPECT_EQ(types, (std::vector<std::string>{"IHDR", "IDAT", "IEND"}));

  // zlib header, stored blocks, Adler-32 of the raw scanlines.
  ASSERT_GE(idat.size(), 6u);
  EXPECT_EQ((idat[0] * 256 + idat[1]) % 31, 0);
  std::vector<std::uint8_t> raw;
  std::size_t p = 2;
  int blocks = 0;
  bool last = false;
  while (!last) {
    last = idat[p] & 1;
    ASSERT_EQ(idat[p] >> 1, 0) << "stored blocks only";
    const unsigned len = idat[p + 1] | (idat[p + 2] << 8);
    const unsigned nlen = idat[p + 3] | (idat[p + 4] << 8);
    ASSERT_EQ(len ^ 0xFFFFu, nlen);
    raw.insert(raw.end(), idat.begin() + static_cast<std::ptrdiff_t>(p + 5), idat.begin() + static_cast<std::ptrdiff_t>(p + 5 + len));
    p += 5 + len;
    ++blocks;
  }
  EXPECT_EQ(blocks, 2);
  EXPECT_EQ(bigEndian(idat, p), adler32(raw));
  ASSERT_EQ(raw.size(), static_cast<std::size_t>(h * (w * 3 + 1)));
  for (int y = 0; y < h; ++y) {
    const std::size_t row = static_cast<std::size_t>(y * (w * 3 + 1));
    ASSERT_EQ(raw[row], 0);
    for (int x = 0; x < w; ++x) {
      const std::uint32_t px = pixels[static_cast<std::size_t>(y * w + x)];
      const std::size_t o = row + 1 + static_cast<std::size_t>(x * 3);
      ASSERT_EQ((std::uint32_t{raw[o]} << 16) | (std::uint32_t{raw[o + 1]} << 8) | raw[o + 2], px);
    }
  }
}
