#pragma once
// Kelvane.History on a file the shell opens: reads and writes at fixed offsets through a small
// interface, one record per write, so the shell only carries bytes (pread/pwrite style) and a
// stop at any moment spoils at most the record being written.
//
// The tray's copy writes: `HistoryFile` is the recorder's store of closed minutes and appends the
// events. Command-line runs, the window and the preview read: `readHistory`.
//
// Whoever opens or reads the file is given the time: a minute that starts more than the set-back
// tolerance after it is no part of the history (a clock set far ahead and put right leaves such
// minutes behind), and the 31 days are counted back from the newest minute that is left, never
// from one further ahead. So one stray minute from the future never empties the month.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "history/history_event.h"
#include "history/history_format.h"
#include "history/minute_recorder.h"

namespace kelvane {

// Bytes at an offset of one open file. False when the system call fails or moves fewer bytes.
class HistoryIo {
 public:
  virtual ~HistoryIo() = default;
  virtual std::uint64_t size() = 0;
  virtual bool read(std::uint64_t offset, std::uint8_t* data, std::size_t size) = 0;
  virtual bool write(std::uint64_t offset, const std::uint8_t* data, std::size_t size) = 0;
  // Cuts the file, or grows it with zero bytes, to `size`.
  virtual bool resize(std::uint64_t size) = 0;
};

enum class HistoryFileState {
  Current,      // a history file of this version
  WrongLength,  // this version's header, but cut short or grown: repaired in place
  Blank,        // no byte but zeros, at most a history file's size (a stop while it was being made)
  Foreign,      // anything else: kept aside by the shell, never deleted, and a new one started
  Unreadable,   // the system refused to read it
};
HistoryFileState checkHistoryFile(HistoryIo& io);

// Writes empty rings and then the header, so a file cut short before its header is Blank.
bool createHistoryFile(HistoryIo& io);

// What a file of the wrong length holds once it has its size again.
struct HistoryRepair {
  std::size_t minutesKept = 0;
  std::size_t minutesUnreadable = 0;
  std::size_t eventsKept = 0;
  std::size_t eventsUnreadable = 0;
  std::uint64_t bytesAdded = 0;
  std::uint64_t bytesCut = 0;
};
// Brings a WrongLength file to its size where it lies: a short one grows with empty records, a
// long one loses what lies past its size. Every record stays at its offset and none is written,
// so each one whose check sum holds is kept. Nothing when the resize or a read fails.
std::optional<HistoryRepair> repairHistoryLength(HistoryIo& io);

struct HistoryContent {
  std::vector<MinuteRecord> minutes;  // oldest first
  std::vector<HistoryEvent> events;   // oldest first
  std::size_t skippedMinutes = 0;     // torn or corrupt records
  std::size_t skippedEvents = 0;
};
// The history a file holds at `now` (UTC seconds), as the writer would keep it if it opened the
// file then. Nothing when the file cannot be read; a Current or WrongLength file is expected (the
// bytes a short one lacks read as empty records).
std::optional<HistoryContent> readHistory(HistoryIo& io, std::int64_t now);

// The writer. Its minutes are kept within 31 days of the newest in the file as well, so that
// what the file holds is what the recorder holds. When a read or write fails (read-only media,
// a full disk) the history moves into memory for the rest of the run, with what the file held
// and the change that failed; the file is not touched again.
class HistoryFile : public MinuteStore {
 public:
  // `io` holds a Current file (or, to be read only, one of the wrong length), or is one that
  // cannot be read (then memory holds the history from the start). Reading it finds the taken
  // minute slots, the newest minute and the next event's number; minutes that are no part of the
  // history at `now` are erased.
  HistoryFile(HistoryIo& io, std::int64_t now);

  // True once the history lives in memory: the shell logs it once.
  bool inMemory() const { return memory_.has_value(); }
  // The newest minute held, for MinuteRecorder::resume.
  std::optional<MinuteRecord> newest();
  // What is held now, for the window and the export of the running copy.
  HistoryContent content();

  void append(const HistoryEvent& event);

  void keep(const MinuteRecord& minute) override;
  void dropAfter(std::int64_t start) override;
  void dropBefore(std::int64_t start) override;
  std::optional<MinuteRecord> find(std::int64_t start) override;

 private:
  bool taken(std::size_t slot) const { return (taken_[slot / 64] >> (slot % 64)) & 1; }
  void setTaken(std::size_t slot, bool on);
  // Erases the taken slots of the minutes first..last (in that order, either way round).
  void erase(std::int64_t first, std::int64_t last);
  bool write(std::uint64_t offset, const std::uint8_t* data, std::size_t size);
  void moveToMemory();

  HistoryIo& io_;
  std::optional<MinuteList> memory_;
  std::vector<HistoryEvent> memoryEvents_;
  // One bit per minute slot; every taken slot holds a minute within [low_, high_], a span
  // shorter than the ring.
  std::vector<std::uint64_t> taken_;
  bool empty_ = true;
  std::int64_t low_ = 0;
  std::int64_t high_ = 0;
  std::uint32_t nextSequence_ = 1;
  // The latest START the file holds for the history: until the opening has erased the minutes
  // too far ahead, a move into memory (a read-only file) leaves them out too.
  std::int64_t latestHeld_;
};

}  // namespace kelvane
