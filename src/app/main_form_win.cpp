#include "app/main_form_win.h"

#include <shellapi.h>
#include <wtsapi32.h>

#include "actions/command_win.h"
#include "actions/refresh_hotkey_win.h"
#include "actions/tray_actions_win.h"
#include "app/session_notification_win.h"
#include "app/timer_intervals.h"
#include "common/system_info_win.h"
#include "common/text_win.h"
#include "dialogs/task_dialog_win.h"
#include "menu/process_dialogs_win.h"
#include "menu/tray_menu_win.h"
#include "release/memory_release_win.h"
#include "resource_ids.h"
#include "settings/system_colors_win.h"
#include "settings/theme_folder_win.h"
#include "settings/visual_style_win.h"

namespace kelvane {

namespace {

constexpr int kFormWidth = 420, kFormHeight = 320;

// The refusal on systems outside the NT family.
void showPlatformRefusal() {
  TaskInfo("此程序需要 Windows NT/2000/XP/2003 Server/Vista/2008 Server/7/8 或更高", nullptr);
}

}  // namespace

TFrmKelvaneMain::TFrmKelvaneMain(HWND applicationWindow) : applicationWindow_(applicationWindow) {
  designIcon_ = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_TRAY_DESIGN),
                                              IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                              GetSystemMetrics(SM_CYSMICON), LR_SHARED));
  registerWindowClass(kMainFormClassName, 0,
                      LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_KELVANE)));
  // Owned by the hidden application window, so the form never gets a taskbar button.
  createWindow(0, kMainFormClassName, L"Kelvane", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,
               CW_USEDEFAULT, CW_USEDEFAULT, kFormWidth, kFormHeight, applicationWindow_);
  if (!hwnd_) throw std::runtime_error("cannot create the main window");

  // The components come first: the timers and the icon with its design-time picture.
  SetTimer(hwnd_, kTimer1, 500, nullptr);
  Tray = std::make_unique<TTrayIconComponent>(hwnd_, applicationWindow_, designIcon_);
  Tray->OnMouseDown = [this](MouseButton b, ShiftState s, POINT p) { TrayMouseDown(b, s, p); };
  Tray->OnDblClick = [this] { TrayDblClick(); };
  Tray->OnKeyboardMenu = [this](POINT p) { PopupTrayMenu(p); };
  // A new shell may sit at another DPI: the picture is made again for it.
  Tray->OnTaskbarCreated = [this] { onSystemChange(); };
  Tray->AddIcon();
  HotKeyRegistry1 = std::make_unique<THotKeyRegistry>();
  HotKeyRegistry1->OnHotKeyPressed = [this](std::uint32_t key, std::uint16_t index) {
    HotKeyRegistry1HotKeyPressed(key, index);
  };

  FormCreate();
}

TFrmKelvaneMain::~TFrmKelvaneMain() {
  if (!closing_) FormClose();
  Tray.reset();
  if (hwnd_) DestroyWindow(hwnd_);
}

void TFrmKelvaneMain::FormCreate() {
  if (!checkPlatform()) PostMessageW(hwnd_, WM_QUIT, 0, 0);  // the remaining steps still run
  // Only what the first ticks need is made here. The menu's fonts and icons come with the first
  // menu (TPopupMenu); the about window's controls, fonts and pictures, the version
  // text and the hand cursor for link labels with the windows that have them.
  numberFormat_ = readUserNumberFormat();
  systemColors_ = readSystemColors();
  alerts_ = AlertState{};
  settingsFolders_ = systemSettingsFolders();
  settingsFileName_ = GetSettingsFileName(settingsFolders_, portableMode_);
  removeStaleSaveFiles(settingsFolders_, portableMode_);
  LoadOptions();
  InitSettings();
  sessionNotificationRegistered_ = RegisterSessionNotification(hwnd_);
  onTimer1Timer();  // the first picture and tip before the first interval has passed
  // Lets the release and the process features open processes of other users.
  EnablePrivilege(L"SeDebugPrivilege", true);
}

bool TFrmKelvaneMain::checkPlatform() {
  const auto version = readOsVersion();
  vistaOrLater_ = version && version->major > 5;
  if (version && version->platform == VER_PLATFORM_WIN32_NT) return true;
  showPlatformRefusal();
  return false;
}

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
  if (saveOptionsToFile(settingsFileName_, options_)) return true;
  if (quiet) {
    LogUnattendedFailure(*this, unableToWriteText(settingsFileName_));
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

bool TFrmKelvaneMain::FormCloseQuery(bool unattended) {
  // The session can end while the welcome window waits: its check box counts as if closed now.
  if (welcome_) options_.ShowWelcomeWindow = !welcome_->dontShowAgain();
  // A failed save never keeps the program or the session from ending. While the session ends,
  // Windows waits for our answer, and an installer that asked for the exit waits for the end:
  // a message box would hold them up.
  SaveOptions(unattended);
  return true;
}

void TFrmKelvaneMain::FormClose() {
  closing_ = true;
  KillTimer(hwnd_, kTimer1);
  KillTimer(hwnd_, kTimerDefrag);
  PopupMenu1.reset();  // its icons and window go with it
  CloseProcessDialogs();
  if (sessionNotificationRegistered_) UnregisterSessionNotification(hwnd_);
  sessionNotificationRegistered_ = false;
}

void TFrmKelvaneMain::Close1Click() { requestExit(false); }

void TFrmKelvaneMain::requestExit(bool unattended) {
  exitUnattended_ = exitUnattended_ || unattended;
  if (exitRequested_) return;
  exitRequested_ = true;
  // The request may come while the tray menu is tracked, or from inside a modal box; the tray
  // icon's notification handler, the menu's Popup or an Apply may be waiting further up this
  // thread for it. The menu ends here; every modal loop ends on WM_QUIT and posts it again for
  // the loop around it, down to the outermost one.
  if (trayMenuBusy_) EndMenu();
  PostQuitMessage(0);
}

void TFrmKelvaneMain::closeProgram() {
  if (!exitRequested_ || closing_) return;
  // The quit that ended the loops is spent: a failed save's message box waits for its answer.
  MSG quit;
  PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
  FormCloseQuery(exitUnattended_);
  FormClose();
  about_.reset();  // a running version check is abandoned before the window goes
  Tray.reset();    // removes the icon
  DestroyWindow(hwnd_);
}

LRESULT TFrmKelvaneMain::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT aboutResult = 0;
  if (about_ && about_->handleMessage(message, wParam, lParam, aboutResult)) return aboutResult;
  if (message == exitRequestMessage_ && message != 0) {
    requestExit(true);
    return 0;
  }
  switch (message) {
    case kRefreshMessage:
      if (!closing_) onTimer1Timer();
      return 0;
    case WM_TIMER:
      if (wParam == kTimer1) onTimer1Timer();
      if (wParam == kTimerDefrag) onTimerDefragTimer();
      return 0;
    case WM_INSTANCE_NOTICE:
      onInstanceNotice();
      return 0;
    case WM_STARTUP_DONE:
      onStartupDone();
      return 0;
    case WM_WTSSESSION_CHANGE:
      onSessionChange(wParam);
      return 0;
    case WM_CLOSE:
      ShowWindow(hwnd_, SW_HIDE);  // the close box only hides the About window
      return 0;
    case WM_SHOWWINDOW:
      if (!wParam && about_) PostMessageW(hwnd_, kAboutHiddenMessage, 0, 0);
      return defaultProc(message, wParam, lParam);
    case kAboutHiddenMessage:
      onAboutHidden();
      return 0;
    case WM_QUERYENDSESSION:
      FormCloseQuery(true);
      return TRUE;
    case WM_ENDSESSION:
      if (wParam) {
        FormClose();
        about_.reset();
        Tray.reset();
      }
      return 0;
    case WM_SETTINGCHANGE:
    case WM_SYSCOLORCHANGE:
    case WM_THEMECHANGED:
    case WM_DISPLAYCHANGE:
    case WM_DPICHANGED:
      onSystemChange();
      return defaultProc(message, wParam, lParam);
    default:
      return defaultProc(message, wParam, lParam);
  }
}

void TFrmKelvaneMain::onInstanceNotice() {
  Tray->ShowBalloon(toWide("Kelvane 正在运行"),
                    toWide("如果系统隐藏了该图标, 请按该图标旁边的 \"显示隐藏图标\" 按钮, 然后将 Kelvane "
                           "图标拖回到托盘中."),
                    BalloonKind::Info, 10);
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

void TFrmKelvaneMain::onSessionChange(WPARAM event) {
  OnSessionChange(*this, event);
}

void TFrmKelvaneMain::TrayMouseDown(MouseButton button, ShiftState, POINT at) {
  if (button != MouseButton::Right) return;
  PopupTrayMenu(at);
}

void TFrmKelvaneMain::TrayDblClick() { kelvane::TrayDblClick(*this); }

TrayMenuInputs TFrmKelvaneMain::trayMenuInputs() const {
  TrayMenuInputs inputs;
  inputs.options = options_;
  inputs.lastSample = lastSample_;
  inputs.hintText = toUtf8(Tray->hint());
  inputs.numberFormat = numberFormat_;
  inputs.releaseShortcutText = releaseShortcutText_;
  inputs.releaseEnabled = releaseEnabled_;
  return inputs;
}

void TFrmKelvaneMain::PopupTrayMenu(POINT at) {
  if (trayMenuBusy_ || exitRequested_) return;
  std::optional<Command> chosen;
  {
    // Reset on every way out, a failed snapshot included.
    struct BusyScope {
      TFrmKelvaneMain& form;
      explicit BusyScope(TFrmKelvaneMain& f) : form(f) {
        form.trayMenuBusy_ = true;
        form.Tray->holdTip(true);
      }
      ~BusyScope() {
        form.trayMenuBusy_ = false;
        if (form.Tray) form.Tray->holdTip(false);
      }
    } busy(*this);
    const std::vector<MenuEntry> entries = BuildSystemTrayMenu(trayMenuInputs());
    if (!PopupMenu1) PopupMenu1 = std::make_unique<TPopupMenu>(applicationWindow_, vistaOrLater_);
    chosen = PopupMenu1->Popup(entries, at, GetProcMenuHighlighColor(options_, false));
  }
  CloseNotifyIconOverflow();
  if (chosen) execute(*this, *chosen);
}

void TFrmKelvaneMain::About1Click() {
  if (!about_)
    about_ = std::make_unique<TAboutWindow>(hwnd_, AboutFacts::forThisProgram(), [this] { Tray->HideOwnerForm(); },
                                            aboutLabel_);
  Tray->ShowOwnerForm();
  about_->FormShow();
}

void TFrmKelvaneMain::onAboutHidden() {
  if (!about_ || IsWindowVisible(hwnd_)) return;  // shown again before this message came
  aboutLabel_ = about_->keptLabel();
  about_.reset();
}

void TFrmKelvaneMain::onTimerDefragTimer() {
  if (options_.DefragEveryActive) execute(*this, Command::of(CommandKind::ReleaseMemory));
}

void TFrmKelvaneMain::MemoryDefragmenter1Click() {
  if (!releaseEnabled_) return;  // a release is already running further up this thread
  ReleaseWindowedProcesses([this](bool enabled) { releaseEnabled_ = enabled; });
}

void TFrmKelvaneMain::runAlertStep(const MemorySample& sample) {
  RunAlertStep(alerts_, *this, sample, GetTickCount());
}

void TFrmKelvaneMain::ApplyRefreshHotkey() {
  releaseShortcutText_ =
      kelvane::ApplyRefreshHotkey(*HotKeyRegistry1, static_cast<std::uint32_t>(options_.RefreshHotkey));
}

void TFrmKelvaneMain::HotKeyRegistry1HotKeyPressed(std::uint32_t, std::uint16_t) {
  execute(*this, Command::of(CommandKind::ReleaseMemory));
}

}  // namespace kelvane
