// File text in the system code page (936 under the tests' Wine) must come back byte for byte,
// whatever the bytes are, while the text that the code page does hold reads as itself.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "common/text_win.h"

using namespace kelvane;

TEST(AnsiFileText, AnyBytesComeBackUnchanged) {
  ASSERT_EQ(GetACP(), 936u) << "the Windows tests run with the Simplified Chinese code page";
  const std::string chinese = "\xD7\xD4\xB6\xA8\xD2\xE5\xD1\xD5\xC9\xAB";  // 自定义颜色 in GBK
  EXPECT_EQ(ansiFileToUtf8(chinese), "自定义颜色");
  EXPECT_EQ(utf8ToAnsiFile("自定义颜色"), chinese);

  // A lone lead byte, a lead byte before a line end, 0x80 and 0xFF are no text in 936; the
  // text around them still reads as text.
  const std::string odd = std::string("a\x81") + "\r\n" + "\xFF" + chinese + "\x80" + "=\xD7";
  const std::string utf8 = ansiFileToUtf8(odd);
  EXPECT_NE(utf8.find("\r\n"), std::string::npos);
  EXPECT_NE(utf8.find("自定义颜色"), std::string::npos);
  EXPECT_NE(utf8.find('='), std::string::npos);
  EXPECT_EQ(utf8ToAnsiFile(utf8), odd);

  // Pseudo-random byte strings of every length up to 300.
  std::uint32_t seed = 12345;
  for (int length = 0; length <= 300; ++length) {
    std::string bytes;
    for (int i = 0; i < length; ++i) {
      seed = seed * 1103515245u + 12345u;
      bytes += static_cast<char>(seed >> 24);
    }
    ASSERT_EQ(utf8ToAnsiFile(ansiFileToUtf8(bytes)), bytes) << "length " << length;
  }
}
