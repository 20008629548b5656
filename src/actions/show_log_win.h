#pragma once
// The show-log command: the log file opened by its program, or a notice while there is none.

#include <string>

#include "actions/command_host_win.h"
#include "actions/show_log.h"

namespace kelvane {

// The log's path as written and opened (LogFilePath of the form's record and data folder).
std::wstring LogFilePath(CommandHost& form);

void MneShowLogClick(CommandHost& form);

void ShowLogNoticeDialog(const ShowLogNotice& notice, HWND parent);

}  // namespace kelvane
