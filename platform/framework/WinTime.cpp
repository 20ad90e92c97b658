#include "framework/WinTime.h"

#ifdef _WIN32
#include "framework/WindowsApi.h"
#else
#include <time.h>
#endif

namespace gaugery {

namespace {

bool IsLeapYear(int Year) { return (Year % 4 == 0 && Year % 100 != 0) || Year % 400 == 0; }

int DaysInMonth(int Year, int Month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return Month == 2 && IsLeapYear(Year) ? 29 : kDays[Month - 1];
}

// Checked here on every platform: the kernels differ in what they accept (Wine takes
// 2023-02-29), and a time stamp must not depend on the host.
bool IsValid(const SYSTEMTIME& Time) {
  if (Time.wYear < 1601 || Time.wYear > 30827) return false;
  if (Time.wMonth < 1 || Time.wMonth > 12) return false;
  if (Time.wDay < 1 || Time.wDay > DaysInMonth(Time.wYear, Time.wMonth)) return false;
  return Time.wHour < 24 && Time.wMinute < 60 && Time.wSecond < 60 && Time.wMilliseconds < 1000;
}

}  // namespace

#ifdef _WIN32

void GetSystemTimeAsFileTime(FILETIME* SystemTimeAsFileTime) {
  ::GetSystemTimeAsFileTime(reinterpret_cast<::FILETIME*>(SystemTimeAsFileTime));
}

bool SystemTimeToFileTime(const SYSTEMTIME* SystemTime, FILETIME* FileTime) {
  if (SystemTime == nullptr || FileTime == nullptr || !IsValid(*SystemTime)) return false;
  return ::SystemTimeToFileTime(reinterpret_cast<const ::SYSTEMTIME*>(SystemTime),
                                reinterpret_cast<::FILETIME*>(FileTime)) != FALSE;
}

bool FileTimeToSystemTime(const FILETIME* FileTime, SYSTEMTIME* SystemTime) {
  return ::FileTimeToSystemTime(reinterpret_cast<const ::FILETIME*>(FileTime),
                                reinterpret_cast<::SYSTEMTIME*>(SystemTime)) != FALSE;
}

std::int64_t MonotonicTime100ns() {
  ULONGLONG Now = 0;  // in 100 ns units already
  ::QueryUnbiasedInterruptTime(&Now);
  return static_cast<std::int64_t>(Now);
}

#else

namespace {

constexpr std::int64_t kTicksPerSecond = 10'000'000;
constexpr std::int64_t kTicksPerMillisecond = 10'000;
constexpr std::int64_t kSecondsPerDay = 86'400;
// Days from 1601-01-01 to 1970-01-01.
constexpr std::int64_t kDaysTo1970 = 134'774;

// Days since 1970-01-01 of a date of the proleptic Gregorian calendar (the civil-date
// algorithm on 400-year eras, which starts its years in March).
std::int64_t DaysFromCivil(int Year, int Month, int Day) {
  Year -= Month <= 2 ? 1 : 0;
  const int Era = (Year >= 0 ? Year : Year - 399) / 400;
  const int YearOfEra = Year - Era * 400;
  const int DayOfYear = (153 * (Month + (Month > 2 ? -3 : 9)) + 2) / 5 + Day - 1;
  const int DayOfEra = YearOfEra * 365 + YearOfEra / 4 - YearOfEra / 100 + DayOfYear;
  return static_cast<std::int64_t>(Era) * 146097 + DayOfEra - 719468;
}

// The inverse of DaysFromCivil.
void CivilFromDays(std::int64_t Days, int& Year, int& Month, int& Day) {
  Days += 719468;
  const std::int64_t Era = (Days >= 0 ? Days : Days - 146096) / 146097;
  const auto DayOfEra = static_cast<int>(Days - Era * 146097);
  const int YearOfEra = (DayOfEra - DayOfEra / 1460 + DayOfEra / 36524 - DayOfEra / 146096) / 365;
  const int DayOfYear = DayOfEra - (365 * YearOfEra + YearOfEra / 4 - YearOfEra / 100);
  const int MonthIndex = (5 * DayOfYear + 2) / 153;
  Day = DayOfYear - (153 * MonthIndex + 2) / 5 + 1;
  Month = MonthIndex < 10 ? MonthIndex + 3 : MonthIndex - 9;
  Year = static_cast<int>(YearOfEra + Era * 400) + (Month <= 2 ? 1 : 0);
}

}  // namespace

void GetSystemTimeAsFileTime(FILETIME* SystemTimeAsFileTime) {
  timespec Now{};
  clock_gettime(CLOCK_REALTIME, &Now);
  const std::int64_t Ticks = (kDaysTo1970 * kSecondsPerDay + Now.tv_sec) * kTicksPerSecond +
                             Now.tv_nsec / 100;
  *SystemTimeAsFileTime = Int64ToFileTime(Ticks);
}

std::int64_t MonotonicTime100ns() {
  timespec Now{};
  clock_gettime(CLOCK_MONOTONIC, &Now);
  return static_cast<std::int64_t>(Now.tv_sec) * kTicksPerSecond + Now.tv_nsec / 100;
}

bool SystemTimeToFileTime(const SYSTEMTIME* SystemTime, FILETIME* FileTime) {
  if (SystemTime == nullptr || FileTime == nullptr || !IsValid(*SystemTime)) return false;
  const std::int64_t Days =
      DaysFromCivil(SystemTime->wYear, SystemTime->wMonth, SystemTime->wDay) + kDaysTo1970;
  const std::int64_t Seconds = Days * kSecondsPerDay + SystemTime->wHour * 3600 +
                               SystemTime->wMinute * 60 + SystemTime->wSecond;
  *FileTime = Int64ToFileTime(Seconds * kTicksPerSecond +
                              SystemTime->wMilliseconds * kTicksPerMillisecond);
  return true;
}

bool FileTimeToSystemTime(const FILETIME* FileTime, SYSTEMTIME* SystemTime) {
  if (FileTime == nullptr || SystemTime == nullptr) return false;
  const std::int64_t Ticks = FileTimeToInt64(*FileTime);
  // Like the kernel, refuse times past the signed 64-bit range.
  if (Ticks < 0) return false;
  const std::int64_t Days = Ticks / (kSecondsPerDay * kTicksPerSecond);
  const std::int64_t TicksOfDay = Ticks % (kSecondsPerDay * kTicksPerSecond);
  int Year = 0;
  int Month = 0;
  int Day = 0;
  CivilFromDays(Days - kDaysTo1970, Year, Month, Day);
  SystemTime->wYear = static_cast<WORD>(Year);
  SystemTime->wMonth = static_cast<WORD>(Month);
  SystemTime->wDay = static_cast<WORD>(Day);
  // 1601-01-01 was a Monday (day 1 of the week that starts on Sunday).
  SystemTime->wDayOfWeek = static_cast<WORD>((Days + 1) % 7);
  SystemTime->wHour = static_cast<WORD>(TicksOfDay / (3600 * kTicksPerSecond));
  SystemTime->wMinute = static_cast<WORD>(TicksOfDay / (60 * kTicksPerSecond) % 60);
  SystemTime->wSecond = static_cast<WORD>(TicksOfDay / kTicksPerSecond % 60);
  SystemTime->wMilliseconds = static_cast<WORD>(TicksOfDay / kTicksPerMillisecond % 1000);
  return true;
}

#endif

std::int64_t NowAsFileTime() {
  FILETIME Now{};
  GetSystemTimeAsFileTime(&Now);
  return FileTimeToInt64(Now);
}

}  // namespace gaugery
