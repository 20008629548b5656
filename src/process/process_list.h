#pragma once
// A snapshot of the running processes, one record each, taken anew on every refresh. The tray
// menu makes one each time it opens and throws it away afterwards; nothing is kept in between.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "process/process_platform.h"

namespace kelvane {

struct TNxProcessRec {
  std::string Name;      // executable file name as the walk reports it, UTF-8
  std::string Path;      // full path with a drive letter; empty when it cannot be determined
  std::string UserName;  // owner account; empty when not available
  std::string Domain;    // owner's domain or computer; empty when not available
  double CreationTime = 0;  // local time, days since 30 December 1899; 0 when not available
  std::uint64_t CreationTimeUtc = 0;  // the system's count (ProcessCreationTime::utc); 0 likewise
  // Bytes: working set, or page-file usage when asked for. 64 bits, since a 64-bit process can
  // pass 4 GB and a wrapped figure would sort and highlight it as a small one.
  std::uint64_t Memory = 0;
  std::uint32_t UsageCount = 0;
  std::uint32_t ProcessId = 0;
  std::uint32_t DefaultHeapId = 0;
  std::uint32_t ModuleId = 0;
  std::uint32_t ThreadCount = 0;
  std::uint32_t ParentProcessId = 0;
  std::int32_t BasePriority = 0;
  std::int32_t InstanceCount = 0;  // 0 when filled; the menu counts merged instances here
};

// Generations of the NT platform that decide which path query and access rights are used.
struct SystemGeneration {
  bool vistaOrLater = false;
  bool xpOrLater = false;
  bool w2000OrLater = false;
};
SystemGeneration systemGenerationOf(const PlatformVersion& version);

// Access rights, as the platform defines them.
inline constexpr std::uint32_t kProcessQueryLimitedInformation = 0x1000;
inline constexpr std::uint32_t kProcessQueryInformation = 0x400;
inline constexpr std::uint32_t kProcessVmRead = 0x10;
inline constexpr std::uint32_t kProcessAllAccess = 0x1F0FFF;  // the value every NT system accepts
inline constexpr std::uint32_t kProcessTerminate = 0x1;
inline constexpr std::uint32_t kProcessSetQuota = 0x100;
inline constexpr std::uint32_t kSynchronize = 0x100000;

// Local calendar time as a day count from 30 December 1899, the fraction being the time of day.
double dayCountFromCalendar(const CalendarTime& time);

class TNxProcessList {
 public:
  explicit TNxProcessList(ProcessPlatform& platform) : platform_(platform) {}
  ~TNxProcessList() { Clear(); }
  TNxProcessList(const TNxProcessList&) = delete;
  TNxProcessList& operator=(const TNxProcessList&) = delete;

  // Walk order until a user sorts it; users may change Memory and InstanceCount in place.
  std::vector<TNxProcessRec> Items;

  // Discards every record and walks the processes again; usePagefile picks page-file usage
  // instead of the working set for every record. A process whose counters or creation time
  // cannot be read although it opened is listed with Memory 0 (or CreationTime 0).
  void Refresh(bool usePagefile);
  int Count() const { return static_cast<int>(Items.size()); }
  // Copies the record at a 0-based index; std::out_of_range "Index out of bounds" otherwise.
  void GetItem(int index, TNxProcessRec& record) const;
  // Removes the record at the index; std::out_of_range when there is none.
  void Delete(int index);
  void Clear();

  std::string GetProcessFilePath(std::uint32_t processId);
  // "\Device\HarddiskVolume2\Windows\explorer.exe" -> "c:\Windows\explorer.exe" when drive c:
  // stands for that device; empty when no drive does.
  std::string DevicePathToDrivePath(const std::string& devicePath);
  // unit: 0 bytes, 1 KB, 2 MB, 3 GB (truncated); any other unit gives 0. 0 when the process
  // cannot be opened.
  std::uint64_t GetProcessMemory(std::uint32_t processId, int unit, bool usePagefile);
  double GetProcessCreationTime(std::uint32_t processId);
  // The system's own count for the same moment, which identifies a process across changes of
  // the time zone; 0 when the process cannot be opened or reports none.
  std::uint64_t GetProcessCreationTimeUtc(std::uint32_t processId);
  bool GetProcessOwner(std::uint32_t processId, std::string& user, std::string& domain);

 private:
  SystemGeneration generation();
  std::optional<ProcessCreationTime> creationTimeOf(std::uint32_t processId);

  ProcessPlatform& platform_;
};

}  // namespace kelvane
