// The counter-log table layout that spreadsheets and counter-log analysis tools read:
// every field in double quotes, lines ended by CRLF, a header of the time zone and the
// full counter paths, then one row per sample of its local time and values.
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "framework/WinTypes.h"

namespace gaugery::cli {

enum class TLogTableFormat { Csv, Tsv };

class TLogTableWriter {
 public:
  // Rows go to Out, their times in the zone of Bias (minutes added to local time to get
  // UTC) called TimeZoneName.
  TLogTableWriter(std::ostream& Out, TLogTableFormat Format, std::string TimeZoneName, LONG Bias);

  void Header(const std::vector<std::string>& Paths);
  // The values of one sample taken at Time (a file time); a value that cannot be
  // computed is written as a single space.
  void Row(std::int64_t Time, const std::vector<std::optional<double>>& Values);

 private:
  void Line(const std::vector<std::string>& Fields);

  std::ostream& Out_;
  TLogTableFormat Format_;
  std::string TimeZoneName_;
  LONG Bias_;
};

// Time (a file time, UTC) as the local time of the zone of Bias: "MM/dd/yyyy HH:mm:ss.fff".
std::string LogTableTime(std::int64_t Time, LONG Bias);

}  // namespace gaugery::cli
