// One Brindle tick offscreen (a new sample plus the update of the whole list) against the
// bare filter tick (the same sample plus a read of every counter of every process), in
// one run, with 500 extra idle processes on the machine. Prints the ratio of the two.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTimer>
#include <QTreeWidget>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "ErrorReport.h"
#include "IdleProcesses.h"
#include "fmBrindle.h"

namespace {

using gaugery::TBrindleForm;
using gaugery::TPerfCounterItems;

constexpr int ExtraProcesses = 500;

// Collect, then every raw value of every instance, as the list update reads them.
void BareFilterTick(TBrindleForm& Form) {
  Form.PerfFilter()->Collect();
  TPerfCounterItems& Items = *Form.PerfFilter()->Items();
  const int Instances = Items[0]->GetInstanceCount();
  for (int Row = 0; Row < Instances; ++Row) {
    benchmark::DoNotOptimize(Items[0]->GetInstanceNames(Row));
    for (int K = 0; K < Items.Count(); ++K)
      benchmark::DoNotOptimize(Items[K]->InsCtrAsInteger(Row));
  }
}

// Keeps the time per iteration of every benchmark it shows.
class TRatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& Runs) override {
    for (const Run& Result : Runs) {
      if (Result.run_type == Run::RT_Iteration)
        Times[Result.benchmark_name()] = Result.GetAdjustedRealTime();
    }
    ConsoleReporter::ReportRuns(Runs);
  }
  std::map<std::string, double> Times;
};

}  // namespace

int main(int argc, char** argv) {
  const gaugery::bench::TIdleProcesses Idle(ExtraProcesses);
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication Application(argc, argv);
  benchmark::Initialize(&argc, argv);

  std::string Failure;
  gaugery::SetErrorReportShow([&](const std::string& Text) { Failure = Text; });
  TBrindleForm Form;
  Form.Timer()->stop();

  benchmark::RegisterBenchmark("BareFilterTick", [&](benchmark::State& State) {
    for (auto _ : State) BareFilterTick(Form);
    State.counters["processes"] =
        Form.PerfFilter()->Items()->GetCounterItems(0)->GetInstanceCount();
  })->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("BrindleTick", [&](benchmark::State& State) {
    for (auto _ : State) Form.TimerTimer();
    if (!Failure.empty()) State.SkipWithError(Failure.c_str());
    State.counters["rows"] = Form.LV()->topLevelItemCount();
  })->Unit(benchmark::kMillisecond);

  TRatioReporter Reporter;
  benchmark::RunSpecifiedBenchmarks(&Reporter);
  benchmark::Shutdown();
  const double Bare = Reporter.Times["BareFilterTick"];
  if (Bare > 0 && Reporter.Times.count("BrindleTick") != 0) {
    std::printf("Brindle tick / bare filter tick: %.2f (target <= 2)\n",
                Reporter.Times["BrindleTick"] / Bare);
  }
  return 0;
}
