#include "history/history_window_place.h"

#include <algorithm>

namespace kelvane {

namespace {

int scaledSize(int size, int dpi, int keptDpi) {
  if (keptDpi <= 0 || keptDpi == dpi) return size;
  return static_cast<int>((static_cast<long long>(size) * dpi + keptDpi / 2) / keptDpi);
}

// A start that keeps `length` inside [least, most), or the least when it does not fit.
int within(int start, int length, int least, int most) { return std::max(least, std::min(start, most - length)); }

}  // namespace

ViewRect historyWindowFrame(const HistoryWindowPlace& place, int dpi, ViewPoint standard, const ViewRect& work) {
  const int width = std::min(place.width > 0 ? scaledSize(place.width, dpi, place.dpi) : standard.x, work.width());
  const int height = std::min(place.height > 0 ? scaledSize(place.height, dpi, place.dpi) : standard.y, work.height());
  const int left = within(place.left.value_or(work.left + (work.width() - width) / 2), width, work.left, work.right);
  const int top = within(place.top.value_or(work.top + (work.height() - height) / 2), height, work.top, work.bottom);
  return {left, top, left + width, top + height};
}

}  // namespace kelvane
