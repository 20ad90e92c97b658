#include "TopSampler.h"

#include <exception>
#include <functional>

#include "ProcessFilterForm.h"
#include "SampleCheck.h"
#include "Replay.h"

namespace gaugery::cli {

namespace {

std::optional<std::string> ErrorOf(const std::function<void()>& Step) {
  try {
    Step();
  } catch (const std::exception& Error) {
    return Error.what();
  }
  return std::nullopt;
}

}  // namespace

TTopSampler::TTopSampler(const std::string& ComputerName)
    : Filter_(ReadProcessFilter(ProcessFilterForm())), Times_(ComputerName) {
  Filter_->SetComputerName(ComputerName);
  Captions_ = ProcessColumnCaptions(*Filter_);
  IdColumn_ = ColumnNamed(Captions_, "ID Process");
  Captions_.push_back(ProcessorTimeCaption);
  // Taking the snapshot reads a sample; with it held, the first refresh takes the first
  // replayed file.
  Filter_->InitPerfData();
  RestartReplayedSamples();
}

std::optional<std::string> TTopSampler::Refresh() {
  // The monitor takes the sample; the filter reads the same one.
  const std::optional<std::string> SampleError = ErrorOf([this] { Times_.Collect(); });
  // A refused block, or none, leaves the rows of the last sample that had one.
  const TSampleNotice Notice = LatestSampleNotice(*Filter_->Snapshot());
  if (!Notice.Usable) return Notice.Message;
  const std::optional<std::string> RowsError = ErrorOf([this] { RebuildRows(); });
  return RowsError ? RowsError : SampleError;
}

void TTopSampler::RebuildRows() {
  Filter_->LocateItems();
  TTopRows Fresh;
  WriteProcessRows(*Filter_, Fresh);
  for (TTopRow& Row : Fresh.Rows()) Row.ProcessorTime = ProcessorTimeCell(Row);
  SumProcessorTimeIntoTotal(Fresh.Rows());
  Rows_ = std::move(Fresh);
}

// The _Total row shows the sum of the processes' percentages: the sample's own _Total
// sums only the processes alive at each sample, so it goes down when some of them end.
void TTopSampler::SumProcessorTimeIntoTotal(std::vector<TTopRow>& Rows) {
  TTopRow* Total = nullptr;
  Extended Sum = 0;
  for (TTopRow& Row : Rows) {
    if (Row.Name == TotalInstanceName) {
      Total = &Row;
    } else if (HasValue(Row.ProcessorTime.Value)) {
      Sum += Row.ProcessorTime.Value;
    }
  }
  if (Total != nullptr) Total->ProcessorTime = {FormatFloat("0.0", Sum), Sum};
}

TProcessCell TTopSampler::ProcessorTimeCell(const TTopRow& Row) const {
  const std::optional<Extended> Percent =
      IdColumn_ ? Times_.Percent(Row.Name, Row.Cell(*IdColumn_).Value) : std::nullopt;
  if (!Percent) return {"-", NoValue()};
  return {FormatFloat("0.0", *Percent), *Percent};
}

std::string TTopSampler::MachineName() const {
  TPerfData* Snapshot = Filter_->Snapshot();
  return Snapshot != nullptr ? Snapshot->SystemName() : std::string();
}

}  // namespace gaugery::cli
