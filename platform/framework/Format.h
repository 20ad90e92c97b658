// Formatting of numbers, texts and times with the user's locale settings.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <variant>

#include "framework/LibraryExport.h"
#include "framework/WinTypes.h"

namespace gaugery {

// The separators the formatting functions use. Read once from the process's POSIX
// locale (LC_NUMERIC / LC_TIME); "," for thousands and "." for decimals under the C
// and POSIX locales. Tests may replace them for the duration of a test.
struct GAUGERY_PLATFORM_API TFormatSettings {
  std::string DecimalSeparator = ".";
  std::string ThousandSeparator = ",";
  std::string TimeSeparator = ":";
};
GAUGERY_PLATFORM_API TFormatSettings& FormatSettings();

// One argument of Format.
class GAUGERY_PLATFORM_API TFormatArg {
 public:
  TFormatArg(int V) : Value_(static_cast<std::int64_t>(V)) {}
  TFormatArg(long V) : Value_(static_cast<std::int64_t>(V)) {}
  TFormatArg(long long V) : Value_(static_cast<std::int64_t>(V)) {}
  TFormatArg(unsigned V) : Value_(static_cast<std::int64_t>(V)) {}
  TFormatArg(unsigned long V) : Value_(static_cast<std::int64_t>(V)) {}
  TFormatArg(unsigned long long V) : Value_(static_cast<std::int64_t>(V)) {}
  TFormatArg(double V) : Value_(static_cast<long double>(V)) {}
  TFormatArg(long double V) : Value_(V) {}
  TFormatArg(const char* V) : Value_(std::string(V)) {}
  TFormatArg(std::string V) : Value_(std::move(V)) {}

  using Variant = std::variant<std::int64_t, long double, std::string>;
  const Variant& Value() const { return Value_; }

 private:
  Variant Value_;
};

// Fills a pattern: %s, %d, %u, %x (upper-case hex), %f, %e, %g, %n (thousands
// grouping), %%, each with optional "-", width and ".precision" ("%.3f", "%8d").
// %f without precision shows two decimals. Numbers are rounded from their exact
// binary value, values exactly halfway away from zero. Arguments are used in order; a
// missing or mismatched argument raises EConvertError naming the pattern.
GAUGERY_PLATFORM_API std::string Format(const std::string& Pattern,
                                        std::initializer_list<TFormatArg> Args);

// Formats a number by a picture pattern: "0" and "#" digit places, "." the decimal
// separator, "," anywhere before the decimal point groups thousands, quoted text
// copied as is, up to three ";"-separated sections (positive;negative;zero).
// Rounds like Format. "0," of 1234567 gives "1,234,567".
GAUGERY_PLATFORM_API std::string FormatFloat(const std::string& Pattern, Extended Value);

// A point in time or a duration in days (the integral part counts days, the
// fraction the time of day).
using TDateTime = double;

// Formats the time-of-day part of a TDateTime: "hh", "nn", "ss", "zzz" (two-digit
// hours, minutes, seconds, milliseconds), "h", "n", "s" without padding, ":" the
// user's time separator, quoted text as is, everything else copied.
GAUGERY_PLATFORM_API std::string FormatDateTime(const std::string& Pattern, TDateTime Value);

}  // namespace gaugery
