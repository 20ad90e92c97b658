// The decimal digits of binary floating-point values, exactly as the binary value
// holds them, and their rounding to fewer digits.
#pragma once

#include "framework/LibraryExport.h"

#include <climits>
#include <string>

namespace gaugery {

// |value| = 0.Digits x 10^Exponent. Digits has no leading or trailing zeros and is
// empty for zero.
struct GAUGERY_PLATFORM_API TDecimal {
  std::string Digits;
  int Exponent = 0;
  bool Negative = false;

  bool IsZero() const { return Digits.empty(); }
  bool ShowsMinus() const { return Negative && !IsZero(); }
};

// The digits of a finite value exactly as the binary value holds them: 0.145 as a
// double gives 1449999999999999900079927..., 2^63 gives 9223372036854775808. Digits
// after the point stop after FractionDigits places (left out, not rounded): enough for
// KeepDigits to round to one place less. Infinities and NaN give zero.
GAUGERY_PLATFORM_API TDecimal ExactDecimal(long double Value, int FractionDigits = INT_MAX);

// Keeps the first Count digits (none when Count < 0), rounding half away from zero.
// Applied to exact digits this rounds the binary value itself: only a value that lies
// exactly halfway between two results rounds up for being a half.
GAUGERY_PLATFORM_API void KeepDigits(TDecimal& Decimal, int Count);

}  // namespace gaugery
