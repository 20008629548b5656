#pragma once
// Kelvane.History on disk. The copy in the tray opens it for the run, reading and writing, and
// lets others read it meanwhile; command-line runs open it for reading only, so a scheduled
// export never blocks, or is blocked by, the running copy.
//
// Only an ordinary file on a disk is used: a pipe or a device under that name is neither read nor
// written. A new file is made whole beside the old name and renamed into place. A history file of
// the wrong length is repaired where it lies, keeping every record that is whole; a file that is
// not a history file of this version is renamed aside, never deleted, and a new one started; a
// file of zeros only (a stop while it was being made) is replaced. When the file cannot be
// written (read-only media, a read-only file, a folder the user may not write, a full disk) the
// history lives in memory for the run: the io returned then fails every write, and HistoryFile
// holds what the file had and everything after it.

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "common/handles_win.h"
#include "common/language.h"
#include "history/history_file.h"

namespace kelvane {

inline constexpr wchar_t kHistoryFileName[] = L"Kelvane.History";

// Reads and writes at offsets of one open file. A handle opened without write access, or no
// handle at all, fails every write (and, without a handle, every read).
class FileHistoryIo final : public HistoryIo {
 public:
  FileHistoryIo() = default;
  FileHistoryIo(UniqueKernelHandle file, bool writable)
      : file_(std::move(file)), writable_(writable) {}

  std::uint64_t size() override;
  bool read(std::uint64_t offset, std::uint8_t* data, std::size_t size) override;
  bool write(std::uint64_t offset, const std::uint8_t* data, std::size_t size) override;
  bool resize(std::uint64_t size) override;
  // What was written reaches the disk.
  bool flush();

  // Why the last call that failed did, in the system's words ("" before any failure): the log
  // line when the history moves into memory in the middle of a run.
  const std::string& failure() const { return failure_; }
  bool writable() const { return writable_; }

 private:
  bool fail(DWORD error);

  UniqueKernelHandle file_;
  bool writable_ = false;
  std::string failure_;
};

struct OpenedHistory {
  std::unique_ptr<FileHistoryIo> io;  // never null
  // The one log line about the opening: why the history lives in memory for this run, or where
  // a file that was not a history file went; empty when there is nothing to say. In the speaking
  // language and in English, for a log whose code page cannot hold the first.
  std::string notice;
  std::string englishNotice;
  // Where a file that was not a history file of this version was kept; empty when none was.
  std::wstring keptAside;
};

// For the copy in the tray. The file is created when missing; a file of another kind is kept
// aside as "<path>.N.old" (the first N free) and a new one created in its place. A leftover
// "<path>.new" is removed first.
OpenedHistory openHistoryForWriting(const std::wstring& path);

// The log line when the history moves into memory in the middle of the run (a full disk).
std::string historyInMemoryNotice(const Language& language, const std::wstring& path, const std::string& why);

struct ReadHistoryResult {
  // Nothing when the file exists but cannot be read or is not a history file; a missing file (or
  // one of zeros only) is an empty history.
  std::optional<HistoryContent> content;
  std::string failure;  // why there is no content
  std::string englishFailure;
};

// For command-line runs and any reader beside the tray's copy: the history at `now` (UTC seconds).
ReadHistoryResult readHistoryFile(const std::wstring& path, std::int64_t now);

}  // namespace kelvane
