// Synthetic performance data blocks for tests, benchmarks and fuzz seeds.
//
// A block is described by plain structs (designated initializers keep a description
// short) and laid out by BuildBlock with every length and offset correct, every record
// 8-byte aligned and every value aligned to its size, as real providers write them.
// The result keeps the offset of each record, and its accessors return references
// into the bytes so that a test can corrupt any field afterwards.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "WinPerf.h"

namespace gaugery::test {

struct TCounterSpec {
  DWORD NameIndex = 0;
  DWORD Type = PERF_COUNTER_LARGE_RAWCOUNT;
  DWORD Size = 8;
  // CounterOffset as given; by default the next place aligned to Size after the
  // previous value (the first one after the 4-byte block header).
  std::optional<DWORD> Offset;
  DWORD HelpIndex = 0;  // 0: NameIndex + 1
  LONG DefaultScale = 0;
  DWORD DetailLevel = PERF_DETAIL_NOVICE;
};

struct TInstanceSpec {
  std::string Name;
  // One value per counter, in counter order; missing ones are 0. A value is stored
  // with the counter's Size (its low 4 bytes for Size 4).
  std::vector<std::int64_t> Values;
  LONG UniqueID = PERF_NO_UNIQUE_ID;
  DWORD ParentObjectTitleIndex = 0;
  DWORD ParentObjectInstance = 0;
};

struct TObjectSpec {
  DWORD NameIndex = 0;
  DWORD HelpIndex = 0;  // 0: NameIndex + 1
  std::vector<TCounterSpec> Counters;
  // False: NumInstances -1 and one counter block holding Values.
  bool HasInstances = false;
  std::vector<TInstanceSpec> Instances;
  std::vector<std::int64_t> Values;
  std::int64_t PerfTime = 0;
  std::int64_t PerfFreq = 0;
  LONG DefaultCounter = 0;
  DWORD DetailLevel = PERF_DETAIL_NOVICE;
};

struct TBlockSpec {
  std::vector<TObjectSpec> Objects;
  std::string SystemName = "TESTHOST";
  SYSTEMTIME SystemTime = {2024, 5, 3, 15, 12, 30, 45, 500};
  std::int64_t PerfTime = 1000000;
  std::int64_t PerfFreq = 10000000;
  std::int64_t PerfTime100nSec = 133600000000000000;
  LONG DefaultObject = 238;
};

// Where the records of one object lie, as offsets from the block's start.
struct TObjectLayout {
  std::size_t Offset = 0;
  std::vector<std::size_t> Counters;
  std::vector<std::size_t> Instances;
  // One per instance, or the object's own block when it has no instances.
  std::vector<std::size_t> CounterBlocks;
};

class TBlock {
 public:
  std::vector<BYTE> Bytes;
  std::size_t SystemNameOffset = 0;
  std::size_t HeaderLength = 0;
  std::vector<TObjectLayout> Objects;

  DWORD Size() const { return static_cast<DWORD>(Bytes.size()); }
  PPERF_DATA_BLOCK Data() { return reinterpret_cast<PPERF_DATA_BLOCK>(Bytes.data()); }

  // The records, by position; references into Bytes (the records are 1-byte packed,
  // so any offset is fine). Valid until Bytes is resized.
  TPERF_DATA_BLOCK& Header() { return Record<TPERF_DATA_BLOCK>(0); }
  const TPERF_DATA_BLOCK& Header() const { return const_cast<TBlock*>(this)->Header(); }
  TPERF_OBJECT_TYPE& Object(int Obj) { return Record<TPERF_OBJECT_TYPE>(Layout(Obj).Offset); }
  TPERF_COUNTER_DEFINITION& Counter(int Obj, int Ctr) {
    return Record<TPERF_COUNTER_DEFINITION>(Layout(Obj).Counters.at(Ctr));
  }
  TPERF_INSTANCE_DEFINITION& Instance(int Obj, int Ins) {
    return Record<TPERF_INSTANCE_DEFINITION>(Layout(Obj).Instances.at(Ins));
  }
  TPERF_COUNTER_BLOCK& CounterBlock(int Obj, int Block = 0) {
    return Record<TPERF_COUNTER_BLOCK>(Layout(Obj).CounterBlocks.at(Block));
  }

  // Writes any value at any offset (the block grows when needed).
  template <class T>
  void Poke(std::size_t Offset, const T& Value) {
    if (Bytes.size() < Offset + sizeof Value) Bytes.resize(Offset + sizeof Value);
    std::memcpy(Bytes.data() + Offset, &Value, sizeof Value);
  }

  // What a provider that writes objects only puts after the header.
  std::vector<BYTE> ObjectBytes() const;

 private:
  const TObjectLayout& Layout(int Obj) const { return Objects.at(Obj); }
  template <class T>
  T& Record(std::size_t Offset) {
    if (Offset + sizeof(T) > Bytes.size()) throw std::out_of_range("record outside the block");
    return *reinterpret_cast<T*>(Bytes.data() + Offset);
  }
};

TBlock BuildBlock(const TBlockSpec& Plan);

// What a provider leaves that writes its objects Leftover.size() bytes past HeaderLength:
// Good's header unchanged (still claiming Good's length), then Leftover (whatever the
// buffer held there before), then Good's objects. The layout gives the objects where
// they were written.
TBlock WithObjectsShifted(const TBlock& Good, const std::vector<BYTE>& Leftover);

}  // namespace gaugery::test
