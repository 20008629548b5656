#include "settings/system_colors.h"

namespace kelvane {

SystemColorTable windows10SystemColors() {
  return {
      rgbColor(200, 200, 200),  //  0 scroll bar
      rgbColor(0, 0, 0),        //  1 desktop
      rgbColor(153, 180, 209),  //  2 active caption
      rgbColor(191, 205, 219),  //  3 inactive caption
      rgbColor(240, 240, 240),  //  4 menu
      rgbColor(255, 255, 255),  //  5 window
      rgbColor(100, 100, 100),  //  6 window frame
      rgbColor(0, 0, 0),        //  7 menu text
      rgbColor(0, 0, 0),        //  8 window text
      rgbColor(0, 0, 0),        //  9 caption text
      rgbColor(180, 180, 180),  // 10 active border
      rgbColor(244, 247, 252),  // 11 inactive border
      rgbColor(171, 171, 171),  // 12 application workspace
      rgbColor(0, 120, 215),    // 13 highlight
      rgbColor(255, 255, 255),  // 14 highlight text
      rgbColor(240, 240, 240),  // 15 button face
      rgbColor(160, 160, 160),  // 16 button shadow
      rgbColor(109, 109, 109),  // 17 grey text
      rgbColor(0, 0, 0),        // 18 button text
      rgbColor(0, 0, 0),        // 19 inactive caption text
      rgbColor(255, 255, 255),  // 20 button highlight
      rgbColor(105, 105, 105),  // 21 3-D dark shadow
      rgbColor(227, 227, 227),  // 22 3-D light
      rgbColor(0, 0, 0),        // 23 tool-tip text
      rgbColor(255, 255, 225),  // 24 tool-tip background
  };
}

TColor resolveSystemColor(TColor color, const SystemColorTable& table) {
  if (isSystemColor(color)) return table[static_cast<std::size_t>(color - SystemColorBase)] & 0xFFFFFF;
  return color & 0xFFFFFF;
}

TColor paintColor(const TKelvaneOptions& options, ColorSlot slot, const SystemColorTable& table) {
  return resolveSystemColor(EffectiveColor(options, slot), table);
}

}  // namespace kelvane
