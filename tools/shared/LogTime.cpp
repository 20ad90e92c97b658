#include "LogTime.h"

#include <cctype>

#include "framework/WinTime.h"

namespace gaugery::cli {

namespace {

constexpr std::int64_t TicksPerSecond = 10'000'000;
constexpr std::int64_t TicksPerMinute = 60 * TicksPerSecond;
constexpr std::int64_t TicksPerDay = 24 * 60 * TicksPerMinute;

// Reads Digits decimal digits at Text[At], moving At past them.
std::optional<int> Digits(const std::string& Text, std::size_t& At, std::size_t Count) {
  if (At + Count > Text.size()) return std::nullopt;
  int Value = 0;
  for (std::size_t I = 0; I < Count; ++I) {
    const char C = Text[At + I];
    if (std::isdigit(static_cast<unsigned char>(C)) == 0) return std::nullopt;
    Value = Value * 10 + (C - '0');
  }
  At += Count;
  return Value;
}

bool Skip(const std::string& Text, std::size_t& At, char Expected) {
  if (At >= Text.size() || Text[At] != Expected) return false;
  ++At;
  return true;
}

// HH:MM[:SS[.fraction]] at At, in 100 ns units.
std::optional<std::int64_t> TimeOfDay(const std::string& Text, std::size_t& At) {
  const std::optional<int> Hours = Digits(Text, At, 2);
  if (!Hours || !Skip(Text, At, ':')) return std::nullopt;
  const std::optional<int> Minutes = Digits(Text, At, 2);
  if (!Minutes || *Hours > 23 || *Minutes > 59) return std::nullopt;
  std::int64_t Ticks = *Hours * 60 * TicksPerMinute + *Minutes * TicksPerMinute;
  if (!Skip(Text, At, ':')) return Ticks;
  const std::optional<int> Seconds = Digits(Text, At, 2);
  if (!Seconds || *Seconds > 59) return std::nullopt;
  Ticks += *Seconds * TicksPerSecond;
  if (!Skip(Text, At, '.')) return Ticks;
  std::int64_t Unit = TicksPerSecond;
  const std::size_t Start = At;
  while (At < Text.size() && std::isdigit(static_cast<unsigned char>(Text[At])) != 0) {
    Unit /= 10;
    Ticks += (Text[At++] - '0') * Unit;
  }
  if (At == Start) return std::nullopt;
  return Ticks;
}

// Z, +HH:MM or -HH:MM at At, in minutes ahead of UTC.
std::optional<int> UtcOffset(const std::string& Text, std::size_t& At) {
  if (Skip(Text, At, 'Z')) return 0;
  const bool Ahead = Skip(Text, At, '+');
  if (!Ahead && !Skip(Text, At, '-')) return std::nullopt;
  const std::optional<int> Hours = Digits(Text, At, 2);
  if (!Hours || !Skip(Text, At, ':')) return std::nullopt;
  const std::optional<int> Minutes = Digits(Text, At, 2);
  if (!Minutes || *Hours > 23 || *Minutes > 59) return std::nullopt;
  return (Ahead ? 1 : -1) * (*Hours * 60 + *Minutes);
}

std::optional<SYSTEMTIME> Date(const std::string& Text, std::size_t& At) {
  const std::optional<int> Year = Digits(Text, At, 4);
  if (!Year || !Skip(Text, At, '-')) return std::nullopt;
  const std::optional<int> Month = Digits(Text, At, 2);
  if (!Month || !Skip(Text, At, '-')) return std::nullopt;
  const std::optional<int> Day = Digits(Text, At, 2);
  if (!Day) return std::nullopt;
  SYSTEMTIME Date{};
  Date.wYear = static_cast<WORD>(*Year);
  Date.wMonth = static_cast<WORD>(*Month);
  Date.wDay = static_cast<WORD>(*Day);
  FILETIME Checked{};
  if (!SystemTimeToFileTime(&Date, &Checked)) return std::nullopt;
  return Date;
}

}  // namespace

std::optional<TLogTime> ParseLogTime(const std::string& Text) {
  TLogTime Time;
  std::size_t At = 0;
  const bool HasDate = Text.size() >= 10 && Text[4] == '-';
  if (HasDate) {
    Time.Date = Date(Text, At);
    if (!Time.Date) return std::nullopt;
    if (At == Text.size()) return Time;
    if (!Skip(Text, At, 'T') && !Skip(Text, At, ' ')) return std::nullopt;
  }
  const std::optional<std::int64_t> Ticks = TimeOfDay(Text, At);
  if (!Ticks) return std::nullopt;
  Time.TimeOfDay = *Ticks;
  if (At < Text.size()) {
    Time.UtcOffset = UtcOffset(Text, At);
    if (!Time.UtcOffset) return std::nullopt;
  }
  if (At != Text.size()) return std::nullopt;
  return Time;
}

std::optional<std::string> SetWindowTime(TLogWindow& Window, const std::string& Option,
                                         const std::string& Text) {
  const std::optional<TLogTime> Time = ParseLogTime(Text);
  if (!Time)
    return "option " + Option + " needs a time (2026-12-08T03:00:00, or 03:00), not \"" + Text +
           "\"";
  (Option == "--begin" ? Window.Begin : Window.End) = *Time;
  return std::nullopt;
}

std::int64_t LogFileTime(const TLogTime& Time, std::int64_t FirstTime, LONG Bias) {
  // Local time and UTC differ by the zone given, or else by the machine's.
  const std::int64_t ToUtc =
      Time.UtcOffset ? -*Time.UtcOffset * TicksPerMinute : Bias * TicksPerMinute;
  std::int64_t Midnight = 0;
  if (Time.Date) {
    FILETIME Day{};
    SystemTimeToFileTime(&*Time.Date, &Day);
    Midnight = FileTimeToInt64(Day);
  } else {
    const std::int64_t FirstLocal = FirstTime - Bias * TicksPerMinute;
    Midnight = FirstLocal - FirstLocal % TicksPerDay;
  }
  return Midnight + Time.TimeOfDay + ToUtc;
}

SYSTEMTIME RecordedClock(std::int64_t Time, LONG Bias) {
  const FILETIME Local = Int64ToFileTime(Time - Bias * TicksPerMinute);
  SYSTEMTIME Clock{};
  FileTimeToSystemTime(&Local, &Clock);
  return Clock;
}

}  // namespace gaugery::cli
