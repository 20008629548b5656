#pragma once
// The history of a range as a CSV file a spreadsheet opens as it is: UTF-8 with a byte-order
// mark (without it a spreadsheet takes the Chinese for the ANSI code page), CRLF line ends,
// fields with a comma, a quote or a line end in quotes. One table, oldest first: a row per
// minute and a row per event, each with its local and its UTC time, so filters and charts work
// on the columns. Amounts are plain byte counts and loads plain numbers, so that they add up.
// The headings and the words of the type and release source columns are in the speaking
// language; times and numbers have one form in every language.

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "history/history_event.h"
#include "history/minute_record.h"

namespace kelvane {

// The local wall-clock time of a UTC moment, as seconds since 1970-01-01 00:00 of that wall
// clock (the system knows the time zone and its daylight rules in force at that moment).
using LocalTimeOf = std::function<std::int64_t(std::int64_t utcSeconds)>;

// "2026-12-07 18:05:00": the form every spreadsheet reads as a date and time.
std::string csvDateTime(std::int64_t seconds);

// A field as CSV writes it: in quotes, with quotes doubled, when it holds a comma, a quote or a
// line end.
std::string csvField(std::string_view text);

// "菜单", "热键", "双击", "定时", "高负载", "命令行", in the speaking language.
std::string releaseSourceText(ReleaseSource source);

// The minutes starting in [from, to) and the events in it, both given oldest first.
std::string historyCsv(std::span<const MinuteRecord> minutes, std::span<const HistoryEvent> events,
                       std::int64_t from, std::int64_t to, const LocalTimeOf& localTimeOf);

}  // namespace kelvane
