#include "tray/tip_schedule.h"

#include <cstdlib>

namespace kelvane {

bool tipDue(const TipTick& tick) {
  if (tick.pictureChanged || tick.pointerArrived || !tick.lastSent) return true;
  if (!tick.textChanged) return false;
  if (tick.pointerOver || tick.wordingChanged) return true;
  return tick.now - *tick.lastSent >= kTipMaxAgeMs;
}

bool pointerLeftIcon(Point reported, Point now, int iconSize) {
  return std::abs(now.x - reported.x) > iconSize || std::abs(now.y - reported.y) > iconSize;
}

}  // namespace kelvane
