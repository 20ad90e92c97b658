// What a counter log holds besides its samples: the recording machine and the name
// tables of its locales. A counter log is one file of many samples (docs/log-format.md);
// CounterLogWriter.h writes one, CounterLogReader.h reads one.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "framework/LibraryExport.h"
#include "framework/WinTypes.h"

namespace gaugery {

// The machine a log was recorded on.
struct GAUGERY_PLATFORM_API TLogMachine {
  std::string ComputerName;
  // The operating system, in words ("Linux 6.1.0 x86_64", "Windows 10.0.19045").
  std::string System;
  // Minutes added to the machine's local time to get UTC, and the zone's name.
  LONG Bias = 0;
  std::string TimeZoneName;
  // When recording began, as a file time (100 ns since 1601-01-01 UTC).
  std::int64_t StartTime = 0;

  bool operator==(const TLogMachine&) const = default;
};

// One locale's name tables, exactly as the Perflib key holds them.
struct GAUGERY_PLATFORM_API TLogLocaleNames {
  std::string Locale;  // "009", "007", ...
  // Multi-strings of decimal index and text, each string with its NUL, the whole ended
  // by an extra NUL.
  WideString Counter;
  WideString Help;

  bool operator==(const TLogLocaleNames&) const = default;
};

using TLogNames = std::vector<TLogLocaleNames>;

}  // namespace gaugery
