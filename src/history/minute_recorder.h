#pragma once
// The recorder: every tick's sample joins the record of its minute, under the rules that keep
// the held minutes in order whatever the clock does. Only the open (newest) minute lives here;
// closed minutes go to a MinuteStore (the history file, or a list in memory).
//
// Let S be a sample's minute and N the newest minute held:
// - S = N joins it; S > N starts a new minute (nothing is held for the minutes between) and
//   closes N;
// - S before N by at most kSetBackToleranceSeconds: the sample is dropped;
// - S further back: every minute after S is dropped, then the sample joins S if S is held, or
//   starts it;
// - kept are the minutes whose START is less than kKeptSeconds before the newest START.
//
// A tick that stays in its minute calls no store; a store is asked for work once a minute.

#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

#include "history/minute_record.h"

namespace kelvane {

// Where closed minutes are held. Calls come in the order that leaves the store consistent after
// each one, so a store that writes through to disk loses at most the minute under way.
class MinuteStore {
 public:
  virtual ~MinuteStore() = default;
  // A closed minute: never older than any held one; it replaces a held minute of its START.
  virtual void keep(const MinuteRecord& minute) = 0;
  // Drops every held minute whose START is after `start`.
  virtual void dropAfter(std::int64_t start) = 0;
  // Drops every held minute whose START is before `start`.
  virtual void dropBefore(std::int64_t start) = 0;
  virtual std::optional<MinuteRecord> find(std::int64_t start) = 0;
};

class MinuteRecorder {
 public:
  explicit MinuteRecorder(MinuteStore& store) : store_(store) {}

  // Continues from a store that already holds minutes: its newest one is open again, so that a
  // restart within the same minute adds to it.
  void resume(const MinuteRecord& newest) { open_ = newest; }

  // A sample whose load is over 100 is not a sample and is ignored.
  void add(const HistorySample& sample) {
    if (sample.load > 100) return;
    if (open_ && minuteStartOf(sample.time) == open_->start) {
      open_->join(sample);
      return;
    }
    change(sample);
  }

  // Hands the open minute to the store without closing it (at exit, or to be safe).
  void flush() const {
    if (open_) store_.keep(*open_);
  }

  const std::optional<MinuteRecord>& open() const { return open_; }

 private:
  void change(const HistorySample& sample);

  MinuteStore& store_;
  std::optional<MinuteRecord> open_;
};

// A store in memory, oldest first: the preview's, and the program's when the file cannot be
// written.
class MinuteList : public MinuteStore {
 public:
  MinuteList() = default;
  explicit MinuteList(std::vector<MinuteRecord> held) : minutes_(held.begin(), held.end()) {}

  void keep(const MinuteRecord& minute) override;
  void dropAfter(std::int64_t start) override;
  void dropBefore(std::int64_t start) override;
  std::optional<MinuteRecord> find(std::int64_t start) override;

  const std::deque<MinuteRecord>& minutes() const { return minutes_; }
  std::vector<MinuteRecord> list() const { return {minutes_.begin(), minutes_.end()}; }

 private:
  std::deque<MinuteRecord> minutes_;
};

// Every minute held, oldest first: the closed ones (from the store, or as read from the file
// for the window) and the open one, which replaces a closed one of its START.
std::vector<MinuteRecord> heldMinutes(std::vector<MinuteRecord> closed,
                                      const std::optional<MinuteRecord>& open);

}  // namespace kelvane
