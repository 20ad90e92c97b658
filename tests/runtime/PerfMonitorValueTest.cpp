// Values, averages and texts of the monitor's records for every counter type it
// computes, on gauge samples one second apart.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "FilterSamples.h"
#include "MonitorSamples.h"
#include "PerfMonitor.h"
#include "framework/Format.h"
#include "framework/WinTime.h"

namespace gaugery {
namespace {

using testing::ErrorOf;
using testing::TGaugeSpec;

// A monitor with one item on the gauge's counter that has collected every sample, the
// k-th taken k seconds after the first.
class TGaugeRun {
 public:
  explicit TGaugeRun(const std::vector<TGaugeSpec>& Samples)
      : Provider_(testing::ServeSamples(Blocks(Samples))) {
    Item_ = Monitor_.Items()->Add();
    Item_->SetObjectName("Gauge");
    Item_->SetCounterName("Value");
    for (std::size_t I = 0; I < Samples.size(); ++I) Monitor_.Collect();
  }

  TPerfMonitor& Monitor() { return Monitor_; }
  TPerfMonitorItem& Item() { return *Item_; }
  const TPerfMonitorCounterValue& Record() { return *Item_->InstanceValues(0); }

 private:
  static std::vector<test::TBlock> Blocks(const std::vector<TGaugeSpec>& Samples) {
    std::vector<test::TBlock> Blocks;
    for (std::size_t I = 0; I < Samples.size(); ++I) {
      Blocks.push_back(
          testing::SampleBlock(static_cast<double>(I), {testing::GaugeObject(Samples[I])}));
    }
    return Blocks;
  }

  test::TFakeProviders Provider_;
  TPerfMonitor Monitor_{nullptr};
  TPerfMonitorItem* Item_ = nullptr;
};

// Sets the decimal separator for the lifetime of the guard.
class TDecimalSeparator {
 public:
  explicit TDecimalSeparator(const std::string& Separator)
      : Saved_(FormatSettings().DecimalSeparator) {
    FormatSettings().DecimalSeparator = Separator;
  }
  ~TDecimalSeparator() { FormatSettings().DecimalSeparator = Saved_; }

 private:
  std::string Saved_;
};

// One counter type sampled twice, one second apart: the counter (and base) values of
// the two samples and what the record shows after the second.
struct TTypeCase {
  const char* Name;
  DWORD Type;
  std::optional<DWORD> BaseType;
  std::int64_t Counter1, Base1, Counter2, Base2;
  Extended Float;
  std::int64_t Integer;
  const char* Text;
};

const TTypeCase kTypeCases[] = {
    {"COUNTER_COUNTER", PERF_COUNTER_COUNTER, {}, 1000, 0, 1500, 0, 500.0, -1, "500.00"},
    {"BULK_COUNT", PERF_COUNTER_BULK_COUNT, {}, 0, 0, 25, 0, 25.0, -1, "25.00"},
    {"COUNTER_TIMER", PERF_COUNTER_TIMER, {}, 1000000, 0, 3500000, 0, 25.0, -1, "25.00"},
    {"100NSEC_TIMER", PERF_100NSEC_TIMER, {}, 1000000, 0, 3500000, 0, 25.0, -1, "25.00"},
    {"100NSEC_TIMER_INV", PERF_100NSEC_TIMER_INV, {}, 0, 0, 2500000, 0, 75.0, -1, "75.00"},
    {"RAW_FRACTION", PERF_RAW_FRACTION, PERF_RAW_BASE, 1, 2, 3, 4, 75.0, -2, "75.00"},
    {"SAMPLE_FRACTION", PERF_SAMPLE_FRACTION, PERF_SAMPLE_BASE, 10, 20, 13, 24, 75.0, -2, "75.00"},
    {"AVERAGE_TIMER", PERF_AVERAGE_TIMER, PERF_AVERAGE_BASE, 1, 1, 6, 4, 1.5, -2, "1.50"},
    {"COUNTER_DELTA", PERF_COUNTER_DELTA, {}, 10, 0, 35, 0, 25.0, 35, "25.00"},
    {"QUEUELEN", PERF_COUNTER_QUEUELEN_TYPE, {}, 3, 0, 9, 0, -4.0, -4, "-4.00"},
    {"HISTOGRAM", 0x00060400, {}, 3, 0, 9, 0, -5.0, -5, "-5.00"},
    {"RAWCOUNT", PERF_COUNTER_RAWCOUNT, {}, 1, 0, 1234, 0, 1234.0, 1234, "1234"},
    {"RAWCOUNT_HEX", PERF_COUNTER_RAWCOUNT_HEX, {}, 1, 0, 255, 0, 255.0, 255, "FF"},
    {"LARGE_RAWCOUNT_HEX negative",
     PERF_COUNTER_LARGE_RAWCOUNT_HEX,
     {},
     1,
     0,
     -1,
     0,
     -1.0,
     -1,
     "FFFFFFFFFFFFFFFF"},
    {"DEC_1000", 0x00020000, {}, 1, 0, 12345, 0, 12345.0, 12345, "12.345"},
    {"unknown number subtype", 0x00030000, {}, 1, 0, 7, 0, 7.0, 7, ""},
    {"unknown counter subtype", 0x00070400, {}, 1, 0, 7, 0, 0.0, 0, "0.00"},
    {"ZERO inverse", PERF_TYPE_ZERO | PERF_INVERSE_COUNTER, {}, 1, 0, 7, 0, 1.0, 0, "0"},
    {"ZERO inverse percent",
     PERF_TYPE_ZERO | PERF_INVERSE_COUNTER | PERF_DISPLAY_PERCENT,
     {},
     1,
     0,
     7,
     0,
     100.0,
     0,
     "0"},
    {"fraction with zero base, inverse", PERF_RAW_FRACTION | PERF_INVERSE_COUNTER, PERF_RAW_BASE, 1,
     0, 1, 0, 100.0, -2, "100.00"},
};

TEST(PerfMonitorValue, CommonCounterTypesOnTwoSamples) {
  const TDecimalSeparator Point(".");
  for (const TTypeCase& Case : kTypeCases) {
    SCOPED_TRACE(Case.Name);
    TGaugeRun Run({{Case.Type, Case.Counter1, Case.BaseType, Case.Base1},
                   {Case.Type, Case.Counter2, Case.BaseType, Case.Base2}});
    const TPerfMonitorCounterValue& Record = Run.Record();
    EXPECT_EQ(Record.CounterType(), Case.Type);
    EXPECT_EQ(Record.HasBase(), Case.BaseType.has_value());
    EXPECT_DOUBLE_EQ(Record.AsFloat(), Case.Float);
    EXPECT_EQ(Record.AsInteger(), Case.Integer);
    EXPECT_EQ(Record.AsString(), Case.Text);
    // The record's first sample is also its previous one: the average spans the same
    // second as the current value.
    EXPECT_DOUBLE_EQ(Record.AvgAsFloat(), Case.Float);
    EXPECT_EQ(Record.AvgAsInteger(), Case.Integer);
    EXPECT_EQ(Record.AvgAsString(), Case.Text);
  }
}

TEST(PerfMonitorValue, TextsUseTheUsersDecimalSeparatorAndRoundHalvesAwayFromZero) {
  const TDecimalSeparator Comma(",");
  EXPECT_EQ(
      TGaugeRun({{PERF_COUNTER_COUNTER, 1000}, {PERF_COUNTER_COUNTER, 1500}}).Record().AsString(),
      "500,00");
  EXPECT_EQ(TGaugeRun({{0x00020000, 12345}}).Record().AsString(), "12,345");
  // 1/32 and -1/32 as percentages: 3.125 exactly.
  EXPECT_EQ(TGaugeRun({{PERF_RAW_FRACTION, 1, PERF_RAW_BASE, 32}}).Record().AsString(), "3,13");
  EXPECT_EQ(TGaugeRun({{PERF_SAMPLE_FRACTION, 10, PERF_SAMPLE_BASE, 100},
                       {PERF_SAMPLE_FRACTION, 9, PERF_SAMPLE_BASE, 132}})
                .Record()
                .AsString(),
            "-3,13");
}

// 100500 of a 100 ns timer over one second is 1.0049999999999999 as computed, which
// shows as 1.00; a large raw count shows its own digits.
TEST(PerfMonitorValue, TextsShowTheComputedValueRoundedAsItIs) {
  EXPECT_EQ(TGaugeRun({{PERF_100NSEC_TIMER, 0}, {PERF_100NSEC_TIMER, 100500}}).Record().AsString(),
            "1.00");
  EXPECT_EQ(TGaugeRun({{PERF_COUNTER_LARGE_RAWCOUNT, 133592130455000016}}).Record().AsString(),
            "133592130455000016");
}

TEST(PerfMonitorValue, AverageSpansTheWholeRunAndCurrentTheLastSecond) {
  TGaugeRun Run(
      {{PERF_COUNTER_COUNTER, 0}, {PERF_COUNTER_COUNTER, 10}, {PERF_COUNTER_COUNTER, 40}});
  const TPerfMonitorCounterValue& Record = Run.Record();
  EXPECT_DOUBLE_EQ(Record.AsFloat(), 30.0);
  EXPECT_DOUBLE_EQ(Record.AvgAsFloat(), 20.0);
  EXPECT_EQ(Record.FirstCounter(), 0);
  EXPECT_EQ(Record.PrevCounter(), 10);
  EXPECT_EQ(Record.Counter(), 40);
  EXPECT_EQ(Record.RefreshCount(), 4);
}

TEST(PerfMonitorValue, RecordWithoutInstancesIsRecordedTwiceInItsFirstSample) {
  TGaugeRun Run({{PERF_COUNTER_COUNTER, 700}});
  const TPerfMonitorCounterValue& Record = Run.Record();
  EXPECT_EQ(Record.RefreshCount(), 2);
  EXPECT_TRUE(Record.PrevAvailable());
  EXPECT_EQ(Record.PrevCounter(), 700);
  EXPECT_EQ(Record.FirstCounter(), 700);
  EXPECT_DOUBLE_EQ(Record.AsFloat(), 0.0);
  EXPECT_DOUBLE_EQ(Record.AvgAsFloat(), 0.0);
  EXPECT_EQ(Record.InstanceName(), "");
  EXPECT_EQ(&Record, Run.Item().InstanceValues(5));  // any index
}

TEST(PerfMonitorValue, NonDeltaTypesKeepNoHistory) {
  TGaugeRun Run(
      {{PERF_RAW_FRACTION, 1, PERF_RAW_BASE, 2}, {PERF_RAW_FRACTION, 3, PERF_RAW_BASE, 4}});
  const TPerfMonitorCounterValue& Record = Run.Record();
  EXPECT_FALSE(Record.PrevAvailable());
  EXPECT_EQ(Record.PrevCounter(), 0);
  EXPECT_EQ(Record.PrevBase(), 0);
  EXPECT_EQ(Record.FirstCounter(), 0);
  EXPECT_EQ(Record.FirstBase(), 0);
  EXPECT_EQ(Record.Base(), 4);
}

TEST(PerfMonitorValue, FirstAverageOfAnInverseRateIsAHundredPercent) {
  const TDecimalSeparator Point(".");
  TGaugeRun Run({{PERF_100NSEC_TIMER_INV, 2500000}});
  EXPECT_DOUBLE_EQ(Run.Record().AvgAsFloat(), 100.0);
  EXPECT_EQ(Run.Record().AvgAsString(), "100.00");
}

TEST(PerfMonitorValue, SameSnapshotTimeGivesZeroRates) {
  test::TFakeProviders Provider = testing::ServeSamples(
      {testing::SampleBlock(0, {testing::GaugeObject({PERF_COUNTER_COUNTER, 100})}),
       testing::SampleBlock(0, {testing::GaugeObject({PERF_COUNTER_COUNTER, 900})})});
  TPerfMonitor Monitor(nullptr);
  TPerfMonitorItem* Item = Monitor.Items()->Add();
  Item->SetObjectName("Gauge");
  Item->SetCounterName("Value");
  Monitor.Collect();
  Monitor.Collect();
  EXPECT_EQ(Monitor.DeltaSysTime(), 0);
  EXPECT_EQ(Item->InstanceValues(0)->PrevCounter(), 100);
  EXPECT_DOUBLE_EQ(Item->InstanceValues(0)->AsFloat(), 0.0);
  EXPECT_DOUBLE_EQ(Item->InstanceValues(0)->AvgAsFloat(), 0.0);
}

TEST(PerfMonitorValue, WrappedFourByteCounterGivesANegativeRate) {
  TGaugeRun Run({{.Type = PERF_COUNTER_COUNTER, .Value = 0xFFFFFFF0, .Size = 4},
                 {.Type = PERF_COUNTER_COUNTER, .Value = 0x10, .Size = 4}});
  EXPECT_EQ(Run.Record().PrevCounter(), 0xFFFFFFF0);
  EXPECT_DOUBLE_EQ(Run.Record().AsFloat(), 16.0 - 0xFFFFFFF0);
}

// Against the sample's own time stamp, not the clock: a sample years old still shows the
// age its counter had when it was taken, current value and average alike.
TEST(PerfMonitorValue, ElapsedTimeCountsFromTheCounterToTheSampleTime) {
  const std::int64_t Start = testing::SampleFileTime(1) - 90 * 10000000LL;
  TGaugeRun Run({{PERF_ELAPSED_TIME, Start}, {PERF_ELAPSED_TIME, Start}});
  EXPECT_DOUBLE_EQ(Run.Record().AsFloat(), 90.0);
  EXPECT_DOUBLE_EQ(Run.Record().AvgAsFloat(), 90.0);
  EXPECT_EQ(Run.Record().AsInteger(), -3);
  EXPECT_EQ(Run.Item().Suffix(), "secs");
}

TEST(PerfMonitorValue, BaseAndTextCountersRaiseFromEveryGetter) {
  const auto ExpectEveryGetterRaises = [](const TPerfMonitorCounterValue& Record,
                                          const std::string& Message) {
    EXPECT_EQ(ErrorOf([&] { Record.AsFloat(); }), Message);
    EXPECT_EQ(ErrorOf([&] { Record.AvgAsFloat(); }), Message);
    EXPECT_EQ(ErrorOf([&] { Record.AsInteger(); }), Message);
    EXPECT_EQ(ErrorOf([&] { Record.AvgAsInteger(); }), Message);
    EXPECT_EQ(ErrorOf([&] { Record.AsString(); }), Message);
    EXPECT_EQ(ErrorOf([&] { Record.AvgAsString(); }), Message);
  };
  TGaugeRun Base({{PERF_SAMPLE_BASE, 5}, {PERF_SAMPLE_BASE, 6}});
  ExpectEveryGetterRaises(Base.Record(), "Gaugery Internal error (Perf_COUNTER_BASE)");
  EXPECT_EQ(Base.Record().Counter(), 6);
  // A text counter whose definition claims a readable size.
  TGaugeRun Text({{PERF_TYPE_TEXT, 5}});
  ExpectEveryGetterRaises(Text.Record(), "Invalid counter type");
  EXPECT_EQ(Text.Record().RefreshCount(), 2);
}

TEST(PerfMonitorValue, RecordThatWasNeverSampledShowsZero) {
  // A variable-length text counter cannot be read: the record is made, then the
  // first read fails.
  test::TFakeProviders Provider = testing::ServeSamples(
      {testing::SampleBlock(0, {testing::GaugeObject({PERF_COUNTER_TEXT, 5})})});
  TPerfMonitor Monitor(nullptr);
  TPerfMonitorItem* Item = Monitor.Items()->Add();
  Item->SetObjectName("Gauge");
  Item->SetCounterName("Value");
  EXPECT_EQ(Item->InstanceValues(0), nullptr);
  EXPECT_EQ(ErrorOf([&] { Monitor.Collect(); }), "Invalid counter block size");
  const TPerfMonitorCounterValue* Record = Item->InstanceValues(0);
  ASSERT_NE(Record, nullptr);
  EXPECT_EQ(Record->RefreshCount(), 0);
  EXPECT_DOUBLE_EQ(Record->AsFloat(), 0.0);
  EXPECT_EQ(Record->AsInteger(), 0);
  EXPECT_EQ(Record->AsString(), "0");
}

TEST(PerfMonitorValue, SuffixFollowsTheDisplayField) {
  EXPECT_EQ(TGaugeRun({TGaugeSpec{PERF_COUNTER_COUNTER}}).Item().Suffix(), "/sec");
  EXPECT_EQ(TGaugeRun({TGaugeSpec{PERF_RAW_FRACTION, 1, PERF_RAW_BASE, 2}}).Item().Suffix(), "%");
  EXPECT_EQ(TGaugeRun({TGaugeSpec{PERF_AVERAGE_BULK}}).Item().Suffix(), "");
  EXPECT_EQ(TGaugeRun({TGaugeSpec{PERF_COUNTER_RAWCOUNT}}).Item().Suffix(), "");
}

}  // namespace
}  // namespace gaugery
