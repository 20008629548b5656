#pragma once
// The colour pickers and the theme page's colour list as owner-drawn controls, and the system
// colour and font dialogs they open. The custom colours of the colour dialog live in the
// settings file's "自定义颜色" section.

#include <windows.h>

#include <optional>
#include <string>

#include "settings/options.h"
#include "options/theme_page.h"

namespace kelvane {

// A colour value as painted (system colours looked up, automatic as `automatic`).
COLORREF paintedColor(TColor color, TColor automatic);

// Fills a picker combo box with its entries.
void fillColorPicker(HWND combo);
// Selects the entry that shows the state and remembers the state for drawing.
void showColorPicker(HWND combo, const PickerState& state);
// Drops what the picker remembered, when its dialog goes.
void forgetColorPicker(HWND combo);
// The state a picker's selected entry stands for; for the custom entry the remembered colour.
bool isCustomEntrySelected(HWND combo);
std::optional<TColor> pickedNamedColor(HWND combo);

// WM_MEASUREITEM and WM_DRAWITEM for the pickers and the colour list.
void measureColorItem(HWND dialog, MEASUREITEMSTRUCT& item);
// The colour list: each item is a slot's caption with a swatch of its colour text.
void drawColorListItem(const DRAWITEMSTRUCT& item, const ThemeColors& colors);
void drawColorPickerItem(const DRAWITEMSTRUCT& item);

// The system colour dialog, starting from `initial`, with the custom colours of the settings
// file; confirmed, the custom colours are written back and the chosen colour returned. An exit
// asked for while either dialog is open counts as cancelling it.
std::optional<TColor> chooseAnyColor(HWND owner, TColor initial, const std::wstring& settingsFile);

// The system font dialog with its effects part, starting from `font`, whose colour list ends in
// "Custom..." (the colour dialog, with the settings file's custom colours); the confirmed font.
std::optional<TFontSpec> chooseFont(HWND owner, const TFontSpec& font, const std::wstring& settingsFile);

}  // namespace kelvane
