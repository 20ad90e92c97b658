// Conversions between numbers and texts, and the small text helpers of the framework.
#pragma once

#include "framework/LibraryExport.h"

#include <cstdint>
#include <string>

namespace gaugery {

GAUGERY_PLATFORM_API std::string IntToStr(std::int64_t Value);

// Decimal (optionally signed, surrounding blanks allowed) or hexadecimal ("$1F",
// "0x1F") text to a 32-bit signed integer; EConvertError for anything else,
// including values outside the 32-bit range.
GAUGERY_PLATFORM_API std::int32_t StrToInt(const std::string& S);

// Like StrToInt, but answers Default instead of raising.
GAUGERY_PLATFORM_API std::int32_t StrToIntDef(const std::string& S, std::int32_t Default);

// Upper-case hexadecimal, padded with zeros to at least Digits digits; a negative
// value shows as its 64-bit two's complement.
GAUGERY_PLATFORM_API std::string IntToHex(std::int64_t Value, int Digits);

// Removes leading and trailing blanks and control characters (code points up to 32).
GAUGERY_PLATFORM_API std::string Trim(const std::string& S);

// Plain A to Z / a to z mapping; every other character is kept.
GAUGERY_PLATFORM_API std::string UpperCase(const std::string& S);
GAUGERY_PLATFORM_API std::string LowerCase(const std::string& S);
// Equal under that mapping: enough for identifiers, without allocating.
GAUGERY_PLATFORM_API bool SameText(const std::string& S1, const std::string& S2);

// The system's text for a Windows error code (as returned by the registry calls).
GAUGERY_PLATFORM_API std::string SysErrorMessage(std::int32_t ErrorCode);

}  // namespace gaugery
