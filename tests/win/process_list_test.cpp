#include "process/process_list.h"

#include <windows.h>
#include <gtest/gtest.h>
#include <psapi.h>

#include <algorithm>
#include <set>

#include "common/handles_win.h"
#include "common/text_win.h"
#include "process/process_platform_win.h"

using namespace kelvane;

namespace {

std::wstring lowered(std::wstring text) {
  CharLowerBuffW(text.data(), static_cast<DWORD>(text.size()));
  return text;
}

bool sameFile(const std::string& a, const std::wstring& b) { return lowered(toWide(a)) == lowered(b); }

std::wstring ownPath() {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  return std::wstring(path, length);
}

std::wstring fileNameOf(const std::wstring& path) { return path.substr(path.find_last_of(L'\\') + 1); }

const TNxProcessRec* findById(const TNxProcessList& list, DWORD processId) {
  for (const TNxProcessRec& record : list.Items)
    if (record.ProcessId == processId) return &record;
  return nullptr;
}

const TNxProcessRec* findByName(const TNxProcessList& list, const std::wstring& name) {
  for (const TNxProcessRec& record : list.Items)
    if (sameFile(record.Name, name)) return &record;
  return nullptr;
}

std::set<std::uint32_t> idsOf(const TNxProcessList& list) {
  std::set<std::uint32_t> ids;
  for (const TNxProcessRec& record : list.Items) ids.insert(record.ProcessId);
  return ids;
}

PROCESS_MEMORY_COUNTERS countersOf(HANDLE process) {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  EXPECT_TRUE(GetProcessMemoryInfo(process, &counters, sizeof counters));
  return counters;
}

double localNowAsDayCount() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return dayCountFromCalendar(
      {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds});
}

// The desktop process runs only while some process of the session owns a window; the tests
// hold one so that it is there (and stays) whatever ran before them.
class DesktopPresence {
 public:
  DesktopPresence()
      : window_(CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr)) {}
  bool waitForDesktop(TNxProcessList& list) {
    for (int attempt = 0; attempt < 40; ++attempt) {
      list.Refresh(false);
      if (findByName(list, L"explorer.exe")) return true;
      Sleep(250);
    }
    return false;
  }

 private:
  UniqueWindow window_;
};

// A command interpreter without a window or console that waits on a pipe for commands until it is ended.
class IdleChild {
 public:
  IdleChild() {
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    HANDLE reader = nullptr, writer = nullptr;
    if (!CreatePipe(&reader, &writer, &inheritable, 0)) return;
    stdinReader_.reset(reader);
    stdinWriter_.reset(writer);
    SetHandleInformation(writer, HANDLE_FLAG_INHERIT, 0);
    nul_.reset(CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &inheritable, OPEN_EXISTING, 0,
                           nullptr));
    wchar_t system[MAX_PATH];
    GetSystemDirectoryW(system, MAX_PATH);
    std::wstring commandLine = L"\"" + std::wstring(system) + L"\\cmd.exe\" /q";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = reader;
    startup.hStdOutput = nul_.get();
    startup.hStdError = nul_.get();
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, DETACHED_PROCESS,
                        nullptr, nullptr, &startup, &started))
      return;
    process_.reset(started.hProcess);
    CloseHandle(started.hThread);
    id_ = started.dwProcessId;
    WaitForInputIdle(process_.get(), 2000);
  }
  ~IdleChild() { end(); }
  IdleChild(const IdleChild&) = delete;
  IdleChild& operator=(const IdleChild&) = delete;

  void end() {
    if (!process_) return;
    TerminateProcess(process_.get(), 0);
    WaitForSingleObject(process_.get(), 10000);
    process_.reset();
  }
  bool running() const { return process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT; }
  HANDLE handle() const { return process_.get(); }
  DWORD id() const { return id_; }

 private:
  UniqueKernelHandle stdinReader_, stdinWriter_, nul_, process_;
  DWORD id_ = 0;
};

// The same system seen as an older generation, to run the device-path and module-path queries
// for real.
class OlderSystem : public WindowsProcessPlatform {
 public:
  explicit OlderSystem(PlatformVersion version) : version_(version) {}
  std::optional<PlatformVersion> version() override { return version_; }

 private:
  PlatformVersion version_;
};

// Waits until two snapshots in a row show the same processes, so that a short-lived helper of
// the session does not count as the child.
std::set<std::uint32_t> settledIds(TNxProcessList& list) {
  list.Refresh(false);
  std::set<std::uint32_t> previous = idsOf(list);
  for (int attempt = 0; attempt < 20; ++attempt) {
    Sleep(250);
    list.Refresh(false);
    std::set<std::uint32_t> current = idsOf(list);
    if (current == previous) return current;
    previous = std::move(current);
  }
  return previous;
}

}  // namespace

TEST(ProcessListSnapshot, ListsThisProcessWithItsPathMemoryOwnerAndTime) {
  WindowsProcessPlatform platform;
  TNxProcessList list(platform);
  DesktopPresence desktop;
  ASSERT_TRUE(desktop.waitForDesktop(list));
  const double before = localNowAsDayCount();
  list.Refresh(false);
  const PROCESS_MEMORY_COUNTERS own = countersOf(GetCurrentProcess());

  const TNxProcessRec* self = findById(list, GetCurrentProcessId());
  ASSERT_NE(self, nullptr) << "the test process is missing from " << list.Count() << " records";
  EXPECT_TRUE(sameFile(self->Name, fileNameOf(ownPath()))) << self->Name;
  EXPECT_TRUE(sameFile(self->Path, ownPath())) << self->Path;
  EXPECT_GT(self->Memory, 1024u * 1024u);
  EXPECT_NEAR(static_cast<double>(self->Memory), static_cast<double>(own.WorkingSetSize),
              0.1 * static_cast<double>(own.WorkingSetSize));
  EXPECT_GE(self->ThreadCount, 1u);
  EXPECT_EQ(self->InstanceCount, 0);

  wchar_t user[256];
  DWORD userLength = 256;
  ASSERT_TRUE(GetUserNameW(user, &userLength));
  EXPECT_TRUE(sameFile(self->UserName, user)) << self->UserName;
  EXPECT_FALSE(self->Domain.empty());

  // Started before this snapshot, and not long before (the whole test run takes minutes).
  EXPECT_LE(self->CreationTime, before + 1.0 / 86400);
  EXPECT_GT(self->CreationTime, before - 1.0 / 24);
  // And the system's own count of that moment, as the process actions compare it.
  FILETIME created{}, exited{}, kernelTime{}, userTime{};
  ASSERT_TRUE(GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernelTime, &userTime));
  EXPECT_EQ(self->CreationTimeUtc, (std::uint64_t{created.dwHighDateTime} << 32) | created.dwLowDateTime);

  for (const wchar_t* name : {L"explorer.exe", L"services.exe"}) {
    const TNxProcessRec* found = findByName(list, name);
    ASSERT_NE(found, nullptr) << toUtf8(name);
    EXPECT_EQ(lowered(fileNameOf(toWide(found->Path))), name) << found->Path;
    EXPECT_GT(found->Memory, 0u) << toUtf8(name);
  }
}

TEST(ProcessListSnapshot, CountGrowsByTheChildAloneAndItsCountersMatchTheSystemsFigures) {
  WindowsProcessPlatform platform;
  TNxProcessList list(platform);
  DesktopPresence desktop;
  ASSERT_TRUE(desktop.waitForDesktop(list));
  const std::set<std::uint32_t> before = settledIds(list);

  IdleChild child;
  ASSERT_TRUE(child.running());
  Sleep(300);
  list.Refresh(false);
  std::set<std::uint32_t> expected = before;
  expected.insert(child.id());
  EXPECT_EQ(idsOf(list), expected);
  EXPECT_EQ(list.Count(), static_cast<int>(before.size()) + 1);

  const TNxProcessRec* record = findById(list, child.id());
  ASSERT_NE(record, nullptr);
  EXPECT_TRUE(sameFile(record->Name, L"cmd.exe")) << record->Name;
  EXPECT_EQ(record->ParentProcessId, GetCurrentProcessId());
  const PROCESS_MEMORY_COUNTERS counters = countersOf(child.handle());
  EXPECT_NEAR(static_cast<double>(record->Memory), static_cast<double>(counters.WorkingSetSize),
              0.05 * static_cast<double>(counters.WorkingSetSize));

  // The page-file setting reads the other counter of the same process.
  list.Refresh(true);
  record = findById(list, child.id());
  ASSERT_NE(record, nullptr);
  const PROCESS_MEMORY_COUNTERS pagefile = countersOf(child.handle());
  EXPECT_NEAR(static_cast<double>(record->Memory), static_cast<double>(pagefile.PagefileUsage),
              0.05 * static_cast<double>(pagefile.PagefileUsage));
  EXPECT_NE(pagefile.PagefileUsage, pagefile.WorkingSetSize);
  EXPECT_EQ(list.GetProcessMemory(child.id(), 1, false), countersOf(child.handle()).WorkingSetSize >> 10);

  child.end();
  list.Refresh(false);
  EXPECT_EQ(idsOf(list), before);
}

TEST(ProcessListSnapshot, OlderGenerationsFindTheSamePathThroughDevicesAndModules) {
  const std::wstring own = ownPath();

  OlderSystem xp({2, 5, 1});
  TNxProcessList xpList(xp);
  const std::string viaDevice = xpList.GetProcessFilePath(GetCurrentProcessId());
  EXPECT_TRUE(sameFile(viaDevice, own)) << viaDevice;
  ASSERT_FALSE(viaDevice.empty());
  EXPECT_TRUE(viaDevice[0] >= 'a' && viaDevice[0] <= 'z') << viaDevice;  // converted letters are lower case

  OlderSystem w2000({2, 5, 0});
  TNxProcessList w2000List(w2000);
  const std::string viaModule = w2000List.GetProcessFilePath(GetCurrentProcessId());
  EXPECT_TRUE(sameFile(viaModule, own)) << viaModule;

  // The device behind the drive of this program, in upper case, maps back to the lower-case letter.
  wchar_t device[1000];
  const std::wstring drive = own.substr(0, 2);
  ASSERT_GT(QueryDosDeviceW(drive.c_str(), device, 1000), 0u);
  const std::string upperDevice = toUtf8(lowered(device)).c_str();
  std::string shouted = upperDevice;
  std::transform(shouted.begin(), shouted.end(), shouted.begin(),
                 [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; });
  EXPECT_EQ(xpList.DevicePathToDrivePath(shouted + "\\Folder\\x.exe"),
            toUtf8(lowered(drive)) + "\\Folder\\x.exe");
  EXPECT_EQ(xpList.DevicePathToDrivePath("\\Device\\NoSuchVolume7\\x.exe"), "");
}

TEST(ProcessListSnapshot, UnreadableCountersRaiseTheSystemError) {
  WindowsProcessPlatform platform;
  // A handle good for waiting only: it opens, but its counters cannot be read.
  const UniqueKernelHandle waitOnly(OpenProcess(SYNCHRONIZE, FALSE, GetCurrentProcessId()));
  ASSERT_TRUE(waitOnly);
  try {
    platform.memoryCounters(reinterpret_cast<ProcessPlatform::ProcessHandle>(waitOnly.get()));
    FAIL() << "no error raised";
  } catch (const ProcessQueryError& error) {
    EXPECT_NE(error.code(), 0u);
    EXPECT_NE(std::string(error.what()).find("(" + std::to_string(error.code()) + ")"),
              std::string::npos)
        << error.what();
  }

  // The snapshot and token handles of a refresh are all given back.
  const long handlesBefore = UniqueKernelHandle::liveCount();
  TNxProcessList list(platform);
  list.Refresh(false);
  EXPECT_GT(list.Count(), 0);
  EXPECT_EQ(UniqueKernelHandle::liveCount(), handlesBefore);
}
