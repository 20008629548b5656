// The tray menu model for a busy machine: 2,000 processes of 300 programs, merged, sorted and
// turned into entries; beside it the merge that restarts from the first record after every
// join, on the same input, and how many times slower that is.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <random>

#include "menu/menu_model.h"

using namespace kelvane;

namespace {

constexpr int kProcesses = 2000;
constexpr int kPrograms = 300;

std::vector<TNxProcessRec> syntheticWalk() {
  std::mt19937 random(20260);
  std::uniform_int_distribution<int> program(0, kPrograms - 1);
  std::uniform_int_distribution<std::uint64_t> memory(0, 800ull << 20);
  std::vector<TNxProcessRec> walk;
  for (int i = 0; i < kProcesses; ++i) {
    // Every program appears at least once, the rest at random.
    const int p = i < kPrograms ? i : program(random);
    TNxProcessRec record;
    record.ProcessId = static_cast<std::uint32_t>(4 * (i + 1));
    record.Name = "program" + std::to_string(p) + ".exe";
    record.Path = "C:\\Program Files\\Vendor " + std::to_string(p) + "\\" + record.Name;
    record.Memory = i % 17 == 0 ? 0 : memory(random);
    walk.push_back(std::move(record));
  }
  std::shuffle(walk.begin(), walk.end(), random);
  return walk;
}

TrayMenuInputs menuInputs() {
  TrayMenuInputs inputs;
  inputs.options = defaultOptions(10);
  inputs.options.ProcessValueType = 1;
  inputs.lastSample = MemorySample{60, 16ull << 30, 6ull << 30, 24ull << 30, 10ull << 30};
  inputs.hintText = "内存使用: 60%\r\n物理内存: 10 GB/16 GB\r\n页面文件: 14 GB/24 GB";
  return inputs;
}

// The merge as it was first described: join the first later record with the same path, then
// start over from the first record.
void restartFromZeroMerge(std::vector<TNxProcessRec>& items) {
  std::size_t i = 0;
  while (i < items.size()) {
    if (items[i].Memory == 0) {
      ++i;
      continue;
    }
    const std::size_t last = items.size();
    bool merged = false;
    for (std::size_t j = i + 1; j < last; ++j) {
      if (items[j].Path != items[i].Path) continue;
      if (items[i].InstanceCount == 0) items[i].InstanceCount = 1;
      items[i].Memory += items[j].Memory;
      ++items[i].InstanceCount;
      items.erase(items.begin() + static_cast<std::ptrdiff_t>(j));
      merged = true;
      break;
    }
    i = merged ? 0 : i + 1;
  }
}

const DescriptionSource kNoDescriptions = [](const std::string&) { return std::string(); };

void BM_TrayMenuModel(benchmark::State& state) {
  const auto walk = syntheticWalk();
  const TrayMenuInputs inputs = menuInputs();
  for (auto _ : state) benchmark::DoNotOptimize(BuildTrayMenu(inputs, walk, kNoDescriptions));
}
BENCHMARK(BM_TrayMenuModel)->Unit(benchmark::kMicrosecond);

void BM_RestartFromZeroMerge(benchmark::State& state) {
  const auto walk = syntheticWalk();
  const TrayMenuInputs inputs = menuInputs();
  std::vector<TNxProcessRec> oldResult;
  for (auto _ : state) {
    oldResult = walk;
    restartFromZeroMerge(oldResult);
    benchmark::DoNotOptimize(oldResult);
  }
  // The same run times the model on the same input, so the ratio compares like with like.
  using Clock = std::chrono::steady_clock;
  constexpr int kModelRounds = 200;
  const auto start = Clock::now();
  for (int round = 0; round < kModelRounds; ++round)
    benchmark::DoNotOptimize(BuildTrayMenu(inputs, walk, kNoDescriptions));
  const double modelSeconds = std::chrono::duration<double>(Clock::now() - start).count() / kModelRounds;
  auto items = walk;
  const auto oldStart = Clock::now();
  restartFromZeroMerge(items);
  const double mergeSeconds = std::chrono::duration<double>(Clock::now() - oldStart).count();
  state.counters["groups"] = static_cast<double>(oldResult.size());
  state.counters["model_us"] = modelSeconds * 1e6;
  state.counters["times_slower_than_model"] = mergeSeconds / modelSeconds;
  // Both merges must agree, or the comparison means nothing.
  const auto newResult = MergeInstances(walk);
  const bool same = std::equal(newResult.begin(), newResult.end(), oldResult.begin(), oldResult.end(),
                               [](const TNxProcessRec& a, const TNxProcessRec& b) {
                                 return a.ProcessId == b.ProcessId && a.Memory == b.Memory &&
                                        a.InstanceCount == b.InstanceCount;
                               });
  if (!same) state.SkipWithError("the two merges disagree");
}
BENCHMARK(BM_RestartFromZeroMerge)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
