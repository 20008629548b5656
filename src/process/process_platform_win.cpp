#include "process/process_platform_win.h"

#include <psapi.h>
#include <tlhelp32.h>

#include <vector>

#include "common/handles_win.h"
#include "common/system_info_win.h"
#include "common/system_library_win.h"
#include "common/system_error_win.h"
#include "common/text_win.h"

namespace kelvane {

namespace {

using CreateSnapshotFn = HANDLE(WINAPI*)(DWORD, DWORD);
using ProcessWalkFn = BOOL(WINAPI*)(HANDLE, PROCESSENTRY32W*);
using QueryFullNameFn = BOOL(WINAPI*)(HANDLE, DWORD, LPWSTR, PDWORD);
using ImageFileNameFn = DWORD(WINAPI*)(HANDLE, LPWSTR, DWORD);
using ModuleFileNameExFn = DWORD(WINAPI*)(HANDLE, HMODULE, LPWSTR, DWORD);
using ProcessIdToSessionIdFn = BOOL(WINAPI*)(DWORD, DWORD*);

constexpr DWORD kPathCapacity = MAX_PATH;

HANDLE handleOf(ProcessPlatform::ProcessHandle process) { return reinterpret_cast<HANDLE>(process); }

// Functions that older systems lack are looked up by name, so the program still starts there.
template <typename Function>
Function kernelExport(const char* name) {
  const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  if (!kernel) return nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(kernel, name)));
}

// Looked up in kernel32 first and in psapi when kernel32 lacks it; the library is held for the
// call only.
template <typename Function>
std::optional<std::string> psapiText(const char* name,
                                     DWORD (*call)(Function, HANDLE, wchar_t*, DWORD),
                                     HANDLE process) {
  UniqueLibrary psapi;
  Function function = kernelExport<Function>(name);
  if (!function) {
    psapi = loadSystemLibrary(L"psapi.dll");
    function = systemExport<Function>(psapi, name);
  }
  if (!function) return std::nullopt;
  wchar_t buffer[kPathCapacity];
  const DWORD length = call(function, process, buffer, kPathCapacity);
  // A full buffer may hold a cut path, which would name some other file.
  if (length == 0 || length >= kPathCapacity) return std::nullopt;
  return toUtf8(std::wstring(buffer, length));
}

std::string systemErrorText(DWORD error) {
  std::string text = systemMessageText(error);
  // Built by appending: GCC 12 warns wrongly about overlapping copies in chained operator+.
  if (text.empty()) text = "System error";
  text.append(" (").append(std::to_string(error)).append(")");
  return text;
}

std::wstring cutAtZero(const std::vector<wchar_t>& buffer) {
  std::wstring text(buffer.begin(), buffer.end());
  const std::size_t zero = text.find(L'\0');
  if (zero != std::wstring::npos) text.resize(zero);
  return text;
}

}  // namespace

void throwLastProcessError() {
  const DWORD error = GetLastError();
  throw ProcessQueryError(error, systemErrorText(error));
}

std::optional<PlatformVersion> WindowsProcessPlatform::version() {
  const std::optional<OsVersion> os = readOsVersion();
  if (!os) return std::nullopt;
  return PlatformVersion{os->platform, os->major, os->minor};
}

std::vector<ProcessWalkEntry> WindowsProcessPlatform::walkProcesses() {
  std::vector<ProcessWalkEntry> entries;
  const auto createSnapshot = kernelExport<CreateSnapshotFn>("CreateToolhelp32Snapshot");
  const auto first = kernelExport<ProcessWalkFn>("Process32FirstW");
  const auto next = kernelExport<ProcessWalkFn>("Process32NextW");
  if (!createSnapshot || !first || !next) return entries;
  const UniqueKernelHandle snapshot(createSnapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return entries;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = first(snapshot.get(), &entry); more; more = next(snapshot.get(), &entry)) {
    ProcessWalkEntry walked;
    walked.exeName = toUtf8(entry.szExeFile);
    walked.usageCount = entry.cntUsage;
    walked.processId = entry.th32ProcessID;
    walked.defaultHeapId = static_cast<std::uint32_t>(entry.th32DefaultHeapID);
    walked.moduleId = entry.th32ModuleID;
    walked.threadCount = entry.cntThreads;
    walked.parentProcessId = entry.th32ParentProcessID;
    walked.basePriority = entry.pcPriClassBase;
    entries.push_back(std::move(walked));
  }
  return entries;
}

ProcessPlatform::ProcessHandle WindowsProcessPlatform::openProcess(std::uint32_t processId,
                                                                   std::uint32_t access) {
  const HANDLE process = OpenProcess(access, FALSE, processId);
  openFailure_ = process ? 0 : GetLastError();
  return reinterpret_cast<ProcessHandle>(process);
}

std::uint32_t WindowsProcessPlatform::openFailure() { return openFailure_; }

bool WindowsProcessPlatform::isRunning(ProcessHandle process) {
  return WaitForSingleObject(handleOf(process), 0) == WAIT_TIMEOUT;
}

std::uint32_t WindowsProcessPlatform::terminate(ProcessHandle process) {
  return TerminateProcess(handleOf(process), 0) ? 0 : GetLastError();
}

std::uint32_t WindowsProcessPlatform::trimWorkingSet(ProcessHandle process) {
  const auto all = static_cast<SIZE_T>(-1);
  return SetProcessWorkingSetSize(handleOf(process), all, all) ? 0 : GetLastError();
}

std::optional<std::uint32_t> WindowsProcessPlatform::sessionOf(std::uint32_t processId) {
  // A system without the call has no sessions: every process shares the one there is.
  const auto query = kernelExport<ProcessIdToSessionIdFn>("ProcessIdToSessionId");
  if (!query) return 0;
  DWORD session = 0;
  if (!query(processId, &session)) return std::nullopt;
  return session;
}

std::optional<std::uint32_t> WindowsProcessPlatform::ownSession() { return sessionOf(GetCurrentProcessId()); }

std::string WindowsProcessPlatform::errorMessage(std::uint32_t code) { return systemMessageText(code); }

void WindowsProcessPlatform::closeProcess(ProcessHandle process) { CloseHandle(handleOf(process)); }

std::optional<std::string> WindowsProcessPlatform::fullProcessImageName(ProcessHandle process) {
  const auto query = kernelExport<QueryFullNameFn>("QueryFullProcessImageNameW");
  if (!query) return std::nullopt;
  wchar_t buffer[kPathCapacity];
  DWORD size = kPathCapacity;
  if (!query(handleOf(process), 0, buffer, &size) || size == 0 || size >= kPathCapacity)
    return std::nullopt;
  return toUtf8(std::wstring(buffer, size));
}

std::optional<std::string> WindowsProcessPlatform::processImageFileName(ProcessHandle process) {
  return psapiText<ImageFileNameFn>(
      "GetProcessImageFileNameW",
      [](ImageFileNameFn function, HANDLE h, wchar_t* buffer, DWORD capacity) {
        return function(h, buffer, capacity);
      },
      handleOf(process));
}

std::optional<std::string> WindowsProcessPlatform::mainModuleFileName(ProcessHandle process) {
  return psapiText<ModuleFileNameExFn>(
      "GetModuleFileNameExW",
      [](ModuleFileNameExFn function, HANDLE h, wchar_t* buffer, DWORD capacity) {
        return function(h, nullptr, buffer, capacity);
      },
      handleOf(process));
}

std::optional<std::string> WindowsProcessPlatform::dosDeviceOf(const std::string& drive) {
  std::vector<wchar_t> buffer(1000, L'\0');
  if (QueryDosDeviceW(toWide(drive).c_str(), buffer.data(), static_cast<DWORD>(buffer.size())) == 0)
    return std::nullopt;
  return toUtf8(cutAtZero(buffer));
}

ProcessMemoryCounters WindowsProcessPlatform::memoryCounters(ProcessHandle process) {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  if (!GetProcessMemoryInfo(handleOf(process), &counters, sizeof counters)) throwLastProcessError();
  return ProcessMemoryCounters{counters.WorkingSetSize, counters.PagefileUsage};
}

std::optional<ProcessCreationTime> WindowsProcessPlatform::creationTime(ProcessHandle process) {
  FILETIME created{}, exited{}, kernel{}, user{};
  if (!GetProcessTimes(handleOf(process), &created, &exited, &kernel, &user)) throwLastProcessError();
  if (created.dwLowDateTime == 0 && created.dwHighDateTime == 0) return std::nullopt;
  FILETIME local{};
  SYSTEMTIME calendar{};
  if (!FileTimeToLocalFileTime(&created, &local) || !FileTimeToSystemTime(&local, &calendar))
    throwLastProcessError();
  const std::uint64_t utc = (std::uint64_t{created.dwHighDateTime} << 32) | created.dwLowDateTime;
  return ProcessCreationTime{utc, CalendarTime{calendar.wYear, calendar.wMonth, calendar.wDay, calendar.wHour,
                                               calendar.wMinute, calendar.wSecond, calendar.wMilliseconds}};
}

std::optional<AccountName> WindowsProcessPlatform::tokenOwner(ProcessHandle process) {
  HANDLE rawToken = nullptr;
  if (!OpenProcessToken(handleOf(process), TOKEN_QUERY, &rawToken)) return std::nullopt;
  const UniqueKernelHandle token(rawToken);

  std::vector<unsigned char> information;
  DWORD needed = 0;
  while (!GetTokenInformation(token.get(), TokenUser, information.data(),
                              static_cast<DWORD>(information.size()), &needed)) {
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || needed <= information.size())
      return std::nullopt;
    information.resize(needed);
  }
  const PSID sid = reinterpret_cast<const TOKEN_USER*>(information.data())->User.Sid;

  DWORD userLength = 0, domainLength = 0;
  SID_NAME_USE use{};
  LookupAccountSidW(nullptr, sid, nullptr, &userLength, nullptr, &domainLength, &use);
  if (userLength == 0 || domainLength == 0) return std::nullopt;
  std::vector<wchar_t> user(userLength, L'\0'), domain(domainLength, L'\0');
  if (!LookupAccountSidW(nullptr, sid, user.data(), &userLength, domain.data(), &domainLength, &use))
    return std::nullopt;
  return AccountName{toUtf8(cutAtZero(user)), toUtf8(cutAtZero(domain))};
}

}  // namespace kelvane
