// The platform's task dialog, fed from the prepared request.

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "common/system_info_win.h"
#include "common/system_library_win.h"
#include "common/text_win.h"
#include "dialogs/task_dialog_paths_win.h"

namespace kelvane {

namespace {

// Absent elements are null pointers, not empty strings.
const wchar_t* OrNull(const std::wstring& text) { return text.empty() ? nullptr : text.c_str(); }

PCWSTR IconResource(std::uint16_t id) { return id == 0 ? nullptr : MAKEINTRESOURCEW(id); }

HRESULT CALLBACK onNotification(HWND dialog, UINT notification, WPARAM, LPARAM, LONG_PTR opening) {
  if (notification == TDN_CREATED) settleDialogWindow(dialog, *reinterpret_cast<const DialogOpening*>(opening));
  return S_OK;
}

}  // namespace

PlatformTaskDialogLibrary::PlatformTaskDialogLibrary() {
  const auto version = readOsVersion();
  if (!version || version->major <= 5) return;
  // Version 6 of the common controls, as the manifest asks for: one more reference to the copy
  // already loaded, or the library loaded from the system folder, until this object goes.
  comctl_ = loadSystemLibrary(L"comctl32.dll");
  address_ = systemExport<TaskDialogIndirectProc>(comctl_, "TaskDialogIndirect");
}

void settleOnCreation(TASKDIALOGCONFIG& config, const DialogOpening& opening) {
  config.pfCallback = onNotification;
  config.lpCallbackData = reinterpret_cast<LONG_PTR>(&opening);
}

TaskDialogAnswer ShowPlatformTaskDialog(TaskDialogIndirectProc taskDialogIndirect, const PreparedTaskDialog& dialog,
                                        int width, const DialogOpening& opening) {
  const std::wstring title = toWide(dialog.windowTitle);
  const std::wstring instruction = toWide(dialog.mainInstruction);
  const std::wstring content = toWide(dialog.content);
  const std::wstring expanded = toWide(dialog.expandedText);
  const std::wstring expandLabel = toWide(dialog.expandLabel);
  const std::wstring collapseLabel = toWide(dialog.collapseLabel);
  const std::wstring verification = toWide(dialog.verificationText);
  const std::wstring footer = toWide(dialog.footerText);
  std::vector<std::wstring> captions;
  for (const auto& b : dialog.customButtons) captions.push_back(toWide(b.caption));
  std::vector<TASKDIALOG_BUTTON> buttons;
  for (std::size_t i = 0; i < captions.size(); ++i)
    buttons.push_back({dialog.customButtons[i].id, captions[i].c_str()});

  TASKDIALOGCONFIG config{};
  config.cbSize = sizeof(config);
  config.hwndParent = opening.owner;
  config.dwFlags = TDF_ALLOW_DIALOG_CANCELLATION;
  if (dialog.verificationChecked) config.dwFlags |= TDF_VERIFICATION_FLAG_CHECKED;
  config.dwCommonButtons = static_cast<TASKDIALOG_COMMON_BUTTON_FLAGS>(dialog.commonButtons);
  config.pszWindowTitle = OrNull(title);
  config.pszMainIcon = IconResource(PlatformMainIconId(dialog.mainIcon));
  config.pszMainInstruction = OrNull(instruction);
  config.pszContent = OrNull(content);
  config.cButtons = static_cast<UINT>(buttons.size());
  config.pButtons = buttons.empty() ? nullptr : buttons.data();
  config.nDefaultButton = dialog.defaultButton;
  config.pszExpandedInformation = OrNull(expanded);
  config.pszExpandedControlText = OrNull(collapseLabel);
  config.pszCollapsedControlText = OrNull(expandLabel);
  config.pszVerificationText = OrNull(verification);
  config.pszFooterIcon = IconResource(PlatformFooterIconId(dialog.footerIcon));
  config.pszFooter = OrNull(footer);
  config.cxWidth = width > 0 ? static_cast<UINT>(width) : 0;
  settleOnCreation(config, opening);

  int button = 0;
  int radio = 0;
  BOOL checked = dialog.verificationChecked ? TRUE : FALSE;
  const HRESULT status = taskDialogIndirect(&config, &button, &radio, &checked);
  // Wine reports a dialog that could not be created (an owner that is gone) as success with
  // button -1; either way nothing was answered and the check box was never seen.
  if (FAILED(status) || button <= 0) return {0, 0, dialog.verificationChecked};
  return {button, radio, checked != FALSE};
}

}  // namespace kelvane
