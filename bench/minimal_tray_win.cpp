// The smallest honest tray monitor: once a second it reads the memory status and shows the load
// as a plain coloured 16 x 16 icon with a tip. A yardstick for kelvane.exe's own CPU time and
// memory under the same conditions (bench/tray_cost.sh builds and runs both).
//
//   minimal_tray.exe [INTERVAL_MS [sample-only]]     (1000 when not given)
//
// With sample-only it reads the memory status every interval and changes nothing: the floor of
// what any monitor pays per tick under the same conditions.
#include <windows.h>
#include <shellapi.h>

#include <cstdlib>
#include <cwchar>

namespace {

constexpr UINT kTrayMessage = WM_APP + 1;
NOTIFYICONDATAW g_icon{};
bool g_sampleOnly = false;

HICON loadIcon(DWORD load) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = 16;
  info.bmiHeader.biHeight = -16;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP color = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HBITMAP mask = CreateBitmap(16, 16, 1, 1, nullptr);
  const DWORD pixel = 0xFF000000u | (load >= 90 ? 0xFF0000u : load >= 65 ? 0xFFFF00u : 0x00FF00u);
  for (int i = 0; i < 256; ++i) static_cast<DWORD*>(bits)[i] = (i % 16) * 100 / 16 < static_cast<int>(load) ? pixel : 0xFFFFFFFFu;
  ICONINFO iconInfo{TRUE, 0, 0, mask, color};
  HICON icon = CreateIconIndirect(&iconInfo);
  DeleteObject(color);
  DeleteObject(mask);
  return icon;
}

void tick() {
  MEMORYSTATUSEX status{};
  status.dwLength = sizeof(status);
  GlobalMemoryStatusEx(&status);
  if (g_sampleOnly) return;
  HICON previous = g_icon.hIcon;
  g_icon.hIcon = loadIcon(status.dwMemoryLoad);
  swprintf(g_icon.szTip, 128, L"Memory %lu%%", status.dwMemoryLoad);
  Shell_NotifyIconW(NIM_MODIFY, &g_icon);
  if (previous) DestroyIcon(previous);
}

LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER) {
    tick();
    return 0;
  }
  if (message == WM_DESTROY) {
    Shell_NotifyIconW(NIM_DELETE, &g_icon);
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
  const int interval = _wtoi(commandLine);
  g_sampleOnly = wcsstr(commandLine, L"sample-only") != nullptr;
  WNDCLASSW wc{};
  wc.lpfnWndProc = windowProc;
  wc.hInstance = instance;
  wc.lpszClassName = L"MinimalTrayMonitor";
  RegisterClassW(&wc);
  HWND hwnd = CreateWindowW(wc.lpszClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
  g_icon.cbSize = sizeof(g_icon);
  g_icon.hWnd = hwnd;
  g_icon.uID = 1;
  g_icon.uFlags = NIF_ICON | NIF_TIP | NIF_MESSAGE;
  g_icon.uCallbackMessage = kTrayMessage;
  g_icon.hIcon = loadIcon(0);
  Shell_NotifyIconW(NIM_ADD, &g_icon);
  tick();
  SetTimer(hwnd, 1, interval > 0 ? static_cast<UINT>(interval) : 1000u, nullptr);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
