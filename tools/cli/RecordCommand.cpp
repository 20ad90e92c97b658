// gaugery record: samples the performance data at an interval into a counter log, until
// a count or a duration is reached or a signal ends it.
#include <charconv>
#include <chrono>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "Commands.h"
#include "ComputerOption.h"
#include "PerfData.h"
#include "RecordSignals.h"
#include "RecordedMachine.h"
#include "Replay.h"
#include "framework/WinTime.h"
#include "perf/log/CounterLogWriter.h"

namespace gaugery::cli {

namespace {

using Clock = std::chrono::steady_clock;

// How often the line of figures is printed and the name tables are compared.
constexpr std::chrono::minutes ReportEvery{1};

std::optional<unsigned long long> WholeNumber(const std::string& Text, std::size_t& Used) {
  unsigned long long Value = 0;
  const auto [End, Error] = std::from_chars(Text.data(), Text.data() + Text.size(), Value);
  if (Error != std::errc() || End == Text.data()) return std::nullopt;
  Used = static_cast<std::size_t>(End - Text.data());
  return Value;
}

// The factor of a unit suffix, among Units ("K" 1024, ...); 0 for an unknown one.
unsigned long long SuffixFactor(
    const std::string& Suffix,
    const std::vector<std::pair<std::string, unsigned long long>>& Units) {
  for (const auto& [Name, Factor] : Units)
    if (Suffix == Name) return Factor;
  return 0;
}

// A whole number with an optional unit suffix, at least 1; UsageError otherwise.
unsigned long long Amount(const Arguments& Args, const std::string& Option, const std::string& Kind,
                          const std::vector<std::pair<std::string, unsigned long long>>& Units) {
  const std::string Text = Args.Value(Option);
  std::size_t Used = 0;
  const std::optional<unsigned long long> Value = WholeNumber(Text, Used);
  const unsigned long long Factor = SuffixFactor(Text.substr(Used), Units);
  if (!Value || *Value == 0 || Factor == 0 || *Value > ~0ULL / Factor)
    throw UsageError("option " + Option + " needs " + Kind + ", not \"" + Text + "\"");
  return *Value * Factor;
}

std::uint64_t MaxVolumeBytes(const Arguments& Args) {
  if (!Args.Has("--max-size")) return 0;
  return Amount(Args, "--max-size", "a size in bytes (with K, M or G)",
                {{"", 1}, {"K", 1ULL << 10}, {"M", 1ULL << 20}, {"G", 1ULL << 30}});
}

std::optional<Clock::duration> Duration(const Arguments& Args) {
  if (!Args.Has("--duration")) return std::nullopt;
  return std::chrono::seconds(Amount(Args, "--duration",
                                     "a duration (seconds, or with s, m, h or d)",
                                     {{"", 1}, {"s", 1}, {"m", 60}, {"h", 3600}, {"d", 86400}}));
}

// The comma-separated title indexes of --objects; none for every object of "Global".
std::vector<DWORD> ObjectIndexes(const Arguments& Args) {
  std::vector<DWORD> Indexes;
  if (!Args.Has("--objects")) return Indexes;
  const std::string Text = Args.Value("--objects");
  std::size_t Start = 0;
  for (;;) {
    const std::size_t Comma = std::min(Text.find(',', Start), Text.size());
    const std::string Item = Text.substr(Start, Comma - Start);
    std::size_t Used = 0;
    const std::optional<unsigned long long> Index = WholeNumber(Item, Used);
    if (!Index || Used != Item.size() || *Index == 0 || *Index > 0xFFFFFFFFULL)
      throw UsageError("option --objects needs title indexes separated by commas, not \"" + Text +
                       "\"");
    Indexes.push_back(static_cast<DWORD>(*Index));
    if (Comma == Text.size()) return Indexes;
    Start = Comma + 1;
  }
}

struct TRecordPlan {
  std::string File;
  std::string ValueName;
  Clock::duration Interval{};
  std::optional<long long> Count;
  std::optional<Clock::duration> Duration;
  Clock::duration SyncEvery{};
  TLogWriterOptions Writer;
};

TRecordPlan Plan(const Arguments& Args) {
  if (Args.Operands().size() != 1) throw UsageError("record needs one file name");
  if (Args.Has("--count") && Args.Has("--duration"))
    throw UsageError("--count and --duration exclude each other");
  TRecordPlan Plan;
  Plan.File = Args.Operands()[0];
  Plan.ValueName = IndexListValueName(ObjectIndexes(Args));
  Plan.Interval = Args.Seconds("--interval", "1");
  if (Plan.Interval <= Clock::duration::zero())
    throw UsageError("option --interval needs more than 0 seconds");
  if (Args.Has("--count")) Plan.Count = Args.Number("--count", 0, 1);
  Plan.Duration = Duration(Args);
  Plan.SyncEvery = Args.Seconds("--sync", "60");
  Plan.Writer.MaxVolumeBytes = MaxVolumeBytes(Args);
  Plan.Writer.KeepVolumes = static_cast<unsigned>(Args.Number("--keep", 0, 1));
  return Plan;
}

// The latest sample of Data into the log, or a gap with the reason it could not be had.
void StoreLatest(TPerfData& Data, TCounterLogWriter& Writer) {
  const TRefreshReport& Report = Data.LastRefresh();
  if (Report.Result == TRefreshResult::Failed || Report.Result == TRefreshResult::Refused) {
    Writer.WriteGap(NowAsFileTime(), Report.Problem);
    return;
  }
  const PPERF_DATA_BLOCK Block = Data.PerfData();
  Writer.WriteSample(Block, Block->TotalByteLength);
}

void ReportFigures(const TCounterLogWriter& Writer) {
  const std::uint64_t Samples = Writer.SamplesWritten();
  const std::uint64_t Bytes = Writer.BytesWritten();
  std::cerr << "gaugery record: " << Samples << " samples, " << Bytes << " bytes, "
            << (Samples == 0 ? 0 : Bytes / Samples) << " bytes per sample\n";
}

// Whether the recording is over after the sample taken at Taken.
bool Done(const TRecordPlan& Plan, long long Taken, Clock::time_point Started) {
  if (Plan.Count) return Taken >= *Plan.Count;
  return Plan.Duration && Clock::now() - Started >= *Plan.Duration;
}

int Run(const Arguments& Args) {
  const TRecordPlan Plan = cli::Plan(Args);
  const std::string& Computer = ChosenComputer();
  TPerfData Data(Plan.ValueName, Computer);
  TCounterLogWriter Writer(Plan.File, RecordedMachine(Data, Computer), PerflibNames(Computer),
                           Plan.Writer);
  TRecordSignals Signals;
  const Clock::time_point Started = Clock::now();
  Clock::time_point NextSample = Started;
  Clock::time_point NextReport = Started + ReportEvery;
  Clock::time_point NextSync = Started + Plan.SyncEvery;
  for (long long Taken = 1;; ++Taken) {
    StoreLatest(Data, Writer);
    const Clock::time_point Now = Clock::now();
    if (Now >= NextSync) {
      Writer.Sync();
      NextSync = Now + Plan.SyncEvery;
    }
    if (Now >= NextReport) {
      ReportFigures(Writer);
      Writer.WriteNames(PerflibNames(Computer));
      NextReport = Now + ReportEvery;
    }
    if (Done(Plan, Taken, Started)) break;
    // The next sample keeps to the interval's grid; a late one does not push the others.
    NextSample = std::max(NextSample + Plan.Interval, Now);
    TRecordSignals::TEvent Event;
    while ((Event = Signals.WaitUntil(NextSample)) == TRecordSignals::TEvent::NewVolume)
      Writer.StartVolume();
    if (Event == TRecordSignals::TEvent::Stop) break;
    Data.Refresh();
  }
  Writer.Close();
  ReportFigures(Writer);
  return 0;
}

}  // namespace

Command RecordCommand() {
  return {
      "record",
      "record [--interval S] [--count N | --duration D] [--objects INDEX,...] "
      "[--max-size SIZE] [--keep N] [--sync S] FILE",
      "Records the performance data into the counter log FILE, once a second until "
      "interrupted: every object of \"Global\", or those that --objects names (Thread only "
      "so). SIGINT and SIGTERM close the log with its index; SIGHUP starts a new volume. A "
      "sample that fails is recorded as a gap with its reason. Figures (samples, bytes, "
      "bytes per sample) go to standard error every minute and at the end. Read the log "
      "with --replay FILE.",
      "  --interval S     seconds between samples (fractions allowed; default 1)\n"
      "  --count N        stop after N samples\n"
      "  --duration D     stop after D seconds, or with a unit: 90s, 15m, 8h, 1d\n"
      "  --objects INDEX,...  the title indexes of the objects to record, by commas: "
      "230,232 (Process and Thread)\n"
      "  --max-size SIZE  start a new volume (FILE.1, FILE.2, ...) before one grows to "
      "SIZE bytes (with K, M or G)\n"
      "  --keep N         when --max-size or SIGHUP starts a volume, remove the oldest beyond N\n"
      "  --sync S         ask for the log to reach the disk every S seconds (0: after every "
      "sample; default 60). Every record reaches the operating system when written, so "
      "only a power loss can cost the samples of the last S seconds; syncing more often "
      "costs a disk flush each time\n",
      {},
      {"--interval", "--count", "--duration", "--objects", "--max-size", "--keep", "--sync"},
      Run};
}

}  // namespace gaugery::cli
