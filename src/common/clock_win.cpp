#include "common/clock_win.h"

#include <windows.h>

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

std::int64_t utcSecondsNow() {
  FILETIME now{};
  GetSystemTimeAsFileTime(&now);
  const std::uint64_t ticks = (std::uint64_t{now.dwHighDateTime} << 32) | now.dwLowDateTime;
  return static_cast<std::int64_t>(ticks / 10'000'000u) - kEpochDifference;
}

std::function<std::int64_t(std::int64_t utcSeconds)> systemLocalTimeOf() {
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

DateTimeTexts CurrentDateTimeTexts() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  DateTimeTexts texts;
  wchar_t buffer[128];
  int length = GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &now, nullptr, buffer, 128);
  if (length > 0) texts.date = toUtf8(std::wstring(buffer, static_cast<std::size_t>(length - 1)));
  length = GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &now, nullptr, buffer, 128);
  if (length > 0) texts.time = toUtf8(std::wstring(buffer, static_cast<std::size_t>(length - 1)));
  return texts;
}

}  // namespace kelvane
