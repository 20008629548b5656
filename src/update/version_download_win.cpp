#include "update/version_download_win.h"

#include <wininet.h>

#include <mutex>

#include "common/system_library_win.h"
#include "common/text_win.h"
#include "update/update_check.h"
#include "update/web_pages.h"

namespace kelvane {

namespace {

// WinINet is loaded when a check first runs, not at start.
struct WinInet {
  UniqueLibrary library = loadSystemLibrary(L"wininet.dll");
  decltype(&InternetOpenW) open = systemExport<decltype(&InternetOpenW)>(library, "InternetOpenW");
  decltype(&InternetSetOptionW) setOption = systemExport<decltype(&InternetSetOptionW)>(library, "InternetSetOptionW");
  decltype(&InternetOpenUrlW) openUrl = systemExport<decltype(&InternetOpenUrlW)>(library, "InternetOpenUrlW");
  decltype(&HttpQueryInfoW) queryInfo = systemExport<decltype(&HttpQueryInfoW)>(library, "HttpQueryInfoW");
  decltype(&InternetReadFile) read = systemExport<decltype(&InternetReadFile)>(library, "InternetReadFile");
  decltype(&InternetCloseHandle) close = systemExport<decltype(&InternetCloseHandle)>(library, "InternetCloseHandle");
  bool complete() const { return open && setOption && openUrl && queryInfo && read && close; }
};

constexpr DWORD kTimeoutMs = 15000;

}  // namespace

// Everything the worker touches; it holds its own reference, so the window and the
// TVInfoDownload may go first.
struct TVInfoDownload::Shared {
  std::mutex mutex;
  HWND window = nullptr;  // cleared when the download is abandoned
  UINT message = 0;
  std::wstring address;
  WinInet inet;
  HINTERNET session = nullptr;  // closed by whoever comes first: the worker or the abandon
  std::optional<std::string> result;

  // The session, unless the download was abandoned meanwhile.
  bool keepSession(HINTERNET opened) {
    std::lock_guard lock(mutex);
    if (!window) return false;
    session = opened;
    return true;
  }
  void closeSession() {
    HINTERNET open;
    {
      std::lock_guard lock(mutex);
      open = std::exchange(session, nullptr);
    }
    if (open) inet.close(open);
  }

  std::optional<std::string> fetch() {
    if (!inet.complete()) return std::nullopt;
    HINTERNET opened = inet.open(L"Kelvane", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
    if (!opened) return std::nullopt;
    if (!keepSession(opened)) {
      inet.close(opened);
      return std::nullopt;
    }
    DWORD timeout = kTimeoutMs;
    for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT})
      inet.setOption(opened, option, &timeout, sizeof(timeout));
    // Always from the server, never from the system's cache, and nothing left in it.
    const DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_PRAGMA_NOCACHE | INTERNET_FLAG_NO_CACHE_WRITE |
                        INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_NO_UI;
    std::optional<std::string> body;
    if (HINTERNET request = inet.openUrl(opened, address.c_str(), nullptr, 0, flags, 0)) {
      DWORD status = 0, length = sizeof(status);
      if (inet.queryInfo(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &length, nullptr) &&
          status == 200)
        body = readAll(request);
      inet.close(request);
    }
    closeSession();
    return body;
  }

  std::optional<std::string> readAll(HINTERNET request) {
    std::string bytes;
    char buffer[4096];
    for (;;) {
      DWORD got = 0;
      if (!inet.read(request, buffer, sizeof(buffer), &got)) return std::nullopt;
      if (got == 0) return bytes;
      bytes.append(buffer, got);
      if (bytes.size() > kVersionFileLimit) return std::nullopt;
    }
  }
};

namespace {

DWORD WINAPI downloadThread(void* parameter) {
  const std::unique_ptr<std::shared_ptr<TVInfoDownload::Shared>> owned(
      static_cast<std::shared_ptr<TVInfoDownload::Shared>*>(parameter));
  TVInfoDownload::Shared& shared = **owned;
  auto body = shared.fetch();
  std::lock_guard lock(shared.mutex);
  // The version file is ANSI text, as the program's other files.
  if (body) shared.result = ansiToUtf8(*body);
  if (shared.window) PostMessageW(shared.window, shared.message, 0, 0);
  return 0;
}

}  // namespace

TVInfoDownload::TVInfoDownload(const std::string& address, HWND window, UINT doneMessage)
    : shared_(std::make_shared<Shared>()) {
  shared_->window = window;
  shared_->message = doneMessage;
  shared_->address = toWide(address);
  if (!isWebAddress(address)) {
    PostMessageW(window, doneMessage, 0, 0);
    return;
  }
  auto* parameter = new std::shared_ptr<Shared>(shared_);
  thread_ = CreateThread(nullptr, 0, &downloadThread, parameter, 0, nullptr);
  if (!thread_) {
    delete parameter;
    PostMessageW(window, doneMessage, 0, 0);
  }
}

TVInfoDownload::~TVInfoDownload() {
  {
    std::lock_guard lock(shared_->mutex);
    shared_->window = nullptr;
  }
  shared_->closeSession();  // a blocked connect or read gives up
  if (thread_) {
    WaitForSingleObject(thread_, 1500);
    CloseHandle(thread_);
  }
}

std::optional<std::string> TVInfoDownload::result() const {
  std::lock_guard lock(shared_->mutex);
  return shared_->result;
}

}  // namespace kelvane
