#include "app/session_notification_win.h"

#include "common/system_library_win.h"

namespace kelvane {

namespace {

bool callWtsapi(const char* exportName, HWND window, bool withFlags) {
  const UniqueLibrary wtsapi = loadSystemLibrary(L"wtsapi32.dll");
  if (withFlags) {
    using RegisterFn = BOOL(WINAPI*)(HWND, DWORD);
    const auto call = systemExport<RegisterFn>(wtsapi, exportName);
    return call && call(window, 0 /* NOTIFY_FOR_THIS_SESSION */);
  }
  using UnregisterFn = BOOL(WINAPI*)(HWND);
  const auto call = systemExport<UnregisterFn>(wtsapi, exportName);
  return call && call(window);
}

}  // namespace

bool RegisterSessionNotification(HWND window) {
  return callWtsapi("WTSRegisterSessionNotification", window, true);
}

bool UnregisterSessionNotification(HWND window) {
  return callWtsapi("WTSUnRegisterSessionNotification", window, false);
}

}  // namespace kelvane
