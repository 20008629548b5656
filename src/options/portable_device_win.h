#pragma once
// Whether the machine is a portable one, and the warning shown there before the monitor is
// set to go off with the lock.

#include <windows.h>

namespace kelvane {

// A lid (GetPwrCapabilities) or running on battery (GetSystemPowerStatus); a failed query
// counts as no lid, respectively as mains power.
bool IsPortableDevice();

struct MonitorWarningAnswer {
  int result = 0;  // 100 "激活选项", 101 "不激活", 0 when the dialog failed
  bool dontShowAgain = false;
};
MonitorWarningAnswer ShowMonitorWarning(HWND owner);

}  // namespace kelvane
