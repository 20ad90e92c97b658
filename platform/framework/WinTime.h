// Time functions with the semantics of the Windows kernel: file times count
// 100-nanosecond intervals since 1601-01-01 UTC.
#pragma once

#include <cstdint>

#include "framework/LibraryExport.h"
#include "framework/WinTypes.h"

namespace gaugery {

GAUGERY_PLATFORM_API void GetSystemTimeAsFileTime(FILETIME* SystemTimeAsFileTime);

// False (and the file time untouched) for a calendar time that is not valid.
GAUGERY_PLATFORM_API bool SystemTimeToFileTime(const SYSTEMTIME* SystemTime, FILETIME* FileTime);
GAUGERY_PLATFORM_API bool FileTimeToSystemTime(const FILETIME* FileTime, SYSTEMTIME* SystemTime);

inline std::int64_t FileTimeToInt64(const FILETIME& Time) {
  return static_cast<std::int64_t>((static_cast<std::uint64_t>(Time.dwHighDateTime) << 32) |
                                   Time.dwLowDateTime);
}
inline FILETIME Int64ToFileTime(std::int64_t Value) {
  auto Bits = static_cast<std::uint64_t>(Value);
  return FILETIME{static_cast<DWORD>(Bits & 0xFFFFFFFFu), static_cast<DWORD>(Bits >> 32)};
}

// The current time as a 64-bit file time.
GAUGERY_PLATFORM_API std::int64_t NowAsFileTime();

// A steady clock in 100-nanosecond units from an arbitrary start, that does not follow
// changes of the wall clock.
GAUGERY_PLATFORM_API std::int64_t MonotonicTime100ns();

}  // namespace gaugery
