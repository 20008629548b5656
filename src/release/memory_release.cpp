#include "release/memory_release.h"

namespace kelvane {

namespace {

class CommandDisabled {
 public:
  explicit CommandDisabled(ReleasePlatform& platform) : platform_(platform) {
    platform_.setReleaseCommandEnabled(false);
  }
  ~CommandDisabled() { platform_.setReleaseCommandEnabled(true); }
  CommandDisabled(const CommandDisabled&) = delete;
  CommandDisabled& operator=(const CommandDisabled&) = delete;

 private:
  ReleasePlatform& platform_;
};

class OpenedProcess {
 public:
  OpenedProcess(ReleasePlatform& platform, std::uint32_t processId)
      : platform_(platform), handle_(platform.openProcess(processId)) {}
  ~OpenedProcess() {
    if (handle_ != 0) platform_.closeProcess(handle_);
  }
  OpenedProcess(const OpenedProcess&) = delete;
  OpenedProcess& operator=(const OpenedProcess&) = delete;
  ReleasePlatform::ProcessHandle get() const { return handle_; }

 private:
  ReleasePlatform& platform_;
  ReleasePlatform::ProcessHandle handle_;
};

}  // namespace

void ReleaseMemory(ReleasePlatform& platform) {
  CommandDisabled busy(platform);
  platform.forEachTopLevelWindowOwner([&platform](std::uint32_t processId) {
    OpenedProcess process(platform, processId);
    if (process.get() != 0) platform.trimWorkingSet(process.get());
  });
}

}  // namespace kelvane
