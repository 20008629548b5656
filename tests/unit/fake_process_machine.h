#pragma once
// A machine of processes behind the process layer's interface, for the snapshot and the
// process actions: each process grants only the rights it is given, refuses the rest as the
// system does (access denied), and remembers what was done to it.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "process/process_list.h"
#include "process/process_platform.h"

namespace kelvane::testing {

constexpr std::uint32_t kAccessDenied = 5;
constexpr std::uint32_t kInvalidParameter = 87;

struct FakeProcess {
  std::uint32_t grantedAccess = kProcessAllAccess | kProcessQueryLimitedInformation;
  std::optional<std::string> fullName, deviceName, moduleName;
  ProcessMemoryCounters counters;
  bool countersFail = false;
  std::optional<ProcessCreationTime> created;
  std::optional<AccountName> owner;
  std::optional<std::uint32_t> session = 1;
  bool running = true;
  std::uint32_t actionError = 0;  // what ending or trimming it fails with; 0: it works
};

class FakeMachine : public ProcessPlatform {
 public:
  PlatformVersion systemVersion{2, 10, 0};
  std::vector<ProcessWalkEntry> walk;
  std::map<std::uint32_t, FakeProcess> processes;
  std::map<std::string, std::string> drives;  // "c:" -> device
  std::optional<std::uint32_t> ownSessionId = 1;
  int openHandles = 0;
  int deviceQueries = 0;
  std::uint32_t lastOpenError = 0;
  std::vector<std::uint32_t> actionRights;  // asked for by each open that could end or trim
  std::vector<std::uint32_t> ended, trimmed;

  void add(std::uint32_t id, const std::string& name, FakeProcess process) {
    ProcessWalkEntry entry;
    entry.exeName = name;
    entry.processId = id;
    walk.push_back(entry);
    processes[id] = std::move(process);
  }

  std::optional<PlatformVersion> version() override { return systemVersion; }
  std::vector<ProcessWalkEntry> walkProcesses() override { return walk; }
  ProcessHandle openProcess(std::uint32_t id, std::uint32_t access) override {
    if (access & (kProcessTerminate | kProcessSetQuota)) actionRights.push_back(access);
    const auto found = processes.find(id);
    lastOpenError = found == processes.end() ? kInvalidParameter
                    : (access & ~found->second.grantedAccess) != 0 ? kAccessDenied
                                                                    : 0;
    if (lastOpenError != 0) return 0;
    ++openHandles;
    return id + 1000;
  }
  void closeProcess(ProcessHandle) override { --openHandles; }
  std::optional<std::string> fullProcessImageName(ProcessHandle h) override { return of(h).fullName; }
  std::optional<std::string> processImageFileName(ProcessHandle h) override { return of(h).deviceName; }
  std::optional<std::string> mainModuleFileName(ProcessHandle h) override { return of(h).moduleName; }
  std::optional<std::string> dosDeviceOf(const std::string& drive) override {
    ++deviceQueries;
    const auto found = drives.find(drive);
    if (found == drives.end()) return std::nullopt;
    return found->second;
  }
  ProcessMemoryCounters memoryCounters(ProcessHandle h) override {
    if (of(h).countersFail) throw ProcessQueryError(299, "Only part of a request was completed.");
    return of(h).counters;
  }
  std::optional<ProcessCreationTime> creationTime(ProcessHandle h) override { return of(h).created; }
  std::optional<AccountName> tokenOwner(ProcessHandle h) override { return of(h).owner; }
  std::uint32_t openFailure() override { return lastOpenError; }
  bool isRunning(ProcessHandle h) override { return of(h).running; }
  std::uint32_t terminate(ProcessHandle h) override { return act(h, ended); }
  std::uint32_t trimWorkingSet(ProcessHandle h) override { return act(h, trimmed); }
  std::optional<std::uint32_t> sessionOf(std::uint32_t id) override {
    const auto found = processes.find(id);
    return found == processes.end() ? std::nullopt : found->second.session;
  }
  std::optional<std::uint32_t> ownSession() override { return ownSessionId; }
  std::string errorMessage(std::uint32_t code) override { return code == kAccessDenied ? "拒绝访问。" : ""; }

 private:
  static std::uint32_t idOf(ProcessHandle h) { return static_cast<std::uint32_t>(h - 1000); }
  FakeProcess& of(ProcessHandle h) { return processes.at(idOf(h)); }
  std::uint32_t act(ProcessHandle h, std::vector<std::uint32_t>& done) {
    if (of(h).actionError == 0) done.push_back(idOf(h));
    return of(h).actionError;
  }
};

// 2000-01-01 12:00 in the system's count, and in local time on a machine at UTC.
constexpr std::uint64_t kNoonOfMillennium = 125911584000000000ULL + 12ULL * 3600 * 10'000'000;

inline FakeProcess openable(std::uint64_t workingSet, std::uint64_t pagefile) {
  FakeProcess process;
  process.fullName = "C:\\Programs\\app.exe";
  process.counters = {workingSet, pagefile};
  process.created = ProcessCreationTime{kNoonOfMillennium, CalendarTime{2000, 1, 1, 12, 0, 0, 0}};
  process.owner = AccountName{"alice", "HOST"};
  return process;
}

}  // namespace kelvane::testing
