#include "dialogs/file_dialog_win.h"

#include <commdlg.h>

#include <algorithm>

#include "common/exit_request_win.h"

namespace kelvane {

std::optional<std::wstring> askSaveFileName(const SaveFileRequest& request) {
  wchar_t file[MAX_PATH] = {};
  request.suggestedName.copy(file, std::min<std::size_t>(request.suggestedName.size(), MAX_PATH - 1));
  const std::wstring filter = request.filterName + L'\0' + L"*." + request.extension + L'\0' +
                              request.allFilesName + L'\0' + L"*.*" + L'\0';
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = request.owner;
  dialog.lpstrFilter = filter.c_str();
  dialog.lpstrFile = file;
  dialog.nMaxFile = MAX_PATH;
  dialog.lpstrDefExt = request.extension.c_str();
  dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_EXPLORER | OFN_HIDEREADONLY;
  const ModalExitWatch exitWatch;
  if (!GetSaveFileNameW(&dialog) || exitWatch.exitCame()) return std::nullopt;
  return std::wstring(file);
}

}  // namespace kelvane
