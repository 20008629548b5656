#include "options/color_picker.h"

#include <array>

namespace kelvane {

namespace {

constexpr std::array kEntries = {
    ColorPickerEntry{PickerEntryKind::Default, clAutomatic, "默认"},
    ColorPickerEntry{PickerEntryKind::Named, rgbColor(0, 0, 0), "黑色"},
    ColorPickerEntry{PickerEntryKind::Named, rgbColor(128, 0, 0), "褐红色"},
    ColorPickerEntry{PickerEntryKind::Named, rgbColor(0, 128, 0), "绿色"},
    ColorPickerEntry{PickerEntryKind::Named, rgbColor(128, 128, 0), "橄榄色"},
    ColorPickerEntry{PickerEntryKind::Named, rgbColor(0, 0, 128), "深蓝色"},
    ColorPickerEntry{PickerEntryKind::Named, rgbColor(128, 0, 128), "紫色"},
    ColorPickerEntry{PickerEntryKind::Named, rgbColor(0, 128, 128), "蓝绿色"},
    ColorPickerEntry{PickerEntryKind::Named, rgbColor(128, 128, 128), "灰色"},
    ColorPickerEntry{PickerEntryKind::Named, rgbColor(192, 192, 192), "银色"},
    ColorPickerEntry{PickerEntryKind::Named, rgbColor(255, 0, 0), "红色"},
    ColorPickerEntry{PickerEntryKind::Named, rgbColor(0, 255, 0), "亮绿色"},
    ColorPickerEntry{PickerEntryKind::Named, rgbColor(255, 255, 0), "黄色"},
    ColorPickerEntry{PickerEntryKind::Named, rgbColor(0, 0, 255), "蓝色"},
    ColorPickerEntry{PickerEntryKind::Named, rgbColor(255, 0, 255), "紫红色"},
    ColorPickerEntry{PickerEntryKind::Named, rgbColor(0, 255, 255), "浅绿色"},
    ColorPickerEntry{PickerEntryKind::Named, rgbColor(255, 255, 255), "白色"},
    ColorPickerEntry{PickerEntryKind::Named, systemColor(8), "WindowText"},
    ColorPickerEntry{PickerEntryKind::Named, systemColor(5), "Window"},
    ColorPickerEntry{PickerEntryKind::Named, systemColor(15), "ThreeDFace"},
    ColorPickerEntry{PickerEntryKind::Named, systemColor(16), "ButtonShadow"},
    ColorPickerEntry{PickerEntryKind::Named, systemColor(20), "ButtonHighlight"},
    ColorPickerEntry{PickerEntryKind::Named, systemColor(21), "ThreeDDarkShadow"},
    ColorPickerEntry{PickerEntryKind::Named, systemColor(18), "ButtonText"},
    ColorPickerEntry{PickerEntryKind::Named, systemColor(13), "Highlight"},
    ColorPickerEntry{PickerEntryKind::Named, systemColor(14), "HighlightText"},
    ColorPickerEntry{PickerEntryKind::Named, systemColor(17), "GrayText"},
    ColorPickerEntry{PickerEntryKind::Named, systemColor(2), "ActiveCaption"},
    ColorPickerEntry{PickerEntryKind::Named, systemColor(9), "CaptionText"},
    ColorPickerEntry{PickerEntryKind::Named, systemColor(4), "Menu"},
    ColorPickerEntry{PickerEntryKind::Named, systemColor(7), "MenuText"},
    ColorPickerEntry{PickerEntryKind::Named, systemColor(24), "InfoBackground"},
    ColorPickerEntry{PickerEntryKind::Named, systemColor(23), "InfoText"},
    ColorPickerEntry{PickerEntryKind::Custom, clAutomatic, "自定义..."},
};

}  // namespace

std::span<const ColorPickerEntry> colorPickerEntries() { return kEntries; }

int colorPickerCustomIndex() { return static_cast<int>(kEntries.size()) - 1; }

int colorPickerIndex(const PickerState& state) {
  if (!state.color) return 0;
  for (std::size_t i = 0; i < kEntries.size(); ++i)
    if (kEntries[i].kind == PickerEntryKind::Named && kEntries[i].color == *state.color) return static_cast<int>(i);
  return colorPickerCustomIndex();
}

}  // namespace kelvane
