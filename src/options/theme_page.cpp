#include "options/theme_page.h"

#include <array>

#include "common/ascii_text.h"
#include "common/language.h"
#include "settings/color_text.h"

namespace kelvane {

namespace {

constexpr std::array<TextId, kThemeSlotCount> kSlotCaptions = {
    TextId::ThemeSlotText,   TextId::ThemeSlotBackground, TextId::ThemeSlotBarBackground, TextId::ThemeSlotBarBorder,
    TextId::ThemeSlotNormal, TextId::ThemeSlotYellow,     TextId::ThemeSlotRed};

}  // namespace

std::string_view ThemeSlotCaption(int slot) {
  return slot >= 0 && slot < kThemeSlotCount ? std::string_view(tr(kSlotCaptions[static_cast<std::size_t>(slot)]))
                                             : std::string_view{};
}

ThemePageModel::ThemePageModel(const TKelvaneOptions& record, std::vector<std::string> themeNames)
    : themeNames_(std::move(themeNames)),
      snapshot_(ThemeColorsFromOptions(record)),
      colors_(snapshot_) {}

std::vector<std::string> ThemePageModel::entries() const {
  std::vector<std::string> list{language_->text(TextId::ThemeDefaultColors), language_->text(TextId::ThemeCurrentColors)};
  list.insert(list.end(), themeNames_.begin(), themeNames_.end());
  return list;
}

std::optional<std::string> ThemePageModel::themeName(int entry) const {
  const int index = entry - kFirstThemeFileEntry;
  if (index < 0 || index >= static_cast<int>(themeNames_.size())) return std::nullopt;
  return themeNames_[static_cast<std::size_t>(index)];
}

void ThemePageModel::selectEntry(int entry, const ThemeColors& fileContent) {
  if (entry < 0 || entry >= kFirstThemeFileEntry + static_cast<int>(themeNames_.size())) return;
  selectedEntry_ = entry;
  // The two check boxes belong to a theme file; the built-in entries leave them as they are.
  if (entry == kThemeDefaultEntry) {
    colors_.texts = ThemeColors{}.texts;
  } else if (entry == kThemeCurrentEntry) {
    colors_.texts = snapshot_.texts;
  } else {
    colors_ = fileContent;
  }
}

void ThemePageModel::selectSlot(int slot) {
  if (slot >= 0 && slot < kThemeSlotCount) selectedSlot_ = slot;
}

PickerState ThemePageModel::picker() const {
  const auto slot = static_cast<std::size_t>(selectedSlot_);
  PickerState state{automaticColor(kThemeSlots[slot]), std::nullopt};
  const std::string& text = colors_.texts[slot];
  // A text that does not read as a colour shows as automatic, which is what it applies as.
  if (text != kThemeAutomatic && TextToColor(text) != clAutomatic) state.color = TextToColor(text);
  return state;
}

void ThemePageModel::pickColor(std::optional<TColor> color) {
  colors_.texts[static_cast<std::size_t>(selectedSlot_)] =
      color && *color != clAutomatic ? ColorToText(*color) : std::string(kThemeAutomatic);
}

void ThemePageModel::setTextColor(TColor color) {
  colors_.texts[0] = color == clAutomatic ? std::string(kThemeAutomatic) : ColorToText(color);
}

std::optional<std::string> ThemePageModel::SaveAsName(std::string_view answer) {
  if (answer.find_first_not_of(" \t") == std::string_view::npos) return std::nullopt;
  return MakeValidFileName(answer);
}

void ThemePageModel::themeSaved(std::vector<std::string> themeNames, std::string_view savedName) {
  themeNames_ = std::move(themeNames);
  selectedEntry_ = kThemeCurrentEntry;
  for (std::size_t i = 0; i < themeNames_.size(); ++i)
    if (equalsIgnoringAsciiCase(themeNames_[i], savedName)) selectedEntry_ = kFirstThemeFileEntry + static_cast<int>(i);
}

void ThemePageModel::themeDeleted() {
  const int index = selectedEntry_ - kFirstThemeFileEntry;
  if (index >= 0 && index < static_cast<int>(themeNames_.size()))
    themeNames_.erase(themeNames_.begin() + index);
  selectedEntry_ = kThemeCurrentEntry;
}

}  // namespace kelvane
