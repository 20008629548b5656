#pragma once
// The program's link captions mark links as "<link>...</link>" and bold words as "<b>...</b>";
// the system's link control knows only "<a>...</a>".

#include <string>
#include <string_view>

namespace kelvane {

// "<link>" and "</link>" become "<a>" and "</a>"; "<b>" and "</b>" are dropped (the control
// draws no bold); every other character stays.
std::string sysLinkMarkup(std::string_view caption);

// The words a link caption shows, every tag dropped: what its width is measured from.
std::string linkDisplayText(std::string_view caption);

}  // namespace kelvane
