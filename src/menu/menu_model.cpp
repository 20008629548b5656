#include "menu/menu_model.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

#include "common/language.h"

namespace kelvane {

namespace {

constexpr std::uint64_t kPlusPrefixFrom = 4'000'000'000ULL;

MenuEntry separator(int tag) {
  MenuEntry entry;
  entry.kind = MenuEntryKind::Separator;
  entry.caption = "-";
  entry.tag = tag;
  return entry;
}

MenuEntry staticEntry(const StaticMenuItem& item) {
  if (item.isSeparator()) return separator(item.tag);
  MenuEntry entry;
  entry.caption = item.caption;
  entry.tag = item.tag;
  entry.shortcutText = item.shortcutText;
  entry.icon = item.tag == kTagTaskManager ? MenuIcon::TaskManager : MenuIcon::None;
  entry.isDefault = item.isDefault;
  entry.enabled = item.enabled;
  entry.command = commandOfStaticItem(item.item);
  return entry;
}

std::vector<std::string> splitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
  }
  return lines;
}

}  // namespace

std::vector<TNxProcessRec> MergeInstances(std::vector<TNxProcessRec> records) {
  std::vector<TNxProcessRec> merged;
  merged.reserve(records.size());
  std::unordered_map<std::string, std::size_t> groupOfPath;  // path -> index in `merged`
  groupOfPath.reserve(records.size());
  for (TNxProcessRec& record : records) {
    if (!record.Path.empty()) {
      const auto group = groupOfPath.find(record.Path);
      if (group != groupOfPath.end()) {
        TNxProcessRec& head = merged[group->second];
        head.InstanceCount = (head.InstanceCount == 0 ? 1 : head.InstanceCount) + 1;
        head.Memory += record.Memory;
        continue;
      }
      if (record.Memory != 0) groupOfPath.emplace(record.Path, merged.size());
    }
    merged.push_back(std::move(record));
  }
  return merged;
}

int CompareByMemory(const TNxProcessRec& a, const TNxProcessRec& b) {
  if (a.Memory < b.Memory) return 1;
  if (a.Memory > b.Memory) return -1;
  return 0;
}

void SortByMemory(std::vector<TNxProcessRec>& records) {
  std::stable_sort(records.begin(), records.end(), [](const TNxProcessRec& a, const TNxProcessRec& b) {
    return CompareByMemory(a, b) < 0;
  });
}

std::string ProcessValueText(std::uint64_t memory, std::int32_t processValueType,
                             std::uint64_t total, const NumberFormat& format) {
  if (memory == 0) return tr(TextId::MenuNotAvailable);
  const std::string size = SizeText(static_cast<std::int64_t>(memory), format);
  if (processValueType == 0) return size;
  // Without a total (the memory sample failed) there is no percentage to give.
  std::string percent;
  if (total != 0) {
    const double exact = static_cast<double>(memory) / static_cast<double>(total) * 100.0;
    percent = std::to_string(static_cast<long long>(std::nearbyint(exact))) + "%";
  }
  std::string value;
  if (processValueType == 1) value = percent.empty() ? size : size + " (" + percent + ")";
  if (processValueType == 2) value = percent.empty() ? tr(TextId::MenuNotAvailable) : percent;
  if (memory >= kPlusPrefixFrom) value = "+" + value;
  return value;
}

bool IsHighlightedProcess(std::uint64_t memory, std::int32_t highlightProcessAboveMiB) {
  if (highlightProcessAboveMiB <= 0 || memory == 0) return false;
  return (memory >> 20) >= static_cast<std::uint64_t>(highlightProcessAboveMiB);
}

std::vector<MenuEntry> MemoryLineEntries(const std::string& hintText) {
  std::vector<MenuEntry> entries;
  for (const std::string& line : splitLines(hintText)) {
    MenuEntry entry;
    entry.kind = MenuEntryKind::MemoryLine;
    entry.tag = kTagMemoryInfo;
    entry.enabled = false;
    const std::size_t colon = line.find(':');
    entry.caption = line.substr(0, colon);
    if (colon != std::string::npos) entry.valueText = line.substr(colon + 1);
    entries.push_back(std::move(entry));
  }
  return entries;
}

MenuEntry ProcessEntry(const TNxProcessRec& record, const std::string& description,
                       const TrayMenuInputs& inputs) {
  const TKelvaneOptions& options = inputs.options;
  MenuEntry entry;
  entry.kind = MenuEntryKind::Process;
  entry.tag = kTagProcess;
  entry.icon = MenuIcon::Process;
  entry.caption = options.ShowNameInsteadOfModule && !description.empty() ? description : record.Name;
  if (record.InstanceCount >= 1) {
    entry.caption += " [" + std::to_string(record.InstanceCount) + "]";
    entry.unified = true;
  }
  const std::uint64_t total =
      options.ShowPage ? inputs.lastSample.ullTotalPageFile : inputs.lastSample.ullTotalPhys;
  entry.valueText = ProcessValueText(record.Memory, options.ProcessValueType, total, inputs.numberFormat);
  entry.highlighted = IsHighlightedProcess(record.Memory, options.HighlightProcessAbove);
  ProcessItem item;
  item.processId = record.ProcessId;
  item.name = record.Name;
  item.path = record.Path;
  item.creationTime = record.CreationTimeUtc;
  item.memory = record.Memory;
  item.instanceCount = record.InstanceCount;
  item.unified = entry.unified;
  entry.command = Command::forProcess(std::move(item));
  return entry;
}

std::vector<MenuEntry> BuildTrayMenu(const TrayMenuInputs& inputs,
                                     std::vector<TNxProcessRec> processes,
                                     const DescriptionSource& describe) {
  const TKelvaneOptions& options = inputs.options;
  std::vector<MenuEntry> processEntries;
  if (options.ShowTopProcess && options.TopProcessCount > 0) {
    if (options.UnifyProcesses) processes = MergeInstances(std::move(processes));
    SortByMemory(processes);
    const std::size_t shown = std::min(processes.size(), static_cast<std::size_t>(options.TopProcessCount));
    for (std::size_t i = 0; i < shown; ++i) {
      const std::string description =
          options.ShowNameInsteadOfModule && describe ? describe(processes[i].Path) : std::string();
      processEntries.push_back(ProcessEntry(processes[i], description, inputs));
    }
  }
  const std::vector<MenuEntry> memoryLines =
      options.ShowMemMenu ? MemoryLineEntries(inputs.hintText) : std::vector<MenuEntry>{};

  StaticMenuState state;
  state.doubleClickAction = options.DoubleClickAction;
  state.writeLog = options.WriteLog;
  state.releaseShortcutText = inputs.releaseShortcutText;
  state.releaseEnabled = inputs.releaseEnabled;
  std::vector<MenuEntry> menu;
  auto addMemorySection = [&] {
    if (memoryLines.empty()) return;
    menu.insert(menu.end(), memoryLines.begin(), memoryLines.end());
    menu.push_back(separator(kTagMemoryInfo));
  };
  for (const StaticMenuItem& item : staticMenuItems(state)) {
    if (!item.visible) continue;
    if (item.item == StaticItem::N1 && !processEntries.empty()) {
      menu.insert(menu.end(), processEntries.begin(), processEntries.end());
    }
    menu.push_back(staticEntry(item));
    if (item.item == StaticItem::LaunchTaskManager1 && !processEntries.empty()) {
      // The process section's own separator comes first, then the memory lines.
      menu.push_back(separator(kTagProcess));
      addMemorySection();
    }
    if (item.item == StaticItem::N1 && processEntries.empty()) addMemorySection();
  }
  return menu;
}

}  // namespace kelvane
