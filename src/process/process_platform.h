#pragma once
// What the process snapshot needs from the system, as plain calls: the walk, opening a process
// with given access rights, and the per-handle queries. The Windows shell implements it with the
// real process interfaces; tests give it a fake machine.

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace kelvane {

// One entry of the system's process walk.
struct ProcessWalkEntry {
  std::string exeName;  // bare file name, UTF-8
  std::uint32_t usageCount = 0;
  std::uint32_t processId = 0;
  std::uint32_t defaultHeapId = 0;
  std::uint32_t moduleId = 0;
  std::uint32_t threadCount = 0;
  std::uint32_t parentProcessId = 0;
  std::int32_t basePriority = 0;
};

struct PlatformVersion {
  std::uint32_t platformId = 0;  // 2: the NT platform
  std::uint32_t major = 0;
  std::uint32_t minor = 0;
};

struct ProcessMemoryCounters {
  std::uint64_t workingSetSize = 0;
  std::uint64_t pagefileUsage = 0;
};

// Local calendar time, as the system's time conversion hands it out.
struct CalendarTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, milliseconds = 0;
};

// When a process started: the system's own count (100-nanosecond intervals since 1601, UTC),
// which no change of time zone or daylight saving touches, and that moment in local time.
struct ProcessCreationTime {
  std::uint64_t utc = 0;
  CalendarTime local;
};

struct AccountName {
  std::string user;
  std::string domain;
};

// A platform call failed on a process that could be opened: the system's error code and its text.
class ProcessQueryError : public std::runtime_error {
 public:
  ProcessQueryError(std::uint32_t code, const std::string& text)
      : std::runtime_error(text), code_(code) {}
  std::uint32_t code() const { return code_; }

 private:
  std::uint32_t code_;
};

class ProcessPlatform {
 public:
  using ProcessHandle = std::uintptr_t;  // 0: the process could not be opened

  virtual ~ProcessPlatform() = default;

  virtual std::optional<PlatformVersion> version() = 0;
  // Every entry in walk order; nothing when the walk is not available or the snapshot failed.
  virtual std::vector<ProcessWalkEntry> walkProcesses() = 0;

  virtual ProcessHandle openProcess(std::uint32_t processId, std::uint32_t access) = 0;
  virtual void closeProcess(ProcessHandle process) = 0;

  // The three image-path queries; nothing when the function is missing or the call fails or
  // returns no text. Texts are UTF-8.
  virtual std::optional<std::string> fullProcessImageName(ProcessHandle process) = 0;  // Win32 form
  virtual std::optional<std::string> processImageFileName(ProcessHandle process) = 0;  // NT device form
  virtual std::optional<std::string> mainModuleFileName(ProcessHandle process) = 0;
  // The first device name behind a drive such as "c:"; nothing when the call fails.
  virtual std::optional<std::string> dosDeviceOf(const std::string& drive) = 0;

  // These two throw ProcessQueryError when the call fails.
  virtual ProcessMemoryCounters memoryCounters(ProcessHandle process) = 0;
  // Nothing when the process reports no creation time.
  virtual std::optional<ProcessCreationTime> creationTime(ProcessHandle process) = 0;

  // The account owning the process's token; nothing when any step fails.
  virtual std::optional<AccountName> tokenOwner(ProcessHandle process) = 0;

  // What the process actions need. The system's error code of the last openProcess that gave
  // 0; 0 after one that succeeded.
  virtual std::uint32_t openFailure() = 0;
  // Whether the process behind a handle opened with synchronize rights still runs.
  virtual bool isRunning(ProcessHandle process) = 0;
  // Each returns 0, or the system's error code when the call failed.
  virtual std::uint32_t terminate(ProcessHandle process) = 0;       // exit code 0
  virtual std::uint32_t trimWorkingSet(ProcessHandle process) = 0;  // as many pages as it can
  // The session a process runs in (every logged-on user has one of their own), and this
  // program's; nothing when the system will not say.
  virtual std::optional<std::uint32_t> sessionOf(std::uint32_t processId) = 0;
  virtual std::optional<std::uint32_t> ownSession() = 0;
  // The system's message for an error code; empty when it has none.
  virtual std::string errorMessage(std::uint32_t code) = 0;
};

// A process opened through the platform, closed on every way out, the error paths included.
class OpenedProcess {
 public:
  OpenedProcess(ProcessPlatform& platform, std::uint32_t processId, std::uint32_t access)
      : platform_(platform), handle_(platform.openProcess(processId, access)) {}
  ~OpenedProcess() {
    if (handle_) platform_.closeProcess(handle_);
  }
  OpenedProcess(const OpenedProcess&) = delete;
  OpenedProcess& operator=(const OpenedProcess&) = delete;
  explicit operator bool() const { return handle_ != 0; }
  ProcessPlatform::ProcessHandle get() const { return handle_; }

 private:
  ProcessPlatform& platform_;
  ProcessPlatform::ProcessHandle handle_;
};

}  // namespace kelvane
