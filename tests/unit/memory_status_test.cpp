#include "memory/memory_status.h"

#include <gtest/gtest.h>

using namespace kelvane;

namespace {

const NumberFormat kDot = NumberFormat::fromSystem(".", ",", "3;0");
const NumberFormat kComma = NumberFormat::fromSystem(",", ".", "3;0");
constexpr std::int64_t KB = 1024, MB = 1024 * KB, GB = 1024 * MB;

MemorySample sample(std::uint32_t load, std::uint64_t totalPhys, std::uint64_t availPhys,
                    std::uint64_t totalPage, std::uint64_t availPage) {
  return MemorySample{load, totalPhys, availPhys, totalPage, availPage};
}

TKelvaneOptions vistaDefaults() { return defaultOptions(10); }

}  // namespace

TEST(SizeText, UnitsSwitchOnlyAboveEachPowerAndDropZeroDecimals) {
  EXPECT_EQ(SizeText(1, kDot), "1 byte");
  EXPECT_EQ(SizeText(2, kDot), "2 bytes");
  EXPECT_EQ(SizeText(1024, kDot), "1024 bytes");
  EXPECT_EQ(SizeText(1025, kDot), "1 KB");
  EXPECT_EQ(SizeText(1536, kDot), "1.5 KB");
  EXPECT_EQ(SizeText(1024 * 1024, kDot), "1024 KB");
  EXPECT_EQ(SizeText(MB + 1, kDot), "1 MB");
  EXPECT_EQ(SizeText(GB, kDot), "1024 MB");
  EXPECT_EQ(SizeText(GB + GB / 2, kDot), "1.5 GB");
  EXPECT_EQ(SizeText(3 * GB, kDot), "3 GB");
  EXPECT_EQ(SizeText(12 * GB + 345 * MB, kDot), "12.34 GB");
  // No grouping in sizes with units, only the decimal separator changes.
  EXPECT_EQ(SizeText(GB + GB / 2, kComma), "1,5 GB");
  EXPECT_EQ(SizeText(5000 * MB, kComma), "4,88 GB");
  EXPECT_EQ(SizeText(1000 * MB, kDot), "1000 MB");
  // Rounding of megabytes is half away from zero.
  EXPECT_EQ(SizeText(2 * MB + MB / 2, kDot), "3 MB");
  // A zero amount still shows its number.
  EXPECT_EQ(SizeText(0, kDot), "0 bytes");
}

TEST(IconNumberText, ThresholdsAndSeparators) {
  EXPECT_EQ(IconNumberText(10239, true, kDot), "10,239");
  EXPECT_EQ(IconNumberText(10239, true, kComma), "10.239");
  EXPECT_EQ(IconNumberText(999, true, kDot), "999");
  EXPECT_EQ(IconNumberText(10240, true, kDot), "10");
  EXPECT_EQ(IconNumberText(10485759, true, kDot), "10,240");
  EXPECT_EQ(IconNumberText(10485760, false, kDot), "10");
  EXPECT_EQ(IconNumberText(10485760, true, kDot), "0.01");
  EXPECT_EQ(IconNumberText(10485760, true, kComma), "0,01");
  EXPECT_EQ(IconNumberText(1566 * MB, false, kDot), "1,566");
  EXPECT_EQ(IconNumberText(1566 * MB, false, kComma), "1.566");
  EXPECT_EQ(IconNumberText(1566 * MB, true, kDot), "1.53");
  EXPECT_EQ(IconNumberText(3 * GB, true, kDot), "3.00");
  EXPECT_EQ(IconNumberText(3 * GB, true, kComma), "3,00");
  // A system that does not group digits shows them plain.
  EXPECT_EQ(IconNumberText(9999, true, NumberFormat::fromSystem(".", ",", "0;0")), "9999");
}

TEST(DisplayText, PercentAndAmountChoices) {
  const auto s = sample(97, 8 * GB, 3 * GB / 2, 16 * GB, 10 * GB);
  TKelvaneOptions o = vistaDefaults();
  EXPECT_EQ(DisplayText(s, o, kDot), "6.50");  // used physical
  o.ShowPage = true;
  EXPECT_EQ(DisplayText(s, o, kDot), "6.00");  // used page file
  o.ShowFree = true;
  EXPECT_EQ(DisplayText(s, o, kDot), "10.00");  // free page file
  o.ShowPage = false;
  EXPECT_EQ(DisplayText(s, o, kDot), "1.50");  // free physical at 97 %
  EXPECT_EQ(DisplayText(sample(98, 8 * GB, 3 * GB / 2, 16 * GB, 10 * GB), o, kDot), "0");
  o.OptimizeForGigabytes = false;
  EXPECT_EQ(DisplayText(s, o, kDot), "1,536");

  o.ShowPercentage = true;
  EXPECT_EQ(DisplayText(s, o, kDot), "3");
  EXPECT_EQ(DisplayText(sample(100, 1, 0, 1, 0), o, kDot), "0");
  o.ShowPercSign = true;
  EXPECT_EQ(DisplayText(sample(100, 1, 0, 1, 0), o, kDot), "0%");
  o.ShowFree = false;
  EXPECT_EQ(DisplayText(s, o, kDot), "97%");
}

TEST(PictureText, FiveDigitCountsUnderTenMegabytesBecomeGigabytes) {
  TKelvaneOptions o = vistaDefaults();
  auto usedPicture = [&](std::int64_t used) {
    const auto s = sample(50, 16 * GB, 16 * GB - static_cast<std::uint64_t>(used), 16 * GB, 0);
    return PictureText(s, o, kDot);
  };
  EXPECT_EQ(usedPicture(10240000), "0.01");  // 10,000 KB: would read as 9.77 once shortened
  EXPECT_EQ(usedPicture(10485759), "0.01");
  EXPECT_EQ(usedPicture(10000), "0.00");
  EXPECT_EQ(usedPicture(10239), "0.00");
  EXPECT_EQ(usedPicture(9999), "9,999");     // four digits fit
  EXPECT_EQ(usedPicture(10240), "10");
  EXPECT_EQ(usedPicture(10239487), "9,999");
  EXPECT_EQ(usedPicture(10239488), "0.01");  // rounds to 10,000 KB
  EXPECT_EQ(usedPicture(10485760), "0.01");
  EXPECT_EQ(usedPicture(3 * GB), "3.00");
  o.OptimizeForGigabytes = false;  // megabytes: the picture keeps its own rule for long values
  EXPECT_EQ(usedPicture(10240000), DisplayText(sample(50, 16 * GB, 16 * GB - 10240000, 16 * GB, 0), o, kDot));
  o.ShowPercentage = true;
  EXPECT_EQ(usedPicture(10240000), "50");
}

TEST(LoadLevel, ThresholdsAreInclusiveAndYellowCanVanish) {
  TKelvaneOptions o = vistaDefaults();
  auto at = [&](std::uint32_t load) { return LoadLevel(sample(load, 1, 0, 1, 0), o); };
  EXPECT_EQ(at(0), LoadLevelKind::Green);
  EXPECT_EQ(at(64), LoadLevelKind::Green);
  EXPECT_EQ(at(65), LoadLevelKind::Yellow);
  EXPECT_EQ(at(89), LoadLevelKind::Yellow);
  EXPECT_EQ(at(90), LoadLevelKind::Red);
  EXPECT_EQ(at(100), LoadLevelKind::Red);
  o.YellowPercent = 80;
  o.RedPercent = 50;
  EXPECT_EQ(at(79), LoadLevelKind::Green);
  EXPECT_EQ(at(80), LoadLevelKind::Red);
  EXPECT_EQ(at(50), LoadLevelKind::Green);
  o.YellowPercent = -5;  // hand-edited file: compared as numbers, not bytes
  EXPECT_EQ(at(0), LoadLevelKind::Yellow);
}

TEST(HintText, HeaderVariantsAndLines) {
  const auto s = sample(42, 8 * GB, 5 * GB, 16 * GB, 10 * GB);
  TKelvaneOptions o = vistaDefaults();
  EXPECT_EQ(HintText(s, o, kDot),
            "显示 已用 物理内存 \r\n内存使用: 42%\r\n物理内存: 3 GB/8 GB\r\n页面文件: 6 GB/16 GB");
  o.ShowFree = true;
  o.ShowPage = true;
  o.ShowPercentage = true;
  EXPECT_EQ(HintText(s, o, kComma).substr(0, std::string("显示 可用 页面文件 %\r\n").size()),
            "显示 可用 页面文件 %\r\n");
  o.HintWhatisDisplayed = false;
  EXPECT_EQ(HintText(s, o, kDot).rfind("内存使用: ", 0), 0u);
  EXPECT_EQ(ShownTotal(s, o), 16u * GB);
  o.ShowPage = false;
  EXPECT_EQ(ShownTotal(s, o), 8u * GB);
}
