// dialog_probe: reads and answers another process's dialogs, and reads the clipboard, as the
// end-to-end scenarios need.
//
//   dialog_probe texts TITLE SECONDS     wait for a visible dialog (#32770) with that title and
//                                        print the text of each of its child windows, one per
//                                        line (line ends inside a text shown as \r and \n)
//   dialog_probe click TITLE ID          press the button with that control id of the dialog
//   dialog_probe clipboard               print the clipboard's Unicode text as it is
// Output is UTF-8; the exit code is 1 when the dialog or the text is not there.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <string>
#include <vector>

#include "common/text_win.h"
#include "probe_output_win.h"

using namespace kelvane;

namespace {

HWND waitForDialog(const std::wstring& title, DWORD seconds) {
  const DWORD deadline = GetTickCount() + seconds * 1000u;
  do {
    HWND dialog = FindWindowW(L"#32770", title.c_str());
    if (dialog && IsWindowVisible(dialog)) return dialog;
    Sleep(100);
  } while (static_cast<LONG>(GetTickCount() - deadline) < 0);
  return nullptr;
}

std::wstring escapedLineEnds(const std::wstring& text) {
  std::wstring out;
  for (wchar_t c : text) {
    if (c == L'\r') out += L"\\r";
    else if (c == L'\n') out += L"\\n";
    else out += c;
  }
  return out;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  // Line ends go out as they are: the clipboard's CR LF must not become CR CR LF.
  _setmode(_fileno(stdout), _O_BINARY);
  const std::wstring command = argc > 1 ? argv[1] : L"";
  if (command == L"texts" && argc > 3) {
    HWND dialog = waitForDialog(argv[2], static_cast<DWORD>(_wtoi(argv[3])));
    if (!dialog) return 1;
    std::vector<HWND> children;
    EnumChildWindows(
        dialog,
        [](HWND child, LPARAM list) -> BOOL {
          reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&children));
    for (HWND child : children) {
      wchar_t text[2048] = {};
      GetWindowTextW(child, text, 2048);
      print(escapedLineEnds(text) + L"\n");
    }
    return 0;
  }
  if (command == L"click" && argc > 3) {
    HWND dialog = waitForDialog(argv[2], 5);
    HWND button = dialog ? GetDlgItem(dialog, _wtoi(argv[3])) : nullptr;
    return button && PostMessageW(button, BM_CLICK, 0, 0) ? 0 : 1;
  }
  if (command == L"clipboard") {
    if (!OpenClipboard(nullptr)) return 1;
    bool found = false;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
      if (const auto* text = static_cast<const wchar_t*>(GlobalLock(data))) {
        print(text);
        found = true;
        GlobalUnlock(data);
      }
    }
    CloseClipboard();
    return found ? 0 : 1;
  }
  return 2;
}
