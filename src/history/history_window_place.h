#pragma once
// Where the history window opens: the kept size in the pixels of the DPI it was kept at, scaled
// to the screen's DPI now, and the kept place, both brought inside the work area.

#include "history/history_layout.h"
#include "history/history_window_source.h"

namespace kelvane {

// The window's outer rectangle. `standard` is the outer size of the default client area at
// `dpi`, used when no size was kept; a window without a kept place is centred in `work`. A
// window larger than `work` is cut to it, and one partly outside it is moved in.
ViewRect historyWindowFrame(const HistoryWindowPlace& place, int dpi, ViewPoint standard, const ViewRect& work);

}  // namespace kelvane
