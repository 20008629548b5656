#include "history/history_io_win.h"

#include <algorithm>

#include "common/disk_file_win.h"
#include "common/text_win.h"
#include "history/history_export_win.h"

namespace kelvane {

namespace {

// A reader shares everything, so that it never stands in the way of the tray's copy: writing,
// or renaming aside a file that turned out not to be a history file.
constexpr DWORD kReaderShare = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// Files kept aside are "<path>.1.old" up to this number.
constexpr int kAsideNames = 99;
// A new history file is made whole under this name beside it, then renamed into place.
constexpr wchar_t kNewFileSuffix[] = L".new";

UniqueKernelHandle openFile(const std::wstring& path, DWORD access, DWORD share, DWORD disposition) {
  return UniqueKernelHandle(CreateFileW(path.c_str(), access, share, nullptr, disposition,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
}

std::string notDiskFileReason(const Language& language) { return textIn(language, TextId::HistoryNotDiskFile, {}); }

// Adds the notice that the history lives in memory, with the reason `why` writes in a language.
template <typename Why>
void addInMemoryNotice(OpenedHistory& opened, const std::wstring& path, const Why& why) {
  addInBothLanguages(opened.notice, &opened.englishNotice,
                     [&](const Language& language) { return historyInMemoryNotice(language, path, why(language)); });
}

// The history lives in memory from the start, and `opened.io` is no file at all.
void inMemoryWithNothing(OpenedHistory& opened, const std::wstring& path, std::string why) {
  opened.io = std::make_unique<FileHistoryIo>();
  addInMemoryNotice(opened, path, [&](const Language&) { return why; });
}

// Writes fail from the start: the history lives in memory, with what a readable history file
// held when there is one.
void inMemory(OpenedHistory& opened, const std::wstring& path, const std::string& why) {
  inMemoryWithNothing(opened, path, why);
  UniqueKernelHandle file = openFile(path, GENERIC_READ, kReaderShare, OPEN_EXISTING);
  if (!file || !isDiskFile(file.get())) return;
  auto io = std::make_unique<FileHistoryIo>(std::move(file), false);
  const HistoryFileState state = checkHistoryFile(*io);
  if (state == HistoryFileState::Current || state == HistoryFileState::WrongLength) opened.io = std::move(io);
}

// Something that is no ordinary disk file has the history's name: it is neither read nor written.
void notADiskFile(OpenedHistory& opened, const std::wstring& path) {
  opened.io = std::make_unique<FileHistoryIo>();
  addInMemoryNotice(opened, path, notDiskFileReason);
}

// Renames the file to the first free "<path>.N.old"; the new name, or empty.
std::wstring keepAside(const std::wstring& path, DWORD& error) {
  for (int n = 1; n <= kAsideNames; ++n) {
    const std::wstring aside = path + L"." + std::to_wstring(n) + L".old";
    if (MoveFileExW(path.c_str(), aside.c_str(), 0)) return aside;
    error = GetLastError();
    if (error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS) return {};
  }
  return {};
}

// Moves `size` bytes at `offset` in pieces the system takes; the error, or ERROR_SUCCESS. A call
// that moves nothing counts as `stalled`.
template <typename Byte, typename Move>
DWORD transfer(std::uint64_t offset, Byte* data, std::size_t size, DWORD stalled, Move move) {
  while (size > 0) {
    OVERLAPPED where{};
    where.Offset = static_cast<DWORD>(offset);
    where.OffsetHigh = static_cast<DWORD>(offset >> 32);
    const auto wanted = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
    DWORD moved = 0;
    if (!move(data, wanted, &moved, &where)) return GetLastError();
    if (moved == 0) return stalled;
    offset += moved;
    data += moved;
    size -= moved;
  }
  return ERROR_SUCCESS;
}

}  // namespace

bool FileHistoryIo::fail(DWORD error) {
  failure_ = systemFailureText(error);
  return false;
}

std::uint64_t FileHistoryIo::size() {
  LARGE_INTEGER size{};
  if (!file_ || !GetFileSizeEx(file_.get(), &size)) return 0;
  return static_cast<std::uint64_t>(size.QuadPart);
}

bool FileHistoryIo::read(std::uint64_t offset, std::uint8_t* data, std::size_t size) {
  if (!file_) return fail(ERROR_INVALID_HANDLE);
  const DWORD error = transfer(offset, data, size, ERROR_HANDLE_EOF,
                               [&](std::uint8_t* at, DWORD wanted, DWORD* moved, OVERLAPPED* where) {
                                 return ReadFile(file_.get(), at, wanted, moved, where);
                               });
  return error == ERROR_SUCCESS || fail(error);
}

bool FileHistoryIo::resize(std::uint64_t size) {
  if (!writable_) return fail(file_ ? ERROR_ACCESS_DENIED : ERROR_INVALID_HANDLE);
  LARGE_INTEGER end{};
  end.QuadPart = static_cast<LONGLONG>(size);
  if (!SetFilePointerEx(file_.get(), end, nullptr, FILE_BEGIN) || !SetEndOfFile(file_.get())) return fail(GetLastError());
  return true;
}

bool FileHistoryIo::flush() {
  if (!writable_) return fail(file_ ? ERROR_ACCESS_DENIED : ERROR_INVALID_HANDLE);
  return FlushFileBuffers(file_.get()) || fail(GetLastError());
}

bool FileHistoryIo::write(std::uint64_t offset, const std::uint8_t* data, std::size_t size) {
  if (!writable_) return fail(file_ ? ERROR_ACCESS_DENIED : ERROR_INVALID_HANDLE);
  const DWORD error = transfer(offset, data, size, ERROR_DISK_FULL,
                               [&](const std::uint8_t* at, DWORD wanted, DWORD* moved, OVERLAPPED* where) {
                                 return WriteFile(file_.get(), at, wanted, moved, where);
                               });
  return error == ERROR_SUCCESS || fail(error);
}

std::string historyInMemoryNotice(const Language& language, const std::wstring& path, const std::string& why) {
  return textIn(language, TextId::HistoryInMemory, {{"path", toUtf8(path)}, {"reason", why}});
}

namespace {

// Makes the history file whole under a name of its own, flushed, and only then renames it into
// place: a stop at any moment leaves no history file or a whole one, and at most a ".new" that the
// next start removes. `opened` gets the file, or the history in memory and the notice why.
void createWhole(OpenedHistory& opened, const std::wstring& path) {
  const std::wstring fresh = path + kNewFileSuffix;
  {
    UniqueKernelHandle file = openFile(fresh, GENERIC_READ | GENERIC_WRITE, 0, CREATE_ALWAYS);
    if (!file) return inMemoryWithNothing(opened, path, systemFailureText(GetLastError()));
    auto io = std::make_unique<FileHistoryIo>(std::move(file), true);
    if (!createHistoryFile(*io) || !io->flush()) {
      const std::string why = io->failure();
      io.reset();  // closed, so that it can be deleted
      DeleteFileW(fresh.c_str());
      return inMemoryWithNothing(opened, path, why);
    }
  }
  // Never over a file that appeared meanwhile: that one is somebody's.
  if (!MoveFileExW(fresh.c_str(), path.c_str(), MOVEFILE_WRITE_THROUGH)) {
    const std::string why = systemFailureText(GetLastError());
    DeleteFileW(fresh.c_str());
    return inMemoryWithNothing(opened, path, why);
  }
  UniqueKernelHandle file = openFile(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, OPEN_EXISTING);
  if (!file) return inMemoryWithNothing(opened, path, systemFailureText(GetLastError()));
  if (!isDiskFile(file.get())) return notADiskFile(opened, path);
  opened.io = std::make_unique<FileHistoryIo>(std::move(file), true);
}

// Brings a file of the wrong length to its size where it lies, and says so in the log.
void repairLength(OpenedHistory& opened, const std::wstring& path) {
  const std::optional<HistoryRepair> repair = repairHistoryLength(*opened.io);
  if (!repair) return inMemoryWithNothing(opened, path, opened.io->failure());
  const std::string name = toUtf8(path);
  const TextId id = repair->bytesAdded > 0 ? TextId::HistoryRepairedGrown : TextId::HistoryRepairedCut;
  addInBothLanguages(opened.notice, &opened.englishNotice, [&](const Language& language) {
    return textIn(language, id,
                  {{"path", name},
                   {"minutes", std::to_string(repair->minutesKept)},
                   {"events", std::to_string(repair->eventsKept)},
                   {"badMinutes", std::to_string(repair->minutesUnreadable)},
                   {"badEvents", std::to_string(repair->eventsUnreadable)},
                   {"bytes", std::to_string(repair->bytesAdded + repair->bytesCut)}});
  });
}

// Renames a file that is not a history file aside, never deleting it, and starts a new one.
void keepAsideAndCreate(OpenedHistory& opened, const std::wstring& path) {
  opened.io = std::make_unique<FileHistoryIo>();  // closed, so that it can be renamed
  DWORD error = ERROR_SUCCESS;
  opened.keptAside = keepAside(path, error);
  const std::string name = toUtf8(path);
  if (opened.keptAside.empty()) {
    const std::string reason = systemFailureText(error);
    addInMemoryNotice(opened, path, [&](const Language& language) {
      return textIn(language, TextId::HistoryCannotKeepAside, {{"path", name}, {"reason", reason}});
    });
    return;
  }
  const std::string aside = toUtf8(opened.keptAside);
  addInBothLanguages(opened.notice, &opened.englishNotice, [&](const Language& language) {
    return textIn(language, TextId::HistoryKeptAside, {{"path", name}, {"aside", aside}});
  });
  return createWhole(opened, path);
}

void openForWriting(OpenedHistory& opened, const std::wstring& path) {
  // What a start stopped while making the file left: it holds nothing yet.
  DeleteFileW((path + kNewFileSuffix).c_str());
  switch (fileKindOf(path)) {
    case FileKind::Missing: return createWhole(opened, path);
    case FileKind::Other: return notADiskFile(opened, path);
    case FileKind::Ordinary: break;
  }
  // Windows refuses to open a read-only file for writing; some file systems let an administrator
  // do it anyway, and the attribute says the user wants the file left as it is.
  if (GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_READONLY)
    return inMemory(opened, path, systemFailureText(ERROR_ACCESS_DENIED));
  // Others may read while the tray's copy writes; nobody else may write.
  UniqueKernelHandle file = openFile(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, OPEN_EXISTING);
  if (!file) {
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND ? createWhole(opened, path) : inMemory(opened, path, systemFailureText(error));
  }
  if (!isDiskFile(file.get())) return notADiskFile(opened, path);

  opened.io = std::make_unique<FileHistoryIo>(std::move(file), true);
  switch (checkHistoryFile(*opened.io)) {
    case HistoryFileState::Current: return;
    case HistoryFileState::WrongLength: return repairLength(opened, path);
    case HistoryFileState::Unreadable: return inMemoryWithNothing(opened, path, opened.io->failure());
    case HistoryFileState::Blank:
      // Zeros only, from a stop while an older copy made the file: nothing worth keeping aside.
      opened.io = std::make_unique<FileHistoryIo>();
      if (!DeleteFileW(path.c_str())) return inMemoryWithNothing(opened, path, systemFailureText(GetLastError()));
      return createWhole(opened, path);
    case HistoryFileState::Foreign: return keepAsideAndCreate(opened, path);
  }
}

}  // namespace

OpenedHistory openHistoryForWriting(const std::wstring& path) {
  OpenedHistory opened;
  openForWriting(opened, path);
  return opened;
}

ReadHistoryResult readHistoryFile(const std::wstring& path, std::int64_t now) {
  ReadHistoryResult result;
  const std::string name = toUtf8(path);
  const auto fail = [&](TextId id, const auto& reason) {
    addInBothLanguages(result.failure, &result.englishFailure, [&](const Language& language) {
      return textIn(language, id, {{"path", name}, {"reason", reason(language)}});
    });
    return result;
  };
  const auto because = [](const std::string& reason) { return [reason](const Language&) { return reason; }; };
  const auto nothingHeld = [&] {
    result.content.emplace();
    return result;
  };
  switch (fileKindOf(path)) {
    case FileKind::Missing: return nothingHeld();
    case FileKind::Other: return fail(TextId::HistoryCannotRead, notDiskFileReason);
    case FileKind::Ordinary: break;
  }
  UniqueKernelHandle file = openFile(path, GENERIC_READ, kReaderShare, OPEN_EXISTING);
  if (!file) {
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_NOT_FOUND) return fail(TextId::HistoryCannotRead, because(systemFailureText(error)));
    return nothingHeld();
  }
  if (!isDiskFile(file.get())) return fail(TextId::HistoryCannotRead, notDiskFileReason);
  FileHistoryIo io(std::move(file), false);
  switch (checkHistoryFile(io)) {
    case HistoryFileState::Foreign: return fail(TextId::HistoryNotHistoryFile, because({}));
    case HistoryFileState::Unreadable: return fail(TextId::HistoryCannotRead, because(io.failure()));
    case HistoryFileState::Blank: return nothingHeld();
    case HistoryFileState::Current:
    case HistoryFileState::WrongLength: break;  // read as the tray's copy repairs it
  }
  result.content = readHistory(io, now);
  if (!result.content) return fail(TextId::HistoryCannotRead, because(io.failure()));
  return result;
}

}  // namespace kelvane
