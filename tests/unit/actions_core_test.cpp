#include "commands/command.h"
#include "commands/double_click.h"
#include "actions/hotkey_value.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "menu/static_menu.h"

using namespace kelvane;

TEST(HotKeyValue, SplitAndRebuildFromTheMessage) {
  // Alt+A, the options dialog's design-time value.
  EXPECT_EQ(SplitHotKey(32833), (HotKeyParts{0x41, kModAlt}));
  EXPECT_EQ(SplitHotKey(0x2000 | 0x4000 | 0x8000 | 0x10000 | 0x70),
            (HotKeyParts{0x70, kModShift | kModControl | kModAlt | kModWin}));
  EXPECT_EQ(SplitHotKey(0x4000 | 0x2E), (HotKeyParts{0x2E, kModControl}));
  EXPECT_EQ(SplitHotKey(0), (HotKeyParts{0, 0}));

  // WM_HOTKEY's lParam = MAKELPARAM(modifiers, vk), as Wine and Windows deliver it.
  EXPECT_EQ(HotKeyFromMessage((0x41u << 16) | kModAlt), 32833u);
  for (std::uint32_t value : {32833u, 0x2000u | 0x5Au, 0x4000u | 0x8000u | 0x31u,
                              0x10000u | 0x45u, 0x1E000u | 0x87u}) {
    const HotKeyParts parts = SplitHotKey(value);
    EXPECT_EQ(HotKeyFromMessage((parts.virtualKey << 16) | parts.modifiers), value) << value;
  }
  // MOD_NOREPEAT (0x4000) in the message is not a key of ours.
  EXPECT_EQ(HotKeyFromMessage((0x41u << 16) | kModAlt | 0x4000u), 32833u);
}

TEST(HotKeyValue, AtomNameAndShortcutText) {
  EXPECT_EQ(HotKeyAtomName(32833), "HotKeyManagerHotKey32833");
  EXPECT_EQ(HotKeyAtomName(0x1E041), "HotKeyManagerHotKey122945");

  EXPECT_EQ(MenuShortcutWord(0x1C041), 0xC041);
  EXPECT_EQ(ShortcutText(MenuShortcutWord(32833), BuiltinKeyName(0x41)), "Alt+A");
  EXPECT_EQ(ShortcutText(0xE000 | 0x74, BuiltinKeyName(0x74)), "Shift+Ctrl+Alt+F5");
  EXPECT_EQ(ShortcutText(0x4000 | 0x2E, BuiltinKeyName(0x2E)), "Ctrl+Del");
  EXPECT_EQ(ShortcutText(0x2000 | 0x39, BuiltinKeyName(0x39)), "Shift+9");
  EXPECT_EQ(ShortcutText(0x8000 | 0x62, BuiltinKeyName(0x62)), "Alt+Num 2");
  EXPECT_EQ(ShortcutText(0x4000 | 0xBA, "；"), "Ctrl+；");
  // No combination, or a key nobody can name, shows no shortcut.
  EXPECT_EQ(ShortcutText(0, "A"), "");
  EXPECT_EQ(ShortcutText(0x4000 | 0xFF, BuiltinKeyName(0xFF)), "");
  EXPECT_EQ(BuiltinKeyName(0x87), "F24");
  EXPECT_EQ(BuiltinKeyName(0x88), "");

  // The release item's text asks the keyboard layout only for the keys our table cannot name.
  const LayoutKeyName layout = [](std::uint32_t key) { return key == 0xBA ? std::string("；") : "?"; };
  EXPECT_EQ(RefreshShortcutText(0x1E030, layout), "Shift+Ctrl+Alt+0");
  EXPECT_EQ(RefreshShortcutText(0x4000 | 0xBA, layout), "Ctrl+；");
  EXPECT_EQ(RefreshShortcutText(0x4000 | 0xBA), "");
  EXPECT_EQ(RefreshShortcutText(0x4000, layout), "");  // modifiers without a key: no hot key
}

TEST(DoubleClick, ActionChoiceAndRunDialogText) {
  EXPECT_EQ(DoubleClickActionFor(0), DoubleClickActionKind::TaskManager);
  EXPECT_EQ(DoubleClickActionFor(5), DoubleClickActionKind::RunDialog);
  EXPECT_EQ(DoubleClickActionFor(7), DoubleClickActionKind::ShowDesktop);
  EXPECT_EQ(DoubleClickActionFor(8), DoubleClickActionKind::ShowHistory);
  for (std::int32_t bad : {-1, 9, -2147483647 - 1, 2147483647})
    EXPECT_FALSE(DoubleClickActionFor(bad).has_value()) << bad;

  const std::string description = RunDialogDescription("Kelvane");
  EXPECT_EQ(description,
            "Type the name of a program, folder, document, or Internet resource, and Kelvane will "
            "open it for you.");
  // It must fit the 116-character buffer the Run dialog is given, terminator included.
  EXPECT_LT(description.size(), 116u);
}

TEST(Command, DoubleClickAndMenuAgreeOnTheDefaultItem) {
  // The bold item of the menu is the one that does what the double click does.
  const std::vector<StaticItem> all = {StaticItem::LaunchTaskManager1, StaticItem::N1,
                                       StaticItem::MemoryDefragmenter1, StaticItem::MemoryHistory1,
                                       StaticItem::MneShowLog,
                                       StaticItem::N2, StaticItem::Settings1, StaticItem::About1,
                                       StaticItem::N4, StaticItem::Close1};
  for (std::int32_t action = -1; action <= 9; ++action) {
    const auto command = DoubleClickCommand(action);
    EXPECT_EQ(command.has_value(), action >= 0 && action <= 8) << action;
    std::optional<StaticItem> itemWithThatCommand;
    for (StaticItem item : all) {
      const auto itemCommand = commandOfStaticItem(item);
      if (command && itemCommand && itemCommand->kind == command->kind) itemWithThatCommand = item;
    }
    EXPECT_EQ(defaultItemForAction(action), itemWithThatCommand) << action;
  }
  // Separators stand for nothing; every other item for a command of its own.
  std::vector<CommandKind> seen;
  for (StaticItem item : all) {
    const auto command = commandOfStaticItem(item);
    EXPECT_EQ(command.has_value(), staticMenuItems({})[static_cast<int>(item)].caption != "-");
    if (!command) continue;
    EXPECT_EQ(std::count(seen.begin(), seen.end(), command->kind), 0);
    seen.push_back(command->kind);
  }
}
