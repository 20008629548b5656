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
  EXPECT_EQ(MeasureMenuEntry(separator, 0, 40, 77, 96).height, 6);
  EXPECT_EQ(MeasureMenuEntry(separator, 0, 40, 77, 96).width, 77);
  const MenuEntry item = entryOf(MenuEntryKind::Static, "关于(&A)", 0);
  EXPECT_EQ(MeasureMenuEntry(item, 80, 13, 0, 96).width, 207);
  EXPECT_EQ(MeasureMenuEntry(item, 80, 13, 0, 96).height, 20);
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
  using Action = MenuKeyChoice::Action;
  EXPECT_EQ(ChooseByMnemonic(menu, 'e', std::nullopt), (MenuKeyChoice{Action::Execute, 3}));
  EXPECT_EQ(ChooseByMnemonic(menu, 'T', 3), (MenuKeyChoice{Action::Execute, 0}));
  EXPECT_FALSE(ChooseByMnemonic(menu, 'b', std::nullopt));  // "&&" is a literal ampersand
  menu[3].enabled = false;
  EXPECT_FALSE(ChooseByMnemonic(menu, 'e', std::nullopt));
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
  const auto exit = ChooseByMnemonic(menu, 'e', std::nullopt);  // E is "退出(&E)"'s, not the process's
  ASSERT_TRUE(exit);
  EXPECT_EQ(exit->action, MenuKeyChoice::Action::Execute);
  EXPECT_EQ(menu[exit->index].caption, "退出(&E)");
}

TEST(MenuDraw, ASelectedMemoryLineShowsWhereTheKeyboardIs) {
  MenuEntry line = entryOf(MenuEntryKind::MemoryLine, "内存使用", kTagMemoryInfo);
  line.enabled = false;
  line.valueText = " 42%";
  const MenuRect row{10, 100, 210, 122};
  const auto has = [](const MenuDrawPlan& plan, MenuDrawStep::Kind kind, int part, int state) {
    for (const auto& step : plan.steps)
      if (step.kind == kind && step.part == part && step.state == state) return true;
    return false;
  };

  // Themed: the system's disabled-hot item over the row, the text as when not selected.
  MenuDrawPlan plan = PlanMenuEntry(line, contextFor(true, true, true));
  ASSERT_TRUE(has(plan, MenuDrawStep::Kind::ThemePart, kMenuPopupItem, kMenuStateDisabledHot));
  EXPECT_EQ(plan.steps.back().rect, row);
  EXPECT_EQ(plan.textColor, PlanMenuEntry(line, contextFor(true, true, false)).textColor);
  EXPECT_FALSE(has(PlanMenuEntry(line, contextFor(true, true, false)), MenuDrawStep::Kind::ThemePart,
                   kMenuPopupItem, kMenuStateDisabledHot));

  // Classic (and themed before Vista): a one-pixel highlight frame round the menu-coloured row,
  // after the row's fill so that it shows, and grey text as when not selected.
  for (const bool themed : {false, true}) {
    plan = PlanMenuEntry(line, contextFor(themed, false, true));
    ASSERT_FALSE(plan.steps.empty());
    EXPECT_EQ(plan.steps.back().kind, MenuDrawStep::Kind::Frame);
    EXPECT_EQ(plan.steps.back().rect, row);
    EXPECT_EQ(plan.steps.back().color, MenuColor::Highlight);
    EXPECT_EQ(rowFill(plan), MenuColor::Menu);
    EXPECT_EQ(plan.textColor, MenuColor::BtnShadow);
    EXPECT_FALSE(has(PlanMenuEntry(line, contextFor(themed, false, false)), MenuDrawStep::Kind::Frame, 0, 0));
  }
}

TEST(MenuDraw, LengthsScaleWithTheMenusDpi) {
  // At 144 DPI every 96-DPI length is half as long again, rounded to the nearest pixel.
  const MenuEntry separator = entryOf(MenuEntryKind::Separator, "-", 0);
  const MenuEntry about = entryOf(MenuEntryKind::Static, "关于(&A)", 0);
  EXPECT_EQ(MeasureMenuEntry(separator, 0, 20, 77, 144).height, 9);    // 6
  EXPECT_EQ(MeasureMenuEntry(about, 120, 20, 0, 144).width, 120 + 191);  // 127
  EXPECT_EQ(MeasureMenuEntry(about, 120, 20, 0, 144).height, 20 + 11);   // 7

  MenuEntry process = entryOf(MenuEntryKind::Process, "big.exe", kTagProcess);
  process.valueText = "1.5 GB";
  process.highlighted = true;
  MenuDrawContext context = contextFor(true, true, false);
  context.rect = MenuRect{10, 100, 310, 136};
  context.dpi = 144;
  context.iconSize = 24;
  MenuDrawPlan plan = PlanMenuEntry(process, context);
  EXPECT_EQ(plan.iconX, 10 + 6);               // 4
  EXPECT_EQ(plan.iconSize, 24);
  EXPECT_EQ(plan.iconY, 106);                  // (100 + 136 - 24) / 2
  ASSERT_EQ(plan.texts.size(), 2u);
  EXPECT_EQ(plan.texts[0].rect.left, 10 + 45);   // 30
  EXPECT_EQ(plan.texts[1].rect.right, 310 - 15); // 10
  EXPECT_EQ(plan.steps[2].rect, (MenuRect{48, 100, 49, 136}));  // gutter 26, its edge one pixel
  process.highlighted = false;
  EXPECT_EQ(PlanMenuEntry(process, context).steps[1].rect.right, 10 + 39);
  // The icon ends before the caption starts.
  EXPECT_LT(plan.iconX + plan.iconSize, plan.texts[0].rect.left);

  plan = PlanMenuEntry(separator, context);
  EXPECT_EQ(plan.steps.back().rect.left, 10 + 38);  // 25
  context.themed = false;
  plan = PlanMenuEntry(separator, context);
  EXPECT_EQ(plan.steps[0].rect.left, 10 + 3);   // 2
  EXPECT_EQ(plan.steps[0].rect.right, 310 - 3);
}

TEST(MenuKeys, OneKeyOnTwoItemsSelectsInTurnAndOneKeyOnOneItemActs) {
  TrayMenuInputs inputs;
  inputs.options = defaultOptions(10);
  inputs.options.WriteLog = true;
  inputs.hintText = "内存使用: 42%\n物理内存: 1 GB";
  const std::vector<MenuEntry> menu = BuildTrayMenu(inputs, {}, nullptr);
  const auto indexOf = [&menu](CommandKind kind) {
    for (std::size_t i = 0; i < menu.size(); ++i)
      if (menu[i].command && menu[i].command->kind == kind) return i;
    ADD_FAILURE() << "no entry for the command";
    return std::size_t{0};
  };
  const std::size_t log = indexOf(CommandKind::ShowLog);
  const std::size_t settings = indexOf(CommandKind::Settings);
  ASSERT_LT(log, settings);
  using Action = MenuKeyChoice::Action;
  EXPECT_EQ(ChooseByMnemonic(menu, 's', std::nullopt), (MenuKeyChoice{Action::Select, log}));
  EXPECT_EQ(ChooseByMnemonic(menu, 'S', 2), (MenuKeyChoice{Action::Select, log}));  // a memory line
  EXPECT_EQ(ChooseByMnemonic(menu, 's', log), (MenuKeyChoice{Action::Select, settings}));
  EXPECT_EQ(ChooseByMnemonic(menu, 's', settings), (MenuKeyChoice{Action::Select, log}));  // round again
  EXPECT_EQ(ChooseByMnemonic(menu, 'e', log), (MenuKeyChoice{Action::Execute, indexOf(CommandKind::Exit)}));

  inputs.options.WriteLog = false;
  const std::vector<MenuEntry> withoutLog = BuildTrayMenu(inputs, {}, nullptr);
  const auto only = ChooseByMnemonic(withoutLog, 's', std::nullopt);
  ASSERT_TRUE(only);
  EXPECT_EQ(only->action, Action::Execute);
  EXPECT_EQ(withoutLog[only->index].command->kind, CommandKind::Settings);

  // Down walks every entry but the separators: Task Manager, separator, two memory lines,
  // separator, release, history, log.
  EXPECT_EQ(DownPressesTo(menu, 0), 0u);
  EXPECT_EQ(DownPressesTo(menu, 2), 1u);
  EXPECT_EQ(DownPressesTo(menu, log), 5u);
}
