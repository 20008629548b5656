#include "fake_form_services.h"


#include <utility>
#include <vector>

namespace kelvane::testing {

void pumpMessages(DWORD milliseconds) {
  const DWORD start = GetTickCount();
  do {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    Sleep(10);
  } while (GetTickCount() - start < milliseconds);
}

}  // namespace kelvane::testing

namespace kelvane::testing {

namespace {

struct ThreadDialogs {
  DWORD thread;
  std::vector<HWND> found;
};

std::vector<HWND> dialogsOf(DWORD thread) {
  ThreadDialogs search{thread, {}};
  EnumThreadWindows(
      thread,
      [](HWND window, LPARAM context) -> BOOL {
        wchar_t name[32];
        GetClassNameW(window, name, 32);
        if (std::wstring(name) == L"#32770" && IsWindowVisible(window))
          reinterpret_cast<ThreadDialogs*>(context)->found.push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace

DialogAnswerer::DialogAnswerer(DWORD dialogThread, std::vector<PostedMessage> answer, DWORD delayMs)
    : dialogThread_(dialogThread), answer_(std::move(answer)), delayMs_(delayMs) {
  thread_ = CreateThread(nullptr, 0, &DialogAnswerer::run, this, 0, nullptr);
}

DialogAnswerer::~DialogAnswerer() {
  if (thread_) {
    WaitForSingleObject(thread_, 20000);
    CloseHandle(thread_);
  }
}

DWORD WINAPI DialogAnswerer::run(void* context) {
  auto& self = *static_cast<DialogAnswerer*>(context);
  HWND dialog = nullptr;
  for (int i = 0; i < 1000 && !dialog; ++i) {  // up to 10 s
    const auto dialogs = dialogsOf(self.dialogThread_);
    if (!dialogs.empty()) dialog = dialogs.front();
    else Sleep(10);
  }
  if (!dialog) return 0;
  self.seen_ = true;
  wchar_t title[256];
  const int length = GetWindowTextW(dialog, title, 256);
  self.title_.assign(title, length > 0 ? static_cast<std::size_t>(length) : 0);
  // Keep watching while the dialog waits: a second one must never come up beside it.
  const DWORD start = GetTickCount();
  do {
    const int count = static_cast<int>(dialogsOf(self.dialogThread_).size());
    if (count > self.mostAtOnce_) self.mostAtOnce_ = count;
    Sleep(20);
  } while (GetTickCount() - start < self.delayMs_);
  for (const PostedMessage& posted : self.answer_)
    PostMessageW(dialog, posted.message, posted.wParam, posted.lParam);
  // An answer that does not end the dialog must not hang the test.
  for (int i = 0; i < 500 && IsWindow(dialog); ++i) Sleep(10);
  if (IsWindow(dialog)) PostMessageW(dialog, WM_CLOSE, 0, 0);
  return 0;
}

}  // namespace kelvane::testing
