#include "SampleCheck.h"

#include <iostream>
#include <set>

#include "PerfData.h"
#include "framework/Exceptions.h"

namespace gaugery::cli {

TSampleNotice LatestSampleNotice(const TPerfData& Data) {
  const TRefreshReport& Report = Data.LastRefresh();
  switch (Report.Result) {
    case TRefreshResult::Whole:
      return {};
    case TRefreshResult::Cut:
      return {true, "the performance data block was cut to " + std::to_string(Report.KeptObjects) +
                        " of its " + std::to_string(Report.Objects) +
                        " objects: " + Report.Problem};
    case TRefreshResult::Refused:
      return {false, "the performance data block was refused: " + Report.Problem};
    case TRefreshResult::Failed:
      break;
  }
  return {false, "no performance data could be read: " + Report.Problem};
}

void CheckLatestSample(const TPerfData& Data) {
  const TSampleNotice Notice = LatestSampleNotice(Data);
  if (!Notice.Usable) throw Exception(Notice.Message);
  static std::set<std::string> Reported;
  if (!Notice.Message.empty() && Reported.insert(Notice.Message).second) {
    std::cerr << "gaugery: warning: " << Notice.Message << std::endl;
  }
}

TSharedSample::TSharedSample(const std::string& ComputerName)
    : Data_(GetGlobalPerfData(ComputerName)) {
  try {
    CheckLatestSample(*Data_);
  } catch (...) {
    ReleaseGlobalPerfData(Data_);
    throw;
  }
}

TSharedSample::~TSharedSample() { ReleaseGlobalPerfData(Data_); }

}  // namespace gaugery::cli
