// Which characters the picture draws for a display text, with the system's separators.
#include "tray/picture_text.h"

#include <gtest/gtest.h>

using namespace kelvane;

namespace {

const NumberFormat kDot = NumberFormat::fromSystem(".", ",", "3;0");
const NumberFormat kComma = NumberFormat::fromSystem(",", ".", "3;0");
const NumberFormat kSpaced = NumberFormat::fromSystem(",", "\xC2\xA0", "3;0");  // no-break space

void expectDigits(const DigitText& got, const std::string& glyphs, int point, bool gigabytes) {
  EXPECT_EQ(got.glyphs, glyphs);
  EXPECT_EQ(got.pointPosition, point);
  EXPECT_EQ(got.gigabyteLayout, gigabytes);
}

}  // namespace

TEST(PictureText, BuiltInDigitsDropSeparatorsAndMarkThePoint) {
  expectDigits(BuiltInDigitText("3.45", true, kDot), "345", 2, true);
  expectDigits(BuiltInDigitText("12.34", true, kDot), "123", 3, true);   // cut to four characters
  expectDigits(BuiltInDigitText("123.45", true, kDot), "123", 4, true);  // point after the last
  expectDigits(BuiltInDigitText("3,45", true, kComma), "345", 2, true);
  expectDigits(BuiltInDigitText("100%", true, kDot), "100%", 0, true);
  expectDigits(BuiltInDigitText("1,566", false, kDot), "1566", 0, false);
  expectDigits(BuiltInDigitText("1\xC2\xA0" "566", false, kSpaced), "1566", 0, false);
  expectDigits(BuiltInDigitText("5%", false, kDot), "5%", 0, false);
  // A thousands separator no longer costs the last digit in gigabyte mode (9876 KB).
  expectDigits(BuiltInDigitText("9,876", true, kDot), "9876", 0, true);
  // Characters without a glyph keep their place but are not drawn.
  expectDigits(BuiltInDigitText("-5", false, kDot), "?5", 0, false);
}

TEST(PictureText, FiveDigitValuesMoveToTheNextUnit) {
  // 12,345 MB is 12.06 GB: drawn as 12.0, like the gigabyte display, never as 2345.
  expectDigits(BuiltInDigitText("12,345", false, kDot), "120", 3, true);
  expectDigits(BuiltInDigitText("10,000", false, kDot), "977", 2, true);       // 9.77
  expectDigits(BuiltInDigitText("10.239", false, kComma), "100", 3, true);     // 10,00
  expectDigits(BuiltInDigitText("123,456", false, kDot), "120", 4, true);      // 120.56
  expectDigits(BuiltInDigitText("12,345.67", true, kDot), "120", 3, true);     // 12.06 TB
  expectDigits(BuiltInDigitText("1,234.56", true, kDot), "1234", 0, true);     // fits whole
  expectDigits(BuiltInDigitText("9,999", false, kDot), "9999", 0, false);      // still fits

  EXPECT_EQ(SystemFontText("12,345", false, kDot), "12.0");
  EXPECT_EQ(SystemFontText("1,566", false, kDot), "1566");
  EXPECT_EQ(SystemFontText("12.34", true, kDot), "12.34");
  EXPECT_EQ(SystemFontText("45%", false, kDot), "45%");
}
