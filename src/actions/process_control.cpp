#include "actions/process_control.h"

#include <cstdint>
#include <optional>

#include "actions/process_dialog.h"
#include "common/language.h"
#include "memory/memory_status.h"
#include "process/process_list.h"

namespace kelvane {

namespace {

constexpr std::uint32_t kNoSuchProcess = 87;  // ERROR_INVALID_PARAMETER: the id names no process

// The right to ask about a process, as the system has it, and to wait for it.
std::uint32_t queryAccess(ProcessPlatform& platform) {
  const std::optional<PlatformVersion> version = platform.version();
  return (version && systemGenerationOf(*version).vistaOrLater ? kProcessQueryLimitedInformation
                                                                : kProcessQueryInformation) |
         kSynchronize;
}

// The right the action needs, and the two that let the checks and the wait work on its handle.
std::uint32_t actionAccess(ProcessPlatform& platform, bool end) {
  return (end ? kProcessTerminate : kProcessSetQuota) | queryAccess(platform);
}

std::string failureText(ProcessPlatform& platform, bool end, const std::string& name, std::uint32_t error) {
  std::string message = platform.errorMessage(error);
  if (message.empty()) message.append("System error (").append(std::to_string(error)).append(")");
  return ProcessActionFailureText(end, name, message);
}

bool stillTheSame(TNxProcessList& list, std::uint32_t processId, const std::string& path,
                  std::uint64_t creationTime) {
  try {
    return IsSameProcess(path, creationTime, list.GetProcessFilePath(processId),
                         list.GetProcessCreationTimeUtc(processId));
  } catch (const ProcessQueryError&) {
    return false;  // a process that will not say when it started cannot be told from another
  }
}

// The handle is opened before the checks: while it is open the id cannot pass to another
// process, so the checks and the action reach the same one.
std::string actOn(ProcessPlatform& platform, TNxProcessList& list, std::uint32_t processId,
                  const std::string& name, const std::string& path, std::uint64_t creationTime, bool end) {
  const OpenedProcess process(platform, processId, actionAccess(platform, end));
  if (!process) {
    const std::uint32_t error = platform.openFailure();
    // A process that has ended is what the user wanted or will see anyway.
    return error == kNoSuchProcess ? std::string() : failureText(platform, end, name, error);
  }
  if (!platform.isRunning(process.get()) || !stillTheSame(list, processId, path, creationTime)) return {};
  const std::uint32_t error = end ? platform.terminate(process.get()) : platform.trimWorkingSet(process.get());
  return error == 0 ? std::string() : failureText(platform, end, name, error);
}

std::optional<std::uint64_t> workingSetOf(ProcessPlatform& platform, TNxProcessList& list, std::uint32_t processId,
                                          const std::string& path, std::uint64_t creationTime) {
  const OpenedProcess process(platform, processId, queryAccess(platform));
  if (!process || !platform.isRunning(process.get()) || !stillTheSame(list, processId, path, creationTime))
    return std::nullopt;
  try {
    return platform.memoryCounters(process.get()).workingSetSize;
  } catch (const ProcessQueryError&) {
    return std::nullopt;  // a process that will not say is as good as gone for the figure
  }
}

}  // namespace

std::optional<std::uint64_t> EntryWorkingSet(ProcessPlatform& platform, const ProcessItem& item, bool usePagefile) {
  TNxProcessList list(platform);
  if (!item.unified) return workingSetOf(platform, list, item.processId, item.path, item.creationTime);
  list.Refresh(usePagefile);
  const std::optional<std::uint32_t> session = platform.ownSession();
  std::optional<std::uint64_t> sum;
  for (const TNxProcessRec& record : InstancesOf(list.Items, item.path)) {
    if (!session || platform.sessionOf(record.ProcessId) != session) continue;
    if (const auto bytes = workingSetOf(platform, list, record.ProcessId, record.Path, record.CreationTimeUtc))
      sum = sum.value_or(0) + *bytes;
  }
  return sum;
}

std::string ProcessReleaseFeedback(const std::string& name, std::optional<std::uint64_t> before,
                                   std::optional<std::uint64_t> after, const NumberFormat& format) {
  if (!before || !after || *after >= *before) return tr(TextId::ProcessNothingReleased, {{"name", name}});
  return tr(TextId::ProcessReleased,
            {{"name", name}, {"size", SizeText(static_cast<std::int64_t>(*before - *after), format)}});
}

std::string ProcessActionFailureText(bool end, const std::string& name, const std::string& message) {
  return tr(end ? TextId::ProcessEndFailed : TextId::ProcessReleaseFailed, {{"name", name}, {"error", message}});
}

std::string EndOrReleaseProcess(ProcessPlatform& platform, const ProcessItem& item, bool end) {
  TNxProcessList list(platform);
  return actOn(platform, list, item.processId, item.name, item.path, item.creationTime, end);
}

std::string ApplyToAllInstances(ProcessPlatform& platform, const std::string& path, bool end, bool usePagefile,
                                std::uint32_t thisProgram, bool* thisProgramAmong) {
  TNxProcessList list(platform);
  list.Refresh(usePagefile);
  const std::optional<std::uint32_t> session = platform.ownSession();
  std::string firstFailure;
  for (const TNxProcessRec& record : InstancesOf(list.Items, path)) {
    if (!session || platform.sessionOf(record.ProcessId) != session) continue;
    if (end && thisProgram != 0 && record.ProcessId == thisProgram) {
      if (thisProgramAmong) *thisProgramAmong = true;
      continue;
    }
    std::string failure =
        actOn(platform, list, record.ProcessId, record.Name, record.Path, record.CreationTimeUtc, end);
    if (firstFailure.empty()) firstFailure = std::move(failure);
  }
  return firstFailure;
}

}  // namespace kelvane
