#pragma once
// TFrmKelvaneMain: the hidden main form. It owns every component and the settings record for
// the whole run; a second copy of the program finds it by its class name.

#include <windows.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "actions/hotkey_registry_win.h"
#include "app/alert_step_win.h"
#include "commands/command_line.h"
#include "history/history_window_source.h"
#include "history/history_window_win.h"
#include "history/program_history_win.h"
#include "options/options_host_win.h"
#include "memory/memory_sample_win.h"
#include "memory/memory_status.h"
#include "common/handles_win.h"
#include "common/language.h"
#include "common/number_format.h"
#include "common/window_messages_win.h"
#include "common/window_win.h"
#include "dialogs/about_window_win.h"
#include "dialogs/welcome_window_win.h"
#include "menu/popup_menu_win.h"
#include "settings/log_file_win.h"
#include "settings/options.h"
#include "settings/settings_file_win.h"
#include "settings/system_colors.h"
#include "tray/picture_colors.h"
#include "tray/tray_icon_win.h"
#include "tray/tray_picture_win.h"

namespace kelvane {

inline constexpr const wchar_t* kMainFormClassName = L"TFrmKelvaneMain";

class TFrmKelvaneMain : public WindowBase<TFrmKelvaneMain>,
                        public AlertHost,
                        public OptionsHost,
                        public HistoryWindowSource {
 public:
  // Creates the hidden form and runs its creation steps. `languageFileLog` goes into the log
  // once the settings are read, when they say there is one.
  explicit TFrmKelvaneMain(HWND applicationWindow, std::vector<LanguageNotice> languageFileLog = {});
  ~TFrmKelvaneMain();
  TFrmKelvaneMain(const TFrmKelvaneMain&) = delete;
  TFrmKelvaneMain& operator=(const TFrmKelvaneMain&) = delete;

  LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  // What the alerts, the user commands and the options dialog may ask of the form
  // (main_form_services_win.cpp).
  const TKelvaneOptions& Options() const override;
  HWND MainWindow() override;
  HWND ApplicationWindow() override;
  HICON ApplicationIcon() override;
  std::string DataFolder() override;
  NumberFormat SystemNumberFormat() override;
  void ShowBalloon(const std::string& title, const std::string& text, int kind, int seconds) override;
  std::string TipText() override;
  void Settings1Click() override;
  void ApplyOptions(const TKelvaneOptions& options, const std::vector<OptionsEffect>& effects) override;
  void OptionsClosed() override;
  std::wstring SettingsFileName() override;
  std::wstring ThemeFolder() override;
  void ShowError(const std::string& message) override;
  // The form's part in the commands (main_form_commands_win.cpp).
  void MemoryDefragmenter1Click(CommandOrigin origin) override;
  void ShowHistory() override;
  void RecordAlert(const MemorySample& sample) override;
  void About1Click() override;
  // The exit command (main_form_exit_win.cpp). It may come from inside a menu or a modal box: it
  // only ends those loops and the message loop, and the program is closed once they have
  // returned (closeProgram).
  void Close1Click() override;

  // What a start with switches asks for: handed over by a second start (WM_COPYDATA), or this
  // start's own /history or /settings. Returns the exit code for the starting process.
  RequestAnswer carryOutRequest(const ProgramRequest& request);

  // What the history window asks of the form (main_form_history_win.cpp).
  HistoryContent heldHistory() override;
  std::vector<Grower> growers(std::int64_t from, std::int64_t to) override;
  HistoryLook look() override;
  NumberFormat numberFormat() override;
  HistoryWindowPlace place() override;
  void keepPlace(const HistoryWindowPlace& place) override;

  // Whether an exit was asked for: the message loop ends and then calls closeProgram.
  bool exitRequested() const { return exitRequested_; }
  // The message loop could not get a message (`status`, GetMessage's answer): the log says so,
  // once per run, and the loop goes on.
  void messageLoopFailed(long status);
  // Carries out the exit once the message loop has ended, however it ended, outside every
  // handler of the program: saves, releases everything and removes the icon. Nothing happens
  // after the refusal at start-up on a system outside the NT family.
  void closeProgram();

 private:
  enum TimerId : UINT_PTR { kTimer1 = 1, kTimerDefrag = 2, kTimerSnapshot = 3, kTimerReleaseSettled = 4 };
  const UINT exitRequestMessage_ = RegisterWindowMessageW(kExitRequestMessageName);

  // Creation and the message dispatch (main_form_win.cpp).
  void FormCreate();
  bool checkPlatform();

  // The settings (main_form_settings_win.cpp).
  void InitSettings();
  void LoadOptions();
  // Writes the record to the settings file; a failure is shown unless `quiet`.
  bool SaveOptions(bool quiet = false);
  void onStartupDone();

  // The end (main_form_exit_win.cpp).
  // Ends the open menu and every modal loop (WM_QUIT) and so, at last, the message loop. The
  // form and its components stay whole until closeProgram: the handlers that were waiting in
  // those loops return through them. `unattended` (another program asks and waits for the end)
  // saves without a message box.
  void requestExit(bool unattended);
  bool FormCloseQuery(bool unattended = false);
  void FormClose();

  // The memory history (main_form_history_win.cpp): opened after the settings, closed with an
  // Exit event before the form goes.
  void openHistory();
  void closeHistory();
  void onTimerSnapshotTimer();
  // The release's second reading: its event and, when the user asked for it, its balloon.
  void finishRelease();
  RequestAnswer exportHistory(const ProgramRequest& request);
  // Tells the export which files are the program's own (the log's place follows the options).
  void knowOwnFiles();

  // The tick (main_form_tick_win.cpp).
  void onTimer1Timer();
  // The picture and, when it is due, the tip of the last sample to the tray.
  void showOnTray(bool pointerOver, bool pointerArrived = false);
  // The tip as it reads for the last sample now, whatever the shell was last given.
  std::string currentHint() const;
  // The DPI, the theme, the system colours, the number format or the shell changed: the facts
  // the tick keeps are read again and the picture is redrawn.
  void onSystemChange();

  // The tray handlers (main_form_tray_win.cpp).
  void onInstanceNotice();
  void onSessionChange(WPARAM event);
  void onAboutHidden();
  void TrayMouseDown(MouseButton button, ShiftState shift, POINT at);
  void TrayDblClick();
  // The pointer moved over the icon: its tip is brought up to date at once.
  void TrayMouseMove(bool arrived);
  // Builds the tray menu, shows it at the point and carries out the chosen entry.
  void PopupTrayMenu(POINT at);
  TrayMenuInputs trayMenuInputs() const;

  // The commands' timers and hot key, the alert step of the tick (main_form_commands_win.cpp).
  void onTimerDefragTimer();
  void runAlertStep(const MemorySample& sample);
  // The release hot key: registered from the settings, shown on the release menu item.
  void ApplyRefreshHotkey();
  void HotKeyRegistry1HotKeyPressed(std::uint32_t HotKey, std::uint16_t Index);

  HWND applicationWindow_;
  std::vector<LanguageNotice> languageFileLog_;  // until the settings are read
  TKelvaneOptions options_;
  SettingsFolders settingsFolders_;
  std::wstring settingsFileName_;
  bool portableMode_ = false;
  NumberFormat numberFormat_;
  SystemColorTable systemColors_{};
  TaskbarLook taskbarLook_;
  // The tip's wording changed since the last tick (settings, language, number format): the next
  // tick sends it whatever its age.
  bool tipWordingChanged_ = true;
  std::uint64_t shownTotal_ = 0;
  MemorySample lastSample_;  // the tray menu's percentages are of this sample's total

  // A save that fails while nobody is there goes into the log once per episode.
  UnattendedFailures unattendedSaveFailures_;
  // Alert state for the run: PreviousLoad, NextAlertTick and AlertDialogOpen.
  AlertState alerts_;
  // The release item is greyed while a release runs, and shows the hot key as its shortcut.
  bool releaseEnabled_ = true;
  std::string releaseShortcutText_;

  bool vistaOrLater_ = false;
  HICON designIcon_ = nullptr;  // from the resources, shared
  bool sessionNotificationRegistered_ = false;
  bool closing_ = false;
  bool platformRefused_ = false;
  bool messageLoopFailureLogged_ = false;
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

  std::unique_ptr<ProgramHistory> history_;
  // Made when first shown; closed before the settings are saved at exit, so its place is kept.
  std::unique_ptr<HistoryWindow> historyWindow_;
  struct PendingRelease {
    ReleaseSource source;
    std::uint64_t availBefore;
    std::int64_t time;
  };
  std::optional<PendingRelease> pendingRelease_;
};

}  // namespace kelvane
