#pragma once
// What a process entry of the tray menu stands for, as the menu hands it to the process
// actions. The menu is built from one snapshot and the user may choose an entry minutes later,
// so the entry carries what identifies the process beyond its id (ids are reused).

#include <cstdint>
#include <string>

namespace kelvane {

struct ProcessItem {
  std::uint32_t processId = 0;  // the group's first instance in walk order
  std::string name;             // executable file name, UTF-8
  std::string path;             // full path, UTF-8; empty when it could not be read
  // Of that instance: the system's own count (UTC), which a change of time zone or daylight
  // saving between the menu and the click leaves alone; 0 when unknown.
  std::uint64_t creationTime = 0;
  std::uint64_t memory = 0;     // bytes, summed over a merged group
  int instanceCount = 0;        // 0 for a single process, 2 or more for a merged group
  bool unified = false;         // stands for every running process with this path
};

// Whether two entries stand for the same thing, so that one dialog serves both: the same merged
// path, or the same process (id and creation time). A merged entry whose path is unknown stands
// for its own process only.
bool StandsForSame(const ProcessItem& a, const ProcessItem& b);

}  // namespace kelvane
