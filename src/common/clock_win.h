#pragma once
// The clock: now in UTC, the local wall clock of a moment (the time zone's rules at that moment),
// and moments in the user's date and time formats. Everything that reads the time reads it here.

#include <cstdint>
#include <functional>
#include <string>

namespace kelvane {

// Now, in UTC seconds since 1970.
std::int64_t utcSecondsNow();

// The local wall clock of a UTC moment, by the time zone's rules in force then.
std::function<std::int64_t(std::int64_t utcSeconds)> systemLocalTimeOf();

// A moment in the user's short date format and short time format ("2026/12/7 18:05"); with
// `to` after it, the span ("2026/12/7 18:05 - 19:17"), its end's date only when it differs.
std::string userMomentText(std::int64_t from, std::int64_t to);

// The present moment in the user's short date format and long time format.
struct DateTimeTexts {
  std::string date;
  std::string time;
};
DateTimeTexts CurrentDateTimeTexts();

}  // namespace kelvane
