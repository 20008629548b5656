#include "app/timer_intervals.h"

#include <gtest/gtest.h>

using namespace kelvane;

TEST(TimerIntervals, DefragPeriodNeverWrapsAround) {
  EXPECT_EQ(defragIntervalMs(120), 7200000u);
  EXPECT_EQ(defragIntervalMs(5), 300000u);
  EXPECT_EQ(defragIntervalMs(999), 59940000u);
  EXPECT_EQ(defragIntervalMs(35791), 2147460000u);        // still fits
  EXPECT_EQ(defragIntervalMs(71583), kLongestTimerMs);    // would wrap to 12,704 ms
  EXPECT_EQ(defragIntervalMs(2147483647), kLongestTimerMs);
}
