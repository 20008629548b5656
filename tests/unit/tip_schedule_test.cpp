// When the tray tip goes to the shell: a decision table over the tick's inputs, no clock.
#include "tray/tip_schedule.h"

#include <gtest/gtest.h>

using namespace kelvane;

TEST(TipSchedule, DecisionTable) {
  constexpr std::uint64_t kSent = 50'000;
  struct Row {
    const char* what;
    TipTick tick;
    bool due;
  };
  const Row rows[] = {
      {"first tick", {.now = 0, .textChanged = false, .lastSent = std::nullopt}, true},
      {"new picture, same text", {.now = kSent + 1, .pictureChanged = true, .lastSent = kSent}, true},
      {"new picture, new text", {.now = kSent + 1, .pictureChanged = true, .textChanged = true, .lastSent = kSent}, true},
      {"new text, nobody looking", {.now = kSent + 1000, .textChanged = true, .lastSent = kSent}, false},
      {"new text, 9.999 s old", {.now = kSent + 9'999, .textChanged = true, .lastSent = kSent}, false},
      {"new text, 10 s old", {.now = kSent + 10'000, .textChanged = true, .lastSent = kSent}, true},
      {"same text, a minute old", {.now = kSent + 60'000, .lastSent = kSent}, false},
      {"pointer over, new text", {.now = kSent + 1, .pointerOver = true, .textChanged = true, .lastSent = kSent}, true},
      {"pointer over, same text", {.now = kSent + 1, .pointerOver = true, .lastSent = kSent}, false},
      {"pointer arrives, same text",
       {.now = kSent + 1, .pointerOver = true, .pointerArrived = true, .lastSent = kSent},
       true},
      {"wording changed", {.now = kSent + 1, .wordingChanged = true, .textChanged = true, .lastSent = kSent}, true},
      {"wording changed to the same text", {.now = kSent + 1, .wordingChanged = true, .lastSent = kSent}, false},
  };
  for (const Row& row : rows) EXPECT_EQ(tipDue(row.tick), row.due) << row.what;
}

TEST(TipSchedule, PointerLeavesBeyondOneIconSizeOnEitherAxis) {
  const Point reported{1014, 758};
  EXPECT_FALSE(pointerLeftIcon(reported, reported, 16));
  EXPECT_FALSE(pointerLeftIcon(reported, {1014 - 16, 758 + 16}, 16));
  EXPECT_TRUE(pointerLeftIcon(reported, {1014 + 17, 758}, 16));
  EXPECT_TRUE(pointerLeftIcon(reported, {1014, 758 - 17}, 16));
  EXPECT_FALSE(pointerLeftIcon(reported, {1014 + 24, 758}, 24));  // a larger icon at 150 %
}
