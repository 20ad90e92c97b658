// The data of `gaugery top`: Brindle's process table, read through Brindle's stored
// filter, and the processor time of each process, both from one sample per refresh.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "PerfFilter.h"
#include "ProcessorTimes.h"
#include "TopTable.h"

namespace gaugery::cli {

class TTopSampler {
 public:
  // Reads the filter and takes the snapshot of ComputerName (empty: this computer), so
  // that the first refresh serves the first replayed file.
  explicit TTopSampler(const std::string& ComputerName);

  // Takes a sample and rebuilds the rows from it. The error that ended the refresh, if
  // any; the rows then stay those of the last complete refresh.
  std::optional<std::string> Refresh();

  // "Task name", Brindle's counter names, then the processor time.
  const std::vector<std::string>& Captions() const { return Captions_; }
  // In the order of the sample.
  const std::vector<TTopRow>& Rows() const { return Rows_.Rows(); }
  // The computer the sample comes from, as the sample names it.
  std::string MachineName() const;
  // The time stamp of the last sample, as a file time.
  std::int64_t SampleTime() const { return Times_.SampleTime(); }

 private:
  void RebuildRows();
  static void SumProcessorTimeIntoTotal(std::vector<TTopRow>& Rows);
  TProcessCell ProcessorTimeCell(const TTopRow& Row) const;

  std::unique_ptr<TPerfFilter> Filter_;
  TProcessorTimes Times_;
  std::vector<std::string> Captions_;
  // The column of the process id, by which the processor times are matched.
  std::optional<std::size_t> IdColumn_;
  TTopRows Rows_;
};

}  // namespace gaugery::cli
