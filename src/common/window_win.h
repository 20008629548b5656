#pragma once
// A small window wrapper: one class per window kind, bound to its HWND at WM_NCCREATE so that
// no early message is lost, routing each message to the derived class's handleMessage. An
// exception escaping a handler is shown by the top-level error display and the message loop
// goes on with the next message.

#include <windows.h>

#include <exception>

#include "common/error_display_win.h"

namespace kelvane {

// Tab, the arrow keys, Enter and Escape move between and press the controls of the active
// window, as in a dialog, when it is one that holds controls (WS_EX_CONTROLPARENT). Every
// message loop of the program passes its messages here first.
inline bool handleDialogKeys(MSG& message) {
  HWND active = GetActiveWindow();
  return active && (GetWindowLongW(active, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) != 0 &&
         IsDialogMessageW(active, &message);
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

  HWND createWindow(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style,
                    int x, int y, int width, int height, HWND owner) {
    return CreateWindowExW(exStyle, className, title, style, x, y, width, height, owner, nullptr,
                           GetModuleHandleW(nullptr), static_cast<Derived*>(this));
  }

  LRESULT defaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd_, message, wParam, lParam);
  }

  HWND hwnd_ = nullptr;

 private:
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
    try {
      const LRESULT result = self->handleMessage(message, wParam, lParam);
      if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
      }
      return result;
    } catch (const std::exception& error) {
      showUnexpectedError(error.what());
    } catch (...) {
      showUnexpectedError("unknown error");
    }
    return 0;
  }
};

}  // namespace kelvane
