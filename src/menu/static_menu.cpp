#include "menu/static_menu.h"

#include "common/language.h"

namespace kelvane {

std::optional<StaticItem> defaultItemForAction(int doubleClickAction) {
  switch (doubleClickAction) {
    case 0: return StaticItem::LaunchTaskManager1;
    case 1: return StaticItem::MemoryDefragmenter1;
    case 3: return StaticItem::Settings1;
    case 8: return StaticItem::MemoryHistory1;
    default: return std::nullopt;
  }
}

std::vector<StaticMenuItem> staticMenuItems(const StaticMenuState& state) {
  std::vector<StaticMenuItem> items = {
      {StaticItem::LaunchTaskManager1, tr(TextId::MenuTaskManager), kTagTaskManager},
      {StaticItem::N1, "-"},
      {StaticItem::MemoryDefragmenter1, tr(TextId::MenuRelease)},
      {StaticItem::MemoryHistory1, tr(TextId::MenuHistory)},
      {StaticItem::MneShowLog, tr(TextId::MenuShowLog)},
      {StaticItem::N2, "-"},
      {StaticItem::Settings1, tr(TextId::MenuSettings)},
      {StaticItem::About1, tr(TextId::MenuAbout)},
      {StaticItem::N4, "-"},
      {StaticItem::Close1, tr(TextId::MenuExit)},
  };
  const auto defaultItem = defaultItemForAction(state.doubleClickAction);
  for (auto& entry : items) {
    entry.isDefault = defaultItem && entry.item == *defaultItem;
    if (entry.item == StaticItem::MneShowLog) entry.visible = state.writeLog;
    if (entry.item == StaticItem::MemoryDefragmenter1) {
      entry.shortcutText = state.releaseShortcutText;
      entry.enabled = state.releaseEnabled;
    }
  }
  return items;
}

std::optional<Command> commandOfStaticItem(StaticItem item) {
  switch (item) {
    case StaticItem::LaunchTaskManager1: return Command::of(CommandKind::LaunchTaskManager);
    case StaticItem::MemoryDefragmenter1: return Command::of(CommandKind::ReleaseMemory);
    case StaticItem::MemoryHistory1: return Command::of(CommandKind::ShowHistory);
    case StaticItem::MneShowLog: return Command::of(CommandKind::ShowLog);
    case StaticItem::Settings1: return Command::of(CommandKind::Settings);
    case StaticItem::About1: return Command::of(CommandKind::About);
    case StaticItem::Close1: return Command::of(CommandKind::Exit);
    case StaticItem::N1:
    case StaticItem::N2:
    case StaticItem::N4: return std::nullopt;
  }
  return std::nullopt;
}

}  // namespace kelvane
