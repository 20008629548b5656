#include "commands/double_click.h"

namespace kelvane {

std::optional<DoubleClickActionKind> DoubleClickActionFor(std::int32_t value) {
  if (value < 0 || value > 8) return std::nullopt;
  return static_cast<DoubleClickActionKind>(value);
}

std::string RunDialogDescription(const std::string& applicationName) {
  return "Type the name of a program, folder, document, or Internet resource, and " +
         applicationName + " will open it for you.";
}

}  // namespace kelvane
