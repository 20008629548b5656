#include "process/process_list.h"

#include <stdexcept>
#include <utility>

#include "common/ascii_text.h"

namespace kelvane {

namespace {

constexpr std::uint32_t kNtPlatform = 2;

// Days from 1 January 1970 in the proleptic Gregorian calendar.
long long daysFromCivil(long long year, unsigned month, unsigned day) {
  year -= month <= 2 ? 1 : 0;
  const long long era = (year >= 0 ? year : year - 399) / 400;
  const long long yearOfEra = year - era * 400;
  const long long dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
  const long long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

}  // namespace

SystemGeneration systemGenerationOf(const PlatformVersion& version) {
  const bool nt = version.platformId == kNtPlatform;
  SystemGeneration generation;
  generation.vistaOrLater = version.major > 5;
  generation.xpOrLater = (nt && version.major == 5 && version.minor > 0) || version.major > 5;
  generation.w2000OrLater = nt && version.major > 4;
  return generation;
}

double dayCountFromCalendar(const CalendarTime& time) {
  const long long days = daysFromCivil(time.year, static_cast<unsigned>(time.month),
                                       static_cast<unsigned>(time.day)) -
                         daysFromCivil(1899, 12, 30);
  const double milliseconds =
      ((time.hour * 60.0 + time.minute) * 60.0 + time.second) * 1000.0 + time.milliseconds;
  return static_cast<double>(days) + milliseconds / 86400000.0;
}

SystemGeneration TNxProcessList::generation() {
  const std::optional<PlatformVersion> version = platform_.version();
  return version ? systemGenerationOf(*version) : SystemGeneration{};
}

void TNxProcessList::Refresh(bool usePagefile) {
  Clear();
  for (const ProcessWalkEntry& entry : platform_.walkProcesses()) {
    // The idle pseudo-process has id 0 and is not a process one can show or act on. It is
    // skipped by its id rather than by its place: not every system walks it first, or at all.
    if (entry.processId == 0) continue;
    TNxProcessRec record;
    record.Name = entry.exeName;
    record.Path = GetProcessFilePath(entry.processId);
    std::string user, domain;
    if (GetProcessOwner(entry.processId, user, domain)) {
      record.UserName = std::move(user);
      record.Domain = std::move(domain);
    }
    // A process that opens but will not tell its counters or times (it may be ending, or be
    // protected) is listed without them: one such process must not cost the user the menu.
    try {
      if (const std::optional<ProcessCreationTime> created = creationTimeOf(entry.processId)) {
        record.CreationTime = dayCountFromCalendar(created->local);
        record.CreationTimeUtc = created->utc;
      }
    } catch (const ProcessQueryError&) {
      record.CreationTime = 0;
      record.CreationTimeUtc = 0;
    }
    try {
      record.Memory = GetProcessMemory(entry.processId, 0, usePagefile);
    } catch (const ProcessQueryError&) {
      record.Memory = 0;
    }
    record.UsageCount = entry.usageCount;
    record.ProcessId = entry.processId;
    record.DefaultHeapId = entry.defaultHeapId;
    record.ModuleId = entry.moduleId;
    record.ThreadCount = entry.threadCount;
    record.ParentProcessId = entry.parentProcessId;
    record.BasePriority = entry.basePriority;
    record.InstanceCount = 0;
    Items.push_back(std::move(record));
  }
}

void TNxProcessList::GetItem(int index, TNxProcessRec& record) const {
  if (index < 0 || index >= Count()) throw std::out_of_range("Index out of bounds");
  record = Items[static_cast<std::size_t>(index)];
}

void TNxProcessList::Delete(int index) {
  if (index < 0 || index >= Count())
    throw std::out_of_range("List index out of bounds (" + std::to_string(index) + ")");
  Items.erase(Items.begin() + index);
}

void TNxProcessList::Clear() {
  while (!Items.empty()) Items.pop_back();
}

std::string TNxProcessList::GetProcessFilePath(std::uint32_t processId) {
  const SystemGeneration system = generation();
  const std::uint32_t access =
      system.vistaOrLater ? kProcessQueryLimitedInformation : kProcessQueryInformation | kProcessVmRead;
  const OpenedProcess process(platform_, processId, access);
  if (!process) return {};
  // One query per generation: a failure on a newer system does not fall back to older calls,
  // which would need rights the handle does not have.
  if (system.vistaOrLater) return platform_.fullProcessImageName(process.get()).value_or("");
  if (system.xpOrLater) {
    const std::optional<std::string> devicePath = platform_.processImageFileName(process.get());
    return devicePath ? DevicePathToDrivePath(*devicePath) : std::string{};
  }
  if (system.w2000OrLater) {
    std::string path = platform_.mainModuleFileName(process.get()).value_or("");
    if (path.compare(0, 4, "\\??\\") == 0) path.erase(0, 4);
    return path;
  }
  return {};
}

std::string TNxProcessList::DevicePathToDrivePath(const std::string& devicePath) {
  // "\Device\HarddiskVolume2\Windows\explorer.exe": the device part ends at the third backslash.
  const std::size_t second = devicePath.find('\\', 1);
  if (second == std::string::npos) return {};
  const std::size_t third = devicePath.find('\\', second + 1);
  if (third == std::string::npos) return {};
  const std::string device = devicePath.substr(0, third);
  const std::string tail = devicePath.substr(third);
  for (char letter = 'a'; letter <= 'z'; ++letter) {
    const std::string drive{letter, ':'};
    const std::optional<std::string> target = platform_.dosDeviceOf(drive);
    if (target && equalsIgnoringAsciiCase(*target, device)) return drive + tail;
  }
  return {};
}

std::uint64_t TNxProcessList::GetProcessMemory(std::uint32_t processId, int unit, bool usePagefile) {
  const std::uint32_t access =
      generation().vistaOrLater ? kProcessQueryLimitedInformation : kProcessAllAccess;
  const OpenedProcess process(platform_, processId, access);
  if (!process) return 0;
  const ProcessMemoryCounters counters = platform_.memoryCounters(process.get());
  const std::uint64_t bytes = usePagefile ? counters.pagefileUsage : counters.workingSetSize;
  switch (unit) {
    case 0: return bytes;
    case 1: return bytes >> 10;
    case 2: return bytes >> 20;
    case 3: return bytes >> 30;
    default: return 0;
  }
}

std::optional<ProcessCreationTime> TNxProcessList::creationTimeOf(std::uint32_t processId) {
  // Reading the times needs no more than the memory query does; asking for all access would
  // leave the time out for every process that a limited handle can read.
  const std::uint32_t access =
      generation().vistaOrLater ? kProcessQueryLimitedInformation : kProcessAllAccess;
  const OpenedProcess process(platform_, processId, access);
  if (!process) return std::nullopt;
  return platform_.creationTime(process.get());
}

double TNxProcessList::GetProcessCreationTime(std::uint32_t processId) {
  const std::optional<ProcessCreationTime> created = creationTimeOf(processId);
  return created ? dayCountFromCalendar(created->local) : 0;
}

std::uint64_t TNxProcessList::GetProcessCreationTimeUtc(std::uint32_t processId) {
  const std::optional<ProcessCreationTime> created = creationTimeOf(processId);
  return created ? created->utc : 0;
}

bool TNxProcessList::GetProcessOwner(std::uint32_t processId, std::string& user, std::string& domain) {
  const OpenedProcess process(platform_, processId, kProcessQueryInformation);
  if (!process) return false;
  const std::optional<AccountName> owner = platform_.tokenOwner(process.get());
  if (!owner) return false;
  user = owner->user;
  domain = owner->domain;
  return true;
}

}  // namespace kelvane
