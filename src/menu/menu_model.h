#pragma once
// The tray menu as data, built anew each time it opens: the fixed commands, the memory lines
// taken from the icon's tip, and the top processes of one snapshot. The shell renders whatever
// list it is given and maps a chosen entry back to its command.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "commands/command.h"
#include "common/number_format.h"
#include "memory/memory_status.h"
#include "menu/static_menu.h"
#include "process/process_list.h"
#include "settings/options.h"

namespace kelvane {

enum class MenuEntryKind { Static, MemoryLine, Process, Separator };

// Which picture the icon column shows: none, the Task Manager's, or the entry's process icon
// (the default process icon when the executable gives none).
enum class MenuIcon { None, TaskManager, Process };

struct MenuEntry {
  MenuEntryKind kind = MenuEntryKind::Static;
  std::string caption;  // "-" for a separator; ampersands kept
  int tag = 0;          // kTagTaskManager, kTagMemoryInfo, kTagProcess or 0
  std::string valueText;
  std::string shortcutText;
  MenuIcon icon = MenuIcon::None;
  bool isDefault = false;
  bool highlighted = false;
  bool unified = false;
  bool enabled = true;
  std::optional<Command> command;  // none for separators and memory lines

  bool isSeparator() const { return kind == MenuEntryKind::Separator; }
  // Only the program's own commands mark a key with "&". A process's name or description and
  // the memory lines are data: an "&" in them is shown and selects nothing.
  bool hasMnemonic() const { return kind == MenuEntryKind::Static; }
  // The process the entry stands for; only for process entries.
  const ProcessItem* process() const {
    return command && command->kind == CommandKind::Process ? &command->process : nullptr;
  }
};

// Everything the menu is made from besides the processes.
struct TrayMenuInputs {
  TKelvaneOptions options;
  MemorySample lastSample;  // the percentages' total
  std::string hintText;     // the icon's tip as last sent, UTF-8
  NumberFormat numberFormat;
  std::string releaseShortcutText;
  bool releaseEnabled = true;
};

// The executable's FileDescription for a path, empty when there is none. Asked only for the
// processes that get an entry.
using DescriptionSource = std::function<std::string(const std::string& path)>;

// Instances of one program merged, in one pass: records with the same non-empty path (exact,
// letter case significant) join the first of them that has memory, in walk order, which keeps
// its name, id and creation time and gets the summed memory and the instance count. A record
// without memory that comes before its group's first instance with memory stays on its own;
// records without a path are never merged.
std::vector<TNxProcessRec> MergeInstances(std::vector<TNxProcessRec> records);

// Sort comparison, larger memory first: 1 when a's is smaller, -1 when larger, 0 when equal.
int CompareByMemory(const TNxProcessRec& a, const TNxProcessRec& b);

// Largest memory first; records of equal memory keep their walk order.
void SortByMemory(std::vector<TNxProcessRec>& records);

// The value column of a process entry.
std::string ProcessValueText(std::uint64_t memory, std::int32_t processValueType,
                             std::uint64_t total, const NumberFormat& format);

// At or above the threshold in whole mebibytes; never without memory or with threshold 0.
bool IsHighlightedProcess(std::uint64_t memory, std::int32_t highlightProcessAboveMiB);

// The tip's lines as information entries: "a: b: c" gives caption "a" and value " b: c".
std::vector<MenuEntry> MemoryLineEntries(const std::string& hintText);

MenuEntry ProcessEntry(const TNxProcessRec& record, const std::string& description,
                       const TrayMenuInputs& inputs);

// The whole menu, in the order it shows. `processes` is the snapshot in walk order (ignored
// when the process section is off).
std::vector<MenuEntry> BuildTrayMenu(const TrayMenuInputs& inputs,
                                     std::vector<TNxProcessRec> processes,
                                     const DescriptionSource& describe);

}  // namespace kelvane
