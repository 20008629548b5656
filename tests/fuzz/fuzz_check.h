#pragma once
// A property of a fuzz target: when it does not hold, the input is a finding. The message names
// the property, so that a crash file libFuzzer keeps says at once what broke.
#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition) \
  ((condition) ? void() : kelvane_fuzz_failed(#condition, __FILE__, __LINE__))

[[noreturn]] inline void kelvane_fuzz_failed(const char* condition, const char* file, int line) {
  std::fprintf(stderr, "%s:%d: property does not hold: %s\n", file, line, condition);
  std::abort();
}
