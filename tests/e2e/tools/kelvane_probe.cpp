// kelvane_probe: looks at the Wine desktop from another process, as the end-to-end scenarios
// need: which windows exist, what the tray icon's tip says, whether a balloon is up.
//
//   kelvane_probe windows                    list top-level windows (hwnd class visible exstyle owner pid title)
//   kelvane_probe foreground                 the foreground window, as a line of the list above
//   kelvane_probe ui-language                the user's display language, as 0x0409
//   kelvane_probe find CLASS [TITLE]         exit 0 and print the hwnd when such a window exists
//   kelvane_probe wait CLASS SECONDS         wait for a window of that class
//   kelvane_probe wait-gone CLASS SECONDS    wait until no window of that class exists
//   kelvane_probe post CLASS MSG [WPARAM [LPARAM]]  post a message to the window of that class;
//                                            MSG is a number or a registered message's name
//   kelvane_probe ask CLASS MSG              send the window of that class a message (as for post,
//                                            wParam and lParam 0) and print its answer, waiting
//                                            at most 5 s; exit 1 without an answer
//   kelvane_probe copydata CLASS BYTES       send the window of that class a WM_COPYDATA of that
//                                            many bytes (no mark of the program's), waiting at
//                                            most 5 s; print its answer or "no answer"
//   kelvane_probe tray-tips                  print the tip of every icon in the notification area
//   kelvane_probe balloon SECONDS            wait for a visible balloon tooltip, print its rect
//   kelvane_probe broadcast-taskbar-created  as the shell does after it restarts
//   kelvane_probe broadcast-setting-change AREA  WM_SETTINGCHANGE to every top-level window, as
//                                            Windows sends it (e.g. "ImmersiveColorSet" after the
//                                            light or dark mode changed), waiting for each
//   kelvane_probe tray-forget CLASS ID       delete the icon (window of CLASS, uID) from the
//                                            notification area, as a crashed shell loses it
//   kelvane_probe taskbar-buttons            count the visible window buttons on the taskbar
//   kelvane_probe keys KEY...                type keys with SendInput (names: esc enter up down
//                                            left right tab space home end, or one letter/digit;
//                                            ctrl+, alt+ and shift+ in front hold modifiers)
//   kelvane_probe dlg-set-text TITLE ID TEXT set the text of control ID in the dialog titled TITLE
//   kelvane_probe dlg-text TITLE ID          print the text of control ID
//   kelvane_probe dlg-items TITLE ID         print the entries of the combo box ID, one a line
//   kelvane_probe dlg-click TITLE ID         click the button ID
//   kelvane_probe children CLASS             list the child windows of the window of that class
//                                            (id class visible text)
//   kelvane_probe click CLASS ID             press the button (or tick the box) with that id
//   kelvane_probe tree-items TITLE           print the top-level items of the tree view in the
//                                            dialog titled TITLE, one a line
//   kelvane_probe copydata-answer CLASS MARK TEXT
//                                            send TEXT (UTF-8) as a copy-data message marked MARK
//                                            (hex) to the window of CLASS and print its answer
//   kelvane_probe start-to-icon EXE [ARGS]   start EXE and print the milliseconds until the
//                                            notification area has one more icon
// Output is UTF-8.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <tlhelp32.h>

#include <cstdio>
#include <string>
#include <vector>

#include "common/text_win.h"
#include "probe_output_win.h"

using namespace kelvane;

namespace {

std::wstring className(HWND hwnd) {
  wchar_t buffer[256];
  const int n = GetClassNameW(hwnd, buffer, 256);
  return std::wstring(buffer, n > 0 ? static_cast<std::size_t>(n) : 0);
}

std::wstring windowText(HWND hwnd) {
  wchar_t buffer[512];
  const int n = GetWindowTextW(hwnd, buffer, 512);
  return std::wstring(buffer, n > 0 ? static_cast<std::size_t>(n) : 0);
}

std::vector<HWND> topLevelWindows() {
  std::vector<HWND> windows;
  EnumWindows([](HWND hwnd, LPARAM lParam) -> BOOL {
    reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hwnd);
    return TRUE;
  }, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

HWND findByClass(const std::wstring& wanted) {
  for (HWND hwnd : topLevelWindows())
    if (className(hwnd) == wanted) return hwnd;
  return nullptr;
}

// Memory in the process that owns a window, for the messages whose pointers that process reads:
// a control of another process fills only buffers of its own.
class RemoteBuffer {
 public:
  RemoteBuffer(HWND window, SIZE_T size) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (process_)
      data_ = static_cast<unsigned char*>(VirtualAllocEx(process_, nullptr, size, MEM_COMMIT, PAGE_READWRITE));
  }
  ~RemoteBuffer() {
    if (data_) VirtualFreeEx(process_, data_, 0, MEM_RELEASE);
    if (process_) CloseHandle(process_);
  }
  RemoteBuffer(const RemoteBuffer&) = delete;
  RemoteBuffer& operator=(const RemoteBuffer&) = delete;

  explicit operator bool() const { return data_ != nullptr; }
  unsigned char* at(SIZE_T offset) const { return data_ + offset; }
  void write(const void* from, SIZE_T size, SIZE_T offset = 0) const {
    WriteProcessMemory(process_, data_ + offset, from, size, nullptr);
  }
  void read(void* to, SIZE_T size, SIZE_T offset = 0) const {
    ReadProcessMemory(process_, data_ + offset, to, size, nullptr);
  }

 private:
  HANDLE process_ = nullptr;
  unsigned char* data_ = nullptr;
};

// The notification area's tooltips belong to explorer, so their texts live in its memory:
// enumerate the tools there and read each text into a buffer allocated in that process.
int trayTips() {
  HWND tray = FindWindowW(L"Shell_TrayWnd", nullptr);
  if (!tray) return 2;
  DWORD explorerPid = 0;
  GetWindowThreadProcessId(tray, &explorerPid);
  constexpr SIZE_T kTextChars = 1024;
  const RemoteBuffer remote(tray, sizeof(TTTOOLINFOW) + kTextChars * sizeof(wchar_t));
  if (!remote) return 2;
  auto* remoteText = reinterpret_cast<wchar_t*>(remote.at(sizeof(TTTOOLINFOW)));
  int found = 0;
  for (HWND hwnd : topLevelWindows()) {
    if (className(hwnd) != L"tooltips_class32") continue;
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != explorerPid) continue;
    const LRESULT count = SendMessageW(hwnd, TTM_GETTOOLCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
      TTTOOLINFOW info{};
      info.cbSize = sizeof(info);
      info.lpszText = remoteText;
      remote.write(&info, sizeof(info));
      if (!SendMessageW(hwnd, TTM_ENUMTOOLSW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(remote.at(0)))) continue;
      remote.read(&info, sizeof(info));
      std::vector<wchar_t> text(kTextChars, L'\0');
      // Ask for the text itself: ENUMTOOLS may leave only a pointer into explorer's memory.
      info.lpszText = remoteText;
      remote.write(&info, sizeof(info));
      remote.write(text.data(), text.size() * sizeof(wchar_t), sizeof(TTTOOLINFOW));
      SendMessageW(hwnd, TTM_GETTEXTW, kTextChars, reinterpret_cast<LPARAM>(remote.at(0)));
      remote.read(text.data(), (kTextChars - 1) * sizeof(wchar_t), sizeof(TTTOOLINFOW));
      print(L"tip: " + std::wstring(text.data()) + L"\n--\n");
      ++found;
    }
  }
  return found > 0 ? 0 : 1;
}

// The tree view belongs to another process: each item and its text go through a buffer there.
int treeItems(const wchar_t* dialogTitle) {
  HWND dialog = FindWindowW(L"#32770", dialogTitle);
  HWND tree = nullptr;
  if (dialog)
    EnumChildWindows(dialog, [](HWND child, LPARAM found) -> BOOL {
      if (className(child) != WC_TREEVIEWW) return TRUE;
      *reinterpret_cast<HWND*>(found) = child;
      return FALSE;
    }, reinterpret_cast<LPARAM>(&tree));
  if (!tree) return 1;
  constexpr int kTextChars = 512;
  const RemoteBuffer remote(tree, sizeof(TVITEMW) + kTextChars * sizeof(wchar_t));
  if (!remote) return 2;
  auto* remoteText = reinterpret_cast<wchar_t*>(remote.at(sizeof(TVITEMW)));
  for (HTREEITEM item = TreeView_GetRoot(tree); item; item = TreeView_GetNextSibling(tree, item)) {
    TVITEMW query{};
    query.mask = TVIF_TEXT;
    query.hItem = item;
    query.pszText = remoteText;
    query.cchTextMax = kTextChars;
    remote.write(&query, sizeof(query));
    wchar_t text[kTextChars] = L"";
    if (SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(remote.at(0))))
      remote.read(text, (kTextChars - 1) * sizeof(wchar_t), sizeof(TVITEMW));
    print(std::wstring(text) + L"\n");
  }
  return 0;
}

bool processRuns(const std::wstring& exeName) {
  const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return false;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  bool found = false;
  for (BOOL more = Process32FirstW(snapshot, &entry); more && !found; more = Process32NextW(snapshot, &entry))
    found = _wcsicmp(entry.szExeFile, exeName.c_str()) == 0;
  CloseHandle(snapshot);
  return found;
}

// Explorer keeps one tooltip tool per icon of the notification area.
LRESULT trayToolCount() {
  HWND tray = FindWindowW(L"Shell_TrayWnd", nullptr);
  DWORD explorerPid = 0;
  if (tray) GetWindowThreadProcessId(tray, &explorerPid);
  LRESULT count = 0;
  for (HWND hwnd : topLevelWindows()) {
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == explorerPid && className(hwnd) == L"tooltips_class32")
      count += SendMessageW(hwnd, TTM_GETTOOLCOUNT, 0, 0);
  }
  return count;
}

// The time a user waits from starting a program to seeing its icon, measured on one clock.
int startToIcon(int argc, wchar_t** argv) {
  std::wstring commandLine = L"\"" + std::wstring(argv[2]) + L"\"";
  for (int i = 3; i < argc; ++i) commandLine += L" " + std::wstring(argv[i]);
  const LRESULT before = trayToolCount();
  LARGE_INTEGER frequency, start, now;
  QueryPerformanceFrequency(&frequency);
  STARTUPINFOW startup{sizeof(startup)};
  PROCESS_INFORMATION process{};
  QueryPerformanceCounter(&start);
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process))
    return 2;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  for (;;) {
    QueryPerformanceCounter(&now);
    const double ms = static_cast<double>(now.QuadPart - start.QuadPart) * 1000.0 /
                      static_cast<double>(frequency.QuadPart);
    if (trayToolCount() > before) {
      wchar_t line[32];
      swprintf(line, 32, L"%.0f\n", ms);
      print(line);
      return 0;
    }
    if (ms > 30000) return 1;
    Sleep(2);
  }
}

// A message number, or a registered message's name.
UINT messageOf(const wchar_t* text) {
  return iswdigit(text[0]) ? static_cast<UINT>(wcstoul(text, nullptr, 0)) : RegisterWindowMessageW(text);
}

void printWindow(HWND hwnd) {
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  RECT rect{};
  GetWindowRect(hwnd, &rect);
  wchar_t line[256];
  swprintf(line, 256, L"%p %ls vis=%d ex=%08lx owner=%p pid=%lu rect=%ld,%ld,%ld,%ld ",
           static_cast<void*>(hwnd), className(hwnd).c_str(), IsWindowVisible(hwnd) ? 1 : 0,
           static_cast<unsigned long>(GetWindowLongW(hwnd, GWL_EXSTYLE)),
           static_cast<void*>(GetWindow(hwnd, GW_OWNER)), static_cast<unsigned long>(pid), rect.left, rect.top,
           rect.right, rect.bottom);
  print(line + windowText(hwnd) + L"\n");
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring command = argc > 1 ? argv[1] : L"";
  if (command == L"windows") {
    for (HWND hwnd : topLevelWindows()) printWindow(hwnd);
    return 0;
  }
  if (command == L"ui-language") {
    wchar_t line[16];
    swprintf(line, 16, L"0x%04X\n", static_cast<unsigned>(GetUserDefaultUILanguage()));
    print(line);
    return 0;
  }
  if (command == L"foreground") {
    HWND foreground = GetForegroundWindow();
    if (!foreground) return 1;
    printWindow(foreground);
    return 0;
  }
  if ((command == L"wait" || command == L"wait-gone") && argc > 3) {
    const DWORD deadline = GetTickCount() + static_cast<DWORD>(_wtoi(argv[3])) * 1000u;
    do {
      const bool present = findByClass(argv[2]) != nullptr;
      if (present == (command == L"wait")) return 0;
      Sleep(100);
    } while (static_cast<LONG>(GetTickCount() - deadline) < 0);
    return 1;
  }
  if (command == L"find" && argc > 2) {
    HWND hwnd = FindWindowW(argv[2], argc > 3 ? argv[3] : nullptr);
    if (!hwnd) return 1;
    wchar_t line[32];
    swprintf(line, 32, L"%p\n", static_cast<void*>(hwnd));
    print(line);
    return 0;
  }
  if (command == L"post" && argc > 3) {
    HWND hwnd = FindWindowW(argv[2], nullptr);
    if (!hwnd) return 1;
    const UINT message = messageOf(argv[3]);
    const WPARAM wParam = argc > 4 ? wcstoull(argv[4], nullptr, 0) : 0;
    const LPARAM lParam = argc > 5 ? static_cast<LPARAM>(wcstoll(argv[5], nullptr, 0)) : 0;
    return PostMessageW(hwnd, message, wParam, lParam) ? 0 : 1;
  }
  if (command == L"ask" && argc > 3) {
    HWND hwnd = FindWindowW(argv[2], nullptr);
    if (!hwnd) return 1;
    const UINT message = messageOf(argv[3]);
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutW(hwnd, message, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer)) return 1;
    print(std::to_wstring(answer) + L"\n");
    return 0;
  }
  if (command == L"copydata" && argc > 3) {
    HWND hwnd = FindWindowW(argv[2], nullptr);
    if (!hwnd) return 1;
    std::vector<char> bytes(wcstoul(argv[3], nullptr, 0), 'x');
    COPYDATASTRUCT data{0, static_cast<DWORD>(bytes.size()), bytes.data()};
    DWORD_PTR answer = 0;
    if (SendMessageTimeoutW(hwnd, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, 5000, &answer))
      print(L"answer " + std::to_wstring(answer) + L"\n");
    else
      print(L"no answer\n");
    return 0;
  }
  if (command == L"copydata-answer" && argc > 4) {
    HWND hwnd = FindWindowW(argv[2], nullptr);
    if (!hwnd) return 1;
    const int length = WideCharToMultiByte(CP_UTF8, 0, argv[4], -1, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(length > 0 ? length - 1 : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, argv[4], -1, bytes.data(), length, nullptr, nullptr);
    COPYDATASTRUCT data{static_cast<ULONG_PTR>(wcstoull(argv[3], nullptr, 16)), static_cast<DWORD>(bytes.size()),
                        bytes.data()};
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutW(hwnd, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, 20000, &answer))
      return 1;
    print(std::to_wstring(answer) + L"\n");
    return 0;
  }
  if (command == L"tray-tips") return trayTips();
  if (command == L"balloon" && argc > 2) {
    const DWORD deadline = GetTickCount() + static_cast<DWORD>(_wtoi(argv[2])) * 1000u;
    do {
      for (HWND hwnd : topLevelWindows()) {
        if (className(hwnd) != L"tooltips_class32" || !IsWindowVisible(hwnd)) continue;
        if ((GetWindowLongW(hwnd, GWL_STYLE) & TTS_BALLOON) == 0) continue;
        RECT rect{};
        GetWindowRect(hwnd, &rect);
        wchar_t line[96];
        swprintf(line, 96, L"balloon %ld,%ld,%ld,%ld\n", rect.left, rect.top, rect.right, rect.bottom);
        print(line);
        return 0;
      }
      Sleep(100);
    } while (static_cast<LONG>(GetTickCount() - deadline) < 0);
    return 1;
  }
  if (command == L"broadcast-taskbar-created") {
    const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
    return PostMessageW(HWND_BROADCAST, message, 0, 0) ? 0 : 1;
  }
  if (command == L"broadcast-setting-change" && argc > 2) {
    DWORD_PTR answer = 0;
    return SendMessageTimeoutW(HWND_BROADCAST, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(argv[2]),
                               SMTO_ABORTIFHUNG, 5000, &answer)
               ? 0
               : 1;
  }
  if (command == L"tray-forget" && argc > 3) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = findByClass(argv[2]);
    data.uID = static_cast<UINT>(_wtoi(argv[3]));
    return data.hWnd && Shell_NotifyIconW(NIM_DELETE, &data) ? 0 : 1;
  }
  if (command == L"taskbar-buttons") {
    HWND tray = FindWindowW(L"Shell_TrayWnd", nullptr);
    if (!tray) return 2;
    int count = 0;
    for (HWND child = GetWindow(tray, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      if (className(child) == L"Button" && IsWindowVisible(child)) ++count;
    }
    wchar_t line[32];
    swprintf(line, 32, L"%d\n", count > 0 ? count - 1 : 0);  // the first is the start button
    print(line);
    return 0;
  }
  if (command == L"menu-latency" && argc > 3) {
    // Right-clicks the point and reports the milliseconds until a menu window is visible.
    SetCursorPos(_wtoi(argv[2]), _wtoi(argv[3]));
    Sleep(200);
    INPUT clicks[2]{};
    clicks[0].type = clicks[1].type = INPUT_MOUSE;
    clicks[0].mi.dwFlags = MOUSEEVENTF_RIGHTDOWN;
    clicks[1].mi.dwFlags = MOUSEEVENTF_RIGHTUP;
    LARGE_INTEGER frequency, start, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    SendInput(2, clicks, sizeof(INPUT));
    do {
      HWND menu = findByClass(L"#32768");
      QueryPerformanceCounter(&now);
      if (menu && IsWindowVisible(menu)) {
        wchar_t line[64];
        swprintf(line, 64, L"%.1f\n", 1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) /
                                           static_cast<double>(frequency.QuadPart));
        print(line);
        return 0;
      }
      Sleep(1);
    } while (now.QuadPart - start.QuadPart < 10 * frequency.QuadPart);
    return 1;
  }
  if (command == L"keys") {
    for (int i = 2; i < argc; ++i) {
      std::wstring key = argv[i];
      // Modifiers before the key: ctrl+tab, alt+p, shift+tab, ctrl+alt+r.
      std::vector<WORD> modifiers;
      for (;;) {
        if (key.rfind(L"ctrl+", 0) == 0) modifiers.push_back(VK_CONTROL), key.erase(0, 5);
        else if (key.rfind(L"alt+", 0) == 0) modifiers.push_back(VK_MENU), key.erase(0, 4);
        else if (key.rfind(L"shift+", 0) == 0) modifiers.push_back(VK_SHIFT), key.erase(0, 6);
        else break;
      }
      WORD vk = 0;
      if (key == L"esc") vk = VK_ESCAPE;
      else if (key == L"enter") vk = VK_RETURN;
      else if (key == L"up") vk = VK_UP;
      else if (key == L"down") vk = VK_DOWN;
      else if (key == L"left") vk = VK_LEFT;
      else if (key == L"right") vk = VK_RIGHT;
      else if (key == L"tab") vk = VK_TAB;
      else if (key == L"space") vk = VK_SPACE;
      else if (key == L"end") vk = VK_END;
      else if (key == L"home") vk = VK_HOME;
      else if (key.size() == 1) vk = static_cast<WORD>(towupper(key[0]));
      if (!vk) return 2;
      std::vector<INPUT> inputs;
      auto press = [&](WORD code, bool up) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = code;
        input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        inputs.push_back(input);
      };
      for (WORD modifier : modifiers) press(modifier, false);
      press(vk, false);
      press(vk, true);
      for (auto it = modifiers.rbegin(); it != modifiers.rend(); ++it) press(*it, true);
      SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
      Sleep(150);
    }
    return 0;
  }
  if (command == L"children" && argc > 2) {
    HWND parent = findByClass(argv[2]);
    if (!parent) return 1;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      wchar_t line[128];
      swprintf(line, 128, L"%d %ls vis=%d ", GetDlgCtrlID(child), className(child).c_str(),
               IsWindowVisible(child) ? 1 : 0);
      print(line + windowText(child) + L"\n");
    }
    return 0;
  }
  if (command == L"click" && argc > 3) {
    HWND parent = findByClass(argv[2]);
    HWND button = parent ? GetDlgItem(parent, _wtoi(argv[3])) : nullptr;
    if (!button) return 1;
    SendMessageW(button, BM_CLICK, 0, 0);
    return 0;
  }
  if ((command == L"dlg-set-text" && argc > 4) || (command == L"dlg-items" && argc > 3) ||
      (command == L"dlg-click" && argc > 3) || (command == L"dlg-text" && argc > 3)) {
    HWND dialog = FindWindowW(L"#32770", argv[2]);
    HWND control = dialog ? GetDlgItem(dialog, _wtoi(argv[3])) : nullptr;
    if (!control) return 1;
    if (command == L"dlg-set-text") return SendMessageW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[4])) ? 0 : 1;
    if (command == L"dlg-click") return PostMessageW(control, BM_CLICK, 0, 0) ? 0 : 1;
    if (command == L"dlg-text") {
      print(windowText(control) + L"\n");
      return 0;
    }
    const LRESULT count = SendMessageW(control, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
      wchar_t entry[512] = L"";
      if (SendMessageW(control, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0) < 512)
        SendMessageW(control, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(entry));
      print(std::wstring(entry) + L"\n");
    }
    return 0;
  }
  if (command == L"start-to-icon" && argc > 2) return startToIcon(argc, argv);
  if (command == L"tree-items" && argc > 2) return treeItems(argv[2]);
  // Owns a named mutex, with no window, for SECONDS; with an exe name, for SECONDS after a
  // process of that name has appeared.
  if (command == L"hold-mutex" && argc > 3) {
    const HANDLE mutex = CreateMutexW(nullptr, TRUE, argv[2]);
    if (!mutex || GetLastError() == ERROR_ALREADY_EXISTS) return 1;
    print(L"holding\n");
    for (int waited = 0; argc > 4 && waited < 300 && !processRuns(argv[4]); ++waited) Sleep(100);
    Sleep(static_cast<DWORD>(_wtoi(argv[3])) * 1000u);
    return 0;
  }
  if (command == L"query-end-session" && argc > 2) {  // how the window answers, and how fast
    HWND hwnd = FindWindowW(argv[2], nullptr);
    if (!hwnd) return 1;
    const DWORD start = GetTickCount();
    DWORD_PTR answer = 0;
    const LRESULT sent = SendMessageTimeoutW(hwnd, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF,
                                             SMTO_ABORTIFHUNG, 20000, &answer);
    wchar_t line[64];
    swprintf(line, 64, L"answer=%d ms=%lu\n", sent ? static_cast<int>(answer) : -1,
             static_cast<unsigned long>(GetTickCount() - start));
    print(line);
    return sent ? 0 : 1;
  }
  fputs("usage: kelvane_probe windows|foreground|find|wait|wait-gone|post|tray-tips|balloon|broadcast-taskbar-created|keys"
        "|children|click|dlg-set-text|dlg-text|dlg-items|dlg-click|hold-mutex|query-end-session|start-to-icon\n", stderr);
  return 2;
}
