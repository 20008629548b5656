#pragma once
// Where the program's windows open: pure geometry over the monitors' rectangles and work areas
// and the taskbar's rectangle, which the shell reads from the system.

#include <cstddef>
#include <optional>
#include <vector>

#include "common/geometry.h"

namespace kelvane {

enum class TaskbarEdgeKind { None, Top, Bottom, Left, Right };

// The edge of its monitor that the taskbar lies along.
TaskbarEdgeKind TaskbarEdge(const Rect& taskbar, const Rect& monitor);

// The top-left corner for a window of the given size in the work-area corner beside the
// taskbar; nothing when the taskbar's edge is unknown.
std::optional<Point> placeNearTray(TaskbarEdgeKind edge, const Rect& workArea, int width, int height);

struct MonitorArea {
  Rect monitor;
  Rect work;  // without the taskbar and other bars docked at its edges
};

// The monitor an area belongs to, as an index into `monitors` (never empty, the primary first):
// the one it overlaps most; one that overlaps none belongs to the nearest, as a window dragged
// off the screen does.
std::size_t monitorOf(const std::vector<MonitorArea>& monitors, const Rect& area);

// The window moved the shortest way that puts it wholly inside the work area. One larger than
// the work area keeps its top-left corner there, so that its caption can still be taken.
Rect keepInside(const Rect& window, const Rect& work);

enum class DialogPlace {
  OverOwner,  // centred on its owner while the owner is on the screen; else as Centred
  Centred,    // in the middle of the tray's monitor, whatever its owner
  NearTray,   // in the work-area corner next to the taskbar; where it is without a taskbar
};

struct DialogFacts {
  Rect window;                       // where the system put it, at its final size
  std::optional<Rect> visibleOwner;  // the owner's rectangle, when the owner is shown
  std::optional<Rect> taskbar;       // none when the shell has no taskbar
  std::vector<MonitorArea> monitors; // the primary first; never empty
};

// Where a dialog opens: wholly inside the work area of the monitor it belongs to, which is its
// visible owner's or else the tray's (the primary monitor's without a taskbar).
Rect placeDialog(const DialogFacts& facts, DialogPlace place);

}  // namespace kelvane
