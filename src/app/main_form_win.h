#pragma once
// TFrmKelvaneMain: the hidden main form. It owns every component and the settings record for
// the whole run; a second copy of the program finds it by its class name.

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>

#include "app/memory_status.h"
#include "common/handles_win.h"
#include "common/number_format.h"
#include "common/window_win.h"
#include "settings/options.h"
#include "settings/settings_file_win.h"
#include "tray/tray_icon_win.h"
#include "tray/tray_picture_win.h"

namespace kelvane {

inline constexpr const wchar_t* kMainFormClassName = L"TFrmKelvaneMain";
// Fixed numbers: a second copy of the program and the settings load rely on them.
inline constexpr UINT WM_INSTANCE_NOTICE = WM_USER + 45;  // 0x042D
inline constexpr UINT WM_STARTUP_DONE = WM_USER + 42;     // 0x042A

class TFrmKelvaneMain : public WindowBase<TFrmKelvaneMain> {
 public:
  // Creates the hidden form and runs its creation steps.
  explicit TFrmKelvaneMain(HWND applicationWindow);
  ~TFrmKelvaneMain();
  TFrmKelvaneMain(const TFrmKelvaneMain&) = delete;
  TFrmKelvaneMain& operator=(const TFrmKelvaneMain&) = delete;

  LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  // The exit command: saves, releases everything, removes the icon and ends the message loop.
  void Close1Click();

 private:
  enum TimerId : UINT_PTR { kTimer1 = 1, kTimerDefrag = 2 };

  void FormCreate();
  bool checkPlatform();
  void createFonts();
  void loadSharedIcons();
  void InitSettings();
  void LoadOptions();
  // Writes the record to the settings file; a failure is shown unless `quiet`.
  bool SaveOptions(bool quiet = false);
  bool FormCloseQuery(bool sessionEnding = false);
  void FormClose();

  // Handlers.
  void onTimer1Timer();
  void onTimerDefragTimer();
  void onInstanceNotice();
  void onStartupDone();
  void onSessionChange(WPARAM event);
  void TrayMouseDown(MouseButton button, ShiftState shift, POINT at);
  void TrayDblClick();
  void onMenuCommand(UINT command);

  // Steps of later features that the tick and the menu already call.
  void runAlertStep(const MemorySample& sample);
  void MemoryDefragmenter1Click();

  HWND applicationWindow_;
  TKelvaneOptions options_;
  SettingsFolders settingsFolders_;
  std::wstring settingsFileName_;
  bool portableMode_ = false;
  NumberFormat numberFormat_;
  std::uint64_t shownTotal_ = 0;

  // Alert state for the run.
  std::int32_t PreviousLoad = 0;
  std::uint32_t NextAlertTick = 0;

  bool vistaOrLater_ = false;
  int MenuLineHeight = 0;
  UniqueFont mainFont_;
  HIMAGELIST systemSmallIcons_ = nullptr;  // shared by the shell, never destroyed
  UniqueIcon DefaultProcessIcon;
  UniqueIcon TaskManagerIcon;
  HICON designIcon_ = nullptr;  // from the resources, shared
  bool sessionNotificationRegistered_ = false;
  std::wstring versionLabel_;
  bool closing_ = false;

  std::unique_ptr<TTrayIconComponent> Tray;
  TTrayPicture trayPicture_;
};

}  // namespace kelvane
