#pragma once
// The settings record's fields as data, in declared order: one list that the settings file,
// the theme files and the developer tools walk instead of repeating 45 names by hand.

#include <string>
#include <variant>

#include "settings/options.h"

namespace kelvane {

enum class FieldType { Boolean, Integer, Color, String, Font };

struct OptionField {
  const char* key;
  FieldType type;
  // Exactly one member pointer is set, matching `type`.
  bool TKelvaneOptions::*boolean = nullptr;
  std::int32_t TKelvaneOptions::*integer = nullptr;
  TColor TKelvaneOptions::*color = nullptr;
  std::string TKelvaneOptions::*text = nullptr;
  TFontSpec TKelvaneOptions::*font = nullptr;
};

// All 45 fields in declared order.
const OptionField* optionFieldsBegin();
const OptionField* optionFieldsEnd();

struct OptionFieldRange {
  const OptionField* begin() const { return optionFieldsBegin(); }
  const OptionField* end() const { return optionFieldsEnd(); }
};
inline OptionFieldRange optionFields() { return {}; }

// The field with this key (exact spelling), or nullptr.
const OptionField* findOptionField(const std::string& key);

// "Key=Value" lines in declared order: Booleans 0/1, integers and colours signed decimal,
// strings as they are, the font as Font.Name, Font.CharSet, Font.Color, Font.Size, Font.Style.
std::string dumpOptions(const TKelvaneOptions& options);

}  // namespace kelvane
