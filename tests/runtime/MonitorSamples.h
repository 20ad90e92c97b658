// The synthetic samples the monitor tests read: a process object whose instances carry
// an id, a thread count and a processor time, and a gauge object without instances
// whose one counter (followed by a base counter on request) takes any counter type.
// Every sample carries its own SystemTime, a number of seconds after a fixed start.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "BlockBuilder.h"
#include "FakeProviders.h"

namespace gaugery::testing {

// Title indexes of the sample objects.
constexpr DWORD kProcessIndex = 230;
constexpr DWORD kGaugeIndex = 700;
constexpr DWORD kHollowIndex = 720;  // an object that has no instances at the moment

// The "009" and "007" name tables.
std::vector<TPerfLocaleNames> MonitorNames();

// The file time of the sample taken Seconds after the start.
std::int64_t SampleFileTime(double Seconds);

struct TProcessSpec {
  std::string Name;
  std::int64_t Id = 0;
  std::int64_t Time = 0;  // "% Processor Time", 100 ns units
  std::int64_t Threads = 1;
};

// A process object with one instance per process given.
test::TObjectSpec ProcessObject(const std::vector<TProcessSpec>& Processes);

// The gauge: its counter "Value" of type Type and Size holding Value, then, when
// BaseType is given, the counter "Value Base" holding Base.
struct TGaugeSpec {
  DWORD Type = PERF_COUNTER_LARGE_RAWCOUNT;
  std::int64_t Value = 0;
  std::optional<DWORD> BaseType;
  std::int64_t Base = 0;
  DWORD Size = 8;
};
test::TObjectSpec GaugeObject(const TGaugeSpec& Gauge);

// An object with instances, none of them present.
test::TObjectSpec HollowObject();

// A block of the objects, taken Seconds after the start.
test::TBlock SampleBlock(double Seconds, std::vector<test::TObjectSpec> Objects);

// A provider of the samples with the monitor names, serving whole blocks as they are
// built so that their SystemTime reaches the monitor. The k-th Collect of a monitor made
// afterwards sees Samples[k - 1]: the first sample is served once more before, for the
// read that acquires the snapshot.
std::vector<test::TFakeProvider> SampleProvider(std::vector<test::TBlock> Samples);
test::TFakeProviders ServeSamples(std::vector<test::TBlock> Samples);

}  // namespace gaugery::testing
