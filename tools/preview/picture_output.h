#pragma once
// The picture side of kelvane-preview: the composed tray picture as text and as PNG files.

#include <string>

#include "memory/memory_status.h"
#include "common/number_format.h"
#include "settings/options.h"
#include "tray/tray_image.h"

namespace preview {

// The picture as the notification area shows it at `size` pixels (tray/picture_design.h), on
// `taskbar` (none: a system without a light or dark mode).
kelvane::TrayPicture composePreviewPicture(const kelvane::TKelvaneOptions& options,
                                           const kelvane::MemorySample& sample,
                                           const kelvane::NumberFormat& format,
                                           int size = kelvane::TrayImageSize,
                                           const kelvane::TaskbarLook& taskbar = {});

// "pixels:" and a line of RRGGBB tokens per row, one per pixel; see-through pixels show as
// 030303.
void printPixels(const kelvane::TrayPicture& picture);

// Writes the picture enlarged `scale` times with nearest-neighbour sampling. False on failure.
bool writePicturePng(const kelvane::TrayPicture& picture, int scale, const std::string& path);

// A grid of pictures at `size` pixels: one row per main look (built on `base`), one column per
// load from 0 to 100 % in steps of 5, each picture enlarged four times (fewer above 32 pixels).
// False when the file cannot be written.
bool writeContactSheet(const kelvane::TKelvaneOptions& base, const kelvane::NumberFormat& format,
                       int size, const std::string& path, const kelvane::TaskbarLook& taskbar = {});

}  // namespace preview
