#include "actions/process_actions_win.h"

#include <shellapi.h>

#include "actions/process_control.h"
#include "actions/process_dialog.h"
#include "common/clipboard_win.h"
#include "common/language.h"
#include "common/system_error_win.h"
#include "common/text_win.h"
#include "dialogs/task_dialog_win.h"
#include "process/file_version_reader_win.h"
#include "process/process_platform_win.h"

namespace kelvane {

namespace {

ExecutableVersion readExecutableVersion(const std::string& path) {
  const FileVersionReader reader(path);
  return {reader.FileDescription(), reader.CompanyName(), reader.FileVersion()};
}

void copyDetails(CommandHost& form, const std::string& details) {
  const DWORD error = putTextOnClipboard(form.MainWindow(), details);
  if (error != ERROR_SUCCESS) form.ShowError(tr(TextId::ErrorCannotCopy, {{"error", systemReason(error)}}));
}

void searchWeb(const std::string& name) {
  // A browser that does not start changes nothing the user has to be told about.
  ShellExecuteW(nullptr, L"open", toWide(WebSearchUrl(name)).c_str(), nullptr, nullptr, SW_SHOW);
}

}  // namespace

ProcessDialog ProcessDialogFor(const ProcessItem& item) {
  return MakeProcessDialog(item, readExecutableVersion(item.path));
}

int ShowProcessDialog(const ProcessDialog& dialog, const DialogWindow& window) {
  return TaskChoice(dialog.mainInstruction, dialog.content, dialog.buttonCaptions, dialog.mainIcon, window,
                    dialog.title, dialog.footer, dialog.footerIcon, dialog.width);
}

bool CarryOutProcessAnswer(CommandHost& form, const ProcessItem& item, const ProcessDialog& dialog, int result,
                           ProcessPlatform& platform) {
  std::string failure;
  bool endsThisProgram = false;
  const ProcessAction action = ProcessActionFor(result, dialog, item);
  switch (action) {
    case ProcessAction::None: break;
    case ProcessAction::CopyDetails: copyDetails(form, dialog.details); break;
    case ProcessAction::SearchWeb: searchWeb(item.name); break;
    case ProcessAction::ReleaseOne: failure = EndOrReleaseProcess(platform, item, false); break;
    case ProcessAction::EndOne:
      // An id is never shared by two running processes, so an entry with ours is this program.
      if (item.processId == GetCurrentProcessId())
        endsThisProgram = true;
      else
        failure = EndOrReleaseProcess(platform, item, true);
      break;
    case ProcessAction::ReleaseAll:
      failure = ApplyToAllInstances(platform, item.path, false, form.Options().ShowPage);
      break;
    case ProcessAction::EndAll:
      failure = ApplyToAllInstances(platform, item.path, true, form.Options().ShowPage, GetCurrentProcessId(),
                                    &endsThisProgram);
      break;
  }
  if (!failure.empty()) form.ShowError(failure);
  // Ending this program from its own entry is its Exit command: the settings are saved and the
  // icon removed, which ending the process outright would skip.
  if (endsThisProgram) form.Close1Click();
  return failure.empty() && (action == ProcessAction::ReleaseOne || action == ProcessAction::ReleaseAll);
}

void KillItem(CommandHost& form, const ProcessItem& item, ProcessPlatform& platform) {
  const ProcessDialog dialog = ProcessDialogFor(item);
  CarryOutProcessAnswer(form, item, dialog, ShowProcessDialog(dialog, nullptr), platform);
}

}  // namespace kelvane
