// dll_probe NAME: loads the library NAME through the default search order, as a program that
// does not restrict it would, and prints the loaded file's path. Copied beside a planted DLL,
// it shows that the plant would be picked up by the default search.
#include <windows.h>

#include <cstdio>

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fputs("usage: dll_probe NAME\n", stderr);
    return 2;
  }
  HMODULE module = LoadLibraryW(argv[1]);
  if (!module) {
    std::puts("not loaded");
    return 1;
  }
  wchar_t path[MAX_PATH] = L"";
  GetModuleFileNameW(module, path, MAX_PATH);
  std::printf("%ls\n", path);
  return 0;
}
