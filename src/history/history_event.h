#pragma once
// What happened besides the minutes: the program's starts and exits (so that a gap reads as
// "not running" rather than "asleep"), high-memory alerts with the processes using most memory
// at that moment, and memory releases with what they gave back.

#include <cstdint>
#include <string>
#include <vector>

namespace kelvane {

enum class HistoryEventKind : std::uint8_t { Start = 1, Exit = 2, Alert = 3, Release = 4 };

// What asked for a release.
enum class ReleaseSource : std::uint8_t { Menu, HotKey, DoubleClick, Timer, HighLoad, CommandLine };

inline constexpr std::size_t kAlertProcesses = 5;

struct TopProcess {
  std::string name;  // executable name, UTF-8
  std::uint64_t bytes = 0;
  friend bool operator==(const TopProcess&, const TopProcess&) = default;
};

struct HistoryEvent {
  std::int64_t time = 0;  // UTC seconds
  HistoryEventKind kind = HistoryEventKind::Start;
  std::uint8_t load = 0;                   // Alert: percent
  std::vector<TopProcess> top;             // Alert: at most kAlertProcesses, largest first
  ReleaseSource source = ReleaseSource::Menu;  // Release
  std::uint64_t availBefore = 0;           // Release: available physical bytes before
  std::uint64_t availAfter = 0;            // Release: and about one second after
  friend bool operator==(const HistoryEvent&, const HistoryEvent&) = default;
};

}  // namespace kelvane
