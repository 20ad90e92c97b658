#include "framework/Format.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "framework/Exceptions.h"

namespace gaugery {
namespace {

// Other separators for the duration of a test. Tests of the patterns themselves set
// those of the C locale, so that they do not depend on the user's.
class TSeparators {
 public:
  TSeparators(const std::string& Decimal, const std::string& Thousand, const std::string& Time)
      : Saved_(FormatSettings()) {
    FormatSettings() = {Decimal, Thousand, Time};
  }
  ~TSeparators() { FormatSettings() = Saved_; }

 private:
  TFormatSettings Saved_;
};

TEST(Format, FillsPlaceholdersInOrder) {
  EXPECT_EQ(Format("Error connecting to remote registry on %s (%d)", {"HOST", 53}),
            "Error connecting to remote registry on HOST (53)");
  EXPECT_EQ(Format("Index \"%d\" out of bounds [%d..%d]", {5, 0, -1}),
            "Index \"5\" out of bounds [0..-1]");
  EXPECT_EQ(Format("%x|%.8x|%X", {255, 0x10410400u, 0xABCDEFu}), "FF|10410400|ABCDEF");
  EXPECT_EQ(Format("%u", {-1}), "18446744073709551615");
  EXPECT_EQ(Format("[%5d][%-5s][%.3d][%.2s]", {42, "ab", 7, "Prozeß"}), "[   42][ab   ][007][Pr]");
  EXPECT_EQ(Format("[%4s]", {"äö"}), "[  äö]") << "the width counts characters";
  EXPECT_EQ(Format("100%% of %s", {std::string("CPU")}), "100% of CPU");
  EXPECT_EQ(Format("no placeholders", {}), "no placeholders");
}

TEST(Format, FloatingPointConversions) {
  const TSeparators Plain(".", ",", ":");
  EXPECT_EQ(Format("%f", {3.14159}), "3.14") << "two decimals by default";
  EXPECT_EQ(Format("%f", {2.5}), "2.50");
  EXPECT_EQ(Format("%.3f", {2.0005}), "2.001");
  EXPECT_EQ(Format("%.3f", {-1234.5678}), "-1234.568");
  EXPECT_EQ(Format("%.3f", {0.0005}), "0.001");
  EXPECT_EQ(Format("%.0f", {1234567.5}), "1234568") << "no separators, halves away from zero";
  EXPECT_EQ(Format("%.0f", {-0.4}), "0");
  EXPECT_EQ(Format("%.0f", {0.5}), "1");
  EXPECT_EQ(Format("%f", {99.999}), "100.00");
  EXPECT_EQ(Format("%f", {1e20}), "100000000000000000000.00");
  EXPECT_EQ(Format("%.3f", {12}), "12.000") << "integers are accepted";
  EXPECT_EQ(Format("%n", {1234567.891}), "1,234,567.89");
  EXPECT_EQ(Format("%e", {12345.678}), "1.23456780000000E+004");
  EXPECT_EQ(Format("%.3e", {-0.000123}), "-1.23E-004");
  EXPECT_EQ(Format("%g|%g|%g", {0.0001, 1234.5, 0.0}), "0.0001|1234.5|0");
  EXPECT_EQ(Format("%f|%f", {std::numeric_limits<double>::infinity(),
                             std::numeric_limits<double>::quiet_NaN()}),
            "INF|NAN");
}

// Rounded from the binary value, not from a shorter decimal form of it: 0.145 is a
// little below 0.145 as a double, 1e20 an integer of 21 digits.
TEST(Format, RoundsTheExactBinaryValue) {
  EXPECT_EQ(Format("%f|%f|%.2f", {0.145, 2.675, 1.005}), "0.14|2.67|1.00");
  EXPECT_EQ(Format("%f", {100500.0 / 10000000 * 100}), "1.00") << "1.0049999999999999";
  EXPECT_EQ(Format("%.2f|%.2f|%.0f|%.0f", {0.125, -0.375, 2.5, -0.5}), "0.13|-0.38|3|-1")
      << "exact halves go away from zero";
  EXPECT_EQ(FormatFloat("0.00", 0.145), "0.14");
  EXPECT_EQ(FormatFloat("0.0E+00", 0.000145), "1.5E-04") << "a little above the half";
  EXPECT_EQ(Format("%e", {5e-324}), "4.94065645841247E-324") << "the smallest double";
}

TEST(Format, LargeIntegersShowTheirOwnDigits) {
  EXPECT_EQ(Format("%.0f", {133592130455000016.0}), "133592130455000016");
  EXPECT_EQ(FormatFloat("0", -36028797018963968.0), "-36028797018963968");
  EXPECT_EQ(Format("%f", {1e20}), "100000000000000000000.00");
  // 2^63 - 1 where Extended holds it (32-bit Windows), else the 2^63 it rounds to.
  const bool Holds64Bits = std::numeric_limits<Extended>::digits >= 64;
  EXPECT_EQ(FormatFloat("0", static_cast<Extended>(INT64_MAX)),
            Holds64Bits ? "9223372036854775807" : "9223372036854775808");
  EXPECT_EQ(FormatFloat("0", static_cast<Extended>(INT64_MIN + 1)),
            Holds64Bits ? "-9223372036854775807" : "-9223372036854775808");
  const std::string Largest = Format("%.0f", {std::numeric_limits<double>::max()});
  EXPECT_EQ(Largest.size(), 309u);
  EXPECT_EQ(Largest.substr(0, 20), "17976931348623157081");
  EXPECT_EQ(Largest.substr(300), "124858368");
}

TEST(Format, MismatchedPatternsAreRefused) {
  for (const std::string Pattern : {"%d", "%s %s", "%", "%5", "%q", "%.99999999f"}) {
    try {
      Format(Pattern, {"text"});
      ADD_FAILURE() << "accepted " << Pattern;
    } catch (const EConvertError& Error) {
      EXPECT_EQ(Error.Message(), "Format '" + Pattern + "' invalid or incompatible with argument");
    }
  }
  EXPECT_THROW(Format("%s", {1.5}), EConvertError);
  EXPECT_THROW(Format("%d", {1.5}), EConvertError);
}

TEST(FormatFloat, PicturePatterns) {
  const TSeparators Plain(".", ",", ":");
  EXPECT_EQ(FormatFloat("0", 1234.5), "1235");
  EXPECT_EQ(FormatFloat("0", -1234.5), "-1235");
  EXPECT_EQ(FormatFloat("0", 0.4), "0");
  EXPECT_EQ(FormatFloat("0", -0.4), "0") << "no minus on a value shown as zero";
  EXPECT_EQ(FormatFloat("0,", 1234567), "1,234,567");
  EXPECT_EQ(FormatFloat("0,", -1234567.5), "-1,234,568");
  EXPECT_EQ(FormatFloat("0,", 999), "999");
  EXPECT_EQ(FormatFloat("0.00", 2.5), "2.50");
  EXPECT_EQ(FormatFloat("0.00", -1234.567), "-1234.57");
  EXPECT_EQ(FormatFloat("0.00", 999.995), "1000.00");
  EXPECT_EQ(FormatFloat("#,##0.00", 1234567.891), "1,234,567.89");
  EXPECT_EQ(FormatFloat("0.###", 2.5), "2.5");
  EXPECT_EQ(FormatFloat("0.###", 0.0005), "0.001");
  EXPECT_EQ(FormatFloat("000", 7), "007");
  EXPECT_EQ(FormatFloat("#", 0), "");
  EXPECT_EQ(FormatFloat("0.0E+00", 1234567), "1.2E+06");
  EXPECT_EQ(FormatFloat("0.0E+00", 0.000145), "1.5E-04");
  EXPECT_EQ(FormatFloat("0 'KB'", 12.3), "12 KB");
  EXPECT_EQ(FormatFloat("#,##0;(#,##0);zero", -1234.5), "(1,235)");
  EXPECT_EQ(FormatFloat("#,##0;(#,##0);zero", 0.2), "zero");
  EXPECT_EQ(FormatFloat("", 1234.5), "1234.5");
}

TEST(FormatFloat, UsesTheLocaleSeparators) {
#ifndef _WIN32  // Windows gives the user's settings
  EXPECT_EQ(FormatSettings().DecimalSeparator, ".") << "the C locale";
  EXPECT_EQ(FormatSettings().ThousandSeparator, ",");
#endif
  TSeparators German(",", ".", ":");
  EXPECT_EQ(FormatFloat("0,", 1234567), "1.234.567");
  EXPECT_EQ(FormatFloat("#,##0.00", 1234.5), "1.234,50");
  EXPECT_EQ(Format("%f|%.0f|%n", {2.5, 2.5, 1234.5}), "2,50|3|1.234,50");
  TSeparators Narrow(".", "\u202F", ":");
  EXPECT_EQ(FormatFloat("0,", 1234567), "1\u202F234\u202F567");
}

TEST(FormatDateTime, TimeOfDayPatterns) {
  const TSeparators Plain(".", ",", ":");
  // 1 day, 13:05:09.250
  const TDateTime Value = 1 + (13 * 3600 + 5 * 60 + 9.25) / 86400.0;
  EXPECT_EQ(FormatDateTime("hh:nn:ss", Value), "13:05:09");
  EXPECT_EQ(FormatDateTime("h:n:s.zzz", Value), "13:5:9.250");
  EXPECT_EQ(FormatDateTime("hh'h' nn", Value), "13h 05");
  EXPECT_EQ(FormatDateTime("hh:nn", 0.9999999999), "00:00") << "rounds to the next day";
  TSeparators Dotted(".", ",", ".");
  EXPECT_EQ(FormatDateTime("hh:nn", Value), "13.05");
}

}  // namespace
}  // namespace gaugery
