#include "actions/process_dialogs_win.h"

#include <process.h>

#include <exception>
#include <stdexcept>

#include "common/handles_win.h"
#include "common/language.h"
#include "common/window_messages_win.h"
#include "actions/process_control.h"
#include "process/process_list.h"
#include "process/process_platform_win.h"

namespace kelvane {

namespace {

constexpr const wchar_t* kWindowClass = L"KelvaneProcessDialogs";
// lParam of both: the dialog's id. Ids rather than pointers: a message can arrive after its
// dialog has gone.
constexpr UINT kAnswerMessage = WM_PROCESS_DIALOG_ANSWER;
constexpr UINT kProcessEndedMessage = WM_PROCESS_DIALOG_PROCESS_ENDED;
constexpr DWORD kClosingWaitMs = 5000;
// A release's gain is read a second after it, when the trimmed pages have settled.
constexpr UINT kReleaseSettleMs = 1000;
constexpr int kReleaseBalloonSeconds = 10;

// Each shown top-level window of a dialog's thread: the dialog, once it is on the screen.
void forEachShownWindow(DWORD threadId, void (*action)(HWND)) {
  EnumThreadWindows(
      threadId,
      [](HWND window, LPARAM act) -> BOOL {
        if (IsWindowVisible(window)) reinterpret_cast<void (*)(HWND)>(act)(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(action));
}

void bringToFront(HWND window) {
  if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
  SetForegroundWindow(window);
}

void closeAsCancelled(HWND window) { PostMessageW(window, WM_CLOSE, 0, 0); }

// What signals when the entry's process ends: none for a merged entry, nor when the process is
// gone or its id already names another one.
UniqueKernelHandle endOfProcess(const ProcessItem& item) {
  if (item.unified) return {};
  UniqueKernelHandle process(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, item.processId));
  if (!process) return {};
  WindowsProcessPlatform platform;
  TNxProcessList list(platform);
  try {
    if (!IsSameProcess(item.path, item.creationTime, list.GetProcessFilePath(item.processId),
                       list.GetProcessCreationTimeUtc(item.processId)))
      return {};
  } catch (const ProcessQueryError&) {
    return {};  // a process that will not say when it started cannot be told from another
  }
  return process;
}

}  // namespace

struct ProcessDialogs::OpenDialog {
  std::uint64_t id = 0;
  HWND answerTo = nullptr;
  ProcessItem item;
  ProcessDialog dialog;
  int result = 0;  // written by the dialog's thread before it posts the answer
  UniqueKernelHandle thread;
  unsigned threadId = 0;
  UniqueKernelHandle process;
  HANDLE wait = nullptr;

  OpenDialog() = default;
  OpenDialog(const OpenDialog&) = delete;
  OpenDialog& operator=(const OpenDialog&) = delete;
  ~OpenDialog() {
    if (wait) UnregisterWaitEx(wait, INVALID_HANDLE_VALUE);  // no callback runs after this
  }

  // The dialog's thread: the dialog, then its answer posted; nothing of this object is touched
  // after the post.
  static unsigned __stdcall run(void* self) {
    auto& open = *static_cast<OpenDialog*>(self);
    try {
      DialogWindow window = DialogWindow::ofItsOwn(DialogPlace::NearTray);
      std::optional<Point> corner;
      window.languageFollow = &corner;
      open.result = ShowProcessDialog(open.dialog, window);
      // The program speaks another language: the dialog opens again in it, where it stood.
      while (open.result == kAnswerLanguageChanged) {
        open.dialog = ProcessDialogFor(open.item);
        window.at = corner;
        open.result = ShowProcessDialog(open.dialog, window);
      }
    } catch (const std::exception&) {
      open.result = 0;  // a dialog that could not be shown answers nothing
    }
    PostMessageW(open.answerTo, kAnswerMessage, 0, static_cast<LPARAM>(open.id));
    return 0;
  }

  static void CALLBACK processEnded(void* self, BOOLEAN) {
    const auto& open = *static_cast<const OpenDialog*>(self);
    PostMessageW(open.answerTo, kProcessEndedMessage, 0, static_cast<LPARAM>(open.id));
  }
};

ProcessDialogs::ProcessDialogs(CommandHost& form, ProcessPlatform& platform) : form_(form), platform_(platform) {
  registerWindowClass(kWindowClass);
  createWindow(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE);
  if (!hwnd_) throw std::runtime_error(tr(TextId::ErrorNoProcessDialogsWindow));
}

ProcessDialogs::~ProcessDialogs() {
  for (const auto& dialog : open_) forEachShownWindow(dialog->threadId, closeAsCancelled);
  // Messages sent to this thread are answered while waiting: a closing window may hand the
  // activation to one of ours.
  const DWORD deadline = GetTickCount() + kClosingWaitMs;
  for (auto& dialog : open_) {
    const HANDLE thread = dialog->thread.get();
    while (MsgWaitForMultipleObjects(1, &thread, FALSE, 50, QS_SENDMESSAGE) != WAIT_OBJECT_0 &&
           static_cast<LONG>(GetTickCount() - deadline) < 0) {
      MSG sent;
      PeekMessageW(&sent, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
      forEachShownWindow(dialog->threadId, closeAsCancelled);  // one that was still being made
    }
    // A thread that is still running may yet use its object: that one stays for the process.
    if (WaitForSingleObject(thread, 0) != WAIT_OBJECT_0) (void)dialog.release();
  }
  open_.clear();
  destroyWindow();
}

void ProcessDialogs::open(const ProcessItem& item) {
  for (const auto& dialog : open_) {
    if (StandsForSame(dialog->item, item)) {
      forEachShownWindow(dialog->threadId, bringToFront);
      return;
    }
  }
  auto dialog = std::make_unique<OpenDialog>();
  dialog->id = nextId_++;
  dialog->answerTo = hwnd_;
  dialog->item = item;
  dialog->dialog = ProcessDialogFor(item);
  dialog->thread.reset(reinterpret_cast<HANDLE>(
      _beginthreadex(nullptr, 0, &OpenDialog::run, dialog.get(), 0, &dialog->threadId)));
  if (!dialog->thread) throw std::runtime_error(tr(TextId::ErrorNoProcessDialog));
  dialog->process = endOfProcess(item);
  if (dialog->process)
    RegisterWaitForSingleObject(&dialog->wait, dialog->process.get(), &OpenDialog::processEnded, dialog.get(),
                                INFINITE, WT_EXECUTEONLYONCE);
  open_.push_back(std::move(dialog));
}

std::list<std::unique_ptr<ProcessDialogs::OpenDialog>>::iterator ProcessDialogs::find(std::uint64_t id) {
  for (auto it = open_.begin(); it != open_.end(); ++it)
    if ((*it)->id == id) return it;
  return open_.end();
}

void ProcessDialogs::onAnswer(std::uint64_t id) {
  const auto it = find(id);
  if (it == open_.end()) return;
  const std::unique_ptr<OpenDialog> answered = std::move(*it);
  open_.erase(it);  // the entry can be chosen again while its action runs
  try {
    const ProcessAction action = ProcessActionFor(answered->result, answered->dialog, answered->item);
    const bool told = (action == ProcessAction::ReleaseOne || action == ProcessAction::ReleaseAll) &&
                      form_.Options().History.ReleaseBalloon;
    SettlingRelease release{nextTimer_, answered->item, std::nullopt};
    if (told) release.workingSetBefore = EntryWorkingSet(platform_, answered->item, form_.Options().ShowPage);
    if (CarryOutProcessAnswer(form_, answered->item, answered->dialog, answered->result, platform_) && told &&
        SetTimer(hwnd_, release.timer, kReleaseSettleMs, nullptr)) {
      ++nextTimer_;
      settling_.push_back(std::move(release));
    }
  } catch (const std::exception& error) {
    form_.ShowError(error.what());
  }
}

void ProcessDialogs::onReleaseSettled(UINT_PTR timer) {
  KillTimer(hwnd_, timer);
  for (auto it = settling_.begin(); it != settling_.end(); ++it) {
    if (it->timer != timer) continue;
    const SettlingRelease release = std::move(*it);
    settling_.erase(it);
    const std::optional<std::uint64_t> after = EntryWorkingSet(platform_, release.item, form_.Options().ShowPage);
    form_.ShowBalloon("Kelvane",
                      ProcessReleaseFeedback(release.item.name, release.workingSetBefore, after,
                                             form_.SystemNumberFormat()),
                      1, kReleaseBalloonSeconds);
    return;
  }
}

void ProcessDialogs::onProcessEnded(std::uint64_t id) {
  const auto it = find(id);
  if (it != open_.end()) forEachShownWindow((*it)->threadId, closeAsCancelled);
}

LRESULT ProcessDialogs::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case kAnswerMessage:
      onAnswer(static_cast<std::uint64_t>(lParam));
      return 0;
    case kProcessEndedMessage:
      onProcessEnded(static_cast<std::uint64_t>(lParam));
      return 0;
    case WM_TIMER:
      onReleaseSettled(static_cast<UINT_PTR>(wParam));
      return 0;
    default:
      return defaultProc(message, wParam, lParam);
  }
}

namespace {

std::unique_ptr<ProcessDialogs>& theProcessDialogs() {
  static std::unique_ptr<ProcessDialogs> dialogs;
  return dialogs;
}

}  // namespace

void OpenProcessDialog(CommandHost& form, const ProcessItem& item) {
  static WindowsProcessPlatform system;
  auto& dialogs = theProcessDialogs();
  if (!dialogs) dialogs = std::make_unique<ProcessDialogs>(form, system);
  dialogs->open(item);
}

void CloseProcessDialogs() { theProcessDialogs().reset(); }

}  // namespace kelvane
