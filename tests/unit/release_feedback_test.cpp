// What a release the user asked for says afterwards, and which releases say anything.
#include "history/release_feedback.h"

#include <gtest/gtest.h>

using namespace kelvane;

TEST(ReleaseFeedback, TheGainAboutASecondAfterOrNothingWorthANumber) {
  const NumberFormat format;
  constexpr std::uint64_t before = 3ull << 30;
  EXPECT_EQ(releaseFeedbackText(before, before + (300ull << 20), format), "已释放 300 MB");
  EXPECT_EQ(releaseFeedbackText(before, before + (1ull << 20), format), "已释放 1024 KB");  // SizeText
  EXPECT_EQ(releaseFeedbackText(before, before + (1ull << 20) - 1, format), "没有可释放的内存");
  EXPECT_EQ(releaseFeedbackText(before, before - (50ull << 20), format), "没有可释放的内存");  // others took more

  for (const ReleaseSource asked : {ReleaseSource::Menu, ReleaseSource::HotKey, ReleaseSource::DoubleClick,
                                    ReleaseSource::CommandLine}) {
    EXPECT_TRUE(releaseShowsBalloon(asked, true));
    EXPECT_FALSE(releaseShowsBalloon(asked, false));
  }
  EXPECT_FALSE(releaseShowsBalloon(ReleaseSource::Timer, true));
  EXPECT_FALSE(releaseShowsBalloon(ReleaseSource::HighLoad, true));
}
