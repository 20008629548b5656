#pragma once
// The one binding of the program's windows and dialogs to their objects. A window class derives
// from WindowBase<T> (bound at WM_NCCREATE, so that no early message is lost), a dialog made by
// the dialog manager from DialogBase<T> (bound at WM_INITDIALOG). Each routes every message to the
// derived class's handleMessage; an exception escaping a handler is shown by the top-level error
// display and the message loop goes on with the next message. A window is owned by its object
// (UniqueWindow) and destroyed only by it (destroyWindow), from the derived class's destructor or
// a handler; a modeless dialog likewise (createDialog), a modal one by the dialog manager when it
// ends, and a system dialog that a hook procedure serves (hookProc) by the system.

#include <windows.h>

#include <exception>
#include <string>

#include "common/error_display_win.h"
#include "common/handles_win.h"
#include "common/language.h"

namespace kelvane {

// The next message of this thread for one of the program's message loops. GetMessageW answers -1
// for a failure and, under Wine, also a negative status: 0xC0000005 when another process sends a
// copy-data message of 2 MiB, which Wine then drops, leaving the message record as it was. A
// failure is no message to dispatch, and the next call gets the next message; a loop gives up
// only when failures keep coming, so that it never spins.
class MessageWait {
 public:
  static constexpr int kFailuresToGiveUp = 100;
  enum class Result { Message, Quit, Failed, GaveUp };

  Result next(MSG& message) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) return Result::Quit;
    if (got > 0) {
      failuresInARow_ = 0;
      return Result::Message;
    }
    lastFailure_ = got;
    return ++failuresInARow_ >= kFailuresToGiveUp ? Result::GaveUp : Result::Failed;
  }
  // GetMessageW's answer at the last failure.
  long lastFailure() const { return lastFailure_; }

 private:
  int failuresInARow_ = 0;
  long lastFailure_ = 0;
};

// Tab, the arrow keys, Enter and Escape move between and press the controls of the active
// window, as in a dialog, when it is one that holds controls (WS_EX_CONTROLPARENT). Every
// message loop of the program passes its messages here first.
inline bool handleDialogKeys(MSG& message) {
  HWND active = GetActiveWindow();
  return active && (GetWindowLongW(active, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) != 0 &&
         IsDialogMessageW(active, &message);
}

// The text of a window or control, whatever its length.
inline std::wstring windowText(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

// Runs a handler of a window or dialog procedure: what escapes it is shown, and `failed` answers.
template <typename Result, typename Handler>
Result guardedHandler(Handler&& handler, Result failed) {
  try {
    return handler();
  } catch (const std::exception& error) {
    showUnexpectedError(error.what());
  } catch (...) {
    showUnexpectedError(tr(TextId::ErrorUnknown));
  }
  return failed;
}

template <typename Derived>
class WindowBase {
 public:
  HWND hwnd() const { return hwnd_; }

 protected:
  static void registerWindowClass(const wchar_t* className, UINT style = 0, HICON icon = nullptr) {
    WNDCLASSEXW wc{sizeof(wc)};
    wc.style = style;
    wc.lpfnWndProc = &WindowBase::windowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hIcon = icon;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = className;
    RegisterClassExW(&wc);
  }

  // The window is owned by the object from here on: destroyWindow, or the object's end, destroys
  // it, unless the system destroyed it first with its owner.
  HWND createWindow(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style,
                    int x, int y, int width, int height, HWND owner) {
    window_.reset(CreateWindowExW(exStyle, className, title, style, x, y, width, height, owner, nullptr,
                                  GetModuleHandleW(nullptr), static_cast<Derived*>(this)));
    return window_.get();
  }

  // A derived class destroys its window in its own destructor (destroyWindow), while its
  // handlers can still run; past that point the window goes without reaching them.
  ~WindowBase() {
    if (hwnd_) SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
  }

  LRESULT defaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd_, message, wParam, lParam);
  }

  // The only way the window goes before the system takes it with its owner.
  void destroyWindow() { window_.reset(); }

  HWND hwnd_ = nullptr;

 private:
  UniqueWindow window_;

  static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Derived* self;
    if (message == WM_NCCREATE) {
      self = static_cast<Derived*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
      self->hwnd_ = hwnd;
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
      self = reinterpret_cast<Derived*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
    return guardedHandler<LRESULT>(
        [&] {
          const LRESULT result = self->handleMessage(message, wParam, lParam);
          if (message == WM_NCDESTROY) {
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            self->hwnd_ = nullptr;
            self->window_.disown();
          }
          return result;
        },
        0);
  }
};

template <typename Derived>
class DialogBase {
 public:
  HWND hwnd() const { return hwnd_; }

 protected:
  // A modeless dialog from a template in memory; its window, or null. The window is owned by the
  // object from here on: destroyWindow, or the object's end, destroys it, unless the system
  // destroyed it first with its owner.
  HWND createDialog(const void* dialogTemplate, HWND owner) {
    const HWND dialog = CreateDialogIndirectParamW(GetModuleHandleW(nullptr),
                                                   static_cast<LPCDLGTEMPLATEW>(dialogTemplate), owner,
                                                   &DialogBase::dialogProc,
                                                   reinterpret_cast<LPARAM>(static_cast<Derived*>(this)));
    if (dialog && hwnd_ == dialog) dialog_.reset(dialog);  // not one that went while it was made
    return dialog_.get();
  }
  // A modal dialog from a template in memory; the value given to EndDialog. Its window is the
  // dialog manager's, which destroys it when the dialog ends.
  INT_PTR runModalDialog(const void* dialogTemplate, HWND owner) {
    return DialogBoxIndirectParamW(GetModuleHandleW(nullptr), static_cast<LPCDLGTEMPLATEW>(dialogTemplate),
                                   owner, &DialogBase::dialogProc,
                                   reinterpret_cast<LPARAM>(static_cast<Derived*>(this)));
  }
  // The hook procedure of a system dialog (the font dialog's lpfnHook): the system's dialog
  // procedure hands every message here first, and FALSE lets it go on with its own handling.
  // The system owns that dialog; the derived class says where its object comes from at
  // WM_INITDIALOG (boundObject, from the request's custom data).
  static UINT_PTR CALLBACK hookProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    return static_cast<UINT_PTR>(dialogProc(dialog, message, wParam, lParam));
  }

  // The object a dialog is bound to, from WM_INITDIALOG's lParam.
  static Derived* boundObject(LPARAM lParam) { return reinterpret_cast<Derived*>(lParam); }

  // Messages that arrive before WM_INITDIALOG (an owner-drawn list measures its items while it
  // is created); a derived class that needs them declares its own.
  static INT_PTR beforeBinding(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

  // A derived class destroys a modeless dialog in its own destructor (destroyWindow), while its
  // handlers can still run; past that point the dialog goes without reaching them.
  ~DialogBase() {
    if (hwnd_) RemovePropW(hwnd_, kBindingProperty);
  }

  // The only way a modeless dialog goes before the system takes it with its owner.
  void destroyWindow() { dialog_.reset(); }

  HWND hwnd_ = nullptr;

 private:
  // The binding is a window property, not DWLP_USER: a system dialog's own procedure may use
  // that slot, and the hook shares its window.
  static constexpr const wchar_t* kBindingProperty = L"Kelvane.DialogBase";

  UniqueWindow dialog_;

  static INT_PTR CALLBACK dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = static_cast<Derived*>(GetPropW(dialog, kBindingProperty));
    if (message == WM_INITDIALOG) {
      self = Derived::boundObject(lParam);
      SetPropW(dialog, kBindingProperty, self);
      self->hwnd_ = dialog;
    }
    return guardedHandler<INT_PTR>(
        [&]() -> INT_PTR {
          if (!self) return Derived::beforeBinding(dialog, message, wParam, lParam);
          const INT_PTR result = self->handleMessage(message, wParam, lParam);
          if (message == WM_NCDESTROY) {
            RemovePropW(dialog, kBindingProperty);
            self->hwnd_ = nullptr;
            self->dialog_.disown();
          }
          return result;
        },
        FALSE);
  }
};

}  // namespace kelvane
