#include "common/ascii_text.h"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

// Only A..Z fold: the bytes of a UTF-8 or GBK character (and the ASCII neighbours of the
// letters) stay as they are, so two names that differ in them never compare equal.
TEST(AsciiText, FoldsTheAsciiLettersOnly) {
  EXPECT_TRUE(equalsIgnoringAsciiCase("Kelvane.INI", "kelvane.ini"));
  EXPECT_TRUE(equalsIgnoringAsciiCase("", ""));
  EXPECT_FALSE(equalsIgnoringAsciiCase("General", "Genera"));
  EXPECT_FALSE(equalsIgnoringAsciiCase("[", "{"));  // 'Z' + 1 is not a letter
  EXPECT_FALSE(equalsIgnoringAsciiCase("@", "`"));  // 'A' - 1 neither
  EXPECT_FALSE(equalsIgnoringAsciiCase("\xC3\x80", "\xC3\xA0"));  // "À" and "à" are not folded
  EXPECT_EQ(lowerAscii('Q'), 'q');
  EXPECT_EQ(lowerAscii('\xC3'), '\xC3');
  EXPECT_EQ(lowerAsciiText("Export-History \xC3\x80Z[@"), "export-history \xC3\x80z[@");

  EXPECT_TRUE(startsWithIgnoringAsciiCase("HTTPS://example", "https://"));
  EXPECT_TRUE(startsWithIgnoringAsciiCase("http://", "HTTP://"));
  EXPECT_FALSE(startsWithIgnoringAsciiCase("http:", "http://"));
  EXPECT_FALSE(startsWithIgnoringAsciiCase("ftp://x", "http://"));
}

}  // namespace
}  // namespace kelvane
