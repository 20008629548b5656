#include "update/version_download_win.h"

#include <wininet.h>

#include <algorithm>
#include <mutex>

#include "common/handles_win.h"
#include "common/system_library_win.h"
#include "common/text_win.h"
#include "settings/settings_file_win.h"
#include "update/web_pages.h"

namespace kelvane {

namespace {

// WinINet is loaded when a check first runs, not at start.
struct WinInet {
  UniqueLibrary library = loadSystemLibrary(L"wininet.dll");
  template <typename Function>
  Function get(const char* name) const {
    return systemExport<Function>(library, name);
  }
  decltype(&InternetOpenW) open = get<decltype(&InternetOpenW)>("InternetOpenW");
  decltype(&InternetCrackUrlW) crackUrl = get<decltype(&InternetCrackUrlW)>("InternetCrackUrlW");
  decltype(&InternetCombineUrlW) combineUrl = get<decltype(&InternetCombineUrlW)>("InternetCombineUrlW");
  decltype(&InternetConnectW) connect = get<decltype(&InternetConnectW)>("InternetConnectW");
  decltype(&HttpOpenRequestW) openRequest = get<decltype(&HttpOpenRequestW)>("HttpOpenRequestW");
  decltype(&InternetSetOptionW) setOption = get<decltype(&InternetSetOptionW)>("InternetSetOptionW");
  decltype(&HttpSendRequestW) sendRequest = get<decltype(&HttpSendRequestW)>("HttpSendRequestW");
  decltype(&HttpQueryInfoW) queryInfo = get<decltype(&HttpQueryInfoW)>("HttpQueryInfoW");
  decltype(&InternetQueryDataAvailable) dataAvailable =
      get<decltype(&InternetQueryDataAvailable)>("InternetQueryDataAvailable");
  decltype(&InternetReadFile) read = get<decltype(&InternetReadFile)>("InternetReadFile");
  decltype(&InternetCloseHandle) close = get<decltype(&InternetCloseHandle)>("InternetCloseHandle");
  bool complete() const {
    return open && crackUrl && combineUrl && connect && openRequest && setOption && sendRequest && queryInfo &&
           dataAvailable && read && close;
  }
};

bool isRedirect(DWORD status) {
  return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

}  // namespace

// Everything the worker touches; it holds its own reference, so the window and the
// TVInfoDownload may go first.
struct TVInfoDownload::Shared {
  mutable std::mutex mutex;
  HWND window = nullptr;  // cleared once the message is posted or the check is abandoned
  UINT message = 0;
  VersionCheck check;
  ULONGLONG start = GetTickCount64();
  WinInet inet;
  // The open handles, each closed exactly once: by the worker when it is done with it, or by
  // whoever abandons the check first. On Windows, closing a handle from another thread ends a
  // call that is blocked on it; Wine lets that call run on to its time-out (see limitWaits).
  HINTERNET sessionHandle = nullptr, connectionHandle = nullptr, requestHandle = nullptr;
  bool abandoned = false;
  std::optional<UpdateAnswer> answer;

  // The worker's answer, unless the deadline or the window came first.
  void finish(const UpdateAnswer& found) {
    std::lock_guard lock(mutex);
    if (!window) return;
    answer = found;
    PostMessageW(window, message, 0, 0);
    window = nullptr;
  }
  void abandon() {
    HINTERNET open[3];
    {
      std::lock_guard lock(mutex);
      abandoned = true;
      window = nullptr;
      open[0] = std::exchange(requestHandle, nullptr);
      open[1] = std::exchange(connectionHandle, nullptr);
      open[2] = std::exchange(sessionHandle, nullptr);
    }
    for (HINTERNET handle : open)
      if (handle) inet.close(handle);
  }
  void expire() {
    finish(UpdateAnswer{});
    abandon();
  }

  // Keeps a handle the worker just opened in its slot, unless the check was abandoned
  // meanwhile: then the handle is closed at once and nothing comes back.
  HINTERNET keep(HINTERNET Shared::*slot, HINTERNET opened) {
    {
      std::lock_guard lock(mutex);
      if (opened && !abandoned) return this->*slot = opened;
    }
    if (opened) inet.close(opened);
    return nullptr;
  }
  void close(HINTERNET Shared::*slot) {
    HINTERNET open;
    {
      std::lock_guard lock(mutex);
      open = std::exchange(this->*slot, nullptr);
    }
    if (open) inet.close(open);
  }

  // Each wait of a request may last as long as the check has left, no longer: the time-outs
  // are set before every call that waits. False once nothing is left or the check is abandoned.
  bool limitWaits(HINTERNET handle) {
    const ULONGLONG spent = GetTickCount64() - start;
    {
      std::lock_guard lock(mutex);
      if (abandoned || spent >= check.deadlineMs) return false;
    }
    DWORD left = static_cast<DWORD>(check.deadlineMs - spent);
    for (const DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT,
                               INTERNET_OPTION_RECEIVE_TIMEOUT})
      inet.setOption(handle, option, &left, sizeof(left));
    return true;
  }

  std::optional<std::string> fetch() {
    if (!inet.complete()) return std::nullopt;
    const HINTERNET opened =
        keep(&Shared::sessionHandle, inet.open(L"Kelvane", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!opened) return std::nullopt;
    std::wstring address = toWide(check.address);
    std::optional<std::string> body;
    for (int redirects = 0;; ++redirects) {
      std::wstring next;
      body = fetchOnce(opened, address, next);
      if (body || next.empty() || redirects == kVersionFileRedirects || !isWebAddress(toUtf8(next))) break;
      address = std::move(next);
    }
    close(&Shared::sessionHandle);
    return body;
  }

  // One request: the body of a 200 answer, or the address a redirect names in `next`.
  std::optional<std::string> fetchOnce(HINTERNET internet, const std::wstring& address, std::wstring& next) {
    URL_COMPONENTSW parts{};
    parts.dwStructSize = sizeof(parts);
    parts.dwHostNameLength = parts.dwUrlPathLength = parts.dwExtraInfoLength = 1;  // point into address
    if (!inet.crackUrl(address.c_str(), 0, 0, &parts)) return std::nullopt;
    const std::wstring host(parts.lpszHostName, parts.dwHostNameLength);
    std::wstring object = std::wstring(parts.lpszUrlPath, parts.dwUrlPathLength) +
                          std::wstring(parts.lpszExtraInfo, parts.dwExtraInfoLength);
    if (object.empty() || object.front() != L'/') object.insert(0, 1, L'/');
    // Always from the server, never from the system's cache, and nothing left in it; redirects
    // are followed here, where they are counted and checked.
    DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_PRAGMA_NOCACHE | INTERNET_FLAG_NO_CACHE_WRITE |
                  INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_NO_UI | INTERNET_FLAG_NO_AUTO_REDIRECT;
    if (parts.nScheme == INTERNET_SCHEME_HTTPS) flags |= INTERNET_FLAG_SECURE;
    std::optional<std::string> body;
    const HINTERNET connected = keep(&Shared::connectionHandle, inet.connect(internet, host.c_str(), parts.nPort, nullptr,
                                                                       nullptr, INTERNET_SERVICE_HTTP, 0, 0));
    const HINTERNET opened =
        connected ? keep(&Shared::requestHandle, inet.openRequest(connected, L"GET", object.c_str(), nullptr, nullptr,
                                                            nullptr, flags, 0))
                  : nullptr;
    if (opened && limitWaits(opened) && inet.sendRequest(opened, nullptr, 0, nullptr, 0)) {
      DWORD status = 0, length = sizeof(status);
      if (!inet.queryInfo(opened, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &length, nullptr)) {
        status = 0;
      }
      if (status == 200) body = readAll(opened);
      if (isRedirect(status)) next = redirectTarget(opened, address);
    }
    close(&Shared::requestHandle);
    close(&Shared::connectionHandle);
    return body;
  }

  // The Location of a redirect, made absolute against the address that gave it.
  std::wstring redirectTarget(HINTERNET request, const std::wstring& address) {
    wchar_t location[INTERNET_MAX_URL_LENGTH] = {};
    DWORD bytes = sizeof(location) - sizeof(wchar_t);
    if (!inet.queryInfo(request, HTTP_QUERY_LOCATION, location, &bytes, nullptr)) return {};
    wchar_t absolute[INTERNET_MAX_URL_LENGTH];
    DWORD length = INTERNET_MAX_URL_LENGTH;
    if (!inet.combineUrl(address.c_str(), location, absolute, &length, 0)) return {};
    return std::wstring(absolute, length);
  }

  // What has arrived is taken as it comes, so that a server dripping its answer meets the
  // deadline between two reads.
  std::optional<std::string> readAll(HINTERNET request) {
    std::string bytes;
    char buffer[4096];
    for (;;) {
      DWORD available = 0, got = 0;
      if (!limitWaits(request) || !inet.dataAvailable(request, &available, 0, 0)) return std::nullopt;
      if (available == 0) return bytes;
      if (!inet.read(request, buffer, std::min<DWORD>(available, sizeof(buffer)), &got)) return std::nullopt;
      if (got == 0) return bytes;
      bytes.append(buffer, got);
      if (bytes.size() > kVersionFileLimit) return std::nullopt;
    }
  }
};

namespace {

DWORD WINAPI checkThread(void* parameter) {
  const std::unique_ptr<std::shared_ptr<TVInfoDownload::Shared>> owned(
      static_cast<std::shared_ptr<TVInfoDownload::Shared>*>(parameter));
  TVInfoDownload::Shared& shared = **owned;
  const auto body = shared.fetch();
  // Read as the settings files are read (a byte-order mark says how), and judged here, so that
  // whatever the file holds costs this thread and not the window.
  std::optional<std::string> text;
  if (body) text = decodeTextFile(*body).text;
  shared.finish(judgeVersionFile(text, shared.check.programKey, shared.check.ownVersion));
  return 0;
}

void CALLBACK checkDeadline(void* shared, BOOLEAN) { static_cast<TVInfoDownload::Shared*>(shared)->expire(); }

}  // namespace

TVInfoDownload::TVInfoDownload(VersionCheck check, HWND window, UINT doneMessage)
    : shared_(std::make_shared<Shared>()) {
  shared_->window = window;
  shared_->message = doneMessage;
  shared_->check = std::move(check);
  if (!isWebAddress(shared_->check.address)) {
    shared_->finish(UpdateAnswer{});
    return;
  }
  auto* parameter = new std::shared_ptr<Shared>(shared_);
  // Nobody waits for the worker: its handle goes at once, the thread runs on.
  const UniqueKernelHandle thread(CreateThread(nullptr, 0, &checkThread, parameter, 0, nullptr));
  if (!thread) {
    delete parameter;
    shared_->finish(UpdateAnswer{});
    return;
  }
  CreateTimerQueueTimer(&deadline_, nullptr, &checkDeadline, shared_.get(), shared_->check.deadlineMs, 0,
                        WT_EXECUTEONLYONCE);
}

TVInfoDownload::~TVInfoDownload() {
  // Waits only for a deadline callback that is running now, which never waits on anything.
  if (deadline_) DeleteTimerQueueTimer(nullptr, deadline_, INVALID_HANDLE_VALUE);
  shared_->abandon();
}

std::optional<UpdateAnswer> TVInfoDownload::answer() const {
  std::lock_guard lock(shared_->mutex);
  return shared_->answer;
}

}  // namespace kelvane
