#include "actions/system_commands_win.h"

#include <oleauto.h>
#include <shellapi.h>

#include <stdexcept>

#include "commands/double_click.h"
#include "common/language.h"
#include "common/system_library_win.h"
#include "common/system_error_win.h"
#include "common/text_win.h"
#include "common/window_win.h"

namespace kelvane {

namespace {

// RunFileDlg: owner, icon, working directory, title, description, flags.
using RunFileDlgFn = void(WINAPI*)(HWND, HICON, LPCWSTR, LPCWSTR, LPCWSTR, UINT);
constexpr WORD kRunFileDlgOrdinal = 61;

using LockWorkStationFn = BOOL(WINAPI*)();

std::string hresultText(HRESULT hr) {
  const std::string text = systemMessageText(static_cast<DWORD>(hr));
  char code[16];
  wsprintfA(code, "0x%08X", static_cast<unsigned>(hr));
  return text.empty() ? std::string(code) : text + " (" + code + ")";
}

// The apartment is normally set up at start-up; this keeps the call safe when it was not.
class ComApartment {
 public:
  ComApartment() : hr_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~ComApartment() {
    if (SUCCEEDED(hr_)) CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

 private:
  HRESULT hr_;
};

// Calls a method without arguments on "Shell.Application", late-bound.
void invokeShellMethod(const wchar_t* method) {
  ComApartment apartment;
  const std::string what = "Shell.Application." + toUtf8(method) + ": ";
  CLSID clsid{};
  HRESULT hr = CLSIDFromProgID(L"Shell.Application", &clsid);
  if (FAILED(hr)) throw std::runtime_error(what + hresultText(hr));
  IDispatch* shell = nullptr;
  hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IDispatch,
                        reinterpret_cast<void**>(&shell));
  if (FAILED(hr) || !shell) throw std::runtime_error(what + hresultText(hr));

  DISPID id = 0;
  LPOLESTR name = const_cast<LPOLESTR>(method);
  hr = shell->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id);
  EXCEPINFO exception{};
  if (SUCCEEDED(hr)) {
    DISPPARAMS noArguments{};
    hr = shell->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &noArguments, nullptr,
                       &exception, nullptr);
  }
  shell->Release();
  if (FAILED(hr)) {
    // An exception raised inside the method says more than DISP_E_EXCEPTION itself.
    const HRESULT inner = hr == DISP_E_EXCEPTION && FAILED(exception.scode) ? exception.scode : hr;
    std::string message = exception.bstrDescription
                              ? toUtf8(exception.bstrDescription)
                              : hresultText(inner);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrHelpFile);
    throw std::runtime_error(what + message);
  }
}

}  // namespace

void LaunchTaskManager(HWND owner) {
  ShellExecuteW(owner, L"Open", L"taskmgr.exe", L"", L"", SW_SHOW);
}

void OpenDocument(HWND owner, const std::wstring& path, const std::wstring& fallbackEditor) {
  // No "open with" prompt of the system: the editor is the answer to a missing association.
  SHELLEXECUTEINFOW document{sizeof(document)};
  document.fMask = SEE_MASK_FLAG_NO_UI;
  document.hwnd = owner;
  document.lpVerb = L"open";
  document.lpFile = path.c_str();
  document.nShow = SW_SHOW;
  if (ShellExecuteExW(&document)) return;
  const std::wstring argument = L"\"" + path + L"\"";
  SHELLEXECUTEINFOW editor = document;
  editor.lpFile = fallbackEditor.c_str();
  editor.lpParameters = argument.c_str();
  if (ShellExecuteExW(&editor)) return;
  const DWORD error = GetLastError();
  throw std::runtime_error(tr(TextId::ErrorCannotOpen, {{"path", toUtf8(path)}, {"error", systemReason(error)}}));
}

bool LockWorkstationNow() {
  const UniqueLibrary user32 = loadSystemLibrary(L"user32.dll");
  const auto lock = systemExport<LockWorkStationFn>(user32, "LockWorkStation");
  if (!lock) return false;
  return lock() != FALSE;
}

void ShowRunDialog(const std::string& applicationName, HWND owner, HICON icon) {
  const UniqueLibrary shell32 = loadSystemLibrary(L"shell32.dll");
  // Exported by number only.
  const auto runFileDlg = systemExport<RunFileDlgFn>(shell32, MAKEINTRESOURCEA(kRunFileDlgOrdinal));
  if (!runFileDlg) return;
  const std::wstring title = L"Run";
  const std::wstring description = toWide(RunDialogDescription(applicationName));
  runFileDlg(owner, icon, nullptr, title.c_str(), description.c_str(), 0);
}

void ShowShutdownDialog() { invokeShellMethod(L"ShutdownWindows"); }

void MinimizeAllWindows() { invokeShellMethod(L"MinimizeAll"); }

namespace {

// A 1-pixel topmost window of our own under the pointer, for the click that makes this program
// the one that received the last input. Unlike a static control it is not transparent to the
// mouse, so the click never falls through to whatever lies beneath it.
class ForegroundHelper : public WindowBase<ForegroundHelper> {
 public:
  explicit ForegroundHelper(POINT at) {
    registerWindowClass(L"KelvaneForegroundHelper");  // a second registration fails harmlessly
    createWindow(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, L"KelvaneForegroundHelper", L"", WS_POPUP, at.x, at.y, 1, 1,
                 nullptr);
  }
  ~ForegroundHelper() { destroyWindow(); }
  ForegroundHelper(const ForegroundHelper&) = delete;
  ForegroundHelper& operator=(const ForegroundHelper&) = delete;

  LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) { return defaultProc(message, wParam, lParam); }
};

}  // namespace

void ForceForeground(HWND window) {
  // The click must land on our own helper and on nothing else. A click flagged absolute but
  // without a move happens where the pointer is, so the helper goes under the pointer rather
  // than into the screen's corner, and the user's pointer stays where it was.
  POINT pointer{};
  GetCursorPos(&pointer);
  ForegroundHelper helperWindow(pointer);
  const HWND helper = helperWindow.hwnd();
  // Without the helper, a click would land on whatever the user has under the pointer.
  if (helper) {
    ShowWindow(helper, SW_SHOWNOACTIVATE);
    INPUT clicks[2]{};
    clicks[0].type = INPUT_MOUSE;
    clicks[0].mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_LEFTDOWN;
    clicks[1].type = INPUT_MOUSE;
    clicks[1].mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_LEFTUP;
    SendInput(2, clicks, sizeof(INPUT));
    // Synthetic input is delivered asynchronously. Until the click has reached the helper we are
    // not yet the program that received the last input, and a click that arrives after the
    // helper is gone would land on whatever lies beneath it.
    const DWORD start = GetTickCount();
    bool released = false;
    while (!released && GetTickCount() - start < 500) {
      MSG message;
      while (PeekMessageW(&message, helper, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE))
        if (message.message == WM_LBUTTONUP) released = true;
      if (!released) MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_MOUSEBUTTON);
    }
  }
  SetForegroundWindow(window);
}

namespace {

// The requests still to send. There is one sequence for the program: a lock arrives on the
// user-interface thread, and a new lock starts the sequence over.
struct MonitorOffSequence {
  HWND window = nullptr;
  unsigned intervalMs = 0;
  int requestsLeft = 0;
};
MonitorOffSequence gMonitorOff;
// The timer is the window's; its procedure is called directly, not through the window's.
constexpr UINT_PTR kMonitorOffTimer = 0x6D6F;

void CALLBACK sendNextMonitorOffRequest(HWND, UINT, UINT_PTR, DWORD);

void sendMonitorOffRequest() {
  constexpr LPARAM kPowerOff = 2;
  --gMonitorOff.requestsLeft;
  SendMessageW(gMonitorOff.window, WM_SYSCOMMAND, SC_MONITORPOWER, kPowerOff);
  // Armed again after each request, so that a late timer message never brings two closer.
  if (gMonitorOff.requestsLeft > 0)
    SetTimer(gMonitorOff.window, kMonitorOffTimer, gMonitorOff.intervalMs, sendNextMonitorOffRequest);
  else
    KillTimer(gMonitorOff.window, kMonitorOffTimer);
}

void CALLBACK sendNextMonitorOffRequest(HWND, UINT, UINT_PTR, DWORD) { sendMonitorOffRequest(); }

}  // namespace

void SwitchOffMonitor(HWND applicationWindow, unsigned intervalMs) {
  if (!applicationWindow) return;  // a timer without a window could not be replaced or ended
  if (gMonitorOff.window && gMonitorOff.window != applicationWindow)
    KillTimer(gMonitorOff.window, kMonitorOffTimer);
  gMonitorOff = {applicationWindow, intervalMs, kMonitorOffRepeats};
  sendMonitorOffRequest();
}

}  // namespace kelvane
