// Fixed-width types with the names and sizes the Windows interfaces use, so that
// the registry calls, the data block records and the time functions have the same
// shape on every platform. Never includes <windows.h>.
#pragma once

#include <cstdint>
#include <string>

namespace gaugery {

#ifdef _WIN32
using DWORD = unsigned long;
using LONG = long;
using WCHAR = wchar_t;
#define GAUGERY_WINAPI __stdcall
#define GAUGERY_WTEXT(Literal) L##Literal
#else
using DWORD = std::uint32_t;
using LONG = std::int32_t;
using WCHAR = char16_t;
#define GAUGERY_WINAPI
#define GAUGERY_WTEXT(Literal) u##Literal
#endif
// GAUGERY_WTEXT("text") is a literal of WCHAR on every platform.
static_assert(sizeof(DWORD) == 4 && sizeof(LONG) == 4 && sizeof(WCHAR) == 2);

using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using LPDWORD = DWORD*;
using LPBYTE = BYTE*;
using LPWSTR = WCHAR*;
using LPCWSTR = const WCHAR*;
using WideString = std::basic_string<WCHAR>;

// The framework's extended floating-point type: 80-bit on 32-bit Windows.
#if defined(_WIN32) && !defined(_WIN64)
using Extended = long double;
#else
using Extended = double;
#endif

// A calendar time in UTC with millisecond resolution, 16 bytes.
struct SYSTEMTIME {
  WORD wYear;
  WORD wMonth;
  WORD wDayOfWeek;
  WORD wDay;
  WORD wHour;
  WORD wMinute;
  WORD wSecond;
  WORD wMilliseconds;
};
static_assert(sizeof(SYSTEMTIME) == 16);

// 100-nanosecond intervals since 1601-01-01 UTC, split into two halves.
struct FILETIME {
  DWORD dwLowDateTime;
  DWORD dwHighDateTime;
};
static_assert(sizeof(FILETIME) == 8);

}  // namespace gaugery
