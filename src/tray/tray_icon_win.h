#pragma once
// The program's one icon in the notification area: adds, changes and deletes it, shows balloon
// tips, turns mouse activity into events, and puts the icon back when the taskbar is recreated.

#include <windows.h>
#include <shellapi.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "common/handles_win.h"
#include "common/window_messages_win.h"

namespace kelvane {


enum class MouseButton { Left, Right, Middle };

// Shift, Ctrl and Alt as read when the event is handled, plus the button itself.
struct ShiftState {
  bool shift = false, ctrl = false, alt = false;
  bool left = false, right = false, middle = false;
};

enum class BalloonKind { None = 0, Info = 1, Warning = 2, Error = 3 };

class TTrayIconComponent {
 public:
  // Byte limits of the platform record, counted in ANSI code-page bytes.
  static constexpr std::size_t kTipBytes = 127;
  static constexpr std::size_t kBalloonTextBytes = 255;
  static constexpr std::size_t kBalloonTitleBytes = 63;

  std::function<void(MouseButton, ShiftState, POINT)> OnMouseDown;
  std::function<void()> OnDblClick;
  // The user asked for the icon's menu from the keyboard (Enter or Space on the focused icon,
  // Shift+F10 or the context-menu key); the point is where the menu should open.
  std::function<void(POINT)> OnKeyboardMenu;
  // After the icon was added again to a restarted shell.
  std::function<void()> OnTaskbarCreated;
  // The pointer moved over the icon; `arrived` when it was not over it before (pointerOver).
  std::function<void(bool arrived)> OnMouseMove;

  // ownerForm and appWindow are the windows HideOwnerForm/ShowOwnerForm act on.
  TTrayIconComponent(HWND ownerForm, HWND appWindow, HICON designIcon);
  ~TTrayIconComponent();
  TTrayIconComponent(const TTrayIconComponent&) = delete;
  TTrayIconComponent& operator=(const TTrayIconComponent&) = delete;

  bool AddIcon();
  bool DeleteIcon();
  bool ModifyIcon();
  bool IconVisible() const { return iconVisible_; }

  // The component owns the icon; the previous one is destroyed only after the notification
  // area has the new one, so the area never points at a destroyed icon.
  void setIcon(UniqueIcon icon);
  // Without a picture of its own (none set yet, or the tick could not make one) the icon shows
  // the design-time picture rather than an empty slot the user could not find or click.
  HICON icon() const { return icon_ ? icon_.get() : designIcon_; }
  // A new tip with the icon left as it is.
  void setHint(const std::wstring& hint);
  // While held, the shell has an empty tip and modifications do not send the real one: the
  // shell shows a (re-sent) tip on top of whatever is open, such as the icon's own menu. The
  // tip comes back when the hold ends.
  void holdTip(bool hold);
  // A new picture and tip in one modification, as every changed tick sends them.
  void setIconAndHint(UniqueIcon icon, const std::wstring& hint);
  const std::wstring& hint() const { return hint_; }

  // Whether the pointer is over the icon: since the last mouse-move the shell reported, until
  // the cursor is found more than `iconSize` pixels from where it was then. The shell reports
  // the pointer's arrival and moves, never its leaving.
  bool pointerOver(int iconSize);

  // Every Shell_NotifyIconW call of the process, for the benchmarks and the scenarios (they ask
  // the notification window with kShellCallCountMessageName).
  static std::uint64_t shellCallCount();

  bool ShowBalloon(const std::wstring& title, const std::wstring& text, BalloonKind kind, int seconds);
  bool ClearBalloon();

  void HideOwnerForm();
  void ShowOwnerForm();
  void HideAppWindow();

  // Exposed for tests: the hidden window that receives the icon's notifications.
  static HWND notificationWindow();
  UINT id() const { return record_.uID; }
  const NOTIFYICONDATAW& record() const { return record_; }

  // Called by the shared window; public so that tests can feed messages directly.
  void handleNotify(UINT mouseMessage);
  void handleTaskbarCreated();

 private:
  bool send(DWORD message);
  POINT keyboardMenuAnchor(POINT fallback) const;
  void refreshRecord();

  HWND ownerForm_;
  HWND appWindow_;
  HICON designIcon_;
  UniqueIcon icon_;
  std::wstring hint_;
  bool showHint_ = true;
  bool tipHeld_ = false;
  UINT lastNotify_ = 0;
  std::optional<POINT> pointerReportedAt_;
  bool iconVisible_ = false;
  NOTIFYICONDATAW record_{};
};

// Closes the shell's panel of hidden icons, which stays open after a click on an icon in it.
// Systems before Vista have no such panel.
void CloseNotifyIconOverflow();

}  // namespace kelvane
