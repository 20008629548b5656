// Judging a downloaded version file, which runs on the check's worker thread: a maker's file of
// a few hundred bytes, and the worst a hostile server can send within the size limit.
#include <benchmark/benchmark.h>

#include <string>

#include "update/update_check.h"

using namespace kelvane;

namespace {

constexpr std::string_view kHead = "[CurrentVersions]\r\nKelvane=3.3.0.0\r\n[CurrentHistory]\r\n";

void judge(benchmark::State& state, const std::string& body) {
  const std::optional<std::string> downloaded = body;
  for (auto _ : state) benchmark::DoNotOptimize(judgeVersionFile(downloaded, "Kelvane", "3.2.10.0"));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * body.size()));
}

void BM_JudgeMakersVersionFile(benchmark::State& state) {
  judge(state, std::string(kHead) +
                   "1=Faster menu\r\n2=Fixed the tip\r\n[DownloadURL]\r\nKelvane=https://x/k.zip\r\n"
                   "[DateReleased]\r\nDate=2026-11-30\r\n[BetaVersions]\r\nKelvane=3.4.0.1\r\n");
}
BENCHMARK(BM_JudgeMakersVersionFile);

// 64 KB of nameless history keys: every line an entry that no number finds.
void BM_JudgeHostileEqualsLines(benchmark::State& state) {
  std::string body(kHead);
  while (body.size() + 3 <= kVersionFileLimit) body += "=\r\n";
  judge(state, body);
}
BENCHMARK(BM_JudgeHostileEqualsLines)->Unit(benchmark::kMillisecond);

// The whole file as readVersionFile gives it, with a history line for each numbered key (not
// on the window's path, which reads only the version).
void BM_ReadHostileHistory(benchmark::State& state) {
  std::string body(kHead);
  for (int key = 1; body.size() < kVersionFileLimit - 16; ++key) body += std::to_string(key) + "=x\r\n";
  for (auto _ : state) benchmark::DoNotOptimize(readVersionFile(body, "Kelvane"));
}
BENCHMARK(BM_ReadHostileHistory)->Unit(benchmark::kMillisecond);

}  // namespace
