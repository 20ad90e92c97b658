// The times of --begin and --end, which choose a window of a counter log: an ISO 8601
// date and time ("2026-12-08T03:00", "2026-12-08 03:00:30.5Z", "...+01:00"), a date
// alone (its midnight), or a time of day alone ("03:00", on the log's first day). A time
// without a zone is the recording machine's local time.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "framework/WinTypes.h"

namespace gaugery::cli {

struct TLogTime {
  // For a time of day alone, none.
  std::optional<SYSTEMTIME> Date;
  // 100 ns units since the day's midnight.
  std::int64_t TimeOfDay = 0;
  // Minutes ahead of UTC, for a time with a zone.
  std::optional<int> UtcOffset;
};

// The window that --begin and --end chose; none for the log's first or last sample.
struct TLogWindow {
  std::optional<TLogTime> Begin;
  std::optional<TLogTime> End;
};

// What the programs say when --begin or --end comes without a log to replay.
inline constexpr char WindowNeedsReplay[] = "--begin and --end need --replay LOG";

// Sets Window's Begin (Option "--begin") or End ("--end") to the time Text; the message
// of the usage error when Text is no time.
std::optional<std::string> SetWindowTime(TLogWindow& Window, const std::string& Option,
                                         const std::string& Text);

// None for a text of another form or a calendar time that does not exist.
std::optional<TLogTime> ParseLogTime(const std::string& Text);

// The file time of Time in a log whose first sample is at FirstTime (a file time), of a
// machine whose local time plus Bias minutes is UTC.
std::int64_t LogFileTime(const TLogTime& Time, std::int64_t FirstTime, LONG Bias);

// The calendar time that the clock of a machine whose local time plus Bias minutes is UTC
// showed at the file time Time: how a log's samples are dated for its reader.
SYSTEMTIME RecordedClock(std::int64_t Time, LONG Bias);

}  // namespace gaugery::cli
