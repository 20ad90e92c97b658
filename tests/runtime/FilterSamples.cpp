#include "FilterSamples.h"

#include <gtest/gtest.h>

#include "PerfTitles.h"

namespace gaugery::testing {

using test::TCounterSpec;

std::vector<TPerfLocaleNames> FilterNames() {
  return {{"009",
           {{kMemory, "Memory"},
            {24, "Available Bytes"},
            {26, "Variable"},
            {28, "Empty"},
            {30, "Odd Size"},
            {32, "Wide DWord"},
            {34, "Hit Ratio"},
            {36, "Hit Ratio Base"},
            {38, "Last Fraction"},
            {kProcess, "Process"},
            {6, "% Processor Time"},
            {784, "ID Process"},
            {40, "Fraction"},
            {42, "Fraction Base"},
            {44, "Lonely Fraction"},
            {46, "Zero Size"},
            {kProcessor, "Processor"},
            {500, "Network"},
            {kNetwork, "Network"},
            {1500, "Bytes Received/sec"},
            {1502, "Bytes Received/sec"}},
           {{785, "The process identifier."}, {7, "Processor time help."}}},
          {"007",
           {{kMemory, "Speicher"},
            {24, "Verfügbare Bytes"},
            {kProcess, "Prozess"},
            {784, "Prozesskennung"},
            {6, "Prozessorzeit (%)"}},
           {{785, "Die Prozesskennung."}}}};
}

test::TBlock FilterBlock(std::int64_t Stamp, bool WithNetwork) {
  const std::vector<TCounterSpec> ProcessCounters = {
      {.NameIndex = 784, .Type = PERF_COUNTER_RAWCOUNT, .Size = 4},
      {.NameIndex = 6, .Type = PERF_100NSEC_TIMER, .Size = 8},
      {.NameIndex = 40, .Type = PERF_RAW_FRACTION, .Size = 4},
      {.NameIndex = 42, .Type = PERF_RAW_BASE, .Size = 4},
      {.NameIndex = 44, .Type = PERF_RAW_FRACTION, .Size = 4},
      {.NameIndex = 46, .Type = PERF_COUNTER_NODATA, .Size = 0}};
  const std::vector<TCounterSpec> MemoryCounters = {
      {.NameIndex = 24, .Type = PERF_COUNTER_LARGE_RAWCOUNT, .Size = 8},
      {.NameIndex = 26, .Type = PERF_COUNTER_LARGE_RAWCOUNT | PERF_SIZE_VARIABLE_LEN, .Size = 8},
      {.NameIndex = 28, .Type = PERF_COUNTER_NODATA, .Size = 0},
      {.NameIndex = 30, .Type = PERF_COUNTER_RAWCOUNT, .Size = 2},
      {.NameIndex = 32, .Type = PERF_COUNTER_RAWCOUNT, .Size = 8},
      {.NameIndex = 34, .Type = PERF_SAMPLE_FRACTION, .Size = 4},
      {.NameIndex = 36, .Type = PERF_SAMPLE_BASE, .Size = 4},
      {.NameIndex = 38, .Type = PERF_RAW_FRACTION, .Size = 4}};
  test::TBlockSpec Sample{
      .Objects = {{.NameIndex = kProcess,
                   .Counters = ProcessCounters,
                   .HasInstances = true,
                   .Instances = {{.Name = "idle", .Values = {0, Stamp, 1, 4, 5}, .UniqueID = 10},
                                 {.Name = "init", .Values = {0xFFFFFFFF, -1, 2, 8}},
                                 {.Name = "shell", .Values = {4000 + Stamp, 7, 3, 12}}},
                   .PerfTime = 5000 + Stamp,
                   .PerfFreq = 10000000},
                  {.NameIndex = kMemory,
                   .Counters = MemoryCounters,
                   .Values = {-1, 1, 0, 0x7FFF, 1LL << 40, 3, 4, 9}},
                  {.NameIndex = kProcessor,
                   .Counters = {{.NameIndex = 6, .Type = PERF_100NSEC_TIMER}},
                   .HasInstances = true},
                  {.NameIndex = kNetwork,
                   .Counters = {{.NameIndex = 1502, .Type = PERF_COUNTER_BULK_COUNT}},
                   .Values = {Stamp * 100}}},
  };
  if (!WithNetwork) Sample.Objects.pop_back();
  return test::BuildBlock(Sample);
}

test::TFakeProviders ServeFilterBlocks(std::vector<test::TBlock> Samples) {
  return test::TFakeProviders({{.Samples = std::move(Samples), .Names = FilterNames()}});
}

namespace {

// The locale list is read once per process: it must come from the filter names.
class TFilterNamesEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    const test::TFakeProviders Names = ServeFilterBlocks({});
    Locales();
  }
};

const auto* const Registered = ::testing::AddGlobalTestEnvironment(new TFilterNamesEnvironment);

}  // namespace

}  // namespace gaugery::testing
