// Composing one tray picture, as every tick does: the default look with three digits and a point,
// and the four-glyph percentage look.
#include <benchmark/benchmark.h>

#include "tray/tray_image.h"

using namespace kelvane;

namespace {

const NumberFormat kFormat = NumberFormat::fromSystem(".", ",", "3;0");
const SystemColorTable kColors = windows10SystemColors();

void composeLoop(benchmark::State& state, const TKelvaneOptions& options, const std::string& text) {
  DigitStrips strips;
  MemorySample sample{91, 16ull << 30, 1500ull << 20, 24ull << 30, 6ull << 30};
  for (auto _ : state) {
    const TrayImageInput in{options, sample, text, LoadLevel(sample, options), kColors, kFormat, {}};
    benchmark::DoNotOptimize(ComposeTrayImage(in, strips));
  }
}

void BM_ComposeTrayImageDefault(benchmark::State& state) {
  composeLoop(state, defaultOptions(10), "14.54");
}
BENCHMARK(BM_ComposeTrayImageDefault);

void BM_ComposeTrayImagePercent(benchmark::State& state) {
  TKelvaneOptions options = defaultOptions(10);
  options.ShowPercentage = options.ShowPercSign = true;
  options.FullBar = true;
  options.NoBorder = false;
  composeLoop(state, options, "100%");
}
BENCHMARK(BM_ComposeTrayImagePercent);

}  // namespace
