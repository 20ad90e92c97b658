// The questions asked of counter type words: the kind of value, the size, the clock, the
// display, the modifiers and the pairing of fractions with their bases.
#include <gtest/gtest.h>

#include "PerfCounterType.h"

namespace gaugery {
namespace {

// Bits 0 to 7 and 12 to 15 belong to no field.
constexpr DWORD kOutsideTheFields = 0x0000F0FF;

TEST(CounterKind, OfThePublishedTypes) {
  EXPECT_EQ(CounterKindOf(PERF_COUNTER_RAWCOUNT_HEX), TCounterKind::HexNumber);
  EXPECT_EQ(CounterKindOf(PERF_COUNTER_LARGE_RAWCOUNT), TCounterKind::DecimalNumber);
  EXPECT_EQ(CounterKindOf(PERF_COUNTER_NODATA), TCounterKind::HexNumber);
  EXPECT_EQ(CounterKindOf(PERF_COUNTER_DELTA), TCounterKind::CounterValue);
  EXPECT_EQ(CounterKindOf(PERF_COUNTER_COUNTER), TCounterKind::Rate);
  EXPECT_EQ(CounterKindOf(PERF_100NSEC_TIMER_INV), TCounterKind::Rate);
  EXPECT_EQ(CounterKindOf(PERF_RAW_FRACTION), TCounterKind::Fraction);
  EXPECT_EQ(CounterKindOf(PERF_AVERAGE_TIMER), TCounterKind::Fraction);
  EXPECT_EQ(CounterKindOf(PERF_SAMPLE_BASE), TCounterKind::Base);
  EXPECT_EQ(CounterKindOf(PERF_LARGE_RAW_BASE), TCounterKind::Base);
  EXPECT_EQ(CounterKindOf(PERF_ELAPSED_TIME), TCounterKind::Elapsed);
  EXPECT_EQ(CounterKindOf(PERF_COUNTER_100NS_QUEUELEN_TYPE), TCounterKind::QueueLength);
  EXPECT_EQ(CounterKindOf(PERF_COUNTER_TEXT), TCounterKind::Text);
  // The precision timers carry a subtype no counter of ours computes.
  EXPECT_EQ(CounterKindOf(PERF_PRECISION_100NS_TIMER), TCounterKind::OtherCounter);
}

TEST(CounterKind, UnknownSubtypesAndTheBitsOutsideTheFields) {
  EXPECT_EQ(CounterKindOf(PERF_NUMBER_DEC_1000), TCounterKind::ThousandthsNumber);
  EXPECT_EQ(CounterKindOf(0x00030000), TCounterKind::OtherNumber);
  EXPECT_EQ(CounterKindOf(0x000F0000), TCounterKind::OtherNumber);
  EXPECT_EQ(CounterKindOf(PERF_TYPE_COUNTER | PERF_COUNTER_HISTOGRAM), TCounterKind::Histogram);
  EXPECT_EQ(CounterKindOf(0x000F0400), TCounterKind::OtherCounter);
  // Text and zero counters are one kind each, whatever their subtype.
  EXPECT_EQ(CounterKindOf(PERF_TYPE_TEXT | PERF_TEXT_ASCII), TCounterKind::Text);
  EXPECT_EQ(CounterKindOf(0x00070800), TCounterKind::Text);
  EXPECT_EQ(CounterKindOf(0x00010C00), TCounterKind::Zero);
  EXPECT_EQ(CounterCategoryOf(0x00010C00), TCounterCategory::Zero);
  for (DWORD Word : {PERF_COUNTER_RAWCOUNT, PERF_SAMPLE_FRACTION, PERF_ELAPSED_TIME}) {
    EXPECT_EQ(CounterKindOf(Word | kOutsideTheFields), CounterKindOf(Word)) << Word;
    EXPECT_EQ(CounterDisplayOf(Word | kOutsideTheFields), CounterDisplayOf(Word)) << Word;
    EXPECT_EQ(IsDeltaCounter(Word | kOutsideTheFields), IsDeltaCounter(Word)) << Word;
  }
}

TEST(CounterSize, OnlyFourAndEightByteValuesAreReadable) {
  EXPECT_EQ(CounterSizeOf(PERF_COUNTER_RAWCOUNT), TCounterSize::DWord);
  EXPECT_EQ(CounterSizeOf(PERF_100NSEC_TIMER), TCounterSize::Large);
  EXPECT_EQ(CounterSizeOf(PERF_COUNTER_NODATA), TCounterSize::Zero);
  EXPECT_EQ(CounterSizeOf(PERF_COUNTER_TEXT), TCounterSize::VariableLength);
  EXPECT_TRUE(HasReadableSize(PERF_COUNTER_RAWCOUNT));
  EXPECT_TRUE(HasReadableSize(PERF_ELAPSED_TIME));
  EXPECT_FALSE(HasReadableSize(PERF_COUNTER_NODATA));
  EXPECT_FALSE(HasReadableSize(PERF_COUNTER_TEXT));
}

TEST(CounterTimeBase, ByTheTimerField) {
  EXPECT_EQ(CounterTimeBaseOf(PERF_COUNTER_TIMER), TCounterTimeBase::PerfFrequency);
  EXPECT_EQ(CounterTimeBaseOf(PERF_100NSEC_TIMER), TCounterTimeBase::HundredNanoseconds);
  EXPECT_EQ(CounterTimeBaseOf(PERF_ELAPSED_TIME), TCounterTimeBase::ObjectFrequency);
  EXPECT_EQ(CounterTimeBaseOf(0x00300000), TCounterTimeBase::Unknown);
}

TEST(CounterDisplay, SuffixesAndValuesWithoutOne) {
  EXPECT_EQ(DisplaySuffix(PERF_COUNTER_COUNTER), "/sec");
  EXPECT_EQ(DisplaySuffix(PERF_100NSEC_TIMER_INV), "%");
  EXPECT_EQ(DisplaySuffix(PERF_ELAPSED_TIME), "secs");
  EXPECT_EQ(DisplaySuffix(PERF_COUNTER_RAWCOUNT), "");
  EXPECT_EQ(CounterDisplayOf(PERF_SAMPLE_BASE), TCounterDisplay::NotShown);
  EXPECT_EQ(DisplaySuffix(PERF_SAMPLE_BASE), "");
  // Display values above the last known one, up to the field's top, are unknown.
  for (DWORD Word : {DWORD{0x50000000}, PERF_COUNTER_HISTOGRAM_TYPE, DWORD{0xF0000000}}) {
    EXPECT_EQ(CounterDisplayOf(Word), TCounterDisplay::Unknown) << Word;
    EXPECT_EQ(DisplaySuffix(Word), "") << Word;
  }
}

TEST(CounterModifiers, EachIsAskedOnItsOwn) {
  EXPECT_TRUE(IsDeltaCounter(PERF_COUNTER_COUNTER));
  EXPECT_FALSE(IsInverseCounter(PERF_COUNTER_COUNTER));
  // A fraction of differences carries the base modifier too; the counter one decides.
  EXPECT_TRUE(IsDeltaCounter(PERF_SAMPLE_FRACTION));
  EXPECT_FALSE(IsDeltaCounter(PERF_DELTA_BASE));
  EXPECT_FALSE(IsDeltaCounter(PERF_RAW_FRACTION));
  EXPECT_TRUE(IsInverseCounter(PERF_100NSEC_TIMER_INV));
  EXPECT_TRUE(IsDeltaCounter(PERF_100NSEC_TIMER_INV));
  EXPECT_FALSE(IsInverseCounter(PERF_MULTI_COUNTER));
}

TEST(CounterBase, PairingLooksAtTheSubtypeBitsAlone) {
  EXPECT_TRUE(TakesBaseCounter(PERF_RAW_FRACTION));
  EXPECT_TRUE(TakesBaseCounter(PERF_SAMPLE_FRACTION));
  EXPECT_TRUE(TakesBaseCounter(PERF_AVERAGE_TIMER));
  EXPECT_FALSE(TakesBaseCounter(PERF_COUNTER_COUNTER));
  EXPECT_FALSE(TakesBaseCounter(PERF_SAMPLE_BASE));
  EXPECT_TRUE(ServesAsBase(PERF_SAMPLE_BASE));
  EXPECT_TRUE(ServesAsBase(PERF_AVERAGE_BASE));
  EXPECT_FALSE(ServesAsBase(PERF_RAW_FRACTION));
  // A number shown in thousandths has the subtype bits of a fraction, and a number of
  // subtype 3 those of a base, though neither is of those kinds.
  EXPECT_TRUE(TakesBaseCounter(PERF_NUMBER_DEC_1000));
  EXPECT_TRUE(ServesAsBase(0x00030000));
  EXPECT_EQ(CounterKindOf(0x00030000), TCounterKind::OtherNumber);
}

}  // namespace
}  // namespace gaugery
