#pragma once
// The two ways a prepared task dialog is shown. Both are modal and answer the same identifiers,
// except the Close button (8 from the platform, 3 from the emulation).

#include <windows.h>
#include <commctrl.h>

#include "common/handles_win.h"
#include "dialogs/task_dialog.h"

namespace kelvane {

struct TaskDialogAnswer {
  int button = 0;  // 0: the platform call failed
  int radio = 0;
  bool verificationChecked = false;
};

using TaskDialogIndirectProc = HRESULT(WINAPI*)(const TASKDIALOGCONFIG*, int*, int*, BOOL*);

// The common-controls library held for one dialog, and TaskDialogIndirect from it (null where
// the system has none). Released with the dialog: a notice shown once does not keep the library
// in memory for the rest of the run.
class PlatformTaskDialogLibrary {
 public:
  PlatformTaskDialogLibrary();
  TaskDialogIndirectProc address() const { return address_; }

 private:
  UniqueLibrary comctl_;
  TaskDialogIndirectProc address_ = nullptr;
};

TaskDialogAnswer ShowPlatformTaskDialog(TaskDialogIndirectProc taskDialogIndirect, const PreparedTaskDialog& dialog,
                                        int width, HWND parent);

// The emulation's window class and the control identifier of its verification check box; the
// buttons' control identifiers are their answers.
inline constexpr wchar_t kEmulationWindowClass[] = L"TKelvaneTaskDialog";
inline constexpr int kVerificationControlId = 50;

TaskDialogAnswer ShowEmulatedTaskDialog(const PreparedTaskDialog& dialog, HWND parent);

}  // namespace kelvane
