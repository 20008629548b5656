#pragma once
// Which desktop look the system has, for the first-run theme.

namespace kelvane {

// 0..5 as VisualStyleFromSystem: Aero with composition, Aero without, the three XP colour
// schemes, anything else. uxtheme and dwmapi come from the system folder only.
int DetectVisualStyle();

}  // namespace kelvane
