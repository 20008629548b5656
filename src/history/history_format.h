#pragma once
// The layout of Kelvane.History, as bytes. The file has a fixed size, so it never grows:
//
//   header     64 bytes: magic, version, the geometry below, CRC-32 of the rest
//   minutes    44,640 records of 32 bytes: a ring of 31 days, the minute at slot START/60 mod
//              44,640, so a new minute takes the place of the one 31 days before it
//   events     4,096 records of 160 bytes: a ring in order of a sequence number
//
// Every record carries its own CRC-32 and is written alone at a fixed offset, so a write cut
// short spoils that record only; reading skips it. All-zero bytes are an empty record. Numbers
// are little-endian. The file is about 2 MB (2,083,904 bytes).
//
// A minute record holds the minute number in 40 bits (signed), the count in 32 bits, the load
// sum in 32 bits (a count past 42,949,672 is scaled down with the sum, keeping the mean) and the
// used amounts in 48 bits (256 TB; larger ones are stored as that).

#include <array>
#include <cstddef>
#include <cstdint>

#include "history/history_event.h"
#include "history/minute_record.h"

namespace kelvane::history_format {

inline constexpr std::uint32_t kVersion = 1;
inline constexpr std::size_t kHeaderSize = 64;
inline constexpr std::size_t kMinuteSlots = static_cast<std::size_t>(kKeptMinutes);
inline constexpr std::size_t kMinuteRecordSize = 32;
inline constexpr std::size_t kEventSlots = 4096;
inline constexpr std::size_t kEventRecordSize = 160;
inline constexpr std::uint64_t kMinutesOffset = kHeaderSize;
inline constexpr std::uint64_t kEventsOffset = kMinutesOffset + kMinuteSlots * kMinuteRecordSize;
inline constexpr std::uint64_t kFileSize = kEventsOffset + kEventSlots * kEventRecordSize;
// Room for the five names of an alert, each ended by a zero byte.
inline constexpr std::size_t kAlertNameBytes = 100;

using HeaderBytes = std::array<std::uint8_t, kHeaderSize>;
using MinuteBytes = std::array<std::uint8_t, kMinuteRecordSize>;
using EventBytes = std::array<std::uint8_t, kEventRecordSize>;

HeaderBytes encodeHeader();
// False for anything that is not the header of this version and geometry.
bool isCurrentHeader(const std::uint8_t* bytes);

enum class RecordState { Empty, Valid, Corrupt };

std::size_t minuteSlotOf(std::int64_t start);
constexpr std::uint64_t minuteOffset(std::size_t slot) {
  return kMinutesOffset + slot * kMinuteRecordSize;
}
// Whether the minute number fits the record (about a million years either side of 1970).
bool canHoldMinute(std::int64_t start);
MinuteBytes encodeMinute(const MinuteRecord& minute);
// Corrupt also when the record's minute does not belong to the slot it was read from.
RecordState decodeMinute(const std::uint8_t* bytes, std::size_t slot, MinuteRecord& minute);

// Sequence numbers start at 1; sequence s lives at slot s mod kEventSlots.
constexpr std::size_t eventSlotOf(std::uint32_t sequence) { return sequence % kEventSlots; }
constexpr std::uint64_t eventOffset(std::size_t slot) {
  return kEventsOffset + slot * kEventRecordSize;
}
// Names that do not fit together are shortened, the longest first, at a character boundary.
EventBytes encodeEvent(const HistoryEvent& event, std::uint32_t sequence);
RecordState decodeEvent(const std::uint8_t* bytes, std::size_t slot, HistoryEvent& event,
                        std::uint32_t& sequence);

}  // namespace kelvane::history_format
