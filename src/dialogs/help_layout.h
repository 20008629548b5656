#pragma once
// The command-line help window as data: a two-column table (switch, what it does) whose
// descriptions wrap inside their column, below the problem of a bad command line and above the
// closing lines and the OK button. Designed at 96 DPI and scaled; texts are measured by the shell.

#include <functional>
#include <string>
#include <vector>

#include "dialogs/window_layouts.h"

namespace kelvane {

struct HelpLayout {
  int clientWidth = 0, clientHeight = 0;
  Box problem;  // empty when there is none
  std::vector<Box> names;
  std::vector<Box> descriptions;
  Box footer;
  Box ok;
};

// `heightOf(text, width)`: the pixels a text takes wrapped at `width`; `widthOf(text)`: its width
// on one line.
using TextHeight = std::function<int(const std::string& text, int width)>;
using TextWidth = std::function<int(const std::string& text)>;

HelpLayout helpLayout(int dpi, const std::string& problem, const std::vector<std::string>& names,
                      const std::vector<std::string>& descriptions, const std::string& footer,
                      const TextHeight& heightOf, const TextWidth& widthOf);

}  // namespace kelvane
