// /metrics for 500 processes against the sample it is rendered from: with 500 extra
// idle processes running, one run measures a refresh of the live block and the
// rendering of its exposition (read from the block, in both formats). The target is
// rendering in at most twice the time of a sample.
#include <benchmark/benchmark.h>

#include "BlockDump.h"
#include "IdleProcesses.h"
#include "MetricExposition.h"
#include "PerfData.h"
#include "PerfTitles.h"
#include "ServedNames.h"

namespace {

using namespace gaugery;
using namespace gaugery::exposition;
using gaugery::cli::EnglishHelpTexts;

constexpr int ExtraProcesses = 500;

std::int32_t ProcessCount(TPerfData& Data) {
  TPerfTitles Titles(nullptr);
  const BlockDump Block = DumpBlock(Data, Titles);
  for (const ObjectDump& Object : Block.Objects)
    if (Object.Index == 230) return Object.NumInstances;
  return 0;
}

void BM_TakeSample(benchmark::State& State) {
  TPerfData Data("Global", "");
  for (auto _ : State) Data.Refresh();
  State.counters["processes"] = ProcessCount(Data);
}
BENCHMARK(BM_TakeSample)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_RenderMetrics(benchmark::State& State) {
  const auto Format = static_cast<TExpositionFormat>(State.range(0));
  TPerfData Data("Global", "");
  TPerfTitles Titles(nullptr);
  Titles.SetLocaleID("009");
  const THelpTexts Helps = EnglishHelpTexts();
  std::size_t Bytes = 0;
  for (auto _ : State) {
    TExpositionWriter Writer(Format);
    WriteBlockMetrics(Writer, DumpBlock(Data, Titles), Helps);
    const std::string Text = Writer.Finish();
    Bytes = Text.size();
    benchmark::DoNotOptimize(Text.data());
  }
  State.counters["bytes"] = static_cast<double>(Bytes);
  State.counters["processes"] = ProcessCount(Data);
}
BENCHMARK(BM_RenderMetrics)
    ->Arg(static_cast<int>(TExpositionFormat::Prometheus))
    ->Arg(static_cast<int>(TExpositionFormat::OpenMetrics))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  const gaugery::bench::TIdleProcesses Children(ExtraProcesses);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
