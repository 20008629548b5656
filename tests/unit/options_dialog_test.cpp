// The options dialog's model: filling, the coupling rules, and what OK and Apply store.
#include "options/options_dialog.h"
#include "options/color_picker.h"
#include "menu/menu_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

using namespace kelvane;

namespace {

TKelvaneOptions record() { return defaultOptions(10); }

// The tray menu as it opens after OK or Apply: built from the stored record, which is how the
// record's process entries, memory lines and default item reach it.
std::vector<MenuEntry> trayMenuAfter(const TKelvaneOptions& stored) {
  TrayMenuInputs inputs;
  inputs.options = stored;
  inputs.lastSample.ullTotalPhys = 4ull << 30;
  inputs.hintText = "内存使用: 42%\r\n物理内存: 1 GB/4 GB\r\n";
  TNxProcessRec process;
  process.ProcessId = 8;
  process.Name = "b.exe";
  process.Path = "C:\\b.exe";
  process.Memory = 100ull << 20;
  return BuildTrayMenu(inputs, {process}, [](const std::string&) { return std::string(); });
}

long entriesOfKind(const std::vector<MenuEntry>& menu, MenuEntryKind kind) {
  return std::count_if(menu.begin(), menu.end(), [&](const MenuEntry& e) { return e.kind == kind; });
}

std::vector<std::string> defaultCaptions(const std::vector<MenuEntry>& menu) {
  std::vector<std::string> captions;
  for (const MenuEntry& entry : menu)
    if (entry.isDefault) captions.push_back(entry.caption);
  return captions;
}

const std::vector<OptionsEffect> kEveryApply = {OptionsEffect::SetRefreshInterval, OptionsEffect::SaveOptions,
                                                OptionsEffect::RefreshTick, OptionsEffect::ApplyRefreshHotkey};

}  // namespace

TEST(OptionsDialog, ThresholdsLimitEachOther) {
  OptionsDialogModel dialog(record());  // 65 / 90
  EXPECT_EQ(dialog.range(TxtYellow), (SpinRange{1, 89, 1}));
  EXPECT_EQ(dialog.range(TxtRed), (SpinRange{66, 100, 1}));
  dialog.stepSpin(TxtYellow, 100);
  EXPECT_EQ(dialog.spinText(TxtYellow), "89");
  dialog.stepSpin(TxtRed, -100);
  EXPECT_EQ(dialog.spinText(TxtRed), "90");  // yellow now at 89 holds red at 90

  OptionsDialogModel moved(record());
  moved.stepSpin(TxtRed, -100);
  EXPECT_EQ(moved.spinText(TxtRed), "66");
  moved.stepSpin(TxtRed, 4);  // red 70
  moved.stepSpin(TxtYellow, 50);
  EXPECT_EQ(moved.spinText(TxtYellow), "69");
  EXPECT_EQ(moved.highLabel(), "高内存使用率 (当内存高于 70%):");

  const auto result = moved.apply(record());
  EXPECT_EQ(result.options.YellowPercent, 69);
  EXPECT_EQ(result.options.RedPercent, 70);
}

TEST(OptionsDialog, ProcessListRuleUnticksAndOkStoresOff) {
  TKelvaneOptions o = record();
  o.ShowNameInsteadOfModule = true;
  o.HighlightProcessAbove = 500;
  OptionsDialogModel dialog(o);
  EXPECT_TRUE(dialog.checked(CheckHightLightProcess) && dialog.checked(CheckShowProcessName) &&
              dialog.checked(CkUnifyProcs));
  EXPECT_TRUE(dialog.enabled(CmbColorProcesses));
  dialog.setChecked(CkShowTop, false);
  for (int id : {CheckHightLightProcess, CheckShowProcessName, CkUnifyProcs}) {
    EXPECT_FALSE(dialog.checked(id)) << id;
    EXPECT_FALSE(dialog.enabled(id)) << id;
  }
  for (int id : {EditProcs, ComboProcessValue, EditProcsRam, CmbColorProcesses}) EXPECT_FALSE(dialog.enabled(id)) << id;
  // Ticking it again enables the boxes but leaves them unticked.
  dialog.setChecked(CkShowTop, true);
  EXPECT_TRUE(dialog.enabled(CheckHightLightProcess));
  EXPECT_FALSE(dialog.checked(CheckHightLightProcess));
  dialog.setChecked(CkShowTop, false);

  const auto result = dialog.apply(o);
  EXPECT_EQ(result.options.HighlightProcessAbove, 0);
  EXPECT_FALSE(result.options.ShowNameInsteadOfModule);
  EXPECT_FALSE(result.options.UnifyProcesses);
  EXPECT_FALSE(result.options.ShowTopProcess);
  // The next menu has lost its process entries and kept its memory lines.
  EXPECT_EQ(entriesOfKind(trayMenuAfter(o), MenuEntryKind::Process), 1);
  EXPECT_EQ(entriesOfKind(trayMenuAfter(result.options), MenuEntryKind::Process), 0);
  EXPECT_EQ(entriesOfKind(trayMenuAfter(result.options), MenuEntryKind::MemoryLine), 2);
}

TEST(OptionsDialog, HighlightOffOpensUntickedWith1000) {
  TKelvaneOptions o = record();
  o.HighlightProcessAbove = 0;
  OptionsDialogModel dialog(o);
  EXPECT_FALSE(dialog.checked(CheckHightLightProcess));
  EXPECT_EQ(dialog.spinText(EditProcsRam), "1000");
  EXPECT_FALSE(dialog.enabled(EditProcsRam));
  EXPECT_EQ(dialog.apply(o).options.HighlightProcessAbove, 0);
  // Ticked again, the field's value is what it stores; Apply keeps the number in the field.
  dialog.setChecked(CheckHightLightProcess, true);
  dialog.stepSpin(EditProcsRam, -200);
  EXPECT_EQ(dialog.apply(o).options.HighlightProcessAbove, 800);
  dialog.setChecked(CheckHightLightProcess, false);
  EXPECT_EQ(dialog.apply(o).options.HighlightProcessAbove, 0);
  EXPECT_EQ(dialog.spinText(EditProcsRam), "800");
}

TEST(OptionsDialog, PeriodicReleaseStoresThePeriodOnlyWhileTicked) {
  OptionsDialogModel dialog(record());
  EXPECT_FALSE(dialog.enabled(WinSpinDefragEveryActive));
  dialog.setChecked(CheckDefragEveryActive, true);
  EXPECT_TRUE(dialog.enabled(WinSpinDefragEveryActive) && dialog.enabled(LabelMinutes));
  dialog.stepSpin(WinSpinDefragEveryActive, -100);
  EXPECT_EQ(dialog.spinText(WinSpinDefragEveryActive), "20");
  dialog.setChecked(CheckDefragEveryActive, false);
  EXPECT_EQ(dialog.apply(record()).options.DefragEvery, 120);

  OptionsDialogModel kept(record());
  kept.setChecked(CheckDefragEveryActive, true);
  kept.typeSpin(WinSpinDefragEveryActive, "30");
  const auto result = kept.apply(record());
  EXPECT_EQ(result.options.DefragEvery, 30);
  EXPECT_TRUE(result.options.DefragEveryActive);
}

TEST(OptionsDialog, InternalFontRuleDropsAChosenFont) {
  TKelvaneOptions o = record();
  o.InternalFont = false;
  OptionsDialogModel dialog(o);
  EXPECT_EQ(dialog.fontPanelText(), "Tahoma, 6pt");
  EXPECT_TRUE(dialog.enabled(Button4));
  EXPECT_FALSE(dialog.enabled(CkMiniFont));
  TFontSpec chosen{"Arial", 1, 0x0000FF, 9, fsBold};
  dialog.fontChosen(chosen);
  EXPECT_EQ(dialog.fontPanelText(), "Arial, 9pt");
  EXPECT_EQ(dialog.themes().colors().texts[0], "FF0000");  // the text colour follows the font

  dialog.setChecked(ckInternalFont, true);
  EXPECT_EQ(dialog.fontPanelText(), "(内部字体)");
  EXPECT_FALSE(dialog.enabled(Button4));
  dialog.setChecked(CkMiniFont, true);
  dialog.setChecked(ckInternalFont, false);
  EXPECT_FALSE(dialog.checked(CkMiniFont));
  EXPECT_EQ(dialog.fontPanelText(), "Tahoma, 6pt");
  EXPECT_EQ(dialog.apply(o).options.Font.Name, "Tahoma");

  // A cancelled font dialog changes nothing but still takes the font's colour to the list.
  OptionsDialogModel cancelled(o);
  cancelled.themes().selectEntry(kThemeDefaultEntry);
  cancelled.fontChosen(std::nullopt);
  EXPECT_EQ(cancelled.themes().colors().texts[0], "WindowText");
}

TEST(OptionsDialog, ApplyMapsEveryControlAndKeepsTheRest) {
  TKelvaneOptions current = record();
  current.ShowWelcomeWindow = false;  // changed elsewhere while the dialog was open
  current.LogFile = "C:\\my.log";
  OptionsDialogModel dialog(record());
  dialog.setChecked(CkShowPercentage, true);
  EXPECT_TRUE(dialog.enabled(CkShowPercSign));
  EXPECT_FALSE(dialog.enabled(CkShowPage) || dialog.enabled(ComboGbValues));
  dialog.setChecked(CkShowPercSign, true);
  dialog.setChecked(CkLogFile, true);
  dialog.setChecked(CheckOpaque, true);
  dialog.setChecked(CkShowMemMenu, false);
  dialog.setListIndex(CmbDoubleClick, 3);
  dialog.setListIndex(ComboProcessValue, 2);
  dialog.setListIndex(ComboGbValues, 0);
  dialog.setHotKey(HotKeyFromField(0x0600 | 'R'));  // Ctrl+Alt+R
  dialog.stepSpin(EditMili, 5);
  EXPECT_TRUE(dialog.visible(LabelResetMili));
  dialog.setHighlightColor(0x123456);
  dialog.typeSpin(EditProcs, "25");

  const auto result = dialog.apply(current);
  const TKelvaneOptions& o = result.options;
  EXPECT_TRUE(o.ShowPercentage && o.ShowPercSign && o.WriteLog && o.TransBk);
  EXPECT_FALSE(o.ShowMemMenu || o.OptimizeForGigabytes);
  EXPECT_EQ(o.DoubleClickAction, 3);
  EXPECT_EQ(o.ProcessValueType, 2);
  EXPECT_EQ(o.RefreshHotkey, 0xC000 | 'R');
  EXPECT_EQ(o.RefreshRate, 1500);
  EXPECT_EQ(o.ProcMenuHightlightColor, 0x123456);
  EXPECT_EQ(o.TopProcessCount, 25);
  EXPECT_FALSE(o.ShowWelcomeWindow);
  EXPECT_EQ(o.LogFile, "C:\\my.log");
  EXPECT_EQ(result.effects, kEveryApply);
  // The next menu has no memory lines, and its default item is the one action 3 names.
  EXPECT_EQ(entriesOfKind(trayMenuAfter(current), MenuEntryKind::MemoryLine), 2);
  EXPECT_EQ(defaultCaptions(trayMenuAfter(current)), std::vector<std::string>{"启动任务管理器(&T)"});
  EXPECT_EQ(entriesOfKind(trayMenuAfter(o), MenuEntryKind::MemoryLine), 0);
  EXPECT_EQ(defaultCaptions(trayMenuAfter(o)), std::vector<std::string>{"设置(&S)"});

  // Apply then Cancel: the dialog goes on from what was stored, and the default link resets.
  EXPECT_EQ(dialog.spinText(EditMili), "1500");
  dialog.LabelResetMiliClick();
  EXPECT_FALSE(dialog.visible(LabelResetMili));
  // OK sets the same in motion as Apply; the dialog closes itself.
  EXPECT_EQ(dialog.apply(o).effects, kEveryApply);
}

TEST(OptionsDialog, OutOfRangeValuesAndTyping) {
  TKelvaneOptions o = record();
  o.RefreshRate = 50;
  o.TopProcessCount = 500;
  o.DoubleClickAction = 9;
  o.RefreshHotkey = 0x10000 | 0x8000 | 'Q';  // a Win combination written by hand
  OptionsDialogModel dialog(o);
  EXPECT_EQ(dialog.spinText(EditMili), "50");
  EXPECT_EQ(dialog.listIndex(CmbDoubleClick), -1);
  const auto untouched = dialog.apply(o).options;
  EXPECT_EQ(untouched.RefreshRate, 50);
  EXPECT_EQ(untouched.TopProcessCount, 500);
  EXPECT_EQ(untouched.DoubleClickAction, 9);
  EXPECT_EQ(untouched.RefreshHotkey, o.RefreshHotkey);

  // Typed numbers are brought into the range; a text that is no number reads as the minimum.
  dialog.typeSpin(EditMili, "0");
  dialog.typeSpin(EditProcs, "abc");
  dialog.typeSpin(EditProcsRam, "123456");
  const auto typed = dialog.apply(o).options;
  EXPECT_EQ(typed.RefreshRate, 100);
  EXPECT_EQ(typed.TopProcessCount, 1);
  EXPECT_EQ(typed.HighlightProcessAbove, 9999);
  EXPECT_EQ(dialog.spinText(EditProcs), "1");
  // Arrows from an out-of-range value land inside the range.
  dialog.typeSpin(EditMili, "95000");
  dialog.stepSpin(EditMili, 1);
  EXPECT_EQ(dialog.spinText(EditMili), "90000");

  EXPECT_EQ(HotKeyFromField(0x0200), 0u);  // Ctrl alone is no combination
  EXPECT_EQ(HotKeyFromField(0x0100 | 0x0800 | 0x70), 0x2000u | 0x70u);  // extended flag dropped
  EXPECT_EQ(FieldFromHotKey(0xE000 | 'K'), 0x0700 | 'K');
}

TEST(OptionsDialog, PortableDeviceWarningKeepsTheBoxOnlyOnTheExplicitAnswer) {
  OptionsDialogModel dialog(record());
  dialog.setChecked(CheckMonitor, true);
  EXPECT_FALSE(dialog.monitorWarningNeeded(false));  // desktop on mains power
  EXPECT_TRUE(dialog.monitorWarningNeeded(true));
  EXPECT_FALSE(dialog.monitorWarningAnswered(101, false));
  EXPECT_FALSE(dialog.checked(CheckMonitor));
  dialog.setChecked(CheckMonitor, true);
  dialog.monitorWarningAnswered(0, false);  // failed or closed: not the explicit answer
  EXPECT_FALSE(dialog.checked(CheckMonitor));
  dialog.setChecked(CheckMonitor, true);
  EXPECT_TRUE(dialog.monitorWarningAnswered(100, true));
  EXPECT_TRUE(dialog.checked(CheckMonitor));
  dialog.setChecked(CheckMonitor, false);
  dialog.setChecked(CheckMonitor, true);
  EXPECT_FALSE(dialog.monitorWarningNeeded(true));  // "不再显示此警告" was ticked
  const auto o = dialog.apply(record()).options;
  EXPECT_TRUE(o.SwitchOffMonitorOnLock && o.NoWarningSwithOffMonMobile);

  TKelvaneOptions suppressed = record();
  suppressed.NoWarningSwithOffMonMobile = true;
  OptionsDialogModel quiet(suppressed);
  quiet.setChecked(CheckMonitor, true);
  EXPECT_FALSE(quiet.monitorWarningNeeded(true));
}

TEST(ThemePage, EntriesColoursSaveAndDelete) {
  TKelvaneOptions o = record();
  o.RedColor = 0x0000CC;
  o.TransBk = true;
  OptionsDialogModel dialog(o, {"Blue", "a_b_c"});
  ThemePageModel& page = dialog.themes();
  EXPECT_EQ(page.entries(), (std::vector<std::string>{"默认颜色", "当前颜色", "Blue", "a_b_c"}));
  EXPECT_EQ(page.selectedEntry(), kThemeCurrentEntry);
  EXPECT_FALSE(dialog.enabled(BtnDeleteTheme));

  // "默认颜色" makes all seven automatic and leaves the two boxes; OK stores that.
  page.selectEntry(kThemeDefaultEntry);
  EXPECT_EQ(page.colors().texts, ThemeColors{}.texts);
  auto stored = dialog.apply(o).options;
  EXPECT_EQ(stored.RedColor, clAutomatic);
  EXPECT_TRUE(stored.TransBk);
  EXPECT_EQ(stored.Font.Color, clBlack);

  // "当前颜色" brings back the snapshot of the opening.
  page.selectEntry(kThemeCurrentEntry);
  EXPECT_EQ(page.colors().texts[6], "CC0000");

  // A theme file: its colours and switches; delete becomes possible.
  ThemeColors file;
  file.texts[4] = "junk";
  file.texts[6] = "00FF00";
  file.fullBar = true;
  page.selectEntry(2, file);
  EXPECT_TRUE(dialog.enabled(BtnDeleteTheme));
  EXPECT_TRUE(dialog.checked(CheckFullBar));
  EXPECT_FALSE(dialog.checked(CheckOpaque));
  page.selectSlot(4);
  EXPECT_EQ(page.picker(), (PickerState{0x00FF00, std::nullopt}));  // unreadable shows as automatic
  page.selectSlot(6);
  EXPECT_EQ(page.picker(), (PickerState{0x0000FF, 0x00FF00}));
  dialog.pickThemeColor(systemColor(13));
  EXPECT_EQ(page.colors().texts[6], "Highlight");
  page.selectSlot(0);
  dialog.pickThemeColor(std::nullopt);
  EXPECT_EQ(page.colors().texts[0], "-1");
  EXPECT_EQ(dialog.dialogFont().Color, clBlack);
  stored = dialog.apply(o).options;
  EXPECT_EQ(stored.RedColor, systemColor(13));
  EXPECT_EQ(stored.GreenColor, clAutomatic);
  EXPECT_TRUE(stored.FullBar);

  // Save as: the name made fit for a file; blank answers save nothing.
  EXPECT_EQ(ThemePageModel::SaveAsName("a/b:c"), "a_b_c");
  EXPECT_EQ(ThemePageModel::SaveAsName("   "), std::nullopt);
  EXPECT_EQ(ThemePageModel::SaveAsName(""), std::nullopt);
  page.themeSaved({"Blue", "a_b_c", "Mine"}, "MINE");
  EXPECT_EQ(page.selectedEntry(), 4);
  EXPECT_EQ(page.themeName(4), "Mine");
  EXPECT_EQ(page.colors().texts[6], "Highlight");  // the colour list is not reloaded

  page.themeDeleted();
  EXPECT_EQ(page.entries().size(), 4u);
  EXPECT_EQ(page.selectedEntry(), kThemeCurrentEntry);
  EXPECT_FALSE(dialog.enabled(BtnDeleteTheme));
  EXPECT_EQ(page.colors().texts[6], "Highlight");
}

TEST(ColorPicker, DefaultFirstCustomLastAndEveryColourShown) {
  const auto entries = colorPickerEntries();
  EXPECT_EQ(entries.front().kind, PickerEntryKind::Default);
  EXPECT_EQ(entries.back().kind, PickerEntryKind::Custom);
  EXPECT_EQ(colorPickerIndex({clBlack, std::nullopt}), 0);
  // A named colour shows on its own entry, any other on the custom entry.
  for (TColor color : {rgbColor(255, 0, 0), systemColor(15), systemColor(8)}) {
    const int index = colorPickerIndex({clBlack, color});
    ASSERT_GT(index, 0);
    ASSERT_LT(index, colorPickerCustomIndex());
    EXPECT_EQ(entries[static_cast<std::size_t>(index)].color, color);
  }
  EXPECT_EQ(colorPickerIndex({clBlack, rgbColor(1, 2, 3)}), colorPickerCustomIndex());
  EXPECT_EQ(colorPickerIndex({clBlack, systemColor(0)}), colorPickerCustomIndex());
}

namespace {

// Every control within the dialog and its page, no two of a page overlapping, and the access
// letters unique on each page together with the buttons.
void expectControlsFitTheirPage(const OptionsDialogLayout& layout) {
  const DialogUnitsSize size = layout.size;
  const ControlLayout* tabs = findControl(layout, PageControl1);
  ASSERT_NE(tabs, nullptr);
  // Drop-down heights include their open list, which may reach beyond the dialog.
  auto bottom = [](const ControlLayout& c) {
    const bool dropDown = c.kind == ControlKind::DropDown || c.kind == ControlKind::ColorPicker;
    return c.y + (dropDown ? 12 : c.height);
  };
  for (const ControlLayout& c : layout.controls) {
    EXPECT_GE(c.x, 0) << c.id;
    EXPECT_LE(c.x + c.width, size.width) << c.id;
    EXPECT_LE(bottom(c), size.height) << c.id;
    if (c.page == kAllPages) continue;
    // Inside the page control, below its tabs.
    EXPECT_GE(c.x, tabs->x + 4) << c.id;
    EXPECT_LE(c.x + c.width, tabs->x + tabs->width - 4) << c.id;
    EXPECT_GE(c.y, tabs->y + 18) << c.id;
    EXPECT_LE(bottom(c), tabs->y + tabs->height - 2) << c.id;
  }
  // No two controls of a page overlap.
  const auto& controls = layout.controls;
  for (std::size_t i = 0; i < controls.size(); ++i)
    for (std::size_t j = i + 1; j < controls.size(); ++j) {
      const ControlLayout &a = controls[i], &b = controls[j];
      if (a.page != b.page || a.page == kAllPages) continue;
      const bool overlap = a.x < b.x + b.width && b.x < a.x + a.width && a.y < bottom(b) && b.y < bottom(a);
      EXPECT_FALSE(overlap) << a.id << " overlaps " << b.id;
    }
  // The underlined letters are unique on each page together with the buttons.
  for (int page = 0; page < kPageCount; ++page) {
    std::string letters;
    for (const ControlLayout& c : controls) {
      if (c.page != page && !(c.page == kAllPages && c.kind != ControlKind::PageTabs)) continue;
      const auto amp = c.caption.find('&');
      if (amp == std::string_view::npos) continue;
      const char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(c.caption[amp + 1])));
      EXPECT_EQ(letters.find(letter), std::string::npos) << "page " << page << " letter " << letter;
      letters += letter;
    }
  }
}

}  // namespace

TEST(OptionsDialogLayout, ControlsFitTheirPageAndKeepTheirLetters) {
  for (const Language* language : {&Language::simplifiedChinese(), &Language::english()}) {
    SCOPED_TRACE(language->tag());
    expectControlsFitTheirPage(optionsDialogLayout(*language));
  }
}

TEST(OptionsDialogLayout, ACaptionWithoutRoomWidensTheDialogAndNothingElse) {
  const OptionsDialogLayout chinese = optionsDialogLayout(Language::simplifiedChinese());
  // Captions that leave a fifth of their room free: the layout stays as designed.
  std::vector<int> fitting;
  for (const ControlLayout& c : chinese.controls) fitting.push_back(std::max(0, captionRoom(c) * 8 / 10));
  const OptionsDialogLayout same = widenedToFit(chinese, fitting);
  EXPECT_EQ(same.size.width, chinese.size.width);
  for (std::size_t i = 0; i < same.controls.size(); ++i) EXPECT_EQ(same.controls[i].width, chinese.controls[i].width);

  // One list whose longest entry fills its room: every caption gets its room with the spare,
  // the dialog grows in width only, and the pages keep their order and letters.
  std::vector<int> tight = fitting;
  for (std::size_t i = 0; i < chinese.controls.size(); ++i)
    if (chinese.controls[i].id == CmbDoubleClick) tight[i] = captionRoom(chinese.controls[i]);
  const OptionsDialogLayout widened = widenedToFit(chinese, tight);
  EXPECT_GT(widened.size.width, chinese.size.width);
  EXPECT_EQ(widened.size.height, chinese.size.height);
  for (std::size_t i = 0; i < widened.controls.size(); ++i) {
    EXPECT_LE(tight[i], captionRoom(widened.controls[i]) * (1.0 - kLayoutSpare)) << widened.controls[i].id;
    EXPECT_EQ(widened.controls[i].y, chinese.controls[i].y);
  }
  expectControlsFitTheirPage(widened);
}

TEST(OptionsDialogModel, TheLanguageChoiceIsStoredAndSpokenWhenItChanges) {
  const TKelvaneOptions record = defaultOptions(10);
  const std::vector<LanguageListEntry> languages = languageList(Language::simplifiedChinese(), {});
  auto count = [](const OptionsApplyResult& result, OptionsEffect effect) {
    return std::count(result.effects.begin(), result.effects.end(), effect);
  };
  OptionsDialogModel dialog(record, {}, languages);
  EXPECT_EQ(dialog.listIndex(CmbLanguage), 0);  // automatic
  const OptionsApplyResult unchanged = dialog.apply(record);
  EXPECT_EQ(unchanged.options.Language, "");
  EXPECT_EQ(count(unchanged, OptionsEffect::SpeakLanguage), 0);

  // English chosen: stored, and spoken before the tick that redraws the tip.
  const auto english = std::find_if(languages.begin(), languages.end(),
                                    [](const LanguageListEntry& entry) { return entry.tag == "en-US"; });
  ASSERT_NE(english, languages.end());
  dialog.setListIndex(CmbLanguage, static_cast<int>(english - languages.begin()));
  const OptionsApplyResult changed = dialog.apply(record);
  EXPECT_EQ(changed.options.Language, "en-US");
  const auto& effects = changed.effects;
  const auto spoken = std::find(effects.begin(), effects.end(), OptionsEffect::SpeakLanguage);
  EXPECT_LT(spoken, std::find(effects.begin(), effects.end(), OptionsEffect::RefreshTick));

  // A language whose file has gone has no entry, and the choice stays unless another is made.
  TKelvaneOptions german = record;
  german.Language = "de-DE";
  OptionsDialogModel gone(german, {}, languages);
  EXPECT_EQ(gone.listIndex(CmbLanguage), -1);
  EXPECT_EQ(gone.apply(german).options.Language, "de-DE");

  // The model speaks the language it was made in, as the open dialog's controls do: a change
  // reaches the dialog opened next.
  speak(Language::english());
  EXPECT_EQ(dialog.highLabel(), "高内存使用率 (当内存高于 90%):");
  OptionsDialogModel next(record, {"Mine"}, languages);
  EXPECT_EQ(next.highLabel(), "High memory load (above 90%):");
  EXPECT_EQ(next.themes().entries(), (std::vector<std::string>{"Default colors", "Current colors", "Mine"}));
  next.setChecked(ckInternalFont, true);
  EXPECT_EQ(next.fontPanelText(), "(internal font)");
  speak(Language::simplifiedChinese());
  EXPECT_EQ(next.fontPanelText(), "(internal font)");
}
