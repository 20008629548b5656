#pragma once
// The process snapshot's view of a real Windows system: Tool Help for the walk, OpenProcess and
// the psapi, time and token queries for each process.

#include <windows.h>

#include "process/process_platform.h"

namespace kelvane {

class WindowsProcessPlatform : public ProcessPlatform {
 public:
  std::optional<PlatformVersion> version() override;
  std::vector<ProcessWalkEntry> walkProcesses() override;
  ProcessHandle openProcess(std::uint32_t processId, std::uint32_t access) override;
  void closeProcess(ProcessHandle process) override;
  std::optional<std::string> fullProcessImageName(ProcessHandle process) override;
  std::optional<std::string> processImageFileName(ProcessHandle process) override;
  std::optional<std::string> mainModuleFileName(ProcessHandle process) override;
  std::optional<std::string> dosDeviceOf(const std::string& drive) override;
  ProcessMemoryCounters memoryCounters(ProcessHandle process) override;
  std::optional<ProcessCreationTime> creationTime(ProcessHandle process) override;
  std::optional<AccountName> tokenOwner(ProcessHandle process) override;
  std::uint32_t openFailure() override;
  bool isRunning(ProcessHandle process) override;
  std::uint32_t terminate(ProcessHandle process) override;
  std::uint32_t trimWorkingSet(ProcessHandle process) override;
  std::optional<std::uint32_t> sessionOf(std::uint32_t processId) override;
  std::optional<std::uint32_t> ownSession() override;
  std::string errorMessage(std::uint32_t code) override;

 private:
  std::uint32_t openFailure_ = 0;
};

// The platform's last error as the snapshot raises it: the system's code and text.
[[noreturn]] void throwLastProcessError();

}  // namespace kelvane
