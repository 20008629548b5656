#pragma once
// The processes that grew: every five minutes the shell hands in a process snapshot, and for any
// range of the last 24 hours this answers which processes' memory grew most from their first to
// their last snapshot inside it. A process is its path and creation time; a new instance of the
// same program is another process.
//
// It stays in memory all day, so it is kept small: only processes of kSnapshotFloorBytes or more,
// sizes in KB, each path once, and each snapshot as the change from the one before it (a process
// whose size did not change costs two bytes).

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "process/process_list.h"

namespace kelvane {

inline constexpr std::uint64_t kSnapshotFloorBytes = 4ull << 20;
inline constexpr std::int64_t kSnapshotKeptSeconds = 86400;
inline constexpr std::size_t kSnapshotLimit = 300;  // whatever the clock does
inline constexpr std::size_t kGrowerCount = 5;

struct ProcessSize {
  std::string_view path;  // the executable's path; its name when the path is unknown
  std::uint64_t created = 0;  // creation time, any unit: only compared
  std::uint64_t bytes = 0;
};

// The walk the menu uses, as the snapshot takes it (the strings stay in `records`).
std::vector<ProcessSize> processSizesOf(const std::vector<TNxProcessRec>& records);

struct Grower {
  std::string path;
  std::uint64_t created = 0;
  std::uint64_t firstBytes = 0;  // at its first snapshot in the range (KB precision)
  std::uint64_t lastBytes = 0;   // and at its last
  std::uint64_t growth() const { return lastBytes - firstBytes; }
};

class ProcessSnapshots {
 public:
  // `time` in UTC seconds. Snapshots 24 hours older than the newest are let go.
  void add(std::int64_t time, const std::vector<ProcessSize>& processes);

  // The processes that grew most between their first and last snapshot with a time in
  // [from, to], largest growth first (then by path); only those that grew.
  std::vector<Grower> growers(std::int64_t from, std::int64_t to,
                              std::size_t count = kGrowerCount) const;

  std::size_t snapshotCount() const { return snapshots_.size(); }
  // Bytes allocated for what is held, as the containers report their capacity.
  std::size_t heldBytes() const;

 private:
  struct Identity {
    std::uint32_t path;
    std::uint64_t created;
  };
  struct Entry {
    std::uint32_t identity;
    std::uint32_t kb;
  };
  struct Snapshot {
    std::int64_t time;
    std::vector<std::uint8_t> changes;  // the first snapshot's are absolute
  };

  std::string_view pathText(std::uint32_t path) const;
  std::uint32_t identityOf(std::string_view path, std::uint64_t created);
  std::uint32_t pathOf(std::string_view path);
  // Entries of the snapshot `index` given those of the one before it (empty for the first).
  std::vector<Entry> decode(std::size_t index, const std::vector<Entry>& before) const;
  static std::vector<std::uint8_t> encode(const std::vector<Entry>& entries,
                                          const std::vector<Entry>& before);
  void dropOldest();
  // Renumbers the identities and paths still used when most of them are gone.
  void compact();

  std::deque<Snapshot> snapshots_;
  std::vector<Entry> newest_;  // the newest snapshot's entries, sorted by identity
  std::string pathText_;       // every path once, one after the other
  std::vector<std::uint32_t> pathEnds_;
  std::vector<std::uint32_t> pathsByText_;  // path numbers in text order, for lookup
  std::vector<Identity> identities_;
  std::vector<std::uint32_t> identitiesByKey_;  // in (path text, created) order, for lookup
  std::size_t liveAtCompaction_ = 0;
};

}  // namespace kelvane
