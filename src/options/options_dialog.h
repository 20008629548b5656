#pragma once
// The options dialog as a model: the controls' values filled from a copy of the settings
// record, the rules that couple the controls, and what OK and Apply store and set in motion.
// The shell moves values between the real controls and this model and carries out the effects.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/language.h"
#include "settings/options.h"
#include "options/options_dialog_layout.h"
#include "options/theme_page.h"

namespace kelvane {

struct SpinRange {
  int minimum, maximum, step;
  bool operator==(const SpinRange&) const = default;
};

// What the program must do after OK or Apply stored the record, in this order. The tray menu
// needs nothing: it is built from the record each time it opens, so its process entries, its
// memory lines and its default item follow the stored record by themselves. Closing after OK is
// the dialog's own business.
enum class OptionsEffect {
  SpeakLanguage,        // a new Language: spoken at once by every open window, menu and tip
  SetRefreshInterval,   // the refresh timer takes RefreshRate
  SaveOptions,
  RefreshTick,          // one tick at once: the tray picture shows the new look
  ApplyRefreshHotkey,   // the hot key is registered anew
};

struct OptionsApplyResult {
  TKelvaneOptions options;
  std::vector<OptionsEffect> effects;
};

// The hot-key field's value: HOTKEYF_SHIFT 1, HOTKEYF_CONTROL 2, HOTKEYF_ALT 4 in the high
// byte, the virtual key in the low byte.
std::uint32_t HotKeyFromField(std::uint16_t fieldValue);
std::uint16_t FieldFromHotKey(std::uint32_t refreshHotkey);

// "Tahoma, 6pt"
std::string FontDescription(const TFontSpec& font, const Language& language = speaking());

class OptionsDialogModel {
 public:
  // Filling from a copy of the record: every control shows the record's value as it is, even
  // one outside the control's range, and stores it back unless the user changes that control.
  // The model speaks the language spoken when it was made, until speak() hands it another.
  // `languages` is the language list (languageList), automatic first.
  explicit OptionsDialogModel(const TKelvaneOptions& record, std::vector<std::string> themeNames = {},
                              std::vector<LanguageListEntry> languages = {});

  // Check boxes. Ticking or unticking runs the rule that couples other controls to the box.
  bool checked(int id) const;
  void setChecked(int id, bool ticked);
  bool enabled(int id) const;
  bool visible(int id) const;

  // Spin boxes: the number shown, its range and the steps of the arrows.
  SpinRange range(int id) const;
  std::string spinText(int id) const;
  // The arrows: moves by whole steps and stays within the range.
  void stepSpin(int id, int steps);
  // Typing (boxes that allow it): the text as it stands; taken when OK or Apply reads it.
  void typeSpin(int id, std::string_view text);
  // "默认值"
  void LabelResetMiliClick();

  // The language list's entries, by their own names.
  const std::vector<LanguageListEntry>& languages() const { return languages_; }
  // The program speaks another language while the dialog is open: the model's texts follow it,
  // and `languages` (the same list in that language) keeps the chosen entry chosen.
  void speak(const Language& language, std::vector<LanguageListEntry> languages);

  // Drop-down lists: the chosen entry, -1 when the stored value has no entry.
  int listIndex(int id) const;
  void setListIndex(int id, int index);

  std::uint32_t hotKey() const { return hotKey_; }
  void setHotKey(std::uint32_t value) { hotKey_ = value; }

  // "高亮颜色": nothing is the default (automatic) entry.
  PickerState highlightPicker() const;
  void setHighlightColor(std::optional<TColor> color);

  // The font the "字体" button edits, and the panel that describes it.
  const TFontSpec& dialogFont() const { return dialogFont_; }
  std::string fontPanelText() const;
  bool fontPanelShowsInternalFont() const { return checked(ckInternalFont); }
  // Button4Click: a confirmed font (or nothing when the dialog was cancelled); in both cases
  // the text colour of the colour list follows the dialog font's colour.
  void fontChosen(const std::optional<TFontSpec>& font);

  // Label17, built by UpdateHighLabel.
  std::string highLabel() const;

  // The theme page; a colour picked for the text slot also colours the dialog font.
  const ThemePageModel& themes() const { return themes_; }
  ThemePageModel& themes() { return themes_; }
  void pickThemeColor(std::optional<TColor> color);

  // The portable-device warning after "当锁定计算机时关闭显示器" was ticked by the user.
  bool monitorWarningNeeded(bool portableDevice) const;
  // The warning's answer: only "激活选项" (100) keeps the box ticked; a closed or failed
  // warning unticks it. True when NoWarningSwithOffMonMobile is to be set in the record at once.
  bool monitorWarningAnswered(int result, bool dontShowAgain);

  // OK or Apply: the dialog's values stored into the current record, which keeps what the
  // dialog does not edit, and the effects to carry out. After Apply the dialog goes on from the
  // stored values.
  OptionsApplyResult apply(const TKelvaneOptions& current);
  // What OK or Apply would store into `current`, the model unchanged.
  TKelvaneOptions stored(const TKelvaneOptions& current) const;
  // Whether a value on any page differs from what the dialog was filled with (at opening, or by
  // the last Apply): Apply is enabled only then.
  bool changed() const;

 private:
  struct Spin {
    int value = 0;
    bool typed = false;     // typed by the user since the last fill
    bool readable = true;   // the typed text is a number
  };
  int spinValueTaken(int id) const;
  void fill(const TKelvaneOptions& record);
  void processListRule();
  void internalFontRule();

  const Language* language_ = &speaking();
  TKelvaneOptions record_;
  // What the values stored when the dialog was filled; a record the controls cannot show as it
  // is (a value out of range, say) does not count as changed.
  TKelvaneOptions filledValues_;
  std::map<int, bool> checks_;
  std::map<int, Spin> spins_;
  std::map<int, int> lists_;
  std::uint32_t hotKey_ = 0;
  std::optional<TColor> highlightColor_;
  TFontSpec dialogFont_;
  bool noWarningMobile_ = false;
  ThemePageModel themes_;
  std::vector<LanguageListEntry> languages_;
};

}  // namespace kelvane
