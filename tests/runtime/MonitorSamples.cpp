#include "MonitorSamples.h"

#include <gtest/gtest.h>

#include <cmath>

#include "PerfTitles.h"
#include "framework/WinTime.h"

namespace gaugery::testing {

using test::TCounterSpec;

namespace {

// 2024-05-03 12:30:45.500 UTC.
constexpr std::int64_t kStart = 133592130455000000;

}  // namespace

std::vector<TPerfLocaleNames> MonitorNames() {
  return {{"009",
           {{6, "% Processor Time"},
            {kProcessIndex, "Process"},
            {680, "Thread Count"},
            {kGaugeIndex, "Gauge"},
            {702, "Value"},
            {704, "Value Base"},
            {kHollowIndex, "Hollow"},
            {784, "ID Process"}},
           {{7, "Processor time help."}}},
          {"007",
           {{6, "Prozessorzeit (%)"},
            {kProcessIndex, "Prozess"},
            {680, "Threadanzahl"},
            {kGaugeIndex, "Messwert"},
            {702, "Wert"},
            {784, "Prozesskennung"}},
           {{7, "Hilfe zur Prozessorzeit."}}}};
}

std::int64_t SampleFileTime(double Seconds) { return kStart + std::llround(Seconds * 10000000); }

test::TObjectSpec ProcessObject(const std::vector<TProcessSpec>& Processes) {
  test::TObjectSpec Object{
      .NameIndex = kProcessIndex,
      .Counters = {{.NameIndex = 784, .Type = PERF_COUNTER_RAWCOUNT, .Size = 4},
                   {.NameIndex = 680, .Type = PERF_COUNTER_RAWCOUNT, .Size = 4},
                   {.NameIndex = 6, .Type = PERF_100NSEC_TIMER, .Size = 8}},
      .HasInstances = true};
  for (const TProcessSpec& Process : Processes) {
    Object.Instances.push_back(
        {.Name = Process.Name, .Values = {Process.Id, Process.Threads, Process.Time}});
  }
  return Object;
}

test::TObjectSpec GaugeObject(const TGaugeSpec& Gauge) {
  test::TObjectSpec Object{.NameIndex = kGaugeIndex,
                           .Counters = {{.NameIndex = 702, .Type = Gauge.Type, .Size = Gauge.Size}},
                           .Values = {Gauge.Value}};
  if (Gauge.BaseType) {
    Object.Counters.push_back({.NameIndex = 704, .Type = *Gauge.BaseType, .Size = 8});
    Object.Values.push_back(Gauge.Base);
  }
  return Object;
}

test::TObjectSpec HollowObject() {
  return {.NameIndex = kHollowIndex,
          .Counters = {{.NameIndex = 702, .Type = PERF_COUNTER_RAWCOUNT, .Size = 4}},
          .HasInstances = true};
}

test::TBlock SampleBlock(double Seconds, std::vector<test::TObjectSpec> Objects) {
  SYSTEMTIME Time{};
  const FILETIME Stamp = Int64ToFileTime(SampleFileTime(Seconds));
  FileTimeToSystemTime(&Stamp, &Time);
  return test::BuildBlock({.Objects = std::move(Objects), .SystemTime = Time});
}

std::vector<test::TFakeProvider> SampleProvider(std::vector<test::TBlock> Samples) {
  if (!Samples.empty()) Samples.insert(Samples.begin(), Samples.front());
  return {{.Samples = std::move(Samples), .WritesWholeBlock = true, .Names = MonitorNames()}};
}

test::TFakeProviders ServeSamples(std::vector<test::TBlock> Samples) {
  return test::TFakeProviders(SampleProvider(std::move(Samples)));
}

namespace {

// The locale list is read once per process: it must come from the monitor names.
class TMonitorNamesEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    const test::TFakeProviders Names = ServeSamples({});
    Locales();
  }
};

const auto* const Registered = ::testing::AddGlobalTestEnvironment(new TMonitorNamesEnvironment);

}  // namespace

}  // namespace gaugery::testing
