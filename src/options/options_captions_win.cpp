#include "options/options_captions_win.h"

#include <windows.h>

#include <algorithm>

#include "common/handles_win.h"
#include "common/text_win.h"
#include "options/color_picker.h"
#include "options/theme_page.h"

namespace kelvane {

namespace {

std::vector<std::string> splitAtBars(std::string_view list) {
  std::vector<std::string> entries;
  std::size_t start = 0;
  while (start <= list.size() && !list.empty()) {
    const std::size_t end = std::min(list.find('|', start), list.size());
    entries.emplace_back(list.substr(start, end - start));
    start = end + 1;
  }
  return entries;
}

std::string withoutLinkMarks(std::string text) {
  for (const std::string_view mark : {"<a>", "</a>"})
    for (std::size_t at = text.find(mark); at != std::string::npos; at = text.find(mark))
      text.erase(at, mark.size());
  return text;
}

// The texts a control shows, each measured on its own.
std::vector<std::string> shownTexts(const ControlLayout& control, const std::vector<LanguageListEntry>& languages) {
  switch (control.kind) {
    case ControlKind::Label:
    case ControlKind::CheckBox:
    case ControlKind::Button:
    case ControlKind::DefaultButton: return {std::string(control.caption)};
    // The heading's number is filled in later: the widest it can be.
    case ControlKind::Heading: return {formatText(control.caption, {{"percent", "100"}})};
    case ControlKind::Link: return {withoutLinkMarks(std::string(control.caption))};
    case ControlKind::DropDown: {
      if (control.id != CmbLanguage) return splitAtBars(control.caption);
      std::vector<std::string> names;
      for (const LanguageListEntry& entry : languages) names.push_back(entry.caption);
      return names;
    }
    case ControlKind::ColorPicker: {
      std::vector<std::string> names;
      for (const ColorPickerEntry& entry : colorPickerEntries()) names.emplace_back(colorPickerEntryName(entry));
      return names;
    }
    case ControlKind::ColorList: {
      std::vector<std::string> names;
      for (int slot = 0; slot < kThemeSlotCount; ++slot) names.emplace_back(ThemeSlotCaption(slot));
      return names;
    }
    default: return {};
  }
}

}  // namespace

std::vector<int> measureCaptions(const OptionsDialogLayout& layout, const std::vector<LanguageListEntry>& languages) {
  // The font of the dialog template (8 pt Segoe UI) as the dialog manager makes it, and its
  // horizontal base unit: the average width of the letters, four dialog units.
  const ScreenDc screen;
  LOGFONTW face{};
  face.lfHeight = -MulDiv(8, GetDeviceCaps(screen.get(), LOGPIXELSY), 72);
  face.lfWeight = FW_NORMAL;
  face.lfCharSet = DEFAULT_CHARSET;
  wcscpy_s(face.lfFaceName, L"Segoe UI");
  const UniqueFont normal(CreateFontIndirectW(&face));
  face.lfWeight = FW_BOLD;
  const UniqueFont bold(CreateFontIndirectW(&face));
  const HGDIOBJ old = SelectObject(screen.get(), normal.get());
  SIZE letters{};
  constexpr wchar_t kLetters[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  GetTextExtentPoint32W(screen.get(), kLetters, 52, &letters);
  const int baseX = std::max(1, static_cast<int>((letters.cx / 26 + 1) / 2));

  std::vector<int> widths;
  for (const ControlLayout& control : layout.controls) {
    SelectObject(screen.get(), control.kind == ControlKind::Heading ? bold.get() : normal.get());
    const UINT prefix = control.kind == ControlKind::Heading || control.kind == ControlKind::Link ? DT_NOPREFIX : 0;
    int widest = 0;
    for (const std::string& text : shownTexts(control, languages)) {
      const std::wstring wide = toWide(text);
      RECT box{};
      DrawTextW(screen.get(), wide.c_str(), static_cast<int>(wide.size()), &box, DT_CALCRECT | DT_SINGLELINE | prefix);
      widest = std::max(widest, static_cast<int>(box.right - box.left));
    }
    widths.push_back((widest * 4 + baseX - 1) / baseX);
  }
  SelectObject(screen.get(), old);
  return widths;
}

}  // namespace kelvane
