#include "options/portable_device_win.h"

#include "common/language.h"
#include "common/system_library_win.h"
#include "dialogs/task_dialog_win.h"

namespace kelvane {

namespace {

using GetPwrCapabilitiesProc = BOOLEAN(WINAPI*)(SYSTEM_POWER_CAPABILITIES*);

}  // namespace

bool IsPortableDevice() {
  bool lid = false;
  const UniqueLibrary powrprof = loadSystemLibrary(L"powrprof.dll");
  if (const auto query = systemExport<GetPwrCapabilitiesProc>(powrprof, "GetPwrCapabilities")) {
    SYSTEM_POWER_CAPABILITIES capabilities{};
    lid = query(&capabilities) && capabilities.LidPresent;
  }
  SYSTEM_POWER_STATUS status{};
  const bool onBattery = GetSystemPowerStatus(&status) && status.ACLineStatus == 0;
  return lid || onBattery;
}

MonitorWarningAnswer ShowMonitorWarning(HWND owner) {
  TTaskDialog dialog;
  dialog.WindowTitle = tr(TextId::PortableTitle);
  dialog.MainInstruction = tr(TextId::PortableInstruction);
  dialog.Content = tr(TextId::PortableContent);
  dialog.ButtonCaptions = tr(TextId::PortableButtons);
  dialog.VerificationText = tr(TextId::DontShowWarningAgain);
  dialog.VerificationChecked = 0;
  MonitorWarningAnswer answer;
  answer.result = RunTaskDialog(dialog, 0, static_cast<int>(TaskDialogIcon::Warning), 0, 0, owner);
  answer.dontShowAgain = answer.result != 0 && dialog.VerificationChecked != 0;
  return answer;
}

}  // namespace kelvane
