#include "LogTime.h"

#include <cstdio>

#include "CommandLine.h"
#include "framework/WinTime.h"

namespace gaugery::cli {

namespace {

constexpr std::int64_t TicksPerSecond = 10000000;

}  // namespace

std::int64_t ParseLogTime(const std::string& Text, LONG Bias, std::int64_t First) {
  unsigned Year = 0, Month = 0, Day = 0, Hour = 0, Minute = 0;
  double Second = 0;
  char Zone = 0;
  int Used = 0;
  const std::int64_t BiasTicks = std::int64_t{Bias} * 60 * TicksPerSecond;
  SYSTEMTIME Clock{};
  if (std::sscanf(Text.c_str(), "%4u-%2u-%2uT%2u:%2u:%lf%n", &Year, &Month, &Day, &Hour, &Minute,
                  &Second, &Used) == 6 ||
      std::sscanf(Text.c_str(), "%4u-%2u-%2uT%2u:%2u%n", &Year, &Month, &Day, &Hour, &Minute,
                  &Used) == 5) {
    Clock.wYear = static_cast<WORD>(Year);
    Clock.wMonth = static_cast<WORD>(Month);
    Clock.wDay = static_cast<WORD>(Day);
  } else if (std::sscanf(Text.c_str(), "%2u:%2u:%lf%n", &Hour, &Minute, &Second, &Used) == 3 ||
             std::sscanf(Text.c_str(), "%2u:%2u%n", &Hour, &Minute, &Used) == 2) {
    const FILETIME LocalFirst = Int64ToFileTime(First - BiasTicks);
    FileTimeToSystemTime(&LocalFirst, &Clock);
  } else {
    Used = -1;
  }
  const std::string Rest = Used < 0 ? "" : Text.substr(static_cast<std::size_t>(Used));
  if (Rest == "Z") Zone = 'Z';
  FILETIME Time{};
  Clock.wHour = static_cast<WORD>(Hour);
  Clock.wMinute = static_cast<WORD>(Minute);
  Clock.wSecond = 0;
  Clock.wMilliseconds = 0;
  if (Used < 0 || !(Rest.empty() || Zone == 'Z') || Hour > 23 || Minute > 59 ||
      !(Second >= 0 && Second < 60) || !SystemTimeToFileTime(&Clock, &Time))
    throw UsageError("invalid time \"" + Text + "\": ISO 8601 or a time of day HH:MM[:SS]");
  const auto Fraction = static_cast<std::int64_t>(Second * TicksPerSecond);
  return FileTimeToInt64(Time) + Fraction + (Zone == 'Z' ? 0 : BiasTicks);
}

}  // namespace gaugery::cli
