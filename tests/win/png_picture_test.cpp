// The windows' pictures: PNG resources decoded by WIC, and what a damaged one does.
#include <gtest/gtest.h>

#include <string>

#include "common/png_picture_win.h"
#include "dialogs/window_controls_win.h"
#include "resource_ids.h"

using namespace kelvane;

namespace {

std::string resourceBytes(int id) {
  HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(10));
  if (!found) return {};
  const auto* bytes = static_cast<const char*>(LockResource(LoadResource(nullptr, found)));
  return std::string(bytes, SizeofResource(nullptr, found));
}

// Premultiplied BGRA of the pixel at (x, y).
DWORD pixelAt(const Picture& picture, int x, int y) {
  DIBSECTION section{};
  GetObjectW(picture.bitmap.get(), sizeof(section), &section);
  return static_cast<const DWORD*>(section.dsBm.bmBits)[y * picture.width + x];
}

}  // namespace

TEST(PngPicture, StoredPicturesDecodeAtTheirSizeAndScaled) {
  const PngDecoder decoder;
  const Picture icon = programPicture(decoder, 48);
  ASSERT_TRUE(icon);
  EXPECT_EQ(icon.width, 48);
  EXPECT_EQ(pixelAt(icon, 0, 0) >> 24, 0u);       // the tile's rounded corner is see-through
  EXPECT_EQ(pixelAt(icon, 24, 10), 0xFFFFFFFFu);  // the white module above its chips
  const Picture large = programPicture(decoder, 72);  // 48 at 144 DPI, from the 256 picture
  ASSERT_TRUE(large);
  EXPECT_EQ(large.height, 72);
  EXPECT_EQ(pixelAt(large, 36, 15), 0xFFFFFFFFu);
  const Picture illustration = keepVisibleIllustration(decoder, 539, 194);
  ASSERT_TRUE(illustration);
  EXPECT_EQ(pixelAt(illustration, 100, 170) >> 24, 0xFFu);  // the taskbar is opaque
  EXPECT_TRUE(donationPicture(decoder, 24));
}

TEST(PngPicture, DamagedOrMissingPicturesComeBackEmpty) {
  const PngDecoder decoder;
  const std::string png = resourceBytes(IDP_KEEP_VISIBLE_539);
  ASSERT_GT(png.size(), 1000u);
  ASSERT_TRUE(decoder.decode(png.data(), png.size()));
  // Cut in the signature, in the header, and at points inside the compressed pixels.
  for (const std::size_t cut : {std::size_t{4}, std::size_t{20}, std::size_t{60}, png.size() / 2, png.size() - 100}) {
    EXPECT_FALSE(decoder.decode(png.data(), cut)) << cut;
    EXPECT_FALSE(decoder.decode(png.data(), cut, 72, 72)) << cut;
  }
  std::string damaged = png;
  for (std::size_t i = 200; i < 400; ++i) damaged[i] = static_cast<char>(damaged[i] ^ 0x5A);
  EXPECT_FALSE(decoder.decode(damaged.data(), damaged.size()));
  EXPECT_FALSE(decoder.decode("not a picture at all", 20));
  EXPECT_FALSE(decoder.decode(nullptr, 0));
  EXPECT_FALSE(decoder.decodeResource(9999));
  // An empty picture draws nothing and breaks nothing.
  const UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
  drawPicture(dc.get(), Picture{}, 0, 0);
}
