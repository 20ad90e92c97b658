// Reading performance data blocks in the perf tests: a query of HKEY_PERFORMANCE_DATA as
// the library makes it, and a decoded form of the block to compare with /proc.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "WinPerf.h"

namespace gaugery::test {

using TCounterValues = std::map<DWORD, std::uint64_t>;  // by counter title index

struct TDecodedInstance {
  std::string Name;
  TCounterValues Values;
};

struct TDecodedObject {
  DWORD Index = 0;
  LONG NumInstances = 0;
  std::int64_t PerfTime = 0;
  std::int64_t PerfFreq = 0;
  std::vector<TPERF_COUNTER_DEFINITION> Counters;
  std::vector<TDecodedInstance> Instances;
  TCounterValues Values;  // of an object without instances
};

// Queries ValueName, growing the buffer while the answer is ERROR_MORE_DATA; fails the
// test when the query fails or the block is malformed.
std::vector<BYTE> QueryBlock(const char16_t* ValueName);

// One object of a well-formed block, read through the walkers.
TDecodedObject DecodeObject(const void* Object);

// The objects of a well-formed block, in block order.
std::vector<TDecodedObject> DecodeBlock(const std::vector<BYTE>& Block);

std::vector<TDecodedObject> QueryObjects(const char16_t* ValueName);

// The object with that title index; fails the test when there is none.
const TDecodedObject& ObjectOf(const std::vector<TDecodedObject>& Objects, DWORD Index);

// The Process instance of the process with that id, or null.
const TDecodedInstance* ProcessInstance(const TDecodedObject& Process, std::uint32_t Pid);

}  // namespace gaugery::test
