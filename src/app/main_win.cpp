// Program entry: one copy per session, a hidden application, and the message loop.
#include <windows.h>

#include <exception>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/application_window_win.h"
#include "app/command_handover_win.h"
#include "app/lone_request_win.h"
#include "app/main_form_win.h"
#include "app/start_language_win.h"
#include "common/error_display_win.h"
#include "common/handles_win.h"
#include "common/text_win.h"
#include "common/system_library_win.h"
#include "common/window_win.h"
#include "history/history_export_win.h"

using namespace kelvane;

namespace {

// The running copy owns this mutex from its start until its process ends.
constexpr wchar_t kSingleInstanceMutex[] = L"Local\\Brimvale.Kelvane.SingleInstance";
// How long a start waits for a copy that holds the mutex to show its window or to end.
constexpr DWORD kHandOverWaitMs = 5000;

bool tellRunningCopy() {
  const HWND running = FindWindowW(kMainFormClassName, nullptr);
  return running && PostMessageW(running, WM_INSTANCE_NOTICE, 0, 0);
}

enum class InstanceClaim { Won, HandedOver, Unreachable };

// A copy that is still starting has no window yet, and one that is exiting has none any more:
// this start waits until the other copy shows its window (and is told) or ends (and this one
// runs). One that keeps the mutex but never shows a window cannot be reached.
InstanceClaim claimSingleInstance(UniqueKernelHandle& mutex) {
  if (tellRunningCopy()) return InstanceClaim::HandedOver;
  mutex.reset(CreateMutexW(nullptr, FALSE, kSingleInstanceMutex));
  if (!mutex) return InstanceClaim::Won;  // nothing to go by: one icon too many beats none
  const DWORD start = GetTickCount();
  do {
    const DWORD wait = WaitForSingleObject(mutex.get(), 50);
    if (wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED) return InstanceClaim::Won;
    if (tellRunningCopy()) return InstanceClaim::HandedOver;
  } while (GetTickCount() - start < kHandOverWaitMs);
  return InstanceClaim::Unreachable;
}

void showUnreachableCopy() {
  MessageBoxW(nullptr,
              trWide(TextId::StartupCopyNotResponding).c_str(),
              L"Kelvane", MB_OK | MB_ICONWARNING);
}

// A start with a switch: the usage, the running copy's answer, or what this process does alone.
// Nothing when the program is to start (then, for /history and /settings, show).
std::optional<int> answerRequest(const ProgramRequest& request) {
  using Kind = ProgramRequest::Kind;
  if (request.kind == Kind::Start) return std::nullopt;
  if (request.kind == Kind::Usage || request.kind == Kind::BadCommandLine) {
    showUsage(request);
    return exitCodeOf(request.kind);
  }
  if (const HWND running = FindWindowW(kMainFormClassName, nullptr)) {
    const std::optional<RequestAnswer> answer = handOverRequest(running, request);
    if (!answer) {
      tellCommandWords(tr(TextId::StartupCopyNotResponding), CommandWords::Failure, request.quiet);
      return kExitFailed;
    }
    // The running copy says why; one older than this start answers only the code.
    if (answer->problem != ExportProblem::None)
      tellCommandWords(exportFailureText(speaking(), *answer, request.file), CommandWords::Failure, request.quiet);
    return exitCodeOfAnswer(*answer);
  }
  return carryOutAlone(request);
}

// Runs until an exit is asked for (in a menu or a modal box, whose loops end first on WM_QUIT),
// a quit ends it, or GetMessage keeps failing; a failure is logged and the loop goes on.
void runMessageLoop(TFrmKelvaneMain& form) {
  MessageWait wait;
  MSG message;
  while (!form.exitRequested()) {
    const MessageWait::Result got = wait.next(message);
    if (got == MessageWait::Result::Quit) return;
    if (got != MessageWait::Result::Message) {
      form.messageLoopFailed(wait.lastFailure());
      if (got == MessageWait::Result::GaveUp) return;
      continue;
    }
    if (handleDialogKeys(message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  hardenDllSearch();
  // Every text from here on, the usage and the refusals included, is in the chosen language.
  std::vector<LanguageNotice> languageFileLog = speakStartLanguage();
  const ProgramRequest request = withFullPath(parseCommandLine(commandLineArguments(GetCommandLineW())));
  if (const auto exitCode = answerRequest(request)) return *exitCode;
  UniqueKernelHandle instanceMutex;
  switch (claimSingleInstance(instanceMutex)) {
    case InstanceClaim::Won: break;
    case InstanceClaim::HandedOver: return 0;
    case InstanceClaim::Unreachable: showUnreachableCopy(); return 0;
  }

  // The common controls are initialised by the windows that use them, when they first open:
  // a run that never opens one never loads them.
  try {
    TApplicationWindow application(L"Kelvane");
    TFrmKelvaneMain mainForm(application.hwnd(), std::move(languageFileLog));
    if (request.kind != ProgramRequest::Kind::Start) mainForm.carryOutRequest(request);
    runMessageLoop(mainForm);
    // However the loop ended, the exit is carried out here, where no handler of the program is
    // running any more.
    mainForm.closeProgram();
  } catch (const std::exception& error) {
    showUnexpectedError(error.what());
  }
  return 0;
}
