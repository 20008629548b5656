#pragma once
// The task dialog of the alert feature: the high-memory question.

#include <windows.h>

#include "app/alert_machine.h"

namespace kelvane {

struct AlertDialogResult {
  int result = 0;  // 100 + n for the n-th caption, 2 when cancelled, 0 when the call failed
  bool verificationChecked = false;
};

AlertDialogResult RunAlertDialog(const AlertDialogRequest& request, HWND parent);

}  // namespace kelvane
