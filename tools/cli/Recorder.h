// The recording loop of `gaugery record`: samples of one computer at an interval into a
// counter log, a line of figures at an interval and at the end, the name tables compared
// as often, until a count or a duration is reached or a signal ends it.
#pragma once

#include <chrono>
#include <optional>
#include <ostream>
#include <string>

#include "perf/log/CounterLogWriter.h"

namespace gaugery::cli {

struct TRecordPlan {
  using TDuration = std::chrono::steady_clock::duration;

  std::string File;
  // The value each sample queries: "Global", or a list of title indexes.
  std::string ValueName = "Global";
  TDuration Interval = std::chrono::seconds(1);
  std::optional<long long> Count;
  std::optional<TDuration> Duration;
  TDuration SyncEvery = std::chrono::seconds(60);
  // How often the figures are printed and the name tables read again: a name table that
  // changed is recorded before the next sample.
  TDuration ReportEvery = std::chrono::minutes(1);
  TLogWriterOptions Writer;
};

// Records Computer (empty: this one) as Plan says, and closes the log. Figures gets
// "gaugery record: N samples, B bytes, B/N bytes per sample" every Plan.ReportEvery and
// at the end. SIGINT and SIGTERM end the recording, SIGHUP starts a new volume.
void Record(const TRecordPlan& Plan, const std::string& Computer, std::ostream& Figures);

}  // namespace gaugery::cli
