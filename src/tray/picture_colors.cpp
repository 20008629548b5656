#include "tray/picture_colors.h"

namespace kelvane {

namespace {

constexpr int kColorWindowIndex = 5;

}  // namespace

PictureColors pictureColors(const TKelvaneOptions& options, const TaskbarLook& look,
                            const SystemColorTable& systemColors) {
  if (look.highContrast) {
    const TColor text = resolveSystemColor(systemColor(COLOR_WINDOWTEXT_INDEX), systemColors);
    PictureColors colors{text, text, std::nullopt};
    if (!options.TransBk) colors.background = resolveSystemColor(systemColor(kColorWindowIndex), systemColors);
    return colors;
  }
  if (!options.FollowTaskbarTheme || !options.TransBk || !look.light) return {};
  const TColor contrast = *look.light ? clBlack : clWhite;
  return {contrast, contrast, std::nullopt};
}

}  // namespace kelvane
