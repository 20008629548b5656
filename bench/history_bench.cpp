// The memory history's costs: what a tick adds (its sample joins the open minute; once a minute
// the closed one is written), the day of process snapshots held for the growers and the search
// through them, and the graph's columns from a full month of minutes.
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "history/graph_columns.h"
#include "history/history_file.h"
#include "history/memory_history_io.h"
#include "history/minute_recorder.h"
#include "history/process_growth.h"

using namespace kelvane;

namespace {

constexpr std::int64_t kStart = 1'700'000'000;
constexpr std::uint64_t MB = 1ull << 20;

// One tick a second into a history file whose ring is already full, so every closed minute also
// erases the one 31 days older.
void BM_HistoryTick(benchmark::State& state) {
  MemoryHistoryIo io;
  createHistoryFile(io);
  HistoryFile file(io, kStart);
  MinuteRecorder recorder(file);
  std::int64_t now = kStart;
  for (; now < kStart + kKeptSeconds; now += 60) recorder.add({now, 50, 8 * MB, 9 * MB});
  MemorySample sample{57, 16ull << 30, 7ull << 30, 24ull << 30, 12ull << 30};
  for (auto _ : state) {
    recorder.add(historySampleOf(sample, now++));
    sample.ullAvailPhys += 4096;
  }
  if (file.inMemory()) state.SkipWithError("the history file failed");
}
BENCHMARK(BM_HistoryTick);

struct SyntheticProcess {
  std::string path;
  std::uint64_t created;
  std::int64_t bytes;
  int kind;  // 0 steady, 1 busy, 2 leaking, 3 short-lived
};

// 200 processes over 288 snapshots: most steady with small changes, some busy, some leaking,
// and some that end and are replaced by a new instance every hour or so.
std::vector<std::vector<SyntheticProcess>> syntheticDay() {
  std::mt19937_64 random(288);
  std::vector<SyntheticProcess> processes;
  for (int i = 0; i < 200; ++i) {
    const int kind = i < 150 ? 0 : i < 180 ? 1 : i < 190 ? 2 : 3;
    processes.push_back({"C:\\Program Files\\Vendor " + std::to_string(i % 60) + "\\Application " +
                             std::to_string(i) + "\\app" + std::to_string(i) + ".exe",
                         static_cast<std::uint64_t>(random()),
                         static_cast<std::int64_t>(4 * MB + random() % (500 * MB)), kind});
  }
  std::vector<std::vector<SyntheticProcess>> day;
  for (int s = 0; s < 288; ++s) {
    for (SyntheticProcess& p : processes) {
      const auto jitter = [&](std::uint64_t range) {
        return static_cast<std::int64_t>(random() % (2 * range + 1)) - static_cast<std::int64_t>(range);
      };
      if (p.kind == 0 && random() % 10 < 3) p.bytes += jitter(256 * 1024);
      if (p.kind == 1) p.bytes += jitter(8 * MB);
      if (p.kind == 2) p.bytes += static_cast<std::int64_t>(random() % (2 * MB));
      if (p.kind == 3 && random() % 12 == 0) p.created = random();
      p.bytes = std::max<std::int64_t>(p.bytes, static_cast<std::int64_t>(4 * MB));
    }
    day.push_back(processes);
  }
  return day;
}

std::unique_ptr<ProcessSnapshots> heldDay(const std::vector<std::vector<SyntheticProcess>>& day) {
  auto snapshots = std::make_unique<ProcessSnapshots>();
  for (std::size_t s = 0; s < day.size(); ++s) {
    std::vector<ProcessSize> sizes;
    for (const SyntheticProcess& p : day[s])
      sizes.push_back({p.path, p.created, static_cast<std::uint64_t>(p.bytes)});
    snapshots->add(kStart + 300 * static_cast<std::int64_t>(s), sizes);
  }
  return snapshots;
}

// Adding a day of snapshots; the counters are what stays allocated afterwards: as the heap
// counts it, and as the containers report their capacity.
void BM_SnapshotsOfADay(benchmark::State& state) {
  const auto day = syntheticDay();
  std::size_t heap = 0;
  std::size_t held = 0;
  for (auto _ : state) {
    const std::size_t before = mallinfo2().uordblks;
    auto snapshots = heldDay(day);
    heap = mallinfo2().uordblks - before;
    held = snapshots->heldBytes();
    benchmark::DoNotOptimize(snapshots);
  }
  state.counters["heap_bytes"] = static_cast<double>(heap);
  state.counters["held_bytes"] = static_cast<double>(held);
}
BENCHMARK(BM_SnapshotsOfADay)->Unit(benchmark::kMillisecond);

void BM_GrowersOf24Hours(benchmark::State& state) {
  const auto snapshots = heldDay(syntheticDay());
  for (auto _ : state) benchmark::DoNotOptimize(snapshots->growers(kStart, kStart + 86400));
}
BENCHMARK(BM_GrowersOf24Hours)->Unit(benchmark::kMicrosecond);

// Thirty-one days of minutes, every one recorded, into a graph of the given width.
void BM_GraphColumnsOfAMonth(benchmark::State& state) {
  std::vector<MinuteRecord> minutes;
  std::mt19937 random(31);
  for (std::int64_t m = 0; m < kKeptMinutes; ++m) {
    const auto load = static_cast<std::uint8_t>(20 + random() % 70);
    minutes.push_back({kStart + 60 * m, 60, 60ull * load, load, static_cast<std::uint8_t>(load + 5), 8 * MB, 0});
  }
  const auto columns = static_cast<std::size_t>(state.range(0));
  for (auto _ : state)
    benchmark::DoNotOptimize(graphColumns(minutes, kStart, kStart + kKeptSeconds, columns));
}
BENCHMARK(BM_GraphColumnsOfAMonth)->Arg(640)->Arg(1920)->Unit(benchmark::kMicrosecond);

}  // namespace
