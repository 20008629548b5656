#pragma once
// The theme page of the options dialog as a model: the theme list, the seven colour texts, the
// snapshot taken when the dialog opened, and what saving and deleting a theme need. The shell
// reads and writes the files and hands their contents in.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/language.h"
#include "settings/options.h"
#include "settings/theme_file.h"

namespace kelvane {

inline constexpr int kThemeDefaultEntry = 0;  // "默认颜色"
inline constexpr int kThemeCurrentEntry = 1;  // "当前颜色"
inline constexpr int kFirstThemeFileEntry = 2;

// The colour list's items, in slot order.
std::string_view ThemeSlotCaption(int slot);

// What a colour picker shows: its default entry's colour, and the chosen colour or nothing when
// the default (automatic) entry is chosen.
struct PickerState {
  TColor defaultColor = clBlack;
  std::optional<TColor> color;
  bool operator==(const PickerState&) const = default;
};

class ThemePageModel {
 public:
  // Opening: the colour texts and the snapshot from the record, the list from the theme names,
  // entry "当前颜色" chosen and the first colour slot selected.
  ThemePageModel(const TKelvaneOptions& record, std::vector<std::string> themeNames);

  // "默认颜色", "当前颜色" (in the language spoken when the page was made), then the theme names.
  std::vector<std::string> entries() const;
  int selectedEntry() const { return selectedEntry_; }
  bool deleteEnabled() const { return selectedEntry_ >= kFirstThemeFileEntry; }
  // The theme name of a file entry, or nothing for the built-in entries.
  std::optional<std::string> themeName(int entry) const;

  // Choosing an entry; for a theme file entry the shell passes the file's content.
  void selectEntry(int entry, const ThemeColors& fileContent = {});

  const ThemeColors& colors() const { return colors_; }
  void setTransBk(bool ticked) { colors_.transBk = ticked; }
  void setFullBar(bool ticked) { colors_.fullBar = ticked; }

  int selectedSlot() const { return selectedSlot_; }
  void selectSlot(int slot);
  PickerState picker() const;
  // The picker's choice for the selected slot; nothing is the default (automatic) entry.
  void pickColor(std::optional<TColor> color);
  // The font button sets the text colour.
  void setTextColor(TColor color);

  // "另存为": the file name for the answer of the input box, or nothing when the answer is
  // empty or blank (no file would be made of it).
  static std::optional<std::string> SaveAsName(std::string_view answer);
  // After the file was written: the list is refilled and the saved theme chosen; the colour
  // texts stay as they are.
  void themeSaved(std::vector<std::string> themeNames, std::string_view savedName);
  // After "删除" was confirmed and the file removed (or not): the entry leaves the list and
  // "当前颜色" is chosen; the colour texts stay as they are.
  void themeDeleted();

  // The entries' own texts ("默认颜色", "当前颜色") in another language from now on.
  void speak(const Language& language) { language_ = &language; }

 private:
  const Language* language_ = &speaking();
  std::vector<std::string> themeNames_;
  ThemeColors snapshot_;
  ThemeColors colors_;
  int selectedEntry_ = kThemeCurrentEntry;
  int selectedSlot_ = 0;
};

}  // namespace kelvane
