// The minutes' contract: which lines are samples, and what the recorder holds when the clock
// ticks fast, stops, jumps back a little or a lot, or runs past 31 days.
#include "history/minute_recorder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "history/history_text.h"

using namespace kelvane;

namespace {

constexpr std::int64_t kDay = 86400;
constexpr std::int64_t t0 = 1'700'000'040;  // a minute's start

std::vector<std::string> minutesAfter(const std::string& text) {
  MinuteList list;
  MinuteRecorder recorder(list);
  for (const HistorySample& sample : parseSampleLines(text)) recorder.add(sample);
  std::vector<std::string> lines;
  for (const MinuteRecord& minute : heldMinutes(list.list(), recorder.open()))
    lines.push_back(minuteLine(minute));
  return lines;
}

std::string sample(std::int64_t t, int load, std::uint64_t phys = 0, std::uint64_t page = 0) {
  return std::to_string(t) + " " + std::to_string(load) + " " + std::to_string(phys) + " 0 " +
         std::to_string(page) + " 0\n";
}

}  // namespace

TEST(HistorySamples, OnlySixFieldsOfDigitsBelowTwoToTheSixtyThreeWithLoadUpTo100AreSamples) {
  const std::string text =
      "60 1 2 3 4 5\n"                                  // plain
      "\t 0000000000000000000000000120\t7  8 9\t10 11 \r\n"  // tabs, runs, zeros, blanks, CR LF
      "9223372036854775807 100 9223372036854775807 0 1 0\n"  // the largest values
      "9223372036854775808 1 1 1 1 1\n"                 // 2^63
      "180 1 99999999999999999999 1 1 1\n"              // far past 2^63
      "180 101 1 1 1 1\n"                               // load over 100
      "180 1 1 1 1\n"                                   // five fields
      "180 1 1 1 1 1 1\n"                               // seven
      "180 +1 1 1 1 1\n180 1 1 1 1 1x\n180 1 1 1 1 -1\n"
      "180 1 1 1 1 1\r\r\n"                             // a CR that is not the line's end
      "180 1 1\v1 1 1\n"                                // not a space or a tab
      "\n \t \n"
      "240 2 3 4 5 6";                                  // the last line needs no LF
  const std::vector<HistorySample> samples = parseSampleLines(text);
  ASSERT_EQ(samples.size(), 4u);
  EXPECT_EQ(samples[0].time, 60);
  EXPECT_EQ(samples[0].usedPhys, 2u);
  EXPECT_EQ(samples[0].usedPage, 4u);
  EXPECT_EQ(samples[1].time, 120);
  EXPECT_EQ(samples[1].load, 7u);
  EXPECT_EQ(samples[1].usedPage, 10u);
  EXPECT_EQ(samples[2].time, INT64_MAX);
  EXPECT_EQ(samples[2].usedPhys, static_cast<std::uint64_t>(INT64_MAX));
  EXPECT_EQ(samples[3].time, 240);
}

TEST(HistorySamples, TicksSharingASecondFillOneMinuteWithTheMeanRoundedHalfUp) {
  std::string text;
  // Ten ticks a second at loads 1, 2, 2 in turn for a whole minute, then a minute of 0 and 1.
  for (int i = 0; i < 600; ++i) text += sample(t0 + i / 10, i % 3 == 0 ? 1 : 2, 1000 + i, 5000 - i);
  text += sample(t0 + 60, 0) + sample(t0 + 61, 1) + sample(t0 + 61, 0) + sample(t0 + 119, 1);
  EXPECT_EQ(minutesAfter(text),
            (std::vector<std::string>{"minute: 1700000040 600 1 17 2 1599 5000",
                                      "minute: 1700000100 4 0 5 1 0 0"}));
}

TEST(HistorySamples, AClockSetBackALittleIsIgnoredAndFarBackDropsWhatItStampedInTheFuture) {
  const std::string heldThree = sample(t0, 10) + sample(t0 + 60, 20) + sample(t0 + 1200, 30);
  // Back by 600 s or less, seconds within the minute included: dropped.
  EXPECT_EQ(minutesAfter(heldThree + sample(t0 + 600, 99) + sample(t0 + 659, 99)),
            minutesAfter(heldThree));
  EXPECT_EQ(minutesAfter(heldThree).size(), 3u);
  // Back by more than 600 s onto a held minute: later ones go, the sample joins it.
  EXPECT_EQ(minutesAfter(heldThree + sample(t0 + 59, 50)),
            (std::vector<std::string>{"minute: 1700000040 2 10 300 50 0 0"}));
  // Onto a minute not held: it starts, after the held ones before it.
  EXPECT_EQ(minutesAfter(heldThree + sample(t0 + 120, 40) + sample(t0 + 180, 41)),
            (std::vector<std::string>{"minute: 1700000040 1 10 100 10 0 0",
                                      "minute: 1700000100 1 20 200 20 0 0",
                                      "minute: 1700000160 1 40 400 40 0 0",
                                      "minute: 1700000220 1 41 410 41 0 0"}));
  // Before everything held: nothing is left but the new minute.
  EXPECT_EQ(minutesAfter(heldThree + sample(t0 - 5 * kDay, 7)),
            (std::vector<std::string>{"minute: 1699568040 1 7 70 7 0 0"}));
}

TEST(HistorySamples, ASleepLeavesAGapAndMinutesLeaveAfterThirtyOneDays) {
  // A sleep of eight hours: nothing recorded between.
  EXPECT_EQ(minutesAfter(sample(t0, 1) + sample(t0 + 8 * 3600 + 5, 2)),
            (std::vector<std::string>{"minute: 1700000040 1 1 10 1 0 0",
                                      "minute: 1700028840 1 2 20 2 0 0"}));
  const std::string month = sample(t0, 1) + sample(t0 + 60, 2);
  // Exactly 31 days after the first minute it goes; the next stays one minute more.
  EXPECT_EQ(minutesAfter(month + sample(t0 + 31 * kDay + 59, 3)),
            (std::vector<std::string>{"minute: 1700000100 1 2 20 2 0 0",
                                      "minute: 1702678440 1 3 30 3 0 0"}));
  EXPECT_EQ(minutesAfter(month + sample(t0 + 31 * kDay - 1, 3)).size(), 3u);
  // A minute gone out of the kept span stays gone, even when the clock then comes back to it.
  EXPECT_EQ(minutesAfter(month + sample(t0 + 40 * kDay, 3) + sample(t0 + 61, 4)),
            (std::vector<std::string>{"minute: 1700000100 1 4 40 4 0 0"}));
}
