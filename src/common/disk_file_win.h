#pragma once
// Whether a name stands for an ordinary file on a disk, one that is read and written as bytes at
// offsets: not a folder, a device (NUL, COM1, a link to a device), a pipe or a link. Opening a
// device can wait for the device, and reading or writing a pipe can wait for ever, so the name is
// looked at before it is opened and the handle again once it is (by then the name may stand for
// something else).

#include <windows.h>

#include <string>

namespace kelvane {

enum class FileKind {
  Missing,   // nothing has the name (or its folder is missing)
  Ordinary,  // a file, by its attributes
  Other,     // a folder, a device, a link, or something the system cannot tell (Wine has no
             // attributes for a pipe or a link to a device)
};
// By the name's attributes, without opening it.
FileKind fileKindOf(const std::wstring& path);

// Whether an open handle is a file on a disk (rather than a pipe, a console or a device).
bool isDiskFile(HANDLE file);

}  // namespace kelvane
