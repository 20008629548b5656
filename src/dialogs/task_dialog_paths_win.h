#pragma once
// The two ways a prepared task dialog is shown. Both are modal and answer the same identifiers,
// except the Close button (8 from the platform, 3 from the emulation).

#include <windows.h>
#include <commctrl.h>

#include <optional>

#include "common/geometry.h"
#include "common/handles_win.h"
#include "common/window_placement.h"
#include "dialogs/task_dialog.h"

namespace kelvane {

struct TaskDialogAnswer {
  int button = 0;  // 0: the platform call failed
  int radio = 0;
  bool verificationChecked = false;
};

// How the dialog's window opens: its owner (none: a window of its own), its place, and whether
// it takes the foreground.
struct DialogOpening {
  HWND owner = nullptr;
  DialogPlace place = DialogPlace::OverOwner;
  bool toFront = false;
  std::optional<Point> at;                        // DialogWindow::at
  std::optional<Point>* languageFollow = nullptr;  // DialogWindow::languageFollow
};

// Called once the dialog's window exists at its final size, before it is shown: neither path
// is trusted to keep a dialog on the screen (the platform's task dialog under Wine centres
// only the first one a process shows and leaves the others at the owner's corner).
void settleDialogWindow(HWND dialog, const DialogOpening& opening);

// The platform dialog's configuration made to call settleDialogWindow when it is created;
// `opening` must outlive the call.
void settleOnCreation(TASKDIALOGCONFIG& config, const DialogOpening& opening);

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
                                        int width, const DialogOpening& opening);

// The emulation's window class and the control identifier of its verification check box; the
// buttons' control identifiers are their answers.
inline constexpr wchar_t kEmulationWindowClass[] = L"TKelvaneTaskDialog";
inline constexpr int kVerificationControlId = 50;

TaskDialogAnswer ShowEmulatedTaskDialog(const PreparedTaskDialog& dialog, const DialogOpening& opening);

}  // namespace kelvane
