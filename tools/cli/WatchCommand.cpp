// gaugery watch: samples counters with a monitor and prints, after each sample, the
// current (or average) value of every instance. The first sample is the baseline the
// second is measured against: values are printed from the second sample on.
#include <chrono>
#include <cstdint>
#include <thread>

#include "Browsing.h"
#include "Commands.h"
#include "ComputerOption.h"
#include "CounterSelection.h"
#include "CounterWatch.h"
#include "Replay.h"
#include "WatchPrinter.h"
#include "perf/ReplayProvider.h"

namespace gaugery::cli {

namespace {

TWatchOutput ChosenOutput(const Arguments& Args) {
  if (Args.Has("--csv") && Args.Has("--json"))
    throw UsageError("--csv and --json exclude each other");
  if (Args.Has("--csv")) return TWatchOutput::Csv;
  return Args.Has("--json") ? TWatchOutput::Json : TWatchOutput::Text;
}

// The samples of values one step takes: every --every'th sample of a counter log, which
// is read without waiting; live, the next sample after --interval.
long long ChosenEvery(const Arguments& Args) {
  if (Args.Has("--every") && !ReplayingLog())
    throw UsageError("--every takes samples of a counter log (--replay LOG)");
  return Args.Number("--every", 1, 1);
}

int Run(const Arguments& Args) {
  const TWatchOutput Output = ChosenOutput(Args);
  const std::chrono::steady_clock::duration Period = Args.Seconds("--interval", "1");
  const long long Count = Args.Number("--count", 0, 1);  // 0: until interrupted
  const long long Every = ChosenEvery(Args);
  const bool FromLog = ReplayingLog();
  const std::vector<TCounterSelection> Selections = SelectionsOf(Args.Operands(), ChosenComputer());
  TCounterWatch Watch(Selections, Args);
  // Naming the counters has read samples already; the first Collect takes the first
  // replayed file again.
  RestartReplayedSamples();
  const TCounterSelection& First = Selections.front();
  TWatchPrinter Printer(Output, First.FromPath, First.Object, First.Counters);
  if (FromLog) Printer.LabelTextWithTime();
  auto Due = std::chrono::steady_clock::now();
  Watch.Collect();
  Watch.CheckNamedInstances();
  for (long long Printed = 0; Count == 0 || Printed < Count; ++Printed) {
    if (FromLog) {
      // The rates rest on the logged times, so the samples follow at once until the
      // log's end.
      SkipReplayedSamples(static_cast<std::uint64_t>(Every - 1));
      if (ReplayedLogEnded()) break;
    } else {
      Due += Period;
      std::this_thread::sleep_until(Due);
    }
    Watch.Collect();
    Printer.Print(Watch.SysTime(), Watch.Rows());
  }
  return 0;
}

}  // namespace

Command WatchCommand() {
  return {
      "watch",
      "watch [--locale ID] [--key KEY] [--interval SECONDS] [--count N] [--avg] "
      "[--every N] [--csv | --json] OBJECT COUNTER [COUNTER...] | PATH...",
      "Samples each COUNTER of the object titled OBJECT, or each counter PATH (as for "
      "\"gaugery read\"), every SECONDS. The first sample is the baseline: from the second "
      "on, each sample prints one row per instance, its name and the current value of every "
      "counter with its unit, tab-separated (on a terminal aligned under a header); a path "
      "prints its path and value, and fails when the instance it names is not in a sample. A "
      "value that rests on no earlier sample of its instance alone (a new instance, or "
      "same-named instances that no key tells apart), or on two samples of the same time, "
      "prints as \"-\". Replaying a counter log (--replay LOG), watch prints one row set "
      "per logged sample at once, until the log ends, each beginning with its logged time "
      "(ISO 8601, UTC) in text; its "
      "rates rest on the logged times.",
      std::string(LocaleOptionDetails) +
          "  --key KEY    counter names joined by \";\" whose values tell instances of the same "
          "name apart (Process: \"ID Process\"; \"\" for names only)\n"
          "  --interval SECONDS  time between samples (default 1; fractions allowed)\n"
          "  --count N    stop after N samples of values, N + 1 samples with the baseline "
          "(default: run until interrupted, or to the end of a replayed log)\n"
          "  --every N    of a replayed counter log, takes every Nth sample (the first is "
          "the baseline)\n"
          "  --avg        averages since the baseline instead of current values\n"
          "  --csv        a header line, then one line per instance and sample: time (ISO "
          "8601, UTC), instance, key, values; or time, path, value; numbers at full "
          "precision\n"
          "  --json       one document per sample and line, numbers independent of the "
          "locale: {\"time\", \"object\", \"rows\": [{\"instance\", \"key\", \"values\": "
          "[{\"counter\", \"value\", \"unit\"}]}]}, or {\"time\", \"values\": [{\"path\", "
          "\"value\", \"unit\"}]}\n",
      {"--avg", "--csv", "--json"},
      {"--locale", "--key", "--interval", "--count", "--every"},
      Run};
}

}  // namespace gaugery::cli
