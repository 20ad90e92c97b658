#include "BrindleTable.h"

#include <algorithm>
#include <exception>
#include <limits>
#include <optional>

#include "BrindleProduct.h"
#include "ErrorReport.h"
#include "ProcessFilterForm.h"
#include "Replay.h"
#include "perf/ReplayProvider.h"

namespace gaugery {

namespace {

constexpr std::chrono::milliseconds LiveTickInterval{1000};
constexpr std::int64_t FileTimeUnitsPerMillisecond = 10'000;
// What a timer can wait at most, in milliseconds.
constexpr std::int64_t LongestTick = std::numeric_limits<int>::max();

}  // namespace

TBrindleTable::TBrindleTable(TProcessColumns& Columns, TProcessRows& Rows,
                             const TBrindleArguments& Shown)
    : Columns_(Columns),
      Rows_(Rows),
      PerfFilter_(ReadProcessFilter(ProcessFilterForm())),
      ReplayFiles_(Shown.ReplayFiles) {
  PerfFilter_->SetComputerName(Shown.ComputerName);
}

TBrindleTable::~TBrindleTable() = default;

void TBrindleTable::FormCreate() {
  WriteProcessColumns(*PerfFilter_, Columns_);
  TimerTimer();
}

void TBrindleTable::TimerTimer() {
  if (IsBusy_) return;
  IsBusy_ = true;
  std::optional<std::string> Error;
  try {
    Refresh();
  } catch (const std::exception& Failure) {
    Error = Failure.what();
  }
  IsBusy_ = false;
  // Reported once the refresh is over: the report's event loop delivers further ticks.
  if (Error) ReportError(*Error);
}

// Taking the snapshot reads a sample; with it held, the first refresh takes the first
// replayed file.
void TBrindleTable::Refresh() {
  if (PerfFilter_->Snapshot() == nullptr) {
    PerfFilter_->InitPerfData();
    cli::RestartReplayedSamples();
  }
  RefreshProcessRows(*PerfFilter_, Rows_);
}

std::optional<std::chrono::milliseconds> TBrindleTable::TickInterval() const {
  if (!cli::ReplayingLog()) return LiveTickInterval;
  if (ReplayedLogEnded()) return std::nullopt;
  // No step is known when the refresh failed before it read a sample.
  const std::optional<std::int64_t> Step = ReplayedLogStep();
  if (!Step) return LiveTickInterval;
  return std::chrono::milliseconds(
      std::clamp<std::int64_t>(*Step / FileTimeUnitsPerMillisecond, 0, LongestTick));
}

std::string TBrindleTable::RemoteName() const {
  const std::string& Given = PerfFilter_->ComputerName();
  if (Given.empty()) return Given;
  const TPerfData* Snapshot = PerfFilter_->Snapshot();
  const std::string Measured = Snapshot != nullptr ? Snapshot->SystemName() : std::string();
  return Measured.empty() ? Given : Measured;
}

std::string TBrindleTable::Caption() const {
  const std::string Remote = RemoteName();
  if (Remote.empty()) return BrindleProductName;
  return std::string(BrindleProductName) + " - " + Remote;
}

std::string TBrindleTable::Notice() const { return BrindleNotice(ReplayFiles_, RemoteName()); }

}  // namespace gaugery
