// Numbers for programs: every digit, never an exponent, never the locale's separators.
#include "PlainNumber.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace {

using gaugery::cli::PlainNumber;

TEST(PlainNumber, WritesTheShortestExactDecimalWithoutExponent) {
  EXPECT_EQ(PlainNumber(9e6), "9000000");
  EXPECT_EQ(PlainNumber(9.1e-05), "0.000091");
  EXPECT_EQ(PlainNumber(25), "25");
  EXPECT_EQ(PlainNumber(-0.5), "-0.5");
  EXPECT_EQ(PlainNumber(0.1 + 0.2), "0.30000000000000004");
  const std::string Largest = PlainNumber(std::numeric_limits<double>::max());
  EXPECT_EQ(Largest.size(), 309u);
  EXPECT_EQ(std::stod(Largest), std::numeric_limits<double>::max());
  const std::string Smallest = PlainNumber(std::numeric_limits<double>::denorm_min());
  EXPECT_EQ(Smallest.substr(0, 2), "0.");
  EXPECT_EQ(Smallest.back(), '5');
}

TEST(PlainNumber, IsEmptyForValuesThatAreNoNumbers) {
  EXPECT_EQ(PlainNumber(std::nan("")), "");
  EXPECT_EQ(PlainNumber(std::numeric_limits<double>::infinity()), "");
}

}  // namespace
