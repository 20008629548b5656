// idle_child: a process for tests to act on. It holds the given amount of touched memory (so it
// ranks high among the processes by memory) and waits, without a window, until it is ended or
// its time is up, so that a failed test never leaves it running for long.
//
//   idle_child [MEGABYTES [SECONDS]]     defaults: 0 MB, 120 s
#include <windows.h>

#include <cwchar>
#include <cstring>
#include <vector>

int wmain(int argc, wchar_t** argv) {
  const unsigned long megabytes = argc > 1 ? std::wcstoul(argv[1], nullptr, 10) : 0;
  const unsigned long seconds = argc > 2 ? std::wcstoul(argv[2], nullptr, 10) : 120;
  std::vector<char> held(static_cast<std::size_t>(megabytes) << 20);
  if (!held.empty()) std::memset(held.data(), 1, held.size());
  Sleep(seconds * 1000);
  return held.empty() ? 0 : held.back() - 1;
}
