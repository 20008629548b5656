#pragma once
// Releasing memory: every process that owns a top-level window is asked to give up its
// working set, once per window. The walk is written against a small interface so that it can
// be checked without trimming anything; the shell implements it with the real process calls.

#include <cstdint>
#include <functional>

namespace kelvane {

class ReleasePlatform {
 public:
  using ProcessHandle = std::uintptr_t;  // 0: the process could not be opened

  virtual ~ReleasePlatform() = default;
  virtual void setReleaseCommandEnabled(bool enabled) = 0;
  // Calls `visit` with the owning process id of every top-level window, hidden ones included.
  virtual void forEachTopLevelWindowOwner(const std::function<void(std::uint32_t)>& visit) = 0;
  virtual ProcessHandle openProcess(std::uint32_t processId) = 0;
  virtual void trimWorkingSet(ProcessHandle process) = 0;
  virtual void closeProcess(ProcessHandle process) = 0;
};

// The release command. Failures of single processes are ignored; the command is enabled again
// however the walk ends, and an error that ends the walk is passed on to the caller.
void ReleaseMemory(ReleasePlatform& platform);

}  // namespace kelvane
