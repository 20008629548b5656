#pragma once
// The fixed items of the tray menu as data: captions, order, which one is the default (bold)
// item, which are visible, and the release item's shortcut text. The shell builds the real
// menu from this list each time it is shown.

#include <optional>
#include <string>
#include <vector>

#include "commands/command.h"

namespace kelvane {

enum class StaticItem {
  LaunchTaskManager1,
  N1,
  MemoryDefragmenter1,
  MemoryHistory1,
  MneShowLog,
  N2,
  Settings1,
  About1,
  N4,
  Close1,
};

inline constexpr int kTagTaskManager = 97;
inline constexpr int kTagMemoryInfo = 98;
inline constexpr int kTagProcess = 99;

struct StaticMenuItem {
  StaticItem item;
  std::string caption;  // "-" for a separator
  int tag = 0;
  bool visible = true;
  bool isDefault = false;
  bool enabled = true;
  std::string shortcutText;  // shown right-aligned after a tab
  bool isSeparator() const { return caption == "-"; }
};

// InitDefaultMenu's rule, applied each time the menu is built: the item a double-click action
// makes the default (bold) is 0 Task Manager, 1 release, 3 settings, 8 the memory history; the
// other actions have no menu item and leave no default.
std::optional<StaticItem> defaultItemForAction(int doubleClickAction);

struct StaticMenuState {
  int doubleClickAction = 0;
  bool writeLog = false;
  std::string releaseShortcutText;
  bool releaseEnabled = true;  // greyed while a release runs
};

std::vector<StaticMenuItem> staticMenuItems(const StaticMenuState& state);

// The command an item stands for; none for separators.
std::optional<Command> commandOfStaticItem(StaticItem item);

}  // namespace kelvane
