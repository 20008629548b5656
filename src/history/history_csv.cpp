#include "history/history_csv.h"

#include <array>
#include <cstdio>

#include "common/language.h"

namespace kelvane {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kLineEnd = "\r\n";

constexpr std::size_t kColumnCount = 13;

using Row = std::array<std::string, kColumnCount>;

// The column headings in the speaking language: a spreadsheet's user reads them. The times and
// numbers below them stay in one form for every language, so that the file sorts and adds up.
Row headingRow() {
  Row row;
  std::string_view names = tr(TextId::HistoryCsvColumns);
  for (std::string& name : row) {
    const std::size_t bar = names.find('|');
    name = names.substr(0, bar);
    names.remove_prefix(bar == std::string_view::npos ? names.size() : bar + 1);
  }
  return row;
}

// Days since 1970-01-01 to a date of the proleptic Gregorian calendar, by eras of 400 years.
void civilFromDays(std::int64_t days, std::int64_t& year, unsigned& month, unsigned& day) {
  days += 719468;
  const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const auto dayOfEra = static_cast<unsigned>(days - era * 146097);
  const unsigned yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const unsigned shifted = (5 * dayOfYear + 2) / 153;
  day = dayOfYear - (153 * shifted + 2) / 5 + 1;
  month = shifted < 10 ? shifted + 3 : shifted - 9;
  year = static_cast<std::int64_t>(yearOfEra) + era * 400 + (month <= 2 ? 1 : 0);
}

std::string tenths(std::uint64_t value10) {
  return std::to_string(value10 / 10) + "." + std::to_string(value10 % 10);
}

Row timedRow(std::int64_t time, const LocalTimeOf& localTimeOf, TextId kind) {
  Row row;
  row[0] = csvDateTime(localTimeOf(time));
  row[1] = csvDateTime(time);
  row[2] = tr(kind);
  return row;
}

Row minuteRow(const MinuteRecord& minute, const LocalTimeOf& localTimeOf) {
  Row row = timedRow(minute.start, localTimeOf, TextId::HistoryCsvMinute);
  row[3] = std::to_string(minute.count);
  row[4] = std::to_string(minute.minLoad);
  row[5] = tenths(minute.average10());
  row[6] = std::to_string(minute.maxLoad);
  row[7] = std::to_string(minute.maxUsedPhys);
  row[8] = std::to_string(minute.maxUsedPage);
  return row;
}

Row eventRow(const HistoryEvent& event, const LocalTimeOf& localTimeOf) {
  switch (event.kind) {
    case HistoryEventKind::Start: return timedRow(event.time, localTimeOf, TextId::HistoryCsvStart);
    case HistoryEventKind::Exit: return timedRow(event.time, localTimeOf, TextId::HistoryCsvExit);
    case HistoryEventKind::Alert: {
      Row row = timedRow(event.time, localTimeOf, TextId::HistoryCsvAlert);
      row[6] = std::to_string(event.load);
      for (const TopProcess& process : event.top)
        row[12] += (row[12].empty() ? "" : "; ") + process.name + " " + std::to_string(process.bytes);
      return row;
    }
    case HistoryEventKind::Release: {
      Row row = timedRow(event.time, localTimeOf, TextId::HistoryCsvRelease);
      row[9] = releaseSourceText(event.source);
      row[10] = std::to_string(event.availBefore);
      row[11] = std::to_string(event.availAfter);
      return row;
    }
  }
  return {csvDateTime(localTimeOf(event.time)), csvDateTime(event.time)};
}

template <typename Fields>
void appendRow(std::string& out, const Fields& fields) {
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) out += ',';
    out += csvField(fields[i]);
  }
  out += kLineEnd;
}

}  // namespace

std::string csvDateTime(std::int64_t seconds) {
  const std::int64_t days = seconds / 86400 - (seconds % 86400 < 0 ? 1 : 0);
  const std::int64_t inDay = seconds - days * 86400;
  std::int64_t year = 0;
  unsigned month = 0;
  unsigned day = 0;
  civilFromDays(days, year, month, day);
  const auto second = static_cast<unsigned>(inDay);  // 0..86399
  char text[64];
  std::snprintf(text, sizeof text, "%04lld-%02u-%02u %02u:%02u:%02u", static_cast<long long>(year),
                month % 100, day % 100, second / 3600 % 100, second / 60 % 60, second % 60);
  return text;
}

std::string csvField(std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
  std::string quoted = "\"";
  for (const char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

std::string releaseSourceText(ReleaseSource source) {
  switch (source) {
    case ReleaseSource::Menu: return tr(TextId::HistorySourceMenu);
    case ReleaseSource::HotKey: return tr(TextId::HistorySourceHotKey);
    case ReleaseSource::DoubleClick: return tr(TextId::HistorySourceDoubleClick);
    case ReleaseSource::Timer: return tr(TextId::HistorySourceTimer);
    case ReleaseSource::HighLoad: return tr(TextId::HistorySourceHighLoad);
    case ReleaseSource::CommandLine: return tr(TextId::HistorySourceCommandLine);
  }
  return {};
}

std::string historyCsv(std::span<const MinuteRecord> minutes, std::span<const HistoryEvent> events,
                       std::int64_t from, std::int64_t to, const LocalTimeOf& localTimeOf) {
  std::string out(kByteOrderMark);
  appendRow(out, headingRow());
  // Minutes and events merged by time; at the same second the minute comes first, as the
  // event happened inside it.
  auto minute = minutes.begin();
  auto event = events.begin();
  while (minute != minutes.end() || event != events.end()) {
    const bool takeMinute =
        event == events.end() || (minute != minutes.end() && minute->start <= event->time);
    if (takeMinute) {
      if (minute->start >= from && minute->start < to) appendRow(out, minuteRow(*minute, localTimeOf));
      ++minute;
    } else {
      if (event->time >= from && event->time < to) appendRow(out, eventRow(*event, localTimeOf));
      ++event;
    }
  }
  return out;
}

}  // namespace kelvane
