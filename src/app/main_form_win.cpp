#include "app/main_form_win.h"

#include <wtsapi32.h>

#include "app/command_handover_win.h"
#include "app/session_notification_win.h"
#include "app/start_language_win.h"
#include "common/language.h"
#include "common/system_info_win.h"
#include "dialogs/main_window_win.h"
#include "dialogs/task_dialog_win.h"
#include "release/memory_release_win.h"
#include "resource_ids.h"
#include "settings/system_colors_win.h"
#include "tray/taskbar_look_win.h"

namespace kelvane {

namespace {

constexpr int kFormWidth = 420, kFormHeight = 320;

// The refusal on systems outside the NT family.
void showPlatformRefusal() {
  TaskInfo(tr(TextId::StartupNeedsWindowsNt), nullptr);
}

}  // namespace

TFrmKelvaneMain::TFrmKelvaneMain(HWND applicationWindow, std::vector<LanguageNotice> languageFileLog)
    : applicationWindow_(applicationWindow), languageFileLog_(std::move(languageFileLog)) {
  designIcon_ = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_TRAY_DESIGN),
                                              IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                              GetSystemMetrics(SM_CYSMICON), LR_SHARED));
  registerWindowClass(kMainFormClassName, 0,
                      LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_KELVANE)));
  // Owned by the hidden application window, so the form never gets a taskbar button.
  createWindow(0, kMainFormClassName, L"Kelvane", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,
               CW_USEDEFAULT, CW_USEDEFAULT, kFormWidth, kFormHeight, applicationWindow_);
  if (!hwnd_) throw std::runtime_error(tr(TextId::ErrorNoMainWindow));
  SetMainFormWindow(hwnd_);

  // The components come first: the timers and the icon with its design-time picture.
  SetTimer(hwnd_, kTimer1, 500, nullptr);
  Tray = std::make_unique<TTrayIconComponent>(hwnd_, applicationWindow_, designIcon_);
  Tray->OnMouseDown = [this](MouseButton b, ShiftState s, POINT p) { TrayMouseDown(b, s, p); };
  Tray->OnDblClick = [this] { TrayDblClick(); };
  Tray->OnMouseMove = [this](bool arrived) { TrayMouseMove(arrived); };
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
  historyWindow_.reset();  // destroyed without keeping its place: the record is not saved now
  if (!closing_) FormClose();
  Tray.reset();
  ForgetProgramWindow(hwnd_);
  destroyWindow();
}

void TFrmKelvaneMain::FormCreate() {
  if (!checkPlatform()) {
    platformRefused_ = true;
    PostMessageW(hwnd_, WM_QUIT, 0, 0);  // the remaining steps still run
  }
  // Only what the first ticks need is made here. The menu's fonts and icons come with the first
  // menu (TPopupMenu); the about window's controls, fonts and pictures, the version
  // text and the hand cursor for link labels with the windows that have them.
  numberFormat_ = readUserNumberFormat();
  systemColors_ = readSystemColors();
  taskbarLook_ = readTaskbarLook();
  alerts_ = AlertState{};
  settingsFolders_ = systemSettingsFolders();
  settingsFileName_ = GetSettingsFileName(settingsFolders_, portableMode_);
  removeStaleSaveFiles(settingsFolders_, portableMode_);
  LoadOptions();
  logLanguageNotices(options_, DataFolder(), std::exchange(languageFileLog_, {}));
  InitSettings();
  openHistory();
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

LRESULT TFrmKelvaneMain::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT aboutResult = 0;
  if (about_ && about_->handleMessage(message, wParam, lParam, aboutResult)) return aboutResult;
  if (message == exitRequestMessage_ && message != 0) {
    requestExit(true);
    return 0;
  }
  switch (message) {
    case WM_REFRESH_TICK:
      if (!closing_) onTimer1Timer();
      return 0;
    case WM_TIMER:
      if (wParam == kTimer1) onTimer1Timer();
      if (wParam == kTimerDefrag) onTimerDefragTimer();
      if (wParam == kTimerSnapshot) onTimerSnapshotTimer();
      if (wParam == kTimerReleaseSettled) finishRelease();
      return 0;
    case WM_COPYDATA: {
      const auto& data = *reinterpret_cast<const COPYDATASTRUCT*>(lParam);
      if (!isProgramRequest(data)) return defaultProc(message, wParam, lParam);
      // A newer start's switch, or a malformed message: never answered as done.
      if (const auto request = receivedRequest(data))
        return static_cast<LRESULT>(packedAnswer(carryOutRequest(*request)));
      return kAnswerNotUnderstood;
    }
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
      if (!wParam && about_) PostMessageW(hwnd_, WM_ABOUT_HIDDEN, 0, 0);
      return defaultProc(message, wParam, lParam);
    case WM_ABOUT_HIDDEN:
      onAboutHidden();
      return 0;
    case WM_QUERYENDSESSION:
      FormCloseQuery(true);
      return TRUE;
    case WM_ENDSESSION:
      if (wParam) {
        FormClose();
        historyWindow_.reset();
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

}  // namespace kelvane
