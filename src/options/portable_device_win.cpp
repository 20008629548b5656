#include "options/portable_device_win.h"

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
  dialog.WindowTitle = "警告";
  dialog.MainInstruction = "检测到在便携式设备上运行";
  dialog.Content = "计算机锁定时会关闭显示屏, 只能使用外部显示器进行操作.\n\n你确定要激活此选项?";
  dialog.ButtonCaptions = "激活选项\n不激活";
  dialog.VerificationText = "不再显示此警告";
  dialog.VerificationChecked = 0;
  MonitorWarningAnswer answer;
  answer.result = RunTaskDialog(dialog, 0, static_cast<int>(TaskDialogIcon::Warning), 0, 0, owner);
  answer.dontShowAgain = answer.result != 0 && dialog.VerificationChecked != 0;
  return answer;
}

}  // namespace kelvane
