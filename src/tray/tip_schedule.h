#pragma once
// When the notification icon's tip is sent to the shell. Every send costs the shell a copy of
// the record and a redraw of the tooltip, while nobody reads a tip the pointer is not on: the tip
// follows every tick only while the pointer is over the icon, and otherwise goes with a changed
// picture, a changed wording, or at the latest after kTipMaxAgeMs (a keyboard user who focuses
// the icon sees a tip at most that old).

#include <cstdint>
#include <optional>

#include "common/geometry.h"

namespace kelvane {

inline constexpr std::uint64_t kTipMaxAgeMs = 10000;

struct TipTick {
  std::uint64_t now = 0;           // the tick's time, milliseconds of a monotonic clock
  bool pictureChanged = false;     // a new picture goes to the shell on this tick
  bool pointerOver = false;        // the pointer is over the icon
  bool pointerArrived = false;     // a mouse-move reported it there, and it was not there before
  bool wordingChanged = false;     // settings applied, language chosen, number format changed
  bool textChanged = false;        // the tip's text differs from the one the shell has
  std::optional<std::uint64_t> lastSent;  // when the shell last got the tip; none before the first
};

// Whether this tick sends the tip. A text the shell already has is sent again on its own only
// when the pointer arrives (the tip is then set at once, whatever was sent before); with a new
// picture it goes along in the same call, which costs nothing more.
bool tipDue(const TipTick& tick);

// Whether the pointer, reported over the icon at `reported`, has left it by `now`: more than one
// icon size away on either axis. The shell says when the pointer arrives but not when it leaves.
bool pointerLeftIcon(Point reported, Point now, int iconSize);

}  // namespace kelvane
