#include "Recorder.h"

#include <algorithm>

#include "PerfData.h"
#include "RecordSignals.h"
#include "RecordedMachine.h"
#include "framework/WinTime.h"

namespace gaugery::cli {

namespace {

using Clock = std::chrono::steady_clock;

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

void ReportFigures(const TCounterLogWriter& Writer, std::ostream& Figures) {
  const std::uint64_t Samples = Writer.SamplesWritten();
  const std::uint64_t Bytes = Writer.BytesWritten();
  Figures << "gaugery record: " << Samples << " samples, " << Bytes << " bytes, "
          << (Samples == 0 ? 0 : Bytes / Samples) << " bytes per sample" << std::endl;
}

// Whether the recording is over after the sample taken at Taken.
bool Done(const TRecordPlan& Plan, long long Taken, Clock::time_point Started) {
  if (Plan.Count) return Taken >= *Plan.Count;
  return Plan.Duration && Clock::now() - Started >= *Plan.Duration;
}

}  // namespace

void Record(const TRecordPlan& Plan, const std::string& Computer, std::ostream& Figures) {
  TPerfData Data(Plan.ValueName, Computer);
  TCounterLogWriter Writer(Plan.File, RecordedMachine(Data, Computer), PerflibNames(Computer),
                           Plan.Writer);
  TRecordSignals Signals;
  const Clock::time_point Started = Clock::now();
  Clock::time_point NextSample = Started;
  Clock::time_point NextReport = Started + Plan.ReportEvery;
  Clock::time_point NextSync = Started + Plan.SyncEvery;
  for (long long Taken = 1;; ++Taken) {
    StoreLatest(Data, Writer);
    const Clock::time_point Now = Clock::now();
    if (Now >= NextSync) {
      Writer.Sync();
      NextSync = Now + Plan.SyncEvery;
    }
    if (Now >= NextReport) {
      ReportFigures(Writer, Figures);
      Writer.WriteNames(PerflibNames(Computer));
      NextReport = Now + Plan.ReportEvery;
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
  ReportFigures(Writer, Figures);
}

}  // namespace gaugery::cli
