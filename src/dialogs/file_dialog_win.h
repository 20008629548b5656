#pragma once
// The system's Save dialog, as every file the program writes for the user is chosen.

#include <windows.h>

#include <optional>
#include <string>

namespace kelvane {

struct SaveFileRequest {
  HWND owner = nullptr;
  std::wstring suggestedName;  // in the dialog's current folder
  std::wstring filterName;     // what the filter's files are called: "CSV 文件"
  std::wstring extension;      // without its dot; added to a name typed without one
  std::wstring allFilesName;   // the second filter's name, for every file
};

// The full path the user confirmed (after the system's own "replace?" question for an existing
// file), or nothing when the dialog was cancelled, failed, or an exit was asked for while it or
// its question was open.
std::optional<std::wstring> askSaveFileName(const SaveFileRequest& request);

}  // namespace kelvane
