// The counter filter's tick: Collect plus reading every counter of every instance.
//
// Live: a filter with the example program's eight Process counters against a bare
// refresh of the same block, with 500 extra idle processes running. Target: the tick
// costs at most 1.2 times the bare refresh.
//
// Synthetic: the same eight counters on blocks of 1,000 and 10,000 instances served by a
// fake provider. Target: the cost per value stays flat (linear growth), for the whole
// tick and for the reads alone.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "BlockBuilder.h"
#include "FakeProviders.h"
#include "IdleProcesses.h"
#include "PerfData.h"
#include "PerfFilter.h"

namespace gaugery {
namespace {

constexpr int ExtraProcesses = 500;

struct TCounterName {
  DWORD Index;
  const char* Title;
  DWORD Size;
};

// The example program's items, in its order.
constexpr TCounterName BrindleCounters[] = {
    {784, "ID Process", 4},         {684, "Elapsed Time", 8},    {680, "Thread Count", 4},
    {952, "Handle Count", 4},       {184, "Page File Bytes", 8}, {182, "Page File Bytes Peak", 8},
    {58, "Pool Nonpaged Bytes", 4}, {180, "Working Set", 8}};

std::unique_ptr<TPerfFilter> BrindleFilter() {
  auto Filter = std::make_unique<TPerfFilter>(nullptr);
  Filter->SetLocaleID("009");
  for (const TCounterName& Counter : BrindleCounters) {
    TPerfCounterItem* Item = Filter->Items()->Add();
    Item->SetObjectName("Process");
    Item->SetCounterName(Counter.Title);
  }
  return Filter;
}

// What the example program reads in one tick after Collect: per instance its name and
// every counter, and the object's time base for the elapsed time.
std::int64_t ReadEverything(TPerfFilter& Filter) {
  TPerfCounterItems& Items = *Filter.Items();
  TPerfCounterItem& First = *Items[0];
  std::int64_t Sum = 0;
  const std::int32_t Count = First.GetInstanceCount();
  for (std::int32_t Row = 0; Row < Count; ++Row) {
    Sum += static_cast<std::int64_t>(First.GetInstanceNames(Row).size());
    for (int Item = 0; Item < Items.Count(); ++Item) Sum += Items[Item]->InsCtrAsInteger(Row);
    Sum += Items[1]->ObjectTime() / Items[1]->ObjectFreq();
  }
  return Sum;
}

void BM_BareRefresh(benchmark::State& State) {
  TPerfData Data("Global", "");
  for (auto _ : State) Data.Refresh();
}
BENCHMARK(BM_BareRefresh)->Unit(benchmark::kMillisecond);

void BM_BrindleTick(benchmark::State& State) {
  const std::unique_ptr<TPerfFilter> Filter = BrindleFilter();
  for (auto _ : State) {
    Filter->Collect();
    benchmark::DoNotOptimize(ReadEverything(*Filter));
  }
  State.counters["instances"] = Filter->Items()->Items(0)->InstanceCount();
}
BENCHMARK(BM_BrindleTick)->Unit(benchmark::kMillisecond);

test::TFakeProviders ServeProcesses(int Count) {
  test::TObjectSpec Process{.NameIndex = 230, .HasInstances = true};
  TPerfLocaleNames Names{.Locale = "009", .Counter = {{230, "Process"}}, .Help = {}};
  std::vector<std::int64_t> Values;
  for (const TCounterName& Counter : BrindleCounters) {
    Process.Counters.push_back(
        {.NameIndex = Counter.Index,
         .Type = Counter.Size == 8 ? PERF_COUNTER_LARGE_RAWCOUNT : PERF_COUNTER_RAWCOUNT,
         .Size = Counter.Size});
    Names.Counter.push_back({Counter.Index, Counter.Title});
    Values.push_back(static_cast<std::int64_t>(Counter.Index));
  }
  for (int I = 0; I < Count; ++I) {
    Values[0] = I;
    Process.Instances.push_back({.Name = "process" + std::to_string(I), .Values = Values});
  }
  Process.PerfFreq = 10000000;
  return test::TFakeProviders(
      {{.Samples = {test::BuildBlock({.Objects = {Process}})}, .Names = {Names}}});
}

void BM_SyntheticTick(benchmark::State& State) {
  const int Count = static_cast<int>(State.range(0));
  const test::TFakeProviders Provider = ServeProcesses(Count);
  const std::unique_ptr<TPerfFilter> Filter = BrindleFilter();
  for (auto _ : State) {
    Filter->Collect();
    benchmark::DoNotOptimize(ReadEverything(*Filter));
  }
  State.SetItemsProcessed(State.iterations() * Count * 8);
}
BENCHMARK(BM_SyntheticTick)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

void BM_SyntheticReads(benchmark::State& State) {
  const int Count = static_cast<int>(State.range(0));
  const test::TFakeProviders Provider = ServeProcesses(Count);
  const std::unique_ptr<TPerfFilter> Filter = BrindleFilter();
  Filter->Collect();
  for (auto _ : State) benchmark::DoNotOptimize(ReadEverything(*Filter));
  State.SetItemsProcessed(State.iterations() * Count * 8);
}
BENCHMARK(BM_SyntheticReads)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace gaugery

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  const gaugery::bench::TIdleProcesses Idle(gaugery::ExtraProcesses);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
