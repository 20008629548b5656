// idle_child: a process for tests to act on. It holds the given amount of touched memory (so it
// ranks high among the processes by memory) and waits, without a window, until it is ended or
// its time is up, so that a failed test never leaves it running for long.
//
// With STEP_MEGABYTES it grows, as a leaking program does: every line on its input adds that much
// touched memory, and a line on its output ("held N MB") says the memory is in place, so a test
// waits for the step instead of guessing how long it takes. Its input closed, it waits as above.
//
//   idle_child [MEGABYTES [SECONDS [STEP_MEGABYTES]]]     defaults: 0 MB, 120 s, not growing
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <cstring>
#include <memory>
#include <vector>

namespace {

unsigned long secondsLeft = 120;

// The time limit holds while the main thread waits for input.
DWORD WINAPI endWhenTimeIsUp(void*) {
  Sleep(secondsLeft * 1000);
  ExitProcess(0);
}

bool readLine(HANDLE input) {
  char byte = 0;
  DWORD read = 0;
  while (ReadFile(input, &byte, 1, &read, nullptr) && read == 1)
    if (byte == '\n') return true;
  return false;
}

void say(HANDLE output, unsigned long megabytes) {
  char line[32];
  const int length = std::snprintf(line, sizeof line, "held %lu MB\n", megabytes);
  DWORD written = 0;
  WriteFile(output, line, static_cast<DWORD>(length), &written, nullptr);
}

std::unique_ptr<char[]> touched(unsigned long megabytes) {
  const std::size_t size = static_cast<std::size_t>(megabytes) << 20;
  auto block = std::make_unique<char[]>(size);
  std::memset(block.get(), 1, size);
  return block;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  unsigned long megabytes = argc > 1 ? std::wcstoul(argv[1], nullptr, 10) : 0;
  secondsLeft = argc > 2 ? std::wcstoul(argv[2], nullptr, 10) : 120;
  const unsigned long step = argc > 3 ? std::wcstoul(argv[3], nullptr, 10) : 0;
  std::vector<std::unique_ptr<char[]>> held;
  if (megabytes > 0) held.push_back(touched(megabytes));
  if (step > 0) {
    CloseHandle(CreateThread(nullptr, 0, endWhenTimeIsUp, nullptr, 0, nullptr));
    const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    say(output, megabytes);
    while (readLine(input)) {
      held.push_back(touched(step));
      megabytes += step;
      say(output, megabytes);
    }
  }
  Sleep(secondsLeft * 1000);
  return held.empty() ? 0 : held.back()[0] - 1;
}
