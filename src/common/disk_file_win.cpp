#include "common/disk_file_win.h"

namespace kelvane {

FileKind fileKindOf(const std::wstring& path) {
  constexpr DWORD kNotOrdinary = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE | FILE_ATTRIBUTE_REPARSE_POINT;
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) return (attributes & kNotOrdinary) ? FileKind::Other : FileKind::Ordinary;
  const DWORD error = GetLastError();
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? FileKind::Missing : FileKind::Other;
}

bool isDiskFile(HANDLE file) { return GetFileType(file) == FILE_TYPE_DISK; }

}  // namespace kelvane
