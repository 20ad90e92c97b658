// One refresh of the live performance data block.
#include <benchmark/benchmark.h>

#include "PerfData.h"

namespace {

void BM_RefreshLiveBlock(benchmark::State& State) {
  gaugery::TPerfData Data("Global", "");
  for (auto _ : State) Data.Refresh();
  State.counters["bytes"] = static_cast<double>(Data.PerfData()->TotalByteLength);
}
BENCHMARK(BM_RefreshLiveBlock)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
