#include "memory/memory_sample_win.h"

#include <windows.h>

namespace kelvane {

MemorySample readMemorySample() {
  MEMORYSTATUSEX status{};
  status.dwLength = sizeof(status);
  GlobalMemoryStatusEx(&status);  // a failed reading is a sample of zeros, drawn as such
  return MemorySample{status.dwMemoryLoad, status.ullTotalPhys, status.ullAvailPhys,
                      status.ullTotalPageFile, status.ullAvailPageFile};
}

}  // namespace kelvane
