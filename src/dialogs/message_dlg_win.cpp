// The message box with sounds: the simple task dialog from the common controls on systems of
// version 6 and later, the classic message box with a system sound before that.

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "common/exit_request_win.h"
#include "common/system_info_win.h"
#include "common/system_library_win.h"
#include "common/text_win.h"
#include "dialogs/main_window_win.h"
#include "dialogs/task_dialog_paths_win.h"
#include "dialogs/task_dialog_win.h"

namespace kelvane {

namespace {

using SndPlaySoundProc = BOOL(WINAPI*)(LPCWSTR, UINT);

constexpr UINT kSndAsync = 0x0001;  // SND_ASYNC, without pulling in the multimedia headers

// The simple task dialog, through TaskDialogIndirect (which takes the same request and lets the
// dialog be placed) rather than TaskDialog.
int SimpleTaskDialog(const std::string& message, MsgDlgKind kind, MsgDlgButtons buttons, HWND owner) {
  const UniqueLibrary comctl = loadSystemLibrary(L"comctl32.dll");
  const auto taskDialogIndirect = systemExport<TaskDialogIndirectProc>(comctl, "TaskDialogIndirect");
  if (!taskDialogIndirect) return mrNone;
  const std::wstring title = toWide(MsgDlgCaption(kind));
  const std::wstring content = toWide(message);
  TASKDIALOGCONFIG config{};
  config.cbSize = sizeof(config);
  config.hwndParent = owner;
  config.pszWindowTitle = title.c_str();
  config.pszContent = content.c_str();
  config.dwCommonButtons = static_cast<TASKDIALOG_COMMON_BUTTON_FLAGS>(MsgDlgTaskDialogButtons(buttons));
  config.pszMainIcon = MAKEINTRESOURCEW(MsgDlgIconId(kind));
  const DialogOpening opening{owner, DialogPlace::OverOwner, false};
  settleOnCreation(config, opening);
  int pressed = 0;
  const HRESULT hr = taskDialogIndirect(&config, &pressed, nullptr, nullptr);
  // A dialog that never showed must not read as OK (Wine reports one it could not create as
  // success with button -1).
  if (FAILED(hr) || pressed <= 0) return mrNone;
  return MsgDlgResultFromTaskDialog(pressed);
}

UINT ClassicButtons(MsgDlgButtons buttons) {
  const bool yes = buttons & mbYes, no = buttons & mbNo, ok = buttons & mbOK, cancel = buttons & mbCancel,
             abort = buttons & mbAbort, retry = buttons & mbRetry;
  if (yes && no) return cancel ? MB_YESNOCANCEL : MB_YESNO;
  if (abort) return MB_ABORTRETRYIGNORE;
  if (retry) return MB_RETRYCANCEL;
  if (ok && cancel) return MB_OKCANCEL;
  return MB_OK;
}

int ClassicMessageBox(const std::string& message, MsgDlgKind kind, MsgDlgButtons buttons, HWND owner) {
  // The sound plays on after the call returns, so the library stays loaded for the run.
  static const UniqueLibrary winmm = loadSystemLibrary(L"winmm.dll");
  if (const auto play = systemExport<SndPlaySoundProc>(winmm, "sndPlaySoundW"))
    play(toWide(MsgDlgSoundAlias(kind)).c_str(), kSndAsync);
  const std::wstring text = toWide(message);
  const std::wstring caption = toWide(MsgDlgCaption(kind));
  // The user icon shows the kind's picture without the message box playing a second sound.
  MSGBOXPARAMSW params{};
  params.cbSize = sizeof(params);
  params.hwndOwner = owner;
  params.lpszText = text.c_str();
  params.lpszCaption = caption.c_str();
  params.dwStyle = ClassicButtons(buttons) | MB_USERICON;
  params.lpszIcon = MAKEINTRESOURCEW(MsgDlgIconId(kind));
  const int answer = MessageBoxIndirectW(&params);
  return answer > 0 ? answer : mrNone;  // Wine answers -1 for a box it could not create
}

}  // namespace

int SoundMessageDlg(const std::string& message, MsgDlgKind kind, MsgDlgButtons buttons, HWND parent,
                    MessageDlgPath path) {
  const HWND owner = parent ? parent : MainFormWindow();
  const auto version = readOsVersion();
  const ModalExitWatch exitWatch;
  const int answer = path == MessageDlgPath::Automatic && version && version->major >= 6
                         ? SimpleTaskDialog(message, kind, buttons, owner)
                         : ClassicMessageBox(message, kind, buttons, owner);
  return exitWatch.exitCame() ? mrCancel : answer;
}

}  // namespace kelvane
