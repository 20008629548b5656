#pragma once
// Every question and notice of the program: the platform's task dialog where the system has
// one, our own emulation otherwise, and the message box with sounds. All modal, all on the
// user-interface thread; texts are UTF-8.

#include <windows.h>

#include <optional>
#include <string>

#include "common/geometry.h"
#include "common/window_placement.h"
#include "dialogs/message_dlg.h"
#include "dialogs/task_dialog.h"

namespace kelvane {

// Which dialog shows a request. The program always lets the system decide; tests ask for the
// emulation to drive it where the platform dialog exists.
enum class TaskDialogPath { Automatic, Emulation };

// Whom a dialog belongs to and where it opens. A caller that only names the owner passes its
// window handle; a zero handle means the active window of this thread or else the program's main
// window. Wherever it is placed, the dialog opens wholly inside a monitor's work area.
struct DialogWindow {
  DialogWindow(HWND ownerWindow = nullptr, DialogPlace opensAt = DialogPlace::OverOwner)
      : owner(ownerWindow), place(opensAt) {}
  // A window of its own: no owner, so a taskbar button; it comes to the front when it opens.
  static DialogWindow ofItsOwn(DialogPlace place) {
    DialogWindow window(nullptr, place);
    window.unowned = true;
    return window;
  }
  HWND owner;
  DialogPlace place;
  bool unowned = false;
  // Set for a dialog that follows the program's language: when the language changes while it is
  // open, it closes answering kAnswerLanguageChanged and leaves here the top-left corner it
  // stood at, so that its owner can show it again in the new language at the same place.
  std::optional<Point>* languageFollow = nullptr;
  // Where it opens instead of at `place`: this top-left corner, inside the work area.
  std::optional<Point> at;
};

// RunTaskDialog's answer for a dialog closed by a change of the program's language.
inline constexpr int kAnswerLanguageChanged = -1;

// Shows the request and returns the identifier of the button that ended it (100 + n for custom
// buttons; OK 1, Yes 6, No 7, Cancel 2, Retry 4, Close 8 from the platform and 3 from the
// emulation; 2 when cancelled by Escape or the close box, or when an exit was asked for while
// it was open), or 0 when the platform call failed.
// `width` is the platform dialog's width in dialog units (0: automatic). On return the
// request's VerificationChecked and RadioResult hold what the user left them at.
int RunTaskDialog(TTaskDialog& request, TaskDialogCommonButtons commonButtons, int dialogIcon, int footerIcon,
                  int width, const DialogWindow& window, TaskDialogPath path = TaskDialogPath::Automatic);

int TaskMessage(const std::string& instruction, const std::string& content, TaskDialogCommonButtons commonButtons,
                int dialogIcon, const DialogWindow& window, const std::string& title, const std::string& footer,
                int footerIcon, int width, TaskDialogPath path = TaskDialogPath::Automatic);

// Custom buttons, one caption per line, answering 100, 101, ...
int TaskChoice(const std::string& instruction, const std::string& content, const std::string& buttonCaptions,
               int dialogIcon, const DialogWindow& window, const std::string& title, const std::string& footer,
               int footerIcon, int width, TaskDialogPath path = TaskDialogPath::Automatic);

// A plain notice with OK and the information icon.
void TaskInfo(const std::string& content, HWND parent, TaskDialogPath path = TaskDialogPath::Automatic);

// Whether this system offers TaskDialogIndirect (looked up once per process).
bool PlatformTaskDialogAvailable();

// Which message box SoundMessageDlg shows: the system decides, or the classic message box with
// a system sound that systems before version 6 get (tests ask for it to drive it anywhere).
enum class MessageDlgPath { Automatic, Classic };

// A question or notice with the buttons of the set; returns the modal result (mrYes 6, mrNo 7,
// ...; mrCancel when an exit was asked for while it was open), or 0 when the system should have
// the simple task dialog and does not. A zero `parent`
// means the program's main window.
int SoundMessageDlg(const std::string& message, MsgDlgKind kind, MsgDlgButtons buttons, HWND parent,
                    MessageDlgPath path = MessageDlgPath::Automatic);

}  // namespace kelvane
