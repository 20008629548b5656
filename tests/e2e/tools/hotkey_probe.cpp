// hotkey_probe MODIFIERS VK: prints "taken" when another program holds the combination
// (RegisterHotKey's modifier flags, virtual key; both decimal or 0x hexadecimal), else "free".
#include <windows.h>

#include <cstdio>
#include <cwchar>

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fputs("usage: hotkey_probe MODIFIERS VK\n", stderr);
    return 2;
  }
  const UINT modifiers = static_cast<UINT>(std::wcstoul(argv[1], nullptr, 0));
  const UINT virtualKey = static_cast<UINT>(std::wcstoul(argv[2], nullptr, 0));
  if (RegisterHotKey(nullptr, 1, modifiers, virtualKey)) {
    UnregisterHotKey(nullptr, 1);
    std::puts("free");
    return 0;
  }
  std::puts(GetLastError() == ERROR_HOTKEY_ALREADY_REGISTERED ? "taken" : "error");
  return 0;
}
