#include "options/color_picker.h"

#include <array>

#include "common/language.h"

namespace kelvane {

namespace {

constexpr std::array kEntries = {
    ColorPickerEntry{PickerEntryKind::Default, clAutomatic, TextId::ColorDefault},
    ColorPickerEntry{PickerEntryKind::Named, rgbColor(0, 0, 0), TextId::ColorBlack},
    ColorPickerEntry{PickerEntryKind::Named, rgbColor(128, 0, 0), TextId::ColorMaroon},
    ColorPickerEntry{PickerEntryKind::Named, rgbColor(0, 128, 0), TextId::ColorGreen},
    ColorPickerEntry{PickerEntryKind::Named, rgbColor(128, 128, 0), TextId::ColorOlive},
    ColorPickerEntry{PickerEntryKind::Named, rgbColor(0, 0, 128), TextId::ColorNavy},
    ColorPickerEntry{PickerEntryKind::Named, rgbColor(128, 0, 128), TextId::ColorPurple},
    ColorPickerEntry{PickerEntryKind::Named, rgbColor(0, 128, 128), TextId::ColorTeal},
    ColorPickerEntry{PickerEntryKind::Named, rgbColor(128, 128, 128), TextId::ColorGray},
    ColorPickerEntry{PickerEntryKind::Named, rgbColor(192, 192, 192), TextId::ColorSilver},
    ColorPickerEntry{PickerEntryKind::Named, rgbColor(255, 0, 0), TextId::ColorRed},
    ColorPickerEntry{PickerEntryKind::Named, rgbColor(0, 255, 0), TextId::ColorLime},
    ColorPickerEntry{PickerEntryKind::Named, rgbColor(255, 255, 0), TextId::ColorYellow},
    ColorPickerEntry{PickerEntryKind::Named, rgbColor(0, 0, 255), TextId::ColorBlue},
    ColorPickerEntry{PickerEntryKind::Named, rgbColor(255, 0, 255), TextId::ColorFuchsia},
    ColorPickerEntry{PickerEntryKind::Named, rgbColor(0, 255, 255), TextId::ColorAqua},
    ColorPickerEntry{PickerEntryKind::Named, rgbColor(255, 255, 255), TextId::ColorWhite},
    ColorPickerEntry{PickerEntryKind::Named, systemColor(8), TextId{}, "WindowText"},
    ColorPickerEntry{PickerEntryKind::Named, systemColor(5), TextId{}, "Window"},
    ColorPickerEntry{PickerEntryKind::Named, systemColor(15), TextId{}, "ThreeDFace"},
    ColorPickerEntry{PickerEntryKind::Named, systemColor(16), TextId{}, "ButtonShadow"},
    ColorPickerEntry{PickerEntryKind::Named, systemColor(20), TextId{}, "ButtonHighlight"},
    ColorPickerEntry{PickerEntryKind::Named, systemColor(21), TextId{}, "ThreeDDarkShadow"},
    ColorPickerEntry{PickerEntryKind::Named, systemColor(18), TextId{}, "ButtonText"},
    ColorPickerEntry{PickerEntryKind::Named, systemColor(13), TextId{}, "Highlight"},
    ColorPickerEntry{PickerEntryKind::Named, systemColor(14), TextId{}, "HighlightText"},
    ColorPickerEntry{PickerEntryKind::Named, systemColor(17), TextId{}, "GrayText"},
    ColorPickerEntry{PickerEntryKind::Named, systemColor(2), TextId{}, "ActiveCaption"},
    ColorPickerEntry{PickerEntryKind::Named, systemColor(9), TextId{}, "CaptionText"},
    ColorPickerEntry{PickerEntryKind::Named, systemColor(4), TextId{}, "Menu"},
    ColorPickerEntry{PickerEntryKind::Named, systemColor(7), TextId{}, "MenuText"},
    ColorPickerEntry{PickerEntryKind::Named, systemColor(24), TextId{}, "InfoBackground"},
    ColorPickerEntry{PickerEntryKind::Named, systemColor(23), TextId{}, "InfoText"},
    ColorPickerEntry{PickerEntryKind::Custom, clAutomatic, TextId::ColorCustom},
};

}  // namespace

std::span<const ColorPickerEntry> colorPickerEntries() { return kEntries; }

std::string_view colorPickerEntryName(const ColorPickerEntry& entry) {
  return entry.systemName.empty() ? std::string_view(tr(entry.text)) : entry.systemName;
}

int colorPickerCustomIndex() { return static_cast<int>(kEntries.size()) - 1; }

int colorPickerIndex(const PickerState& state) {
  if (!state.color) return 0;
  for (std::size_t i = 0; i < kEntries.size(); ++i)
    if (kEntries[i].kind == PickerEntryKind::Named && kEntries[i].color == *state.color) return static_cast<int>(i);
  return colorPickerCustomIndex();
}

}  // namespace kelvane
