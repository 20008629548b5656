#include "release/memory_release.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

using namespace kelvane;

namespace {

// Stands in for the process calls: windows are listed by owning process, some processes
// cannot be opened, and an error can be raised at a chosen window.
class FakePlatform : public ReleasePlatform {
 public:
  std::vector<std::uint32_t> windowOwners;
  std::set<std::uint32_t> unopenable;
  int throwAtWindow = -1;

  std::vector<std::string> events;
  std::map<std::uint32_t, int> trims;
  std::set<ProcessHandle> openHandles;
  ProcessHandle nextHandle = 0x100;

  void setReleaseCommandEnabled(bool enabled) override {
    events.push_back(enabled ? "enable" : "disable");
  }
  void forEachTopLevelWindowOwner(const std::function<void(std::uint32_t)>& visit) override {
    for (std::size_t i = 0; i < windowOwners.size(); ++i) {
      if (static_cast<int>(i) == throwAtWindow) throw std::runtime_error("window walk failed");
      visit(windowOwners[i]);
    }
  }
  ProcessHandle openProcess(std::uint32_t processId) override {
    events.push_back("open " + std::to_string(processId));
    if (unopenable.count(processId)) return 0;
    const ProcessHandle handle = nextHandle++;
    openHandles.insert(handle);
    handleOwner[handle] = processId;
    return handle;
  }
  void trimWorkingSet(ProcessHandle process) override {
    EXPECT_TRUE(openHandles.count(process)) << "trimmed a handle that is not open";
    ++trims[handleOwner[process]];
  }
  void closeProcess(ProcessHandle process) override {
    EXPECT_EQ(openHandles.erase(process), 1u) << "closed a handle twice or never opened";
  }

 private:
  std::map<ProcessHandle, std::uint32_t> handleOwner;
};

}  // namespace

TEST(ReleaseMemory, TrimsEveryWindowOwnerOncePerWindowAndClosesEveryHandle) {
  FakePlatform platform;
  platform.windowOwners = {40, 44, 40, 48, 52, 40};
  platform.unopenable = {48};
  ReleaseMemory(platform);

  EXPECT_EQ(platform.trims, (std::map<std::uint32_t, int>{{40, 3}, {44, 1}, {52, 1}}));
  EXPECT_TRUE(platform.openHandles.empty());
  ASSERT_GE(platform.events.size(), 2u);
  EXPECT_EQ(platform.events.front(), "disable");
  EXPECT_EQ(platform.events.back(), "enable");
  // Every window's owner was asked for, the unopenable one included.
  EXPECT_EQ(std::count(platform.events.begin(), platform.events.end(), "open 48"), 1);
  EXPECT_EQ(platform.events.size(), 2u + platform.windowOwners.size());
}

TEST(ReleaseMemory, AnErrorStillReenablesTheCommandAndClosesWhatWasOpened) {
  FakePlatform platform;
  platform.windowOwners = {40, 44, 48};
  platform.throwAtWindow = 2;
  EXPECT_THROW(ReleaseMemory(platform), std::runtime_error);
  EXPECT_EQ(platform.events.back(), "enable");
  EXPECT_TRUE(platform.openHandles.empty());
  EXPECT_EQ(platform.trims, (std::map<std::uint32_t, int>{{40, 1}, {44, 1}}));

  // A release with only our own window still trims our own process.
  FakePlatform alone;
  alone.windowOwners = {32};
  ReleaseMemory(alone);
  EXPECT_EQ(alone.trims, (std::map<std::uint32_t, int>{{32, 1}}));
}
