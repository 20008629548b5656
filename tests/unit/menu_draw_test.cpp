#include "menu/menu_draw.h"

#include <gtest/gtest.h>

using namespace kelvane;

namespace {

MenuEntry entryOf(MenuEntryKind kind, std::string caption, int tag) {
  MenuEntry entry;
  entry.kind = kind;
  entry.caption = std::move(caption);
  entry.tag = tag;
  return entry;
}

MenuDrawContext contextFor(bool themed, bool vista, bool selected) {
  MenuDrawContext context;
  context.rect = MenuRect{10, 100, 210, 122};
  context.themed = themed;
  context.vistaOrLater = vista;
  context.selected = selected;
  context.menuLineHeight = -14;  // a negative height counts by its size
  context.valueTextWidth = 50;
  return context;
}

// The fill colour of the row, when the classic look paints one.
std::optional<MenuColor> rowFill(const MenuDrawPlan& plan) {
  std::optional<MenuColor> last;
  for (const auto& step : plan.steps)
    if (step.kind == MenuDrawStep::Kind::Fill) last = step.color;
  return last;
}

}  // namespace

TEST(MenuDraw, MeasureSeparatorsAndText) {
  const MenuEntry separator = entryOf(MenuEntryKind::Separator, "-", 99);
  EXPECT_EQ(MeasureMenuEntry(separator, 0, 40, 77).height, 6);
  EXPECT_EQ(MeasureMenuEntry(separator, 0, 40, 77).width, 77);
  const MenuEntry item = entryOf(MenuEntryKind::Static, "关于(&A)", 0);
  EXPECT_EQ(MeasureMenuEntry(item, 80, 13, 0).width, 207);
  EXPECT_EQ(MeasureMenuEntry(item, 80, 13, 0).height, 20);
}

TEST(MenuDraw, ClassicRowsColoursAndColumns) {
  MenuEntry process = entryOf(MenuEntryKind::Process, "big.exe", 99);
  process.highlighted = true;
  process.valueText = "1.5 GB";
  process.icon = MenuIcon::Process;

  MenuDrawPlan plan = PlanMenuEntry(process, contextFor(false, true, false));
  EXPECT_EQ(rowFill(plan), MenuColor::ProcessHighlight);
  EXPECT_EQ(plan.textColor, MenuColor::MenuText);
  EXPECT_EQ(plan.icon, MenuIcon::Process);
  EXPECT_EQ(plan.iconX, 14);
  EXPECT_EQ(plan.iconY, 103);  // (100 + 122 - 16) / 2
  ASSERT_EQ(plan.texts.size(), 2u);
  EXPECT_EQ(plan.texts[0].rect, (MenuRect{40, 104, 210, 122}));  // (100 + 122 - 14) / 2
  EXPECT_EQ(plan.texts[0].flags, 0x8C4u);  // a process's texts are data: no prefix
  EXPECT_EQ(plan.texts[1].text, "1.5 GB");
  EXPECT_EQ(plan.texts[1].rect, (MenuRect{150, 104, 200, 122}));
  EXPECT_EQ(plan.texts[1].flags, 0x8C2u);

  plan = PlanMenuEntry(process, contextFor(false, true, true));
  EXPECT_EQ(rowFill(plan), MenuColor::Highlight);
  EXPECT_EQ(plan.textColor, MenuColor::HighlightText);

  // A memory line is grey in the classic look, in the normal text colour when themed on Vista.
  MenuEntry line = entryOf(MenuEntryKind::MemoryLine, "内存使用", 98);
  line.enabled = false;
  line.valueText = " 42%";
  EXPECT_EQ(PlanMenuEntry(line, contextFor(false, true, false)).textColor, MenuColor::BtnShadow);
  EXPECT_EQ(PlanMenuEntry(line, contextFor(true, false, false)).textColor, MenuColor::BtnShadow);
  plan = PlanMenuEntry(line, contextFor(true, true, true));
  EXPECT_EQ(plan.textColor, MenuColor::MenuText);  // disabled: never drawn as hot
  EXPECT_FALSE(rowFill(plan));
  EXPECT_EQ(plan.icon, MenuIcon::None);

  // The default item is bold; the release item's shortcut goes to the right edge.
  MenuEntry release = entryOf(MenuEntryKind::Static, "内存碎片整理(&D)", 0);
  release.isDefault = true;
  release.shortcutText = "Alt+A";
  release.valueText = "ignored for tag 0";
  MenuDrawContext context = contextFor(false, true, false);
  context.shortcutTextWidth = 30;
  plan = PlanMenuEntry(release, context);
  EXPECT_TRUE(plan.bold);
  ASSERT_EQ(plan.texts.size(), 2u);
  EXPECT_EQ(plan.texts[1].text, "Alt+A");
  EXPECT_EQ(plan.texts[1].rect.left, 170);
}

TEST(MenuDraw, ThemedPartsAndSeparators) {
  MenuEntry process = entryOf(MenuEntryKind::Process, "big.exe", 99);
  process.highlighted = true;
  MenuDrawPlan plan = PlanMenuEntry(process, contextFor(true, true, true));
  ASSERT_GE(plan.steps.size(), 4u);
  EXPECT_EQ(plan.steps[0].part, kMenuPopupBackground);
  EXPECT_EQ(plan.steps[1].kind, MenuDrawStep::Kind::Fill);
  EXPECT_EQ(plan.steps[2].part, kMenuPopupGutter);
  EXPECT_EQ(plan.steps[2].state, kMenuStateHot);
  EXPECT_EQ(plan.steps[2].rect, (MenuRect{35, 100, 36, 122}));  // one-pixel gutter edge
  EXPECT_EQ(plan.steps[3].part, kMenuPopupItem);
  EXPECT_EQ(plan.textColor, MenuColor::ThemeHotText);
  process.highlighted = false;
  EXPECT_EQ(PlanMenuEntry(process, contextFor(true, true, false)).steps[1].rect, (MenuRect{10, 100, 36, 122}));

  const MenuEntry separator = entryOf(MenuEntryKind::Separator, "-", 98);
  plan = PlanMenuEntry(separator, contextFor(false, true, false));
  ASSERT_EQ(plan.steps.size(), 2u);  // two lines on the menu's own background
  EXPECT_TRUE(plan.separatorOnly);
  EXPECT_EQ(plan.steps[0].color, MenuColor::BtnShadow);
  EXPECT_EQ(plan.steps[0].rect.top, 111);
  EXPECT_EQ(plan.steps[1].color, MenuColor::BtnHighlight);
  EXPECT_EQ(plan.steps[1].rect.top, 112);
  EXPECT_EQ(plan.steps[0].rect.left, 12);
  EXPECT_EQ(plan.steps[0].rect.right, 208);
  plan = PlanMenuEntry(separator, contextFor(true, true, false));
  EXPECT_EQ(plan.steps.back().part, kMenuPopupSeparator);
  EXPECT_EQ(plan.steps.back().rect, (MenuRect{35, 100, 210, 122}));
  plan = PlanMenuEntry(separator, contextFor(true, false, false));
  EXPECT_EQ(plan.steps.back().kind, MenuDrawStep::Kind::Line);
  EXPECT_EQ(plan.steps.back().color, MenuColor::BtnShadow);
  EXPECT_TRUE(plan.texts.empty());
}

TEST(MenuDraw, HighlightColourAndMnemonics) {
  TKelvaneOptions options = defaultOptions(10);
  options.ProcMenuHightlightColor = clAutomatic;
  EXPECT_EQ(GetProcMenuHighlighColor(options, false), 0x00E1E1FB);
  options.ProcMenuHightlightColor = 0x00123456;
  EXPECT_EQ(GetProcMenuHighlighColor(options, false), 0x00123456);
  EXPECT_EQ(GetProcMenuHighlighColor(options, true), 0x00E1E1FB);

  std::vector<MenuEntry> menu = {entryOf(MenuEntryKind::Static, "启动任务管理器(&T)", 97),
                                 entryOf(MenuEntryKind::Separator, "-", 0),
                                 entryOf(MenuEntryKind::Static, "A && B", 0),
                                 entryOf(MenuEntryKind::Static, "退出(&E)", 0)};
  EXPECT_EQ(MnemonicEntry(menu, 'e'), 3u);
  EXPECT_EQ(MnemonicEntry(menu, 'T'), 0u);
  EXPECT_FALSE(MnemonicEntry(menu, 'b'));  // "&&" is a literal ampersand
  menu[3].enabled = false;
  EXPECT_FALSE(MnemonicEntry(menu, 'e'));
}

TEST(MenuDraw, AnAmpersandInAProcessNameIsShownAndTakesNoKey) {
  TrayMenuInputs inputs;
  inputs.options = defaultOptions(10);
  inputs.hintText = "A&B: 1";
  std::vector<TNxProcessRec> processes(1);
  processes[0].Name = "B&E.exe";
  processes[0].Memory = 1 << 20;
  const std::vector<MenuEntry> menu = BuildTrayMenu(inputs, processes, nullptr);
  for (const MenuEntry& entry : menu) {
    if (entry.isSeparator()) continue;
    const std::uint32_t flags = PlanMenuEntry(entry, contextFor(false, true, false)).texts.at(0).flags;
    const std::uint32_t measured = TextFlagsFor(entry, kMeasureTextFlags);
    const std::uint32_t prefix = entry.kind == MenuEntryKind::Static ? kTextHidePrefix : kTextNoPrefix;
    EXPECT_EQ(flags & (kTextHidePrefix | kTextNoPrefix), prefix) << entry.caption;
    EXPECT_EQ(measured & (kTextHidePrefix | kTextNoPrefix), prefix) << entry.caption;
  }
  const auto exit = MnemonicEntry(menu, 'e');  // E is "退出(&E)"'s, not the process's
  ASSERT_TRUE(exit);
  EXPECT_EQ(menu[*exit].caption, "退出(&E)");
}
