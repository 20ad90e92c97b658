#include "framework/DecimalDigits.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>

namespace gaugery {
namespace {

TEST(DecimalDigits, EveryDigitOfTheBinaryValue) {
  const TDecimal Below = ExactDecimal(0.145);
  EXPECT_EQ(Below.Digits, "1449999999999999900079927783735911361873149871826171875");
  EXPECT_EQ(Below.Exponent, 0);
  EXPECT_EQ(ExactDecimal(0.145, 3).Digits, "144") << "cut after three places";
  EXPECT_EQ(ExactDecimal(-1234.5678, 1).Digits, "12345");
  EXPECT_EQ(ExactDecimal(0.5, 0).Digits, "");
  const TDecimal Large = ExactDecimal(-9223372036854775808.0);
  EXPECT_EQ(Large.Digits, "9223372036854775808");
  EXPECT_EQ(Large.Exponent, 19);
  EXPECT_TRUE(Large.ShowsMinus());
  const TDecimal Round = ExactDecimal(1e20);
  EXPECT_EQ(Round.Digits, "1");
  EXPECT_EQ(Round.Exponent, 21);
  const TDecimal Tiny = ExactDecimal(std::numeric_limits<double>::denorm_min());
  EXPECT_EQ(Tiny.Digits.substr(0, 17), "49406564584124654");
  EXPECT_EQ(Tiny.Digits.size(), 751u);
  EXPECT_EQ(Tiny.Exponent, -323);
  for (long double Nothing : {0.0L, -0.0L, std::numeric_limits<long double>::infinity(),
                              std::numeric_limits<long double>::quiet_NaN()}) {
    EXPECT_TRUE(ExactDecimal(Nothing).IsZero());
    EXPECT_FALSE(ExactDecimal(Nothing).ShowsMinus());
  }
}

TEST(DecimalDigits, KeepsDigitsRoundingHalfAwayFromZero) {
  const auto Kept = [](const char* Digits, int Exponent, int Count) {
    TDecimal Decimal{Digits, Exponent, false};
    KeepDigits(Decimal, Count);
    return Decimal.Digits + "e" + std::to_string(Decimal.Exponent);
  };
  EXPECT_EQ(Kept("125", 0, 2), "13e0");
  EXPECT_EQ(Kept("1249999", 0, 2), "12e0");
  EXPECT_EQ(Kept("9995", 3, 3), "1e4") << "the carry runs through every nine";
  EXPECT_EQ(Kept("1205", 1, 3), "121e1");
  EXPECT_EQ(Kept("6", 0, 0), "1e1");
  EXPECT_EQ(Kept("4", 0, 0), "e0");
  EXPECT_EQ(Kept("5", -3, -3), "e0");
}

#ifndef _WIN32
// The C library converts exactly here: with enough digits it prints the whole
// expansion. Random bit patterns reach every exponent, subnormal values included.
template <class TFloat>
std::string LibraryDigits(TFloat Value, int Precision) {
  char Buffer[20000];
  std::snprintf(Buffer, sizeof Buffer, "%.*Le", Precision, static_cast<long double>(Value));
  std::string Digits;
  for (const char* C = Buffer; *C != 'e'; ++C)
    if (*C >= '0' && *C <= '9') Digits += *C;
  Digits.erase(Digits.find_last_not_of('0') + 1);
  return Digits;
}

template <class TFloat, class TBits>
void ExpectLibraryDigits(int Count) {
  std::mt19937_64 Random(7);
  for (int I = 0; I < Count; ++I) {
    TBits Bits = static_cast<TBits>(Random());
    TFloat Value;
    std::memcpy(&Value, &Bits, sizeof Value);
    if (!std::isfinite(Value) || Value == 0) continue;
    const TDecimal Decimal = ExactDecimal(Value);
    const int Precision = static_cast<int>(Decimal.Digits.size()) + 2;
    EXPECT_EQ(Decimal.Digits, LibraryDigits(Value, Precision)) << static_cast<double>(Value);
    EXPECT_EQ(Decimal.Negative, std::signbit(Value));
  }
}

TEST(DecimalDigits, AgreesWithTheCLibraryOnRandomValues) {
  ExpectLibraryDigits<double, std::uint64_t>(2000);
  ExpectLibraryDigits<float, std::uint32_t>(2000);
}

TEST(DecimalDigits, AgreesWithTheCLibraryAtTheEndsOfLongDouble) {
  using TLimits = std::numeric_limits<long double>;
  for (long double Value :
       {TLimits::denorm_min(), TLimits::min(), TLimits::max(), 1.0L / 3, -TLimits::epsilon()}) {
    const TDecimal Decimal = ExactDecimal(Value);
    EXPECT_EQ(Decimal.Digits, LibraryDigits(Value, static_cast<int>(Decimal.Digits.size()) + 2));
  }
}
#endif

}  // namespace
}  // namespace gaugery
