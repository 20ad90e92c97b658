// The times of a log window: ISO 8601 in the recording machine's local time or in UTC,
// a time of day on the first sample's local day, and text that is neither.
#include "LogTime.h"

#include <gtest/gtest.h>

#include "framework/WinTime.h"

namespace gaugery::cli {
namespace {

constexpr std::int64_t Second = 10000000;

// The file time of Text in a log whose first sample is at First, of a machine whose
// local time plus Bias minutes is UTC; -1 for a text that is no time.
std::int64_t FileTimeOf(const std::string& Text, LONG Bias, std::int64_t First) {
  const std::optional<TLogTime> Time = ParseLogTime(Text);
  return Time ? LogFileTime(*Time, First, Bias) : -1;
}

std::int64_t Utc(WORD Year, WORD Month, WORD Day, WORD Hour, WORD Minute, WORD Seconds) {
  const SYSTEMTIME Clock{Year, Month, 0, Day, Hour, Minute, Seconds, 0};
  FILETIME Time;
  SystemTimeToFileTime(&Clock, &Time);
  return FileTimeToInt64(Time);
}

TEST(LogTime, ReadsLocalAndUtcTimes) {
  const std::int64_t First = Utc(2024, 5, 12, 23, 30, 0);
  // Bias -120: local time is two hours ahead of UTC.
  EXPECT_EQ(FileTimeOf("2024-05-13T01:30:00", -120, First), First);
  EXPECT_EQ(FileTimeOf("2024-05-12T23:30:00Z", -120, First), First);
  EXPECT_EQ(FileTimeOf("2024-05-12T23:30Z", -120, First), First);
  EXPECT_EQ(FileTimeOf("2024-05-12T23:30:01.5Z", 0, First), First + Second * 3 / 2);
  // A time of day is on the local day of the first sample (already the 13th there).
  EXPECT_EQ(FileTimeOf("01:30", -120, First), First);
  EXPECT_EQ(FileTimeOf("02:00:10", -120, First), First + (30 * 60 + 10) * Second);
  EXPECT_EQ(FileTimeOf("23:30", 0, First), First);
  // A date alone is its local midnight; a zone given overrides the machine's.
  EXPECT_EQ(FileTimeOf("2024-05-13", -120, First), First - 90 * 60 * Second);
  EXPECT_EQ(FileTimeOf("2024-05-13T00:30+01:00", -120, First), First);
}

TEST(LogTime, RefusesWhatIsNoTime) {
  for (const char* Text :
       {"", "noon", "25:00", "12:60", "12:00:60", "12:00:nan", "12:00:inf", "12:00:-1",
        "2024-13-01T00:00", "2024-02-30T00:00", "12:00 ", "12:00+01", "12"}) {
    EXPECT_FALSE(ParseLogTime(Text)) << Text;
  }
}

}  // namespace
}  // namespace gaugery::cli
