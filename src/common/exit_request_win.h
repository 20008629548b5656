#pragma once
// An exit asked for while a modal dialog waits. Asking ends every modal loop (WM_QUIT), and the
// system then answers for the dialog whose loop it ended: Wine's task dialog and message box
// return their default button, the Save dialog its default file name, the colour and font
// dialogs what they show. Every modal wrapper of the program asks this one place whether that
// happened and then answers "cancelled", whatever the system returned, so that an exit never
// acts for the user.

#include <cstdint>

namespace kelvane {

// Asks for the exit: counted, and WM_QUIT posted on this thread to end the loops around it.
void endModalLoopsForExit();
// The exit asked for is being carried out outside every loop: a dialog shown from now on (a
// failed save's box) is the user's to answer.
void exitRequestCarriedOut();

// Taken when a modal dialog opens; asked when it has returned.
class ModalExitWatch {
 public:
  ModalExitWatch();
  // Whether an exit was asked for while the dialog was open, or was still on its way out
  // through the loops when it opened (a dialog opened then is ended at once by the quit).
  bool exitCame() const;

 private:
  std::uint32_t requestsAtOpen_;
  bool pendingAtOpen_;
};

}  // namespace kelvane
