#include "menu/process_actions_win.h"

#include <shellapi.h>

#include "common/clipboard_win.h"
#include "common/handles_win.h"
#include "common/system_error_win.h"
#include "common/text_win.h"
#include "dialogs/task_dialog_win.h"
#include "menu/file_version_reader_win.h"
#include "menu/process_dialog.h"
#include "process/process_list.h"
#include "process/process_platform_win.h"

namespace kelvane {

namespace {

// The process under `processId`, opened for the action, when it is still running and still the
// one that was seen with this path and creation time; nothing otherwise. The handle is opened
// before the checks: while it is open the id cannot pass to another process, so the checks
// and the action reach the same one.
UniqueKernelHandle openSameProcess(TNxProcessList& list, std::uint32_t processId, const std::string& path,
                                   double creationTime) {
  UniqueKernelHandle process(OpenProcess(kProcessAllAccess, FALSE, processId));
  if (!process || WaitForSingleObject(process.get(), 0) != WAIT_TIMEOUT) return {};
  if (!IsSameProcess(path, creationTime, list.GetProcessFilePath(processId),
                     list.GetProcessCreationTime(processId)))
    return {};
  return process;
}

void act(ProcessControl& control, HANDLE process, bool end) {
  if (end)
    control.terminate(process);
  else
    control.trimWorkingSet(process);
}

// One process: the entry's own, if it is still there. One that has ended, or whose id now
// belongs to another program, is left alone; as with a process that cannot be opened, there is
// nothing the user needs to hear about.
void applyToOne(const ProcessItem& item, bool end, ProcessControl& control) {
  WindowsProcessPlatform platform;
  TNxProcessList list(platform);
  const UniqueKernelHandle process = openSameProcess(list, item.processId, item.path, item.creationTime);
  if (process) act(control, process.get(), end);
}

ExecutableVersion readExecutableVersion(const std::string& path) {
  const FileVersionReader reader(path);
  return {reader.FileDescription(), reader.CompanyName(), reader.FileVersion()};
}

void copyDetails(FormServices& form, const std::string& details) {
  const DWORD error = putTextOnClipboard(form.MainWindow(), details);
  if (error != ERROR_SUCCESS) {
    const std::string text = systemMessageText(error);
    form.ShowError(text.empty() ? "Clipboard error (" + std::to_string(error) + ")" : text);
  }
}

void searchWeb(const std::string& name) {
  // A browser that does not start changes nothing the user has to be told about.
  ShellExecuteW(nullptr, L"open", toWide(WebSearchUrl(name)).c_str(), nullptr, nullptr, SW_SHOW);
}

}  // namespace

void ProcessControl::trimWorkingSet(HANDLE process) {
  SetProcessWorkingSetSize(process, static_cast<SIZE_T>(-1), static_cast<SIZE_T>(-1));
}

void ProcessControl::terminate(HANDLE process) { TerminateProcess(process, 0); }

void ApplyToAllInstances(const std::string& path, bool end, bool usePagefile, ProcessControl& control) {
  WindowsProcessPlatform platform;
  TNxProcessList list(platform);
  list.Refresh(usePagefile);
  for (const TNxProcessRec& record : InstancesOf(list.Items, path)) {
    const UniqueKernelHandle process = openSameProcess(list, record.ProcessId, record.Path, record.CreationTime);
    if (process) act(control, process.get(), end);
  }
}

ProcessDialog ProcessDialogFor(const ProcessItem& item) {
  return MakeProcessDialog(item, readExecutableVersion(item.path));
}

int ShowProcessDialog(const ProcessDialog& dialog, const DialogWindow& window) {
  return TaskChoice(dialog.mainInstruction, dialog.content, dialog.buttonCaptions, dialog.mainIcon, window,
                    dialog.title, dialog.footer, dialog.footerIcon, dialog.width);
}

void CarryOutProcessAnswer(FormServices& form, const ProcessItem& item, const ProcessDialog& dialog, int result,
                           ProcessControl& control) {
  switch (ProcessActionFor(result, dialog, item)) {
    case ProcessAction::None: break;
    case ProcessAction::CopyDetails: copyDetails(form, dialog.details); break;
    case ProcessAction::SearchWeb: searchWeb(item.name); break;
    case ProcessAction::ReleaseOne: applyToOne(item, false, control); break;
    case ProcessAction::EndOne: applyToOne(item, true, control); break;
    case ProcessAction::ReleaseAll: ApplyToAllInstances(item.path, false, form.Options().ShowPage, control); break;
    case ProcessAction::EndAll: ApplyToAllInstances(item.path, true, form.Options().ShowPage, control); break;
  }
}

void KillItem(FormServices& form, const ProcessItem& item, ProcessControl& control) {
  const ProcessDialog dialog = ProcessDialogFor(item);
  CarryOutProcessAnswer(form, item, dialog, ShowProcessDialog(dialog, nullptr), control);
}

}  // namespace kelvane
