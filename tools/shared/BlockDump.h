// A performance data block as plain values, for the commands that print one.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "WinPerf.h"

namespace gaugery {

class TPerfData;
class TPerfTitles;

struct CounterDump {
  DWORD Index;
  std::string Title;  // empty when the title table has no text for the index
  DWORD HelpIndex;
  DWORD Type;
  DWORD Size;
  DWORD Offset;
};

// A counter's raw value; empty for sizes other than 4 and 8 bytes.
using RawValue = std::optional<std::int64_t>;

struct InstanceDump {
  std::string Name;
  LONG UniqueId;
  std::vector<RawValue> Values;  // one per counter, in definition order
};

struct ObjectDump {
  DWORD Index;
  std::string Title;  // empty when the title table has no text for the index
  DWORD HelpIndex;
  LONG NumInstances;
  std::int64_t PerfTime;
  std::int64_t PerfFreq;
  std::vector<CounterDump> Counters;
  std::vector<InstanceDump> Instances;
  std::vector<RawValue> Values;  // the object's own block when it has no instances
};

struct BlockDump {
  std::string SystemName;
  SYSTEMTIME SystemTime;
  std::int64_t PerfTime;
  std::int64_t PerfFreq;
  std::int64_t PerfTime100nSec;
  std::vector<ObjectDump> Objects;
};

// Reads the snapshot's current block (one that has passed its check), with the titles
// of its objects and counters from Titles.
BlockDump DumpBlock(TPerfData& Data, TPerfTitles& Titles);
// The same of a block held elsewhere, one that has passed its check.
BlockDump DumpBlock(const TPERF_DATA_BLOCK& Block, TPerfTitles& Titles);

// "2026-12-07T07:05:08.123Z"
std::string IsoTime(const SYSTEMTIME& Time);

}  // namespace gaugery
