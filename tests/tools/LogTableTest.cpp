// The counter-log table layout as a unit: quoting, line ends, the header's zone field and
// the local time of the rows.
#include "LogTable.h"

#include <gtest/gtest.h>

#include <limits>
#include <sstream>

#include "framework/WinTime.h"

namespace gaugery::cli {
namespace {

std::int64_t FileTimeOf(WORD Year, WORD Month, WORD Day, WORD Hour, WORD Minute, WORD Second,
                        WORD Milliseconds) {
  const SYSTEMTIME Clock{Year, Month, 0, Day, Hour, Minute, Second, Milliseconds};
  FILETIME Time;
  SystemTimeToFileTime(&Clock, &Time);
  return FileTimeToInt64(Time);
}

TEST(LogTable, RowTimesAreTheLocalTimeOfTheBias) {
  const std::int64_t Time = FileTimeOf(2024, 12, 31, 23, 30, 5, 42);
  EXPECT_EQ(LogTableTime(Time, 0), "12/31/2024 23:30:05.042");
  // East of UTC the bias is negative: local time is later, here in the next year.
  EXPECT_EQ(LogTableTime(Time, -60), "01/01/2025 00:30:05.042");
  EXPECT_EQ(LogTableTime(Time, 300), "12/31/2024 18:30:05.042");
  // Milliseconds are cut, not rounded up into the next second.
  EXPECT_EQ(LogTableTime(Time + 9999, 0), "12/31/2024 23:30:05.042");
}

TEST(LogTable, QuotesEveryFieldAndEndsLinesInCrLf) {
  std::ostringstream Out;
  TLogTableWriter Table(Out, TLogTableFormat::Csv, "Eastern \"Standard\" Time", 300);
  Table.Header({"\\\\HOST\\Process(a,b)\\% Processor Time", "\\\\HOST\\Memory\\Available Bytes"});
  Table.Row(FileTimeOf(2024, 5, 6, 12, 0, 0, 0), {std::nullopt, 0.000091});
  Table.Row(FileTimeOf(2024, 5, 6, 12, 0, 1, 500), {12.5, 9000000});
  EXPECT_EQ(Out.str(),
            "\"(PDH-CSV 4.0) (Eastern \"\"Standard\"\" Time)(300)\","
            "\"\\\\HOST\\Process(a,b)\\% Processor Time\",\"\\\\HOST\\Memory\\Available Bytes\"\r\n"
            "\"05/06/2024 07:00:00.000\",\" \",\"0.000091\"\r\n"
            "\"05/06/2024 07:00:01.500\",\"12.5\",\"9000000\"\r\n");
}

TEST(LogTable, TsvSeparatesByTabsAndAValueThatIsNotFiniteIsNone) {
  std::ostringstream Out;
  TLogTableWriter Table(Out, TLogTableFormat::Tsv, "UTC", 0);
  Table.Header({"\\\\HOST\\System\\Threads"});
  Table.Row(FileTimeOf(2024, 5, 6, 12, 0, 0, 0), {std::numeric_limits<double>::infinity()});
  EXPECT_EQ(Out.str(),
            "\"(PDH-TSV 4.0) (UTC)(0)\"\t\"\\\\HOST\\System\\Threads\"\r\n"
            "\"05/06/2024 12:00:00.000\"\t\" \"\r\n");
}

}  // namespace
}  // namespace gaugery::cli
