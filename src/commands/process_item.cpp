#include "commands/process_item.h"

namespace kelvane {

bool StandsForSame(const ProcessItem& a, const ProcessItem& b) {
  const bool aGroup = a.unified && !a.path.empty(), bGroup = b.unified && !b.path.empty();
  if (aGroup || bGroup) return aGroup && bGroup && a.path == b.path;
  return a.processId == b.processId && a.creationTime == b.creationTime;
}

}  // namespace kelvane
