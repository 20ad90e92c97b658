// The six descriptive lines of counter type words.
#include <gtest/gtest.h>

#include "PerfFilter.h"

namespace gaugery {
namespace {

std::vector<std::string> Lines(DWORD Word, DWORD Size) {
  const TCounterTypeTexts Texts = CounterTypeTexts(Word, Size);
  return {Texts.Size,     Texts.Type,     Texts.Subtype.value_or("(unchanged)"),
          Texts.TimeBase, Texts.Modifier, Texts.Display};
}

TEST(CounterTypeTexts, DescribeEveryField) {
  EXPECT_EQ(Lines(PERF_COUNTER_COUNTER, 4),
            (std::vector<std::string>{"DWord ( CounterSize = 4)", "An increasing numeric value",
                                      "Divide counter / delta time",
                                      "Use system Performance freq for base",
                                      "Compute difference first", "Display with suffix \"/sec\""}));
  EXPECT_EQ(Lines(PERF_COUNTER_NODATA, 0),
            (std::vector<std::string>{
                "Zero length ( CounterSize = 0)", "A number (not a counter)",
                "Display as HEX value", "Use system Performance freq for base",
                "No information (CounterType = 40000200)", "Value is not displayed"}));
  EXPECT_EQ(
      Lines(PERF_100NSEC_TIMER | PERF_SIZE_VARIABLE_LEN, 8),
      (std::vector<std::string>{"Variable length ( CounterSize = 8)", "An increasing numeric value",
                                "Divide counter / delta time", "Use 100 NS timer time base units",
                                "Compute difference first", "Display with suffix \"%\""}));
  EXPECT_EQ(Lines(PERF_ELAPSED_TIME, 8),
            (std::vector<std::string>{
                "Large ( CounterSize = 8)", "An increasing numeric value",
                "Subtract counter from current time", "Use the object timer freq",
                "No information (CounterType = 30240500)", "Display with suffix \"secs\""}));
}

TEST(CounterTypeTexts, ModifiersAreNamedOnlyAlone) {
  EXPECT_EQ(CounterTypeTexts(PERF_SAMPLE_FRACTION, 4).Modifier,
            "No information (CounterType = 20C20400)");
  EXPECT_EQ(CounterTypeTexts(PERF_COUNTER_RAWCOUNT, 4).Modifier,
            "No information (CounterType = 00010000)");
  EXPECT_EQ(CounterTypeTexts(PERF_COUNTER_RAWCOUNT, 4).Subtype, "Display as a decimal integer");
  EXPECT_EQ(CounterTypeTexts(PERF_DELTA_BASE, 4).Modifier, "Compute base diff as well");
  EXPECT_EQ(CounterTypeTexts(PERF_INVERSE_COUNTER, 4).Modifier, "Show as 1.00-value");
  EXPECT_EQ(CounterTypeTexts(PERF_MULTI_COUNTER, 4).Modifier, "Sum of multiple instances");
  EXPECT_EQ(CounterTypeTexts(0x04000000, 4).Modifier, "No information (CounterType = 04000000)");
}

TEST(CounterTypeTexts, UnknownValuesShowTheWholeWord) {
  EXPECT_EQ(CounterTypeTexts(0x00070500, 8).Subtype, "Internal error (CounterType = 00070500)");
  EXPECT_EQ(CounterTypeTexts(0x00030000, 4).Subtype, "Internal error (CounterType = 00030000)");
  EXPECT_EQ(CounterTypeTexts(0x00020800, 4).Subtype, "Internal error (CounterType = 00020800)");
  EXPECT_EQ(CounterTypeTexts(PERF_COUNTER_TEXT, 4).Subtype, "Unicode");
  EXPECT_EQ(CounterTypeTexts(0x00300000, 4).TimeBase, "Internal error (CounterType = 00300000)");
  EXPECT_EQ(CounterTypeTexts(0x50000000, 4).Display, "Internal error (CounterType = 50000000)");
  // A type-zero counter has no subtype line of its own, whatever its subtype bits.
  EXPECT_EQ(CounterTypeTexts(0x00010C00, 4).Type, "Displays a zero");
  EXPECT_FALSE(CounterTypeTexts(0x00010C00, 4).Subtype.has_value());
}

}  // namespace
}  // namespace gaugery
