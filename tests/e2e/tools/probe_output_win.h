#pragma once
// What the probes print: UTF-8 on standard output, flushed at once so that a scenario reading
// the output sees each line as soon as it is written.

#include <cstdio>
#include <string>

#include "common/text_win.h"

namespace kelvane {

inline void print(const std::wstring& text) {
  const std::string utf8 = toUtf8(text);
  fwrite(utf8.data(), 1, utf8.size(), stdout);
  fflush(stdout);
}

}  // namespace kelvane
