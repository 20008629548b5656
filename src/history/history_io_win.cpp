#include "history/history_io_win.h"

#include <algorithm>

#include "common/text_win.h"
#include "history/history_export_win.h"

namespace kelvane {

namespace {

// A reader shares everything, so that it never stands in the way of the tray's copy: writing,
// or renaming aside a file that turned out not to be a history file.
constexpr DWORD kReaderShare = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// Files kept aside are "<path>.1.old" up to this number.
constexpr int kAsideNames = 99;

UniqueKernelHandle openFile(const std::wstring& path, DWORD access, DWORD share, DWORD disposition) {
  return UniqueKernelHandle(CreateFileW(path.c_str(), access, share, nullptr, disposition,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
}

// Adds the notice that the history lives in memory, with the reason `why` writes in a language.
template <typename Why>
void addInMemoryNotice(OpenedHistory& opened, const std::wstring& path, const Why& why) {
  addInBothLanguages(opened.notice, &opened.englishNotice,
                     [&](const Language& language) { return historyInMemoryNotice(language, path, why(language)); });
}

// Writes fail from the start: the history lives in memory, with what a readable history file
// held when there is one.
OpenedHistory inMemory(const std::wstring& path, const std::string& why) {
  OpenedHistory opened;
  addInMemoryNotice(opened, path, [&](const Language&) { return why; });
  UniqueKernelHandle file = openFile(path, GENERIC_READ, kReaderShare, OPEN_EXISTING);
  if (!file) {
    opened.io = std::make_unique<FileHistoryIo>();
    return opened;
  }
  opened.io = std::make_unique<FileHistoryIo>(std::move(file), false);
  if (checkHistoryFile(*opened.io) != HistoryFileState::Current)
    opened.io = std::make_unique<FileHistoryIo>();
  return opened;
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

OpenedHistory openHistoryForWriting(const std::wstring& path) {
  // Windows refuses to open a read-only file for writing; some file systems let an administrator
  // do it anyway, and the attribute says the user wants the file left as it is.
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
    return inMemory(path, systemFailureText(ERROR_ACCESS_DENIED));
  // Others may read while the tray's copy writes; nobody else may write.
  UniqueKernelHandle file = openFile(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, OPEN_ALWAYS);
  const DWORD openError = GetLastError();
  if (!file) return inMemory(path, systemFailureText(openError));
  const bool existed = openError == ERROR_ALREADY_EXISTS;

  OpenedHistory opened;
  opened.io = std::make_unique<FileHistoryIo>(std::move(file), true);
  const HistoryFileState state = checkHistoryFile(*opened.io);
  if (state == HistoryFileState::Current) return opened;
  if (state == HistoryFileState::Unreadable) {
    const std::string why = opened.io->failure();
    opened.io = std::make_unique<FileHistoryIo>();
    addInMemoryNotice(opened, path, [&](const Language&) { return why; });
    return opened;
  }

  // Not a history file of this version. An empty one holds nothing worth keeping.
  if (existed && opened.io->size() > 0) {
    opened.io = std::make_unique<FileHistoryIo>();  // closed, so that it can be renamed
    DWORD error = ERROR_SUCCESS;
    opened.keptAside = keepAside(path, error);
    const std::string name = toUtf8(path);
    if (opened.keptAside.empty()) {
      const std::string reason = systemFailureText(error);
      addInMemoryNotice(opened, path, [&](const Language& language) {
        return textIn(language, TextId::HistoryCannotKeepAside, {{"path", name}, {"reason", reason}});
      });
      return opened;
    }
    const std::string aside = toUtf8(opened.keptAside);
    addInBothLanguages(opened.notice, &opened.englishNotice, [&](const Language& language) {
      return textIn(language, TextId::HistoryKeptAside, {{"path", name}, {"aside", aside}});
    });
    file = openFile(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, CREATE_NEW);
    if (!file) {
      const std::string reason = systemFailureText(GetLastError());
      addInMemoryNotice(opened, path, [&](const Language&) { return reason; });
      return opened;
    }
    opened.io = std::make_unique<FileHistoryIo>(std::move(file), true);
  }
  if (createHistoryFile(*opened.io)) return opened;

  // A full disk: the file begun here holds nothing, and a half-made one would be taken for a
  // foreign file at the next start.
  const std::string why = opened.io->failure();
  opened.io = std::make_unique<FileHistoryIo>();
  DeleteFileW(path.c_str());
  addInMemoryNotice(opened, path, [&](const Language&) { return why; });
  return opened;
}

ReadHistoryResult readHistoryFile(const std::wstring& path) {
  ReadHistoryResult result;
  const std::string name = toUtf8(path);
  const auto fail = [&](TextId id, const std::string& reason) {
    addInBothLanguages(result.failure, &result.englishFailure, [&](const Language& language) {
      return textIn(language, id, {{"path", name}, {"reason", reason}});
    });
    return result;
  };
  UniqueKernelHandle file = openFile(path, GENERIC_READ, kReaderShare, OPEN_EXISTING);
  if (!file) {
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_NOT_FOUND) return fail(TextId::HistoryCannotRead, systemFailureText(error));
    result.content.emplace();
    return result;
  }
  FileHistoryIo io(std::move(file), false);
  switch (checkHistoryFile(io)) {
    case HistoryFileState::Foreign: return fail(TextId::HistoryNotHistoryFile, {});
    case HistoryFileState::Unreadable: return fail(TextId::HistoryCannotRead, io.failure());
    case HistoryFileState::Current: break;
  }
  result.content = readHistory(io);
  if (!result.content) return fail(TextId::HistoryCannotRead, io.failure());
  return result;
}

}  // namespace kelvane
