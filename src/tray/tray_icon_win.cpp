#include "tray/tray_icon_win.h"

#include <map>
#include <utility>
#include <stdexcept>

#include "common/language.h"
#include "common/text_win.h"
#include "common/window_win.h"
#include "tray/tip_schedule.h"

namespace kelvane {

namespace {

std::uint64_t shellCalls = 0;

BOOL notifyShell(DWORD message, NOTIFYICONDATAW* record) {
  ++shellCalls;
  return Shell_NotifyIconW(message, record);
}

// One hidden window serves every icon of the process. It is a hidden top-level window, not a
// message-only one, because only top-level windows hear the "TaskbarCreated" broadcast that
// says the shell restarted and every icon must be added again.
class SharedNotifyWindow : public WindowBase<SharedNotifyWindow> {
 public:
  static SharedNotifyWindow& instance() {
    static SharedNotifyWindow window;
    return window;
  }

  UINT attach(TTrayIconComponent* component) {
    if (components_.empty()) create();
    const UINT id = nextId_++;
    components_[id] = component;
    return id;
  }

  void detach(UINT id) {
    components_.erase(id);
    if (components_.empty()) destroyWindow();
  }

  // What the icon's handlers call (a process snapshot among them) may fail; the failure is
  // shown and the program goes on, as for any other window's message.
  LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TRAYNOTIFY) {
      const auto it = components_.find(static_cast<UINT>(wParam));
      if (it != components_.end()) it->second->handleNotify(LOWORD(lParam));
      return 0;
    }
    if (shellCallCount_ != 0 && message == shellCallCount_)
      return static_cast<LRESULT>(TTrayIconComponent::shellCallCount());
    if (taskbarCreated_ != 0 && message == taskbarCreated_) {
      // Copy: re-adding may run handlers that attach or detach components.
      const auto components = components_;
      for (const auto& entry : components) entry.second->handleTaskbarCreated();
      return 0;
    }
    switch (message) {
      case WM_CLOSE:
      case WM_QUERYENDSESSION:
      case WM_ENDSESSION:
        return 1;  // the icon's window never ends the program by itself
      default:
        return defaultProc(message, wParam, lParam);
    }
  }

 private:
  static constexpr const wchar_t* kClassName = L"KelvaneTrayNotifyWindow";

  void create() {
    registerWindowClass(kClassName);  // a second registration fails harmlessly
    taskbarCreated_ = RegisterWindowMessageW(kTaskbarCreatedMessageName);
    shellCallCount_ = RegisterWindowMessageW(kShellCallCountMessageName);
    createWindow(WS_EX_TOOLWINDOW, kClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr);
    if (!hwnd_) throw std::runtime_error(tr(TextId::ErrorNoNotificationWindow));
  }

  UINT taskbarCreated_ = 0;
  UINT shellCallCount_ = 0;
  UINT nextId_ = 1;
  std::map<UINT, TTrayIconComponent*> components_;
};

bool isVistaOrLater() {
  // The shell's overflow panel exists from Windows 7 on; any NT 6 system may have it.
  OSVERSIONINFOW info{sizeof(info)};
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  return GetVersionExW(&info) && info.dwMajorVersion > 5;
#pragma GCC diagnostic pop
}

ShiftState readShiftState(MouseButton button) {
  ShiftState state;
  state.shift = GetAsyncKeyState(VK_SHIFT) < 0;
  state.ctrl = GetAsyncKeyState(VK_CONTROL) < 0;
  state.alt = GetAsyncKeyState(VK_MENU) < 0;
  state.left = button == MouseButton::Left;
  state.right = button == MouseButton::Right;
  state.middle = button == MouseButton::Middle;
  return state;
}

}  // namespace

TTrayIconComponent::TTrayIconComponent(HWND ownerForm, HWND appWindow, HICON designIcon)
    : ownerForm_(ownerForm), appWindow_(appWindow), designIcon_(designIcon) {
  record_.cbSize = sizeof(record_);
  record_.uID = SharedNotifyWindow::instance().attach(this);
  record_.hWnd = SharedNotifyWindow::instance().hwnd();
  record_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  record_.uCallbackMessage = WM_TRAYNOTIFY;
}

TTrayIconComponent::~TTrayIconComponent() {
  DeleteIcon();
  SharedNotifyWindow::instance().detach(record_.uID);
}

HWND TTrayIconComponent::notificationWindow() { return SharedNotifyWindow::instance().hwnd(); }

void TTrayIconComponent::refreshRecord() {
  record_.hIcon = icon();
  if (tipHeld_) {
    record_.uFlags &= ~static_cast<UINT>(NIF_TIP);
    return;  // the shell keeps the empty tip it was given
  }
  record_.uFlags |= NIF_TIP;
  if (showHint_ && !hint_.empty()) {
    copyToField(record_.szTip, hint_, kTipBytes);
  } else {
    ZeroMemory(record_.szTip, sizeof(record_.szTip));
  }
}

bool TTrayIconComponent::send(DWORD message) {
  refreshRecord();
  if (message != NIM_MODIFY) record_.uFlags |= NIF_TIP;  // an added icon always gets its tip
  return notifyShell(message, &record_) != FALSE;
}

bool TTrayIconComponent::AddIcon() {
  iconVisible_ = true;
  const bool added = send(NIM_ADD);
  // Version 3: plain mouse messages in lParam as before, plus the keyboard's selection and
  // context-menu notifications.
  record_.uVersion = NOTIFYICON_VERSION;
  notifyShell(NIM_SETVERSION, &record_);
  return added;
}

bool TTrayIconComponent::DeleteIcon() {
  if (!iconVisible_) return false;
  iconVisible_ = false;
  return send(NIM_DELETE);
}

bool TTrayIconComponent::ModifyIcon() { return send(NIM_MODIFY); }

void TTrayIconComponent::setIcon(UniqueIcon icon) {
  UniqueIcon previous = std::exchange(icon_, std::move(icon));
  ModifyIcon();
  // `previous` is destroyed here, after the shell has taken the new icon.
}

void TTrayIconComponent::holdTip(bool hold) {
  if (hold == tipHeld_) return;
  tipHeld_ = false;
  const std::wstring hint = std::exchange(hint_, hold ? std::wstring() : hint_);
  if (iconVisible_) ModifyIcon();
  hint_ = hint;
  tipHeld_ = hold;
}

void TTrayIconComponent::setHint(const std::wstring& hint) {
  hint_ = hint;
  // The tip alone: the shell is spared copying the icon's pixels again.
  const UINT flags = std::exchange(record_.uFlags, static_cast<UINT>(NIF_TIP));
  ModifyIcon();
  record_.uFlags = flags;
}

void TTrayIconComponent::setIconAndHint(UniqueIcon icon, const std::wstring& hint) {
  UniqueIcon previous = std::exchange(icon_, std::move(icon));
  hint_ = hint;
  ModifyIcon();
}

bool TTrayIconComponent::ClearBalloon() {
  record_.uFlags |= NIF_INFO;
  record_.szInfo[0] = L'\0';
  const bool result = ModifyIcon();
  record_.uFlags &= ~static_cast<UINT>(NIF_INFO);
  return result;
}

bool TTrayIconComponent::ShowBalloon(const std::wstring& title, const std::wstring& text,
                                     BalloonKind kind, int seconds) {
  ClearBalloon();
  record_.uFlags |= NIF_INFO;
  copyToField(record_.szInfo, text, kBalloonTextBytes);
  copyToField(record_.szInfoTitle, title, kBalloonTitleBytes);
  record_.uTimeout = static_cast<UINT>(seconds) * 1000u;
  record_.dwInfoFlags = static_cast<DWORD>(kind);
  const bool result = ModifyIcon();
  record_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  record_.uVersion = NOTIFYICON_VERSION;
  return result;
}

POINT TTrayIconComponent::keyboardMenuAnchor(POINT fallback) const {
  // From the keyboard the pointer may be anywhere: the menu goes to the icon where the shell can
  // say where it is (Windows 7 and later).
  using GetRectFn = HRESULT(WINAPI*)(const NOTIFYICONIDENTIFIER*, RECT*);
  const HMODULE shell = GetModuleHandleW(L"shell32.dll");
  const auto getRect = shell ? reinterpret_cast<GetRectFn>(reinterpret_cast<void*>(
                                   GetProcAddress(shell, "Shell_NotifyIconGetRect")))
                             : nullptr;
  NOTIFYICONIDENTIFIER icon{};
  icon.cbSize = sizeof(icon);
  icon.hWnd = record_.hWnd;
  icon.uID = record_.uID;
  RECT rect{};
  if (getRect && SUCCEEDED(getRect(&icon, &rect))) return POINT{rect.left, rect.top};
  return fallback;
}

std::uint64_t TTrayIconComponent::shellCallCount() { return shellCalls; }

bool TTrayIconComponent::pointerOver(int iconSize) {
  if (!pointerReportedAt_) return false;
  POINT cursor{};
  if (!GetCursorPos(&cursor)) return true;  // no answer (a locked desktop): still as reported
  const POINT at = *pointerReportedAt_;
  if (!pointerLeftIcon({at.x, at.y}, {cursor.x, cursor.y}, iconSize)) return true;
  pointerReportedAt_.reset();
  return false;
}

void TTrayIconComponent::handleNotify(UINT mouseMessage) {
  POINT cursor{};
  GetCursorPos(&cursor);
  const UINT previous = std::exchange(lastNotify_, mouseMessage);
  auto keyboardMenu = [&] {
    if (OnKeyboardMenu) OnKeyboardMenu(keyboardMenuAnchor(cursor));
  };
  auto mouseDown = [&](MouseButton button) {
    if (OnMouseDown) OnMouseDown(button, readShiftState(button), cursor);
  };
  switch (mouseMessage) {
    case WM_LBUTTONDOWN: mouseDown(MouseButton::Left); break;
    case WM_RBUTTONDOWN: mouseDown(MouseButton::Right); break;
    case WM_MBUTTONDOWN: mouseDown(MouseButton::Middle); break;
    case WM_LBUTTONDBLCLK:
      if (OnDblClick) OnDblClick();
      CloseNotifyIconOverflow();
      break;
    // The shell follows a button's release with these for the mouse as well; only when no
    // release came first did they come from the keyboard.
    case NIN_KEYSELECT: keyboardMenu(); break;
    case NIN_SELECT:
      if (previous != WM_LBUTTONUP && previous != WM_LBUTTONDBLCLK && previous != NIN_SELECT) keyboardMenu();
      break;
    case WM_CONTEXTMENU:
      if (previous != WM_RBUTTONUP) keyboardMenu();
      break;
    case WM_MOUSEMOVE: {
      const bool arrived = !pointerReportedAt_;
      pointerReportedAt_ = cursor;
      if (OnMouseMove) OnMouseMove(arrived);
      break;
    }
    default:
      break;  // button-ups and version-4 notifications are not used
  }
}

void CloseNotifyIconOverflow() {
  if (!isVistaOrLater()) return;
  if (HWND overflow = FindWindowExW(nullptr, nullptr, L"NotifyIconOverflowWindow", nullptr))
    PostMessageW(overflow, WM_CLOSE, 0, 0);
}

void TTrayIconComponent::handleTaskbarCreated() {
  if (!iconVisible_) return;
  AddIcon();
  if (OnTaskbarCreated) OnTaskbarCreated();
}

void TTrayIconComponent::HideAppWindow() {
  if (appWindow_ && IsWindowVisible(appWindow_)) ShowWindow(appWindow_, SW_HIDE);
}

void TTrayIconComponent::HideOwnerForm() {
  if (!ownerForm_) return;
  ShowWindow(ownerForm_, SW_HIDE);
  HideAppWindow();
}

void TTrayIconComponent::ShowOwnerForm() {
  if (!ownerForm_) return;
  if (IsIconic(ownerForm_)) ShowWindow(ownerForm_, SW_RESTORE);
  ShowWindow(ownerForm_, SW_SHOW);
  SetForegroundWindow(appWindow_ ? appWindow_ : ownerForm_);
  SetForegroundWindow(ownerForm_);
}

}  // namespace kelvane
