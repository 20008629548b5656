#include "options/options_dialog.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <utility>

namespace kelvane {

namespace {

constexpr std::uint16_t kFieldShift = 0x0100, kFieldControl = 0x0200, kFieldAlt = 0x0400;
constexpr std::uint32_t kShortcutShift = 0x2000, kShortcutCtrl = 0x4000, kShortcutAlt = 0x8000;
constexpr int kDefaultRefreshRate = 1000;
// What the highlight field shows while highlighting is off.
constexpr int kHighlightFieldDefault = 1000;

struct CheckField {
  int id;
  bool TKelvaneOptions::*field;
};

// The check boxes that map ticked = true onto one Boolean of the record. "透明背景" and
// "不透明栏" belong to the theme and the highlight box to HighlightProcessAbove.
constexpr std::array kCheckFields = {
    CheckField{CkShowPage, &TKelvaneOptions::ShowPage},
    CheckField{CkShowFree, &TKelvaneOptions::ShowFree},
    CheckField{CkShowPercentage, &TKelvaneOptions::ShowPercentage},
    CheckField{CkDisplayHint, &TKelvaneOptions::HintWhatisDisplayed},
    CheckField{CkWarn, &TKelvaneOptions::Warn},
    CheckField{CkWarnMsgBox, &TKelvaneOptions::WarnMsgBox},
    CheckField{CheckDefragOnHighMem, &TKelvaneOptions::DefragOnHighMemory},
    CheckField{CkLogFile, &TKelvaneOptions::WriteLog},
    CheckField{CheckDefragEveryActive, &TKelvaneOptions::DefragEveryActive},
    CheckField{CheckMonitor, &TKelvaneOptions::SwitchOffMonitorOnLock},
    CheckField{CkShowTop, &TKelvaneOptions::ShowTopProcess},
    CheckField{CheckShowProcessName, &TKelvaneOptions::ShowNameInsteadOfModule},
    CheckField{CkUnifyProcs, &TKelvaneOptions::UnifyProcesses},
    CheckField{CkShowMemMenu, &TKelvaneOptions::ShowMemMenu},
    CheckField{ckInternalFont, &TKelvaneOptions::InternalFont},
    CheckField{CkMiniFont, &TKelvaneOptions::MiniInternalFont},
    CheckField{CheckStandardBar, &TKelvaneOptions::StandardGauge},
    CheckField{CkNoBorder, &TKelvaneOptions::NoBorder},
    CheckField{CkBarBottom, &TKelvaneOptions::BarBottom},
    CheckField{CkShowPercSign, &TKelvaneOptions::ShowPercSign},
    CheckField{CkFollowTaskbar, &TKelvaneOptions::FollowTaskbarTheme},
};

struct ListField {
  int id;
  int entries;
};
constexpr std::array kListFields = {ListField{CmbDoubleClick, 8}, ListField{ComboProcessValue, 3},
                                    ListField{ComboGbValues, 2}};

bool isOneOf(int id, std::initializer_list<int> ids) { return std::find(ids.begin(), ids.end(), id) != ids.end(); }

std::optional<int> parseNumber(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc{} || end != text.data() + text.size() || text.empty()) return std::nullopt;
  return value;
}

}  // namespace

std::uint32_t HotKeyFromField(std::uint16_t fieldValue) {
  const std::uint32_t key = fieldValue & 0xFFu;
  // Modifiers alone make no combination: the field then holds no hot key at all.
  if (key == 0) return 0;
  std::uint32_t value = key;
  if (fieldValue & kFieldShift) value |= kShortcutShift;
  if (fieldValue & kFieldControl) value |= kShortcutCtrl;
  if (fieldValue & kFieldAlt) value |= kShortcutAlt;
  return value;
}

std::uint16_t FieldFromHotKey(std::uint32_t refreshHotkey) {
  std::uint16_t field = static_cast<std::uint16_t>(refreshHotkey & 0xFFu);
  if (refreshHotkey & kShortcutShift) field |= kFieldShift;
  if (refreshHotkey & kShortcutCtrl) field |= kFieldControl;
  if (refreshHotkey & kShortcutAlt) field |= kFieldAlt;
  return field;
}

std::string FontDescription(const TFontSpec& font, const Language& language) {
  const std::string size = std::to_string(font.Size);
  return formatText(language.text(TextId::OptionsFontDescription), {{"name", font.Name}, {"size", size}});
}

OptionsDialogModel::OptionsDialogModel(const TKelvaneOptions& record, std::vector<std::string> themeNames,
                                       std::vector<LanguageListEntry> languages)
    : themes_(record, std::move(themeNames)), languages_(std::move(languages)) {
  fill(record);
}

void OptionsDialogModel::fill(const TKelvaneOptions& record) {
  const auto keptHighlightField = spins_.contains(EditProcsRam) ? spins_[EditProcsRam].value : kHighlightFieldDefault;
  record_ = record;
  for (const CheckField& check : kCheckFields) checks_[check.id] = record.*check.field;
  checks_[CheckHightLightProcess] = record.HighlightProcessAbove > 0;
  themes_.setTransBk(record.TransBk);
  themes_.setFullBar(record.FullBar);
  spins_ = {
      {TxtYellow, Spin{record.YellowPercent}},
      {TxtRed, Spin{record.RedPercent}},
      {WinSpinDefragEveryActive, Spin{record.DefragEvery}},
      {EditMili, Spin{record.RefreshRate}},
      {EditProcs, Spin{record.TopProcessCount}},
      {EditProcsRam, Spin{record.HighlightProcessAbove > 0 ? record.HighlightProcessAbove : keptHighlightField}},
  };
  lists_ = {{CmbDoubleClick, record.DoubleClickAction},
            {ComboProcessValue, record.ProcessValueType},
            {ComboGbValues, record.OptimizeForGigabytes ? 1 : 0},
            {CmbLanguage, -1}};
  // A language whose file has gone since it was chosen has no entry: the choice stays unless
  // the user makes another.
  for (std::size_t i = 0; i < languages_.size(); ++i)
    if (sameLanguageTag(languages_[i].tag, record.Language)) lists_[CmbLanguage] = static_cast<int>(i);
  hotKey_ = static_cast<std::uint32_t>(record.RefreshHotkey);
  highlightColor_ = record.ProcMenuHightlightColor == clAutomatic
                        ? std::nullopt
                        : std::optional<TColor>(record.ProcMenuHightlightColor);
  dialogFont_ = record.Font;
  noWarningMobile_ = record.NoWarningSwithOffMonMobile;
  processListRule();
  filledValues_ = stored(record_);
}

void OptionsDialogModel::speak(const Language& language, std::vector<LanguageListEntry> languages) {
  const int chosen = lists_.at(CmbLanguage);
  const std::string chosenTag = chosen >= 0 ? languages_[static_cast<std::size_t>(chosen)].tag : std::string();
  language_ = &language;
  themes_.speak(language);
  languages_ = std::move(languages);
  lists_[CmbLanguage] = -1;
  if (chosen < 0) return;
  for (std::size_t i = 0; i < languages_.size(); ++i)
    if (languages_[i].tag == chosenTag) lists_[CmbLanguage] = static_cast<int>(i);
}

bool OptionsDialogModel::changed() const { return stored(record_) != filledValues_; }

bool OptionsDialogModel::checked(int id) const {
  if (id == CheckOpaque) return themes_.colors().transBk;
  if (id == CheckFullBar) return themes_.colors().fullBar;
  const auto found = checks_.find(id);
  return found != checks_.end() && found->second;
}

void OptionsDialogModel::setChecked(int id, bool ticked) {
  if (id == CheckOpaque) return themes_.setTransBk(ticked);
  if (id == CheckFullBar) return themes_.setFullBar(ticked);
  if (!checks_.contains(id)) return;
  checks_[id] = ticked;
  if (isOneOf(id, {CkShowTop, CkShowMemMenu, CheckShowProcessName, CkUnifyProcs})) processListRule();
  if (isOneOf(id, {ckInternalFont, CkMiniFont})) internalFontRule();
}

void OptionsDialogModel::processListRule() {
  if (checked(CkShowTop)) return;
  checks_[CheckHightLightProcess] = false;
  checks_[CheckShowProcessName] = false;
  checks_[CkUnifyProcs] = false;
}

void OptionsDialogModel::internalFontRule() {
  // A font picked with "字体" in this opening is dropped.
  dialogFont_ = record_.Font;
  if (!checked(ckInternalFont)) checks_[CkMiniFont] = false;
}

bool OptionsDialogModel::enabled(int id) const {
  const bool percentage = checked(CkShowPercentage);
  const bool internalFont = checked(ckInternalFont);
  const bool showTop = checked(CkShowTop);
  const bool highlight = checked(CheckHightLightProcess);
  if (id == CkShowPercSign) return percentage;
  if (isOneOf(id, {CkShowPage, LabelGbValues, ComboGbValues})) return !percentage;
  if (id == Button4) return !internalFont;
  if (id == CkMiniFont) return internalFont;
  if (isOneOf(id, {LabelProcs, EditProcs, LabelProcsUnit, LabelProcessValue, ComboProcessValue,
                   CheckHightLightProcess, CheckShowProcessName, CkUnifyProcs}))
    return showTop;
  if (isOneOf(id, {EditProcsRam, LabelProcsRamUnit, CmbColorProcesses, LabelHighlightColor})) return highlight;
  if (isOneOf(id, {WinSpinDefragEveryActive, LabelMinutes})) return checked(CheckDefragEveryActive);
  if (id == BtnDeleteTheme) return themes_.deleteEnabled();
  if (id == btnApply) return changed();
  return true;
}

bool OptionsDialogModel::visible(int id) const {
  if (id == LabelResetMili) {
    const Spin& mili = spins_.at(EditMili);
    return !(mili.readable && mili.value == kDefaultRefreshRate);
  }
  return true;
}

SpinRange OptionsDialogModel::range(int id) const {
  switch (id) {
    case TxtYellow: return {1, spins_.at(TxtRed).value - 1, 1};
    case TxtRed: return {spins_.at(TxtYellow).value + 1, 100, 1};
    case WinSpinDefragEveryActive: return {5, 999, 1};
    case EditMili: return {100, 90000, 100};
    case EditProcs: return {1, 100, 1};
    case EditProcsRam: return {1, 9999, 1};
    default: return {0, 0, 1};
  }
}

std::string OptionsDialogModel::spinText(int id) const {
  const auto found = spins_.find(id);
  if (found == spins_.end()) return {};
  return std::to_string(found->second.readable ? found->second.value : range(id).minimum);
}

void OptionsDialogModel::stepSpin(int id, int steps) {
  const auto found = spins_.find(id);
  if (found == spins_.end()) return;
  const SpinRange limits = range(id);
  Spin& spin = found->second;
  const int from = spin.readable ? spin.value : limits.minimum;
  const long long wanted = static_cast<long long>(from) + static_cast<long long>(steps) * limits.step;
  // The arrows never move a number further out of its range than it already was.
  long long next = std::clamp<long long>(wanted, limits.minimum, limits.maximum);
  if (limits.maximum < limits.minimum) next = from;
  spin = Spin{static_cast<int>(next), spin.typed, true};
}

void OptionsDialogModel::typeSpin(int id, std::string_view text) {
  const auto found = spins_.find(id);
  if (found == spins_.end()) return;
  const auto number = parseNumber(text);
  found->second = Spin{number.value_or(found->second.value), true, number.has_value()};
}

int OptionsDialogModel::spinValueTaken(int id) const {
  const Spin& spin = spins_.at(id);
  const SpinRange limits = range(id);
  if (!spin.readable) return limits.minimum;
  // A typed number outside the range would stop a timer or empty a list: it is brought into
  // the range. A value the dialog was filled with is stored back as it was.
  if (spin.typed) return std::clamp(spin.value, limits.minimum, std::max(limits.minimum, limits.maximum));
  return spin.value;
}

void OptionsDialogModel::LabelResetMiliClick() { spins_[EditMili] = Spin{kDefaultRefreshRate, false, true}; }

int OptionsDialogModel::listIndex(int id) const {
  if (id == CmbLanguage) return lists_.at(CmbLanguage);
  for (const ListField& list : kListFields) {
    if (list.id != id) continue;
    const int value = lists_.at(id);
    return value >= 0 && value < list.entries ? value : -1;
  }
  return -1;
}

void OptionsDialogModel::setListIndex(int id, int index) {
  if (id == CmbLanguage && index >= static_cast<int>(languages_.size())) return;
  if (index >= 0 && lists_.contains(id)) lists_[id] = index;
}

PickerState OptionsDialogModel::highlightPicker() const {
  return {automaticColor(ColorSlot::ProcMenuHightlightColor), highlightColor_};
}

void OptionsDialogModel::setHighlightColor(std::optional<TColor> color) {
  highlightColor_ = color && *color != clAutomatic ? color : std::nullopt;
}

std::string OptionsDialogModel::fontPanelText() const {
  return fontPanelShowsInternalFont() ? language_->text(TextId::OptionsInternalFontPanel)
                                      : FontDescription(dialogFont_, *language_);
}

void OptionsDialogModel::fontChosen(const std::optional<TFontSpec>& font) {
  if (font) dialogFont_ = *font;
  themes_.setTextColor(dialogFont_.Color);
}

std::string OptionsDialogModel::highLabel() const {
  return formatText(language_->text(TextId::OptionsHighLoadHeading), {{"percent", spinText(TxtRed)}});
}

void OptionsDialogModel::pickThemeColor(std::optional<TColor> color) {
  themes_.pickColor(color);
  if (themes_.selectedSlot() == 0) dialogFont_.Color = color && *color != clAutomatic ? *color : clBlack;
}

bool OptionsDialogModel::monitorWarningNeeded(bool portableDevice) const {
  return checked(CheckMonitor) && !noWarningMobile_ && portableDevice;
}

bool OptionsDialogModel::monitorWarningAnswered(int result, bool dontShowAgain) {
  constexpr int kActivate = 100;
  if (result != kActivate) checks_[CheckMonitor] = false;
  if (dontShowAgain) noWarningMobile_ = true;
  return dontShowAgain;
}

TKelvaneOptions OptionsDialogModel::stored(const TKelvaneOptions& current) const {
  TKelvaneOptions o = current;
  for (const CheckField& check : kCheckFields) o.*check.field = checked(check.id);
  o.DoubleClickAction = lists_.at(CmbDoubleClick);
  // The period is taken only while periodic release is on; otherwise the stored one stays.
  if (o.DefragEveryActive) o.DefragEvery = spinValueTaken(WinSpinDefragEveryActive);
  o.RefreshHotkey = static_cast<std::int32_t>(hotKey_);
  o.RefreshRate = spinValueTaken(EditMili);
  o.Font = dialogFont_;
  o.YellowPercent = spinValueTaken(TxtYellow);
  o.RedPercent = spinValueTaken(TxtRed);
  o.OptimizeForGigabytes = lists_.at(ComboGbValues) == 1;
  o.HighlightProcessAbove = checked(CheckHightLightProcess) ? spinValueTaken(EditProcsRam) : 0;
  o.ProcessValueType = lists_.at(ComboProcessValue);
  o.ProcMenuHightlightColor = highlightColor_.value_or(clAutomatic);
  o.TopProcessCount = spinValueTaken(EditProcs);
  o.NoWarningSwithOffMonMobile = o.NoWarningSwithOffMonMobile || noWarningMobile_;
  ApplyThemeColors(o, themes_.colors());
  const int language = lists_.at(CmbLanguage);
  if (language >= 0) o.Language = languages_[static_cast<std::size_t>(language)].tag;
  return o;
}

OptionsApplyResult OptionsDialogModel::apply(const TKelvaneOptions& current) {
  const TKelvaneOptions o = stored(current);
  OptionsApplyResult result{o, {}};
  // Before the tick, so that the tip speaks the new language at once.
  if (o.Language != current.Language) result.effects.push_back(OptionsEffect::SpeakLanguage);
  for (OptionsEffect effect : {OptionsEffect::SetRefreshInterval, OptionsEffect::SaveOptions,
                               OptionsEffect::RefreshTick, OptionsEffect::ApplyRefreshHotkey})
    result.effects.push_back(effect);
  // Apply leaves the dialog open on what was stored, so that Cancel afterwards keeps it.
  fill(o);
  return result;
}

}  // namespace kelvane
