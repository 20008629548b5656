#pragma once
// The settings record's fields as data, in declared order: one list that the settings file,
// the theme files and the developer tools walk instead of repeating 46 names by hand.

#include <string>
#include <variant>

#include "settings/ini_codec.h"
#include "settings/options.h"

namespace kelvane {

enum class FieldType { Boolean, Integer, Color, String, Font };

// When a save writes the field. Fields added after files were in users' hands are written only
// once chosen, so that a file that never chose them saves and dumps exactly as before.
enum class FieldWrite { Always, WhenSetOrPresent };

struct OptionField {
  const char* key;
  FieldType type;
  // Exactly one member pointer is set, matching `type`.
  bool TKelvaneOptions::*boolean = nullptr;
  std::int32_t TKelvaneOptions::*integer = nullptr;
  TColor TKelvaneOptions::*color = nullptr;
  std::string TKelvaneOptions::*text = nullptr;
  TFontSpec TKelvaneOptions::*font = nullptr;
  FieldWrite write = FieldWrite::Always;
};

// All 46 fields in declared order.
const OptionField* optionFieldsBegin();
const OptionField* optionFieldsEnd();

struct OptionFieldRange {
  const OptionField* begin() const { return optionFieldsBegin(); }
  const OptionField* end() const { return optionFieldsEnd(); }
};
inline OptionFieldRange optionFields() { return {}; }

// The field with this key (exact spelling), or nullptr.
const OptionField* findOptionField(const std::string& key);

// Whether a save writes the field: always, or for a WhenSetOrPresent field (a Boolean) only
// when it is on or `file` (the [General] section the save writes into) has its key already.
bool fieldWritten(const OptionField& field, const TKelvaneOptions& options, const IniDocument& file);

// "Key=Value" lines in declared order: Booleans 0/1, integers and colours signed decimal,
// strings as they are, the font as Font.Name, Font.CharSet, Font.Color, Font.Size, Font.Style.
// A field a save would not write into `file` (fieldWritten) is left out.
std::string dumpOptions(const TKelvaneOptions& options, const IniDocument& file = {});

}  // namespace kelvane
