// The entry points every question and notice goes through: preparation, the choice of path,
// and the thin wrappers for the common cases.

#include "dialogs/task_dialog_win.h"

#include <memory>

#include "common/exit_request_win.h"
#include "common/text_win.h"
#include "common/window_messages_win.h"
#include "common/window_placement_win.h"
#include "dialogs/main_window_win.h"
#include "dialogs/task_dialog_paths_win.h"

namespace kelvane {

namespace {

constexpr char kApplicationTitle[] = "Kelvane";

// A dialog that follows the program's language hears of a change through its window procedure,
// wrapped here: the same for the platform's dialog and the emulation.
struct LanguageWatch {
  WNDPROC previous;
  std::optional<Point>* corner;
};
constexpr wchar_t kLanguageWatchProperty[] = L"Kelvane.LanguageWatch";

LRESULT CALLBACK languageWatchProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* watch = static_cast<LanguageWatch*>(GetPropW(dialog, kLanguageWatchProperty));
  const WNDPROC previous = watch->previous;
  if (message == languageChangedMessage() && message != 0) {
    RECT place{};
    GetWindowRect(dialog, &place);
    *watch->corner = Point{place.left, place.top};
    // Closed as its close box closes it; the corner tells its owner why.
    PostMessageW(dialog, WM_CLOSE, 0, 0);
    return 0;
  }
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(dialog, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    RemovePropW(dialog, kLanguageWatchProperty);
    const std::unique_ptr<LanguageWatch> done(watch);
  }
  return CallWindowProcW(previous, dialog, message, wParam, lParam);
}

void watchLanguage(HWND dialog, std::optional<Point>& corner) {
  auto watch = std::make_unique<LanguageWatch>(LanguageWatch{nullptr, &corner});
  if (!SetPropW(dialog, kLanguageWatchProperty, watch.get())) return;
  watch->previous = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(dialog, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&languageWatchProc)));
  (void)watch.release();  // freed when the window goes
}

HWND OwnerFor(HWND parent) {
  if (parent) return parent;
  if (HWND active = GetActiveWindow()) return active;
  return ApplicationWindow();
}

std::string FallbackTitle() {
  if (HWND main = MainFormWindow()) {
    wchar_t caption[256] = {};
    if (GetWindowTextW(main, caption, static_cast<int>(std::size(caption))) > 0) return toUtf8(std::wstring(caption));
  }
  return kApplicationTitle;
}

}  // namespace

void settleDialogWindow(HWND dialog, const DialogOpening& opening) {
  if (opening.at) moveInsideWorkArea(dialog, *opening.at);
  else placeDialogWindow(dialog, opening.place);
  if (opening.languageFollow) watchLanguage(dialog, *opening.languageFollow);
  if (opening.toFront) SetForegroundWindow(dialog);
}

bool PlatformTaskDialogAvailable() { return PlatformTaskDialogLibrary().address() != nullptr; }

int RunTaskDialog(TTaskDialog& request, TaskDialogCommonButtons commonButtons, int dialogIcon, int footerIcon,
                  int width, const DialogWindow& window, TaskDialogPath path) {
  const PreparedTaskDialog dialog =
      PrepareTaskDialog(request, commonButtons, dialogIcon, footerIcon,
                        request.WindowTitle.empty() ? FallbackTitle() : std::string());
  // A dialog shown again in another language does not take the foreground from the window
  // where the language was chosen.
  const DialogOpening opening{window.unowned ? nullptr : OwnerFor(window.owner), window.place,
                              window.unowned && !window.at, window.at, window.languageFollow};
  if (window.languageFollow) window.languageFollow->reset();
  const PlatformTaskDialogLibrary platform;
  const bool usePlatform = path == TaskDialogPath::Automatic && platform.address() && !NeedsEmulation(request);
  const ModalExitWatch exitWatch;
  const TaskDialogAnswer answer = usePlatform ? ShowPlatformTaskDialog(platform.address(), dialog, width, opening)
                                              : ShowEmulatedTaskDialog(dialog, opening);
  // The check box counts however the dialog ended ("don't show again" means closing it in any
  // way); the button does not when an exit ended it.
  request.VerificationChecked = answer.verificationChecked ? 1 : 0;
  if (exitWatch.exitCame()) {
    request.RadioResult = 0;
    return IDCANCEL;
  }
  request.RadioResult = answer.radio;
  if (window.languageFollow && *window.languageFollow) return kAnswerLanguageChanged;
  return answer.button;
}

int TaskMessage(const std::string& instruction, const std::string& content, TaskDialogCommonButtons commonButtons,
                int dialogIcon, const DialogWindow& window, const std::string& title, const std::string& footer,
                int footerIcon, int width, TaskDialogPath path) {
  TTaskDialog request;
  request.WindowTitle = title;
  request.MainInstruction = instruction;
  request.Content = content;
  request.FooterText = footer;
  return RunTaskDialog(request, commonButtons, dialogIcon, footerIcon, width, window, path);
}

int TaskChoice(const std::string& instruction, const std::string& content, const std::string& buttonCaptions,
               int dialogIcon, const DialogWindow& window, const std::string& title, const std::string& footer,
               int footerIcon, int width, TaskDialogPath path) {
  TTaskDialog request;
  request.WindowTitle = title;
  request.MainInstruction = instruction;
  request.Content = content;
  request.ButtonCaptions = buttonCaptions;
  request.FooterText = footer;
  return RunTaskDialog(request, 0, dialogIcon, footerIcon, width, window, path);
}

void TaskInfo(const std::string& content, HWND parent, TaskDialogPath path) {
  TaskMessage("", content, tcbOk, static_cast<int>(TaskDialogIcon::Information), parent, "", "", 0, 0, path);
}

}  // namespace kelvane
