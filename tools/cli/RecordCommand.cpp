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
#include "Recorder.h"
#include "Replay.h"

namespace gaugery::cli {

namespace {

using Clock = std::chrono::steady_clock;

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

int Run(const Arguments& Args) {
  Record(cli::Plan(Args), ChosenComputer(), std::cerr);
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
