#include "actions/show_log_win.h"

#include <exception>

#include "actions/system_commands_win.h"
#include "common/text_win.h"
#include "dialogs/task_dialog_win.h"
#include "settings/log_file_win.h"
#include "settings/settings_file_win.h"

namespace kelvane {

std::wstring LogFilePath(CommandHost& form) { return LogFilePath(form.Options(), form.DataFolder()); }

void MneShowLogClick(CommandHost& form) {
  const std::wstring path = LogFilePath(form);
  if (FileExistsOnReadyDrive(path)) {
    try {
      OpenDocument(form.MainWindow(), path);
    } catch (const std::exception& error) {
      form.ShowError(error.what());
    }
    return;
  }
  ShowLogNoticeDialog(MakeShowLogNotice(form.Options().RedPercent, toUtf8(path)),
                      form.MainWindow());
}

void ShowLogNoticeDialog(const ShowLogNotice& notice, HWND parent) {
  TaskMessage(notice.MainInstruction, notice.Content, tcbOk, notice.MainIcon, parent,
              notice.WindowTitle, notice.FooterText, notice.FooterIcon, notice.Width);
}

}  // namespace kelvane
