// The main form and its settings: loading at start, saving, the timers that follow them, and the
// welcome window that the first start shows.
#include "app/main_form_win.h"

#include "app/timer_intervals.h"
#include "common/system_info_win.h"
#include "common/text_win.h"
#include "settings/theme_folder_win.h"
#include "settings/visual_style_win.h"

namespace kelvane {

void TFrmKelvaneMain::LoadOptions() {
  const auto version = readOsVersion();
  const SettingsContext context{version ? static_cast<int>(version->major) : 10,
                                toUtf8(GetDefaultLogFileName(settingsFolders_, portableMode_))};
  const LoadedOptions loaded = loadOptionsFromFile(settingsFileName_, context);
  options_ = loaded.options;
  // The show-log item follows WriteLog each time the menu is built.
  ApplyRefreshHotkey();
  if (loaded.firstRun) {
    const std::wstring themeFolder = GetDataFolder(settingsFolders_, portableMode_, true);
    deliverThemeFiles(themeFolder);
    applyFirstRunThemeFromFolder(options_, themeFolder, DetectVisualStyle());
  }
  // The default menu item follows DoubleClickAction each time the menu is built.
  PostMessageW(hwnd_, WM_STARTUP_DONE, 0, 0);
}

bool TFrmKelvaneMain::SaveOptions(bool quiet) {
  GetDataFolder(settingsFolders_, portableMode_, false);  // the user may have deleted it meanwhile
  if (saveOptionsToFile(settingsFileName_, options_)) {
    unattendedSaveFailures_.succeeded();
    return true;
  }
  if (quiet) {
    unattendedSaveFailures_.failed(options_, DataFolder(), unableToWriteText(settingsFileName_));
  } else {
    showUnableToWrite(settingsFileName_);
  }
  return false;
}

void TFrmKelvaneMain::InitSettings() {
  SetTimer(hwnd_, kTimer1, static_cast<UINT>(options_.RefreshRate), nullptr);
  if (options_.DefragEveryActive) {
    SetTimer(hwnd_, kTimerDefrag, defragIntervalMs(options_.DefragEvery), nullptr);
  } else {
    KillTimer(hwnd_, kTimerDefrag);
  }
  onTimerDefragTimer();
}

void TFrmKelvaneMain::onStartupDone() {
  if (options_.ShowWelcomeWindow) {
    TFrmWelcome welcome(applicationWindow_);
    welcome_ = &welcome;
    welcome.ShowModal();
    welcome_ = nullptr;
    options_.ShowWelcomeWindow = !welcome.dontShowAgain();
    if (exitRequested_) return;  // the exit, asked for while the window was up, saves the setting
  }
  MSG pending;
  while (PeekMessageW(&pending, nullptr, 0, 0, PM_REMOVE)) {
    if (pending.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(pending.wParam));
      return;
    }
    TranslateMessage(&pending);
    DispatchMessageW(&pending);
  }
  // The application window stays hidden: a visible unowned window gets a taskbar button on
  // shells that ignore the tool-window style, and a hidden one loses nothing.
  Tray->HideAppWindow();
}

}  // namespace kelvane
