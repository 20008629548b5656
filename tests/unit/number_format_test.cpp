#include "common/number_format.h"

#include <gtest/gtest.h>

using namespace kelvane;

TEST(NumberFormat, SystemGroupingRules) {
  const auto threes = NumberFormat::fromSystem(".", ",", "3;0");
  EXPECT_EQ(groupDigits("1234567890", threes), "1,234,567,890");
  EXPECT_EQ(groupDigits("123", threes), "123");
  EXPECT_EQ(groupDigits("1234", threes), "1,234");
  const auto indian = NumberFormat::fromSystem(".", ",", "3;2;0");
  EXPECT_EQ(groupDigits("1234567", indian), "12,34,567");
  const auto onlyLastThree = NumberFormat::fromSystem(".", ",", "3");
  EXPECT_EQ(groupDigits("1234567", onlyLastThree), "1234,567");
  const auto none = NumberFormat::fromSystem(".", ",", "0;0");
  EXPECT_EQ(groupDigits("1234567", none), "1234567");
  const auto empty = NumberFormat::fromSystem(".", ",", "");
  EXPECT_EQ(groupDigits("1234567", empty), "1234567");
  // Separators of more than one character (Swiss apostrophes, non-breaking spaces in UTF-8).
  const auto nbsp = NumberFormat::fromSystem(",", "\xC2\xA0", "3;0");
  EXPECT_EQ(groupDigits("1234567", nbsp), "1\xC2\xA0" "234\xC2\xA0" "567");
}

TEST(NumberFormat, RoundingIsHalfAwayFromZero) {
  const auto f = NumberFormat::fromSystem(",", ".", "3;0");
  EXPECT_EQ(formatFixed(0.125, 2, f, true), "0,13");
  EXPECT_EQ(formatFixed(-0.125, 2, f, true), "-0,13");
  EXPECT_EQ(formatFixed(2.5, 0, f, true), "3");
  EXPECT_EQ(formatFixed(1234567.5, 0, f, true), "1.234.568");
  EXPECT_EQ(formatFixed(-0.001, 2, f, true), "0,00");  // no negative zero
  EXPECT_EQ(formatFixed(9.999, 2, f, false), "10,00");
  EXPECT_EQ(formatOptionalDecimals(1.5, 2, f), "1,5");
  EXPECT_EQ(formatOptionalDecimals(2.999, 2, f), "3");
  EXPECT_EQ(formatOptionalDecimals(1234567.0, 2, f), "1234567");
  EXPECT_EQ(formatOptionalDecimals(-3.25, 2, f), "-3,25");
}
