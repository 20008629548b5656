#include "history/history_format.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "common/crc32.h"

namespace kelvane::history_format {

namespace {

constexpr std::uint8_t kMagic[8] = {'K', 'V', 'L', 'N', 'H', 'I', 'S', 'T'};
constexpr std::uint64_t kMax48 = (std::uint64_t{1} << 48) - 1;
constexpr std::uint64_t kMaxStoredCount = 0xFFFFFFFFu / 100;  // its load sum still fits 32 bits

void put(std::uint8_t* at, std::uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) at[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint64_t get(const std::uint8_t* at, int bytes) {
  std::uint64_t value = 0;
  for (int i = 0; i < bytes; ++i) value |= std::uint64_t{at[i]} << (8 * i);
  return value;
}

template <std::size_t N>
void seal(std::array<std::uint8_t, N>& record) {
  put(record.data(), crc32(record.data() + 4, N - 4), 4);
}

// Empty when every byte is zero, Corrupt when the checksum does not match, else Valid.
RecordState sealState(const std::uint8_t* bytes, std::size_t size) {
  if (std::all_of(bytes, bytes + size, [](std::uint8_t b) { return b == 0; }))
    return RecordState::Empty;
  return get(bytes, 4) == crc32(bytes + 4, size - 4) ? RecordState::Valid : RecordState::Corrupt;
}

// The longest prefix of at most `limit` bytes that does not end inside a UTF-8 character.
std::string_view utf8Prefix(std::string_view text, std::size_t limit) {
  if (text.size() <= limit) return text;
  std::size_t cut = limit;
  while (cut > 0 && (static_cast<std::uint8_t>(text[cut]) & 0xC0) == 0x80) --cut;
  return text.substr(0, cut);
}

// The largest length every name may keep so that all of them, each with its zero byte, fit.
std::size_t nameLengthCap(const std::vector<TopProcess>& top, std::size_t count) {
  std::size_t cap = kAlertNameBytes;
  while (cap > 0) {
    std::size_t total = count;
    for (std::size_t i = 0; i < count; ++i) total += std::min(top[i].name.size(), cap);
    if (total <= kAlertNameBytes) break;
    --cap;
  }
  return cap;
}

}  // namespace

HeaderBytes encodeHeader() {
  HeaderBytes header{};
  std::memcpy(header.data(), kMagic, sizeof kMagic);
  put(&header[8], kVersion, 4);
  put(&header[12], kHeaderSize, 4);
  put(&header[16], kMinuteSlots, 4);
  put(&header[20], kMinuteRecordSize, 4);
  put(&header[24], kEventSlots, 4);
  put(&header[28], kEventRecordSize, 4);
  put(&header[60], crc32(header.data(), 60), 4);
  return header;
}

bool isCurrentHeader(const std::uint8_t* bytes) {
  const HeaderBytes expected = encodeHeader();
  return std::equal(expected.begin(), expected.end(), bytes);
}

std::size_t minuteSlotOf(std::int64_t start) {
  const std::int64_t minute = minuteStartOf(start) / kMinuteSeconds;
  const auto slots = static_cast<std::int64_t>(kMinuteSlots);
  return static_cast<std::size_t>(((minute % slots) + slots) % slots);
}

bool canHoldMinute(std::int64_t start) {
  constexpr std::int64_t kLimit = std::int64_t{1} << 39;
  const std::int64_t number = minuteStartOf(start) / kMinuteSeconds;
  return number >= -kLimit && number < kLimit;
}

MinuteBytes encodeMinute(const MinuteRecord& minute) {
  MinuteBytes record{};
  put(&record[4], static_cast<std::uint64_t>(minute.start / kMinuteSeconds), 5);
  record[9] = minute.minLoad;
  record[10] = minute.maxLoad;
  std::uint64_t count = minute.count;
  std::uint64_t sum = minute.loadSum;
  if (count > kMaxStoredCount) {
    sum = static_cast<std::uint64_t>(static_cast<long double>(sum) * kMaxStoredCount / count);
    count = kMaxStoredCount;
  }
  put(&record[12], count, 4);
  put(&record[16], sum, 4);
  put(&record[20], std::min(minute.maxUsedPhys, kMax48), 6);
  put(&record[26], std::min(minute.maxUsedPage, kMax48), 6);
  seal(record);
  return record;
}

RecordState decodeMinute(const std::uint8_t* bytes, std::size_t slot, MinuteRecord& minute) {
  const RecordState state = sealState(bytes, kMinuteRecordSize);
  if (state != RecordState::Valid) return state;
  std::uint64_t number = get(&bytes[4], 5);
  if (number & (std::uint64_t{1} << 39)) number |= ~((std::uint64_t{1} << 40) - 1);  // sign
  MinuteRecord decoded;
  decoded.start = static_cast<std::int64_t>(number) * kMinuteSeconds;
  decoded.minLoad = bytes[9];
  decoded.maxLoad = bytes[10];
  decoded.count = get(&bytes[12], 4);
  decoded.loadSum = get(&bytes[16], 4);
  decoded.maxUsedPhys = get(&bytes[20], 6);
  decoded.maxUsedPage = get(&bytes[26], 6);
  const bool sound = decoded.count > 0 && decoded.minLoad <= decoded.maxLoad &&
                     decoded.maxLoad <= 100 && decoded.loadSum <= 100 * decoded.count &&
                     minuteSlotOf(decoded.start) == slot;
  if (!sound) return RecordState::Corrupt;
  minute = decoded;
  return RecordState::Valid;
}

EventBytes encodeEvent(const HistoryEvent& event, std::uint32_t sequence) {
  EventBytes record{};
  put(&record[4], sequence, 4);
  put(&record[8], static_cast<std::uint64_t>(event.time), 8);
  record[16] = static_cast<std::uint8_t>(event.kind);
  if (event.kind == HistoryEventKind::Release) {
    record[17] = static_cast<std::uint8_t>(event.source);
    put(&record[20], event.availBefore, 8);
    put(&record[28], event.availAfter, 8);
  } else if (event.kind == HistoryEventKind::Alert) {
    record[17] = event.load;
    const std::size_t count = std::min(event.top.size(), kAlertProcesses);
    record[18] = static_cast<std::uint8_t>(count);
    const std::size_t cap = nameLengthCap(event.top, count);
    std::size_t at = 60;
    for (std::size_t i = 0; i < count; ++i) {
      put(&record[20 + 8 * i], event.top[i].bytes, 8);
      const std::string_view name = utf8Prefix(event.top[i].name, cap);
      std::memcpy(&record[at], name.data(), name.size());
      at += name.size() + 1;
    }
  }
  seal(record);
  return record;
}

RecordState decodeEvent(const std::uint8_t* bytes, std::size_t slot, HistoryEvent& event,
                        std::uint32_t& sequence) {
  const RecordState state = sealState(bytes, kEventRecordSize);
  if (state != RecordState::Valid) return state;
  HistoryEvent decoded;
  const auto number = static_cast<std::uint32_t>(get(&bytes[4], 4));
  decoded.time = static_cast<std::int64_t>(get(&bytes[8], 8));
  const std::uint8_t kind = bytes[16];
  if (number == 0 || eventSlotOf(number) != slot || kind < 1 || kind > 4) return RecordState::Corrupt;
  decoded.kind = static_cast<HistoryEventKind>(kind);
  if (decoded.kind == HistoryEventKind::Release) {
    if (bytes[17] > static_cast<std::uint8_t>(ReleaseSource::CommandLine)) return RecordState::Corrupt;
    decoded.source = static_cast<ReleaseSource>(bytes[17]);
    decoded.availBefore = get(&bytes[20], 8);
    decoded.availAfter = get(&bytes[28], 8);
  } else if (decoded.kind == HistoryEventKind::Alert) {
    decoded.load = bytes[17];
    const std::size_t count = bytes[18];
    if (decoded.load > 100 || count > kAlertProcesses) return RecordState::Corrupt;
    const char* names = reinterpret_cast<const char*>(bytes + 60);
    std::size_t at = 0;
    for (std::size_t i = 0; i < count; ++i) {
      const void* end = std::memchr(names + at, 0, kAlertNameBytes - at);
      if (end == nullptr) return RecordState::Corrupt;
      const std::size_t length = static_cast<const char*>(end) - (names + at);
      decoded.top.push_back({std::string(names + at, length), get(&bytes[20 + 8 * i], 8)});
      at += length + 1;
    }
  }
  event = std::move(decoded);
  sequence = number;
  return RecordState::Valid;
}

}  // namespace kelvane::history_format
