// The monitor's Collect against the work it rests on: a filter's Collect plus reading
// the same counters of every instance, on synthetic process samples of 1,000 and
// 10,000 instances. The monitor has eight items, one of them keyed by "ID Process".
//
// Compare BM_MonitorCollect/N with BM_FilterCollectAndRead/N of the same run.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "BlockBuilder.h"
#include "FakeProviders.h"
#include "PerfCounterType.h"
#include "PerfFilter.h"
#include "PerfMonitor.h"

namespace {

using namespace gaugery;

constexpr DWORD kProcess = 230;
constexpr DWORD kIdProcess = 784;

struct TCounter {
  DWORD Index;
  const char* Name;
  DWORD Type;
};

// The eight monitored counters.
const std::vector<TCounter> kCounters = {
    {6, "% Processor Time", PERF_100NSEC_TIMER},
    {142, "% User Time", PERF_100NSEC_TIMER},
    {144, "% Privileged Time", PERF_100NSEC_TIMER},
    {180, "Working Set", PERF_COUNTER_LARGE_RAWCOUNT},
    {186, "Private Bytes", PERF_COUNTER_LARGE_RAWCOUNT},
    {28, "Page Faults/sec", PERF_COUNTER_COUNTER},
    {680, "Thread Count", PERF_COUNTER_RAWCOUNT},
    {952, "Handle Count", PERF_COUNTER_RAWCOUNT},
};

std::vector<TPerfLocaleNames> Names() {
  TPerfLocaleNames English{"009", {{kProcess, "Process"}, {kIdProcess, "ID Process"}}, {}};
  for (const TCounter& Counter : kCounters)
    English.Counter.push_back({Counter.Index, Counter.Name});
  return {English};
}

// Instances named in pairs (as several processes of one program are), each with its
// own process id.
test::TBlock ProcessSample(int Instances, std::int64_t Stamp) {
  test::TObjectSpec Process{.NameIndex = kProcess, .HasInstances = true};
  Process.Counters.push_back({.NameIndex = kIdProcess, .Type = PERF_COUNTER_RAWCOUNT, .Size = 4});
  for (const TCounter& Counter : kCounters) {
    const DWORD Size = CounterSizeOf(Counter.Type) == TCounterSize::Large ? 8 : 4;
    Process.Counters.push_back({.NameIndex = Counter.Index, .Type = Counter.Type, .Size = Size});
  }
  for (int I = 0; I < Instances; ++I) {
    std::vector<std::int64_t> Values{1000 + I};
    for (std::size_t C = 0; C < kCounters.size(); ++C) Values.push_back(Stamp * (I + 1) + C);
    Process.Instances.push_back({.Name = "program" + std::to_string(I / 2), .Values = Values});
  }
  test::TBlockSpec Plan{.Objects = {Process}};
  Plan.SystemTime.wSecond = static_cast<WORD>(Stamp % 60);
  return test::BuildBlock(Plan);
}

test::TFakeProviders ServeProcesses(int Instances) {
  return test::TFakeProviders(
      {{.Samples = {ProcessSample(Instances, 1), ProcessSample(Instances, 2)},
        .WritesWholeBlock = true,
        .Names = Names()}});
}

void BM_FilterCollectAndRead(benchmark::State& State) {
  const auto Instances = static_cast<int>(State.range(0));
  const test::TFakeProviders Provider = ServeProcesses(Instances);
  TPerfFilter Filter(nullptr);
  std::vector<TPerfCounterItem*> Items;
  for (const TCounter& Counter : kCounters) {
    TPerfCounterItem* Item = Filter.Items()->Add();
    Item->SetObjectName("Process");
    Item->SetCounterName(Counter.Name);
    Items.push_back(Item);
  }
  for (auto _ : State) {
    Filter.Collect();
    std::int64_t Sum = 0;
    for (TPerfCounterItem* Item : Items) {
      const std::int32_t Count = Item->InstanceCount();
      for (std::int32_t Index = 0; Index < Count; ++Index) Sum += Item->InsCtrAsInteger(Index);
    }
    benchmark::DoNotOptimize(Sum);
  }
  State.SetComplexityN(Instances);
}
BENCHMARK(BM_FilterCollectAndRead)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_MonitorCollect(benchmark::State& State) {
  const auto Instances = static_cast<int>(State.range(0));
  const test::TFakeProviders Provider = ServeProcesses(Instances);
  TPerfMonitor Monitor(nullptr);
  for (const TCounter& Counter : kCounters) {
    TPerfMonitorItem* Item = Monitor.Items()->Add();
    Item->SetObjectName("Process");
    Item->SetCounterName(Counter.Name);
  }
  Monitor.Items()->Items(0)->SetObjectKey("ID Process");
  Monitor.Collect();  // every record exists from here on
  for (auto _ : State) Monitor.Collect();
  State.counters["records"] = Monitor.Items()->Items(1)->InstanceValueCount();
  State.SetComplexityN(Instances);
}
BENCHMARK(BM_MonitorCollect)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
