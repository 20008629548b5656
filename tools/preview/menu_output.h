#pragma once
// The preview's menu lines: a process file in, the model's entries out.

#include <optional>
#include <string>
#include <vector>

#include "menu/menu_model.h"

using kelvane::MenuEntry;
using kelvane::TNxProcessRec;

namespace preview {

struct ProcessFile {
  std::vector<TNxProcessRec> records;             // walk order
  std::vector<std::pair<std::string, std::string>> descriptions;  // path -> FileDescription
  std::string error;                              // the first bad line, said plainly
};

// One process per line, UTF-8, tab-separated: id, executable name, full path (may be empty),
// memory in bytes, file description (may be empty). Empty lines and a final CR are ignored.
ProcessFile parseProcessFile(const std::string& text);

// "menu: TAG<TAB>CAPTION<TAB>VALUE<TAB>FLAGS", FLAGS in the order D H U X, "-" for none.
std::string menuLine(const MenuEntry& entry);

}  // namespace preview
