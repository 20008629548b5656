#include "settings/system_colors_win.h"

#include <windows.h>

namespace kelvane {

SystemColorTable readSystemColors() {
  SystemColorTable table{};
  for (int i = 0; i < SystemColorCount; ++i)
    table[static_cast<std::size_t>(i)] = static_cast<TColor>(GetSysColor(i) & 0xFFFFFF);
  return table;
}

}  // namespace kelvane
