// The per-tick work of the core: the picture's text and the tip, for a typical sample.
#include <benchmark/benchmark.h>

#include "memory/memory_status.h"

using namespace kelvane;

namespace {

const MemorySample kSample{91, 16ull << 30, 1500ull << 20, 24ull << 30, 6ull << 30};
const NumberFormat kFormat = NumberFormat::fromSystem(".", ",", "3;0");

void BM_TickTexts(benchmark::State& state) {
  const TKelvaneOptions options = defaultOptions(10);
  for (auto _ : state) {
    benchmark::DoNotOptimize(DisplayText(kSample, options, kFormat));
    benchmark::DoNotOptimize(HintText(kSample, options, kFormat));
    benchmark::DoNotOptimize(LoadLevel(kSample, options));
  }
}
BENCHMARK(BM_TickTexts);

void BM_SizeText(benchmark::State& state) {
  std::int64_t bytes = 3ll << 30;
  for (auto _ : state) {
    benchmark::DoNotOptimize(SizeText(bytes, kFormat));
    bytes += 4096;
  }
}
BENCHMARK(BM_SizeText);

}  // namespace
