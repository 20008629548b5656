#pragma once
// TFrmKelvaneMain: the hidden main form. It owns every component and the settings record for
// the whole run; a second copy of the program finds it by its class name.

#include <windows.h>

#include <memory>
#include <string>

#include "actions/hotkey_registry_win.h"
#include "app/alert_step_win.h"
#include "app/form_services_win.h"
#include "memory/memory_status.h"
#include "common/handles_win.h"
#include "common/number_format.h"
#include "common/window_win.h"
#include "dialogs/about_window_win.h"
#include "dialogs/welcome_window_win.h"
#include "menu/popup_menu_win.h"
#include "settings/options.h"
#include "settings/settings_file_win.h"
#include "settings/system_colors.h"
#include "tray/tray_icon_win.h"
#include "tray/tray_picture_win.h"

namespace kelvane {

inline constexpr const wchar_t* kMainFormClassName = L"TFrmKelvaneMain";
// Fixed numbers: a second copy of the program and the settings load rely on them.
inline constexpr UINT WM_INSTANCE_NOTICE = WM_USER + 45;  // 0x042D
inline constexpr UINT WM_STARTUP_DONE = WM_USER + 42;     // 0x042A
// Another program (the uninstaller, the installer replacing this copy) asks the running copy to
// end as the Exit command does, settings saved: it registers this message name and posts the
// message to the window of class TFrmKelvaneMain, wParam 0 and lParam 0. The close box keeps
// only hiding the form, so WM_CLOSE cannot serve.
inline constexpr const wchar_t* kExitRequestMessageName = L"Kelvane.ExitRequest";

class TFrmKelvaneMain : public WindowBase<TFrmKelvaneMain>, public FormServices {
 public:
  // Creates the hidden form and runs its creation steps.
  explicit TFrmKelvaneMain(HWND applicationWindow);
  ~TFrmKelvaneMain();
  TFrmKelvaneMain(const TFrmKelvaneMain&) = delete;
  TFrmKelvaneMain& operator=(const TFrmKelvaneMain&) = delete;

  LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  // What the alerts and the user commands use (main_form_services_win.cpp).
  TKelvaneOptions& Options() override;
  HWND MainWindow() override;
  HWND ApplicationWindow() override;
  HICON ApplicationIcon() override;
  std::string DataFolder() override;
  NumberFormat SystemNumberFormat() override;
  void ShowBalloon(const std::string& title, const std::string& text, int kind, int seconds) override;
  std::string TipText() override;
  void MemoryDefragmenter1Click() override;
  void Settings1Click() override;
  void ApplyOptions(const TKelvaneOptions& options, const std::vector<OptionsEffect>& effects) override;
  void OptionsClosed() override;
  std::wstring SettingsFileName() override;
  std::wstring ThemeFolder() override;
  void About1Click() override;
  // The exit command. It may come from inside a menu or a modal box: it only ends those loops
  // and the message loop, and the program is closed once they have returned (closeProgram).
  void Close1Click() override;
  void ShowError(const std::string& message) override;

  // Whether an exit was asked for: the message loop ends and then calls closeProgram.
  bool exitRequested() const { return exitRequested_; }
  // Carries out the exit asked for, outside every handler of the program: saves, releases
  // everything and removes the icon. Nothing happens when no exit was asked for.
  void closeProgram();

 private:
  enum TimerId : UINT_PTR { kTimer1 = 1, kTimerDefrag = 2 };
  static constexpr UINT kRefreshMessage = WM_APP + 2;
  // Posted when the form is hidden: the about window's content is taken down once the message
  // that hid it (a click on its own OK button, say) has been handled.
  static constexpr UINT kAboutHiddenMessage = WM_APP + 3;
  const UINT exitRequestMessage_ = RegisterWindowMessageW(kExitRequestMessageName);

  // Ends the open menu and every modal loop (WM_QUIT) and so, at last, the message loop. The
  // form and its components stay whole until closeProgram: the handlers that were waiting in
  // those loops return through them. `unattended` (another program asks and waits for the end)
  // saves without a message box.
  void requestExit(bool unattended);

  void FormCreate();
  bool checkPlatform();
  void InitSettings();
  void LoadOptions();
  // Writes the record to the settings file; a failure is shown unless `quiet`.
  bool SaveOptions(bool quiet = false);
  bool FormCloseQuery(bool unattended = false);
  void FormClose();

  // Handlers.
  void onTimer1Timer();
  // The DPI, the theme, the system colours, the number format or the shell changed: the facts
  // the tick keeps are read again and the picture is redrawn.
  void onSystemChange();
  void onTimerDefragTimer();
  void onInstanceNotice();
  void onStartupDone();
  void onSessionChange(WPARAM event);
  void onAboutHidden();
  void TrayMouseDown(MouseButton button, ShiftState shift, POINT at);
  void TrayDblClick();
  // Builds the tray menu, shows it at the point and carries out the chosen entry.
  void PopupTrayMenu(POINT at);
  TrayMenuInputs trayMenuInputs() const;

  // Steps of later features that the tick and the menu already call.
  void runAlertStep(const MemorySample& sample);

  // The release hot key: registered from the settings, shown on the release menu item.
  void ApplyRefreshHotkey();
  void HotKeyRegistry1HotKeyPressed(std::uint32_t HotKey, std::uint16_t Index);

  HWND applicationWindow_;
  TKelvaneOptions options_;
  SettingsFolders settingsFolders_;
  std::wstring settingsFileName_;
  bool portableMode_ = false;
  NumberFormat numberFormat_;
  SystemColorTable systemColors_{};
  std::uint64_t shownTotal_ = 0;
  MemorySample lastSample_;  // the tray menu's percentages are of this sample's total

  // Alert state for the run: PreviousLoad, NextAlertTick and AlertDialogOpen.
  AlertState alerts_;
  // The release item is greyed while a release runs, and shows the hot key as its shortcut.
  bool releaseEnabled_ = true;
  std::string releaseShortcutText_;

  bool vistaOrLater_ = false;
  HICON designIcon_ = nullptr;  // from the resources, shared
  bool sessionNotificationRegistered_ = false;
  bool closing_ = false;
  bool exitRequested_ = false;
  bool exitUnattended_ = false;
  // The about window's content while it is shown, and its download label from one showing to
  // the next; the welcome window while it is up.
  std::unique_ptr<TAboutWindow> about_;
  DownloadLabel aboutLabel_;
  TFrmWelcome* welcome_ = nullptr;

  std::unique_ptr<TTrayIconComponent> Tray;
  TTrayPicture trayPicture_;
  std::unique_ptr<THotKeyRegistry> HotKeyRegistry1;
  // Made when the menu is first asked for; a second request while one is being built or shown
  // is ignored.
  std::unique_ptr<TPopupMenu> PopupMenu1;
  bool trayMenuBusy_ = false;
};

}  // namespace kelvane
