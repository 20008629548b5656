#include "common/clipboard_win.h"

#include <cstring>

#include "common/handles_win.h"
#include "common/text_win.h"

namespace kelvane {

namespace {

constexpr int kOpenAttempts = 10;
constexpr DWORD kOpenRetryMs = 20;

struct GlobalMemoryDeleter {
  static HGLOBAL invalid() { return nullptr; }
  static void free(HGLOBAL h) { GlobalFree(h); }
};

class OpenedClipboard {
 public:
  explicit OpenedClipboard(HWND owner) {
    for (int attempt = 0; attempt < kOpenAttempts && !open_; ++attempt) {
      open_ = OpenClipboard(owner) != FALSE;
      if (!open_) Sleep(kOpenRetryMs);
    }
  }
  ~OpenedClipboard() {
    if (open_) CloseClipboard();
  }
  OpenedClipboard(const OpenedClipboard&) = delete;
  OpenedClipboard& operator=(const OpenedClipboard&) = delete;
  explicit operator bool() const { return open_; }

 private:
  bool open_ = false;
};

}  // namespace

DWORD putTextOnClipboard(HWND owner, const std::string& text) {
  const std::wstring wide = toWide(text);
  const SIZE_T bytes = (wide.size() + 1) * sizeof(wchar_t);
  UniqueHandle<HGLOBAL, GlobalMemoryDeleter> memory(GlobalAlloc(GMEM_MOVEABLE, bytes));
  if (!memory) return GetLastError();
  void* target = GlobalLock(memory.get());
  if (!target) return GetLastError();
  std::memcpy(target, wide.c_str(), bytes);
  GlobalUnlock(memory.get());

  const OpenedClipboard clipboard(owner);
  if (!clipboard || !EmptyClipboard() || !SetClipboardData(CF_UNICODETEXT, memory.get())) {
    const DWORD error = GetLastError();
    return error != ERROR_SUCCESS ? error : ERROR_ACCESS_DENIED;
  }
  memory.release();  // the clipboard owns it now
  return ERROR_SUCCESS;
}

}  // namespace kelvane
