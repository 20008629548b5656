#include "history/history_export_win.h"

#include "common/handles_win.h"
#include "common/system_error_win.h"
#include "common/text_win.h"

namespace kelvane {

namespace {

// FILETIME counts 100 ns from 1601; the history counts seconds from 1970.
constexpr std::int64_t kEpochDifference = 11'644'473'600;

SYSTEMTIME systemTimeOf(std::int64_t utc) {
  const auto ticks = static_cast<std::uint64_t>(utc + kEpochDifference) * 10'000'000u;
  FILETIME file{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
  SYSTEMTIME time{};
  FileTimeToSystemTime(&file, &time);
  return time;
}

std::int64_t secondsOf(const SYSTEMTIME& time) {
  FILETIME file{};
  if (!SystemTimeToFileTime(&time, &file)) return 0;
  const std::uint64_t ticks = (std::uint64_t{file.dwHighDateTime} << 32) | file.dwLowDateTime;
  return static_cast<std::int64_t>(ticks / 10'000'000u) - kEpochDifference;
}

SYSTEMTIME localOf(std::int64_t utc) {
  const SYSTEMTIME universal = systemTimeOf(utc);
  SYSTEMTIME local{};
  if (!SystemTimeToTzSpecificLocalTime(nullptr, &universal, &local)) return universal;
  return local;
}

std::string formatted(const SYSTEMTIME& time, bool date) {
  wchar_t buffer[128];
  const int length = date ? GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &time, nullptr, buffer, 128)
                          : GetTimeFormatW(LOCALE_USER_DEFAULT, TIME_NOSECONDS, &time, nullptr, buffer, 128);
  return length > 0 ? toUtf8(std::wstring(buffer, static_cast<std::size_t>(length - 1))) : std::string();
}

}  // namespace

std::string systemFailureText(DWORD error) { return systemReason(error); }

std::int64_t utcSecondsNow() {
  FILETIME now{};
  GetSystemTimeAsFileTime(&now);
  const std::uint64_t ticks = (std::uint64_t{now.dwHighDateTime} << 32) | now.dwLowDateTime;
  return static_cast<std::int64_t>(ticks / 10'000'000u) - kEpochDifference;
}

LocalTimeOf systemLocalTimeOf() {
  return [](std::int64_t utc) {
    // Whole seconds survive the trip through SYSTEMTIME; the fraction of a time zone's offset
    // never reaches below a minute.
    return secondsOf(localOf(utc));
  };
}

std::string userMomentText(std::int64_t from, std::int64_t to) {
  const SYSTEMTIME start = localOf(from);
  std::string text = formatted(start, true) + " " + formatted(start, false);
  if (to - from <= 60) return text;
  const SYSTEMTIME end = localOf(to);
  const bool sameDay = start.wYear == end.wYear && start.wMonth == end.wMonth && start.wDay == end.wDay;
  return text + " - " + (sameDay ? "" : formatted(end, true) + " ") + formatted(end, false);
}

bool writeWholeFile(const std::wstring& path, const std::string& bytes, std::string& failure,
                    std::string* englishFailure) {
  UniqueKernelHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  if (file && WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
      written == bytes.size())
    return true;
  const std::string reason = systemFailureText(GetLastError());
  const std::string name = toUtf8(path);
  failure.clear();
  if (englishFailure) englishFailure->clear();
  addInBothLanguages(failure, englishFailure, [&](const Language& language) {
    return textIn(language, TextId::HistoryCannotWrite, {{"path", name}, {"reason", reason}});
  });
  return false;
}

bool exportRecentHistory(const HistoryContent& held, int days, std::int64_t now, const std::wstring& csvPath,
                         std::string& failure, std::string* englishFailure) {
  const std::int64_t to = minuteStartOf(now) + kMinuteSeconds;
  const std::string csv = historyCsv(held.minutes, held.events, to - std::int64_t{days} * 86400, to,
                                     systemLocalTimeOf());
  return writeWholeFile(csvPath, csv, failure, englishFailure);
}

}  // namespace kelvane
