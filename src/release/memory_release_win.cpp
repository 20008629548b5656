#include "release/memory_release_win.h"

#include <cstdint>
#include <exception>

#include "common/handles_win.h"
#include "release/memory_release.h"

namespace kelvane {

namespace {

class WindowsReleasePlatform : public ReleasePlatform {
 public:
  explicit WindowsReleasePlatform(const std::function<void(bool)>& setEnabled)
      : setEnabled_(setEnabled) {}

  void setReleaseCommandEnabled(bool enabled) override {
    if (setEnabled_) setEnabled_(enabled);
  }

  void forEachTopLevelWindowOwner(const std::function<void(std::uint32_t)>& visit) override {
    Walk walk{&visit, nullptr};
    EnumWindows(&WindowsReleasePlatform::onWindow, reinterpret_cast<LPARAM>(&walk));
    // An error must not unwind through EnumWindows: it is kept and raised again here.
    if (walk.error) std::rethrow_exception(walk.error);
  }

  ProcessHandle openProcess(std::uint32_t processId) override {
    // 0x1F0FFF is all access on every NT system; the larger PROCESS_ALL_ACCESS of newer headers
    // is refused outright by XP and Server 2003.
    constexpr DWORD kProcessAllAccess = 0x1F0FFF;
    return reinterpret_cast<ProcessHandle>(OpenProcess(kProcessAllAccess, FALSE, processId));
  }

  void trimWorkingSet(ProcessHandle process) override {
    // (SIZE_T)-1 for both limits asks the system to take away every page it can.
    SetProcessWorkingSetSize(reinterpret_cast<HANDLE>(process), static_cast<SIZE_T>(-1),
                             static_cast<SIZE_T>(-1));
  }

  void closeProcess(ProcessHandle process) override {
    CloseHandle(reinterpret_cast<HANDLE>(process));
  }

 private:
  struct Walk {
    const std::function<void(std::uint32_t)>* visit;
    std::exception_ptr error;
  };

  static BOOL CALLBACK onWindow(HWND window, LPARAM context) {
    Walk& walk = *reinterpret_cast<Walk*>(context);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    try {
      (*walk.visit)(processId);
    } catch (...) {
      walk.error = std::current_exception();
      return FALSE;
    }
    return TRUE;
  }

  const std::function<void(bool)>& setEnabled_;
};

}  // namespace

void ReleaseWindowedProcesses(const std::function<void(bool)>& setCommandEnabled) {
  WindowsReleasePlatform platform(setCommandEnabled);
  ReleaseMemory(platform);
}

bool EnablePrivilege(const wchar_t* name, bool enable) {
  HANDLE rawToken = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &rawToken)) return false;
  const UniqueKernelHandle token(rawToken);
  LUID id{};
  if (!LookupPrivilegeValueW(nullptr, name, &id)) return false;
  TOKEN_PRIVILEGES state{};
  state.PrivilegeCount = 1;
  state.Privileges[0].Luid = id;
  state.Privileges[0].Attributes = enable ? SE_PRIVILEGE_ENABLED : 0;
  // A token that lacks the privilege "succeeds" with ERROR_NOT_ALL_ASSIGNED.
  if (!AdjustTokenPrivileges(token.get(), FALSE, &state, sizeof state, nullptr, nullptr)) return false;
  return GetLastError() == ERROR_SUCCESS;
}

}  // namespace kelvane
