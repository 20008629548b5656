#include "common/file_encoding.h"

#include <gtest/gtest.h>

#include <string>

using namespace kelvane;

TEST(FileEncoding, ByteOrderMarks) {
  const auto split = [](std::string_view bytes) {
    const MarkedText marked = splitByteOrderMark(bytes);
    return std::pair{marked.encoding, std::string(marked.body)};
  };
  EXPECT_EQ(split("\xEF\xBB\xBF[General]"), std::pair(FileEncoding::Utf8, std::string("[General]")));
  EXPECT_EQ(split(std::string_view("\xFF\xFE[\0", 4)), std::pair(FileEncoding::Utf16Le, std::string("[\0", 2)));
  EXPECT_EQ(split(std::string_view("\xFE\xFF\0[", 4)), std::pair(FileEncoding::Utf16Be, std::string("\0[", 2)));
  // Part of a mark, or a mark further in, is text in the code page.
  EXPECT_EQ(split("\xEF\xBB[G]"), std::pair(FileEncoding::Ansi, std::string("\xEF\xBB[G]")));
  EXPECT_EQ(split("[G]\xEF\xBB\xBF"), std::pair(FileEncoding::Ansi, std::string("[G]\xEF\xBB\xBF")));
  EXPECT_EQ(split(""), std::pair(FileEncoding::Ansi, std::string()));
  for (auto encoding : {FileEncoding::Ansi, FileEncoding::Utf8, FileEncoding::Utf16Le, FileEncoding::Utf16Be})
    EXPECT_EQ(splitByteOrderMark(std::string(byteOrderMark(encoding)) + "x").encoding, encoding);
}

TEST(FileEncoding, Utf16EitherOrderAndBack) {
  // "[中]" and U+1F600 (a surrogate pair) in both byte orders, against their UTF-8 bytes.
  const std::string little("[\0\x2D\x4E]\0\x3D\xD8\x00\xDE", 10);
  const std::string big("\0[\x4E\x2D\0]\xD8\x3D\xDE\x00", 10);
  const std::string utf8 = "[\xE4\xB8\xAD]\xF0\x9F\x98\x80";
  EXPECT_EQ(utf16ToUtf8(little, FileEncoding::Utf16Le), utf8);
  EXPECT_EQ(utf16ToUtf8(big, FileEncoding::Utf16Be), utf8);
  EXPECT_EQ(utf8ToUtf16(utf8, FileEncoding::Utf16Le), little);
  EXPECT_EQ(utf8ToUtf16(utf8, FileEncoding::Utf16Be), big);
  // A last odd byte is no character.
  EXPECT_EQ(utf16ToUtf8(big + "\x41", FileEncoding::Utf16Be), utf8);
  // Text that is no UTF-8 goes out as U+FFFD per broken byte; overlong forms too.
  EXPECT_EQ(utf8ToUtf16("a\xFF\xC0\xAF", FileEncoding::Utf16Be), std::string("\0a\xFF\xFD\xFF\xFD\xFF\xFD", 8));
  EXPECT_EQ(utf8ToUtf16("\xE4\xB8", FileEncoding::Utf16Le), std::string("\xFD\xFF\xFD\xFF", 4));

  // Every code unit, paired or not (a lone surrogate, a trail before a lead), comes back as it was.
  for (auto order : {FileEncoding::Utf16Le, FileEncoding::Utf16Be}) {
    std::string units;
    for (unsigned unit = 0; unit <= 0xFFFF; ++unit) {
      const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
      units += order == FileEncoding::Utf16Le ? std::string{low, high} : std::string{high, low};
    }
    EXPECT_EQ(utf8ToUtf16(utf16ToUtf8(units, order), order), units);
  }
}
