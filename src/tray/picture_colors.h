#pragma once
// Colours that the taskbar and the system's accessibility settings impose on the picture when it
// is drawn. They replace the settings' colours for one drawing only: the record and the file
// keep what the user chose, so turning the choice off or leaving high contrast brings it back.

#include <optional>

#include "settings/options.h"
#include "settings/system_colors.h"

namespace kelvane {

// What the shell read about the taskbar and the display.
struct TaskbarLook {
  // The taskbar's mode where the system has one: true for light, false for dark. None on
  // systems without the setting, where following the taskbar changes nothing.
  std::optional<bool> light;
  bool highContrast = false;

  bool operator==(const TaskbarLook&) const = default;
};

// Replacements for the drawing; an empty member keeps the settings' colour. 0x00BBGGRR.
struct PictureColors {
  std::optional<TColor> text;        // digits, decimal point, the system-font value
  std::optional<TColor> border;      // the bar's border
  std::optional<TColor> background;  // an opaque background (a see-through one stays so)

  bool operator==(const PictureColors&) const = default;
};

// High contrast wins whatever the choice: text and border in the window text colour, an opaque
// background in the window colour. Otherwise, with FollowTaskbarTheme on and a see-through
// picture, text and border are white on a dark taskbar and black on a light one. The load
// colours of the bar are never replaced.
PictureColors pictureColors(const TKelvaneOptions& options, const TaskbarLook& look,
                            const SystemColorTable& systemColors);

}  // namespace kelvane
