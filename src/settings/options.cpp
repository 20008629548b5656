#include "settings/options.h"

namespace kelvane {

TKelvaneOptions defaultOptions(int osMajorVersion) {
  TKelvaneOptions options;
  options.ShowPage = osMajorVersion < 6;
  return options;
}

TColor automaticColor(ColorSlot slot) {
  switch (slot) {
    case ColorSlot::FontColor: return clBlack;
    case ColorSlot::OpaqueBkColor: return clWhite;
    case ColorSlot::BarBorderColor: return systemColor(COLOR_BTNSHADOW_INDEX);
    case ColorSlot::FullBarColor: return systemColor(COLOR_BTNSHADOW_INDEX);
    case ColorSlot::GreenColor: return 0x00FF00;
    case ColorSlot::YellowColor: return 0x00FFFF;
    case ColorSlot::RedColor: return 0x0000FF;
    case ColorSlot::ProcMenuHightlightColor: return rgbColor(251, 225, 225);
  }
  return clBlack;
}

TColor& colorField(TKelvaneOptions& options, ColorSlot slot) {
  switch (slot) {
    case ColorSlot::FontColor: return options.FontColor;
    case ColorSlot::OpaqueBkColor: return options.OpaqueBkColor;
    case ColorSlot::BarBorderColor: return options.BarBorderColor;
    case ColorSlot::FullBarColor: return options.FullBarColor;
    case ColorSlot::GreenColor: return options.GreenColor;
    case ColorSlot::YellowColor: return options.YellowColor;
    case ColorSlot::RedColor: return options.RedColor;
    case ColorSlot::ProcMenuHightlightColor: return options.ProcMenuHightlightColor;
  }
  return options.FontColor;
}

TColor colorField(const TKelvaneOptions& options, ColorSlot slot) {
  return colorField(const_cast<TKelvaneOptions&>(options), slot);
}

TColor EffectiveColor(const TKelvaneOptions& options, ColorSlot slot, bool automaticOnly) {
  if (automaticOnly) return automaticColor(slot);
  const TColor value = colorField(options, slot);
  return value == clAutomatic ? automaticColor(slot) : value;
}

void ApplyFontColor(TKelvaneOptions& options) {
  options.Font.Color = options.FontColor == clAutomatic ? clBlack : options.FontColor;
}

}  // namespace kelvane
