// Lays out objects of a performance data block in a caller's buffer: object headers,
// counter definitions, instances with their UTF-16 names and counter blocks, every
// record starting 8-byte aligned relative to where writing began. Running out of
// space is remembered, not fatal: every later step does nothing and the caller asks
// Overflowed() at the end.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "registry/PerfDataRecords.h"

namespace gaugery {

// The rate of every file-time counter and object time stamp.
constexpr std::int64_t FileTimeFrequency = 10'000'000;

// A counter's definition as written: its value lies at Offset in each counter block.
struct TCounterLayout {
  DWORD Index;  // name title index; the help index is one more
  DWORD Type;
  DWORD Size;
  DWORD Offset;
};

constexpr DWORD CounterSizeOfType(DWORD Type) {
  return (Type & PERF_SIZE_MASK) == PERF_SIZE_LARGE ? 8 : 4;
}

// The layout of counters given as records with an Index and a Type, in that order:
// sizes from the type word, each value at an offset aligned to its size after the
// counter block's header.
template <typename TCounter, std::size_t Count>
constexpr std::array<TCounterLayout, Count> LayOutCounters(
    const std::array<TCounter, Count>& Counters) {
  std::array<TCounterLayout, Count> Layout{};
  DWORD Offset = sizeof(TPERF_COUNTER_BLOCK);
  for (std::size_t At = 0; At < Count; ++At) {
    DWORD Size = CounterSizeOfType(Counters[At].Type);
    Offset = (Offset + Size - 1) / Size * Size;
    Layout[At] = {Counters[At].Index, Counters[At].Type, Size, Offset};
    Offset += Size;
  }
  return Layout;
}

// Stores the value, or its low 32 bits for a 4-byte counter, in a counter block.
void WriteCounterValue(BYTE* Block, const TCounterLayout& Counter, std::uint64_t Value);

class TPerfBlockWriter {
 public:
  TPerfBlockWriter(BYTE* Start, DWORD Capacity) : Start_(Start), Capacity_(Capacity) {}

  // Writes an object's header and counter definitions; its instances (or its one
  // counter block) follow. PerfTime is a file time, the object's frequency that of
  // file times.
  void BeginObject(DWORD TitleIndex, std::span<const TCounterLayout> Counters, bool HasInstances,
                   std::int64_t PerfTime);
  // Adds an instance named by UTF-8 text (ill-formed bytes become U+FFFD) and returns
  // its zeroed counter block, or null when the space is exhausted.
  BYTE* AddInstance(std::string_view Name);
  // The zeroed counter block of an object without instances, or null.
  BYTE* AddObjectBlock();
  // Completes the object's lengths and instance count.
  void EndObject();

  bool Overflowed() const { return Overflowed_; }
  DWORD BytesWritten() const { return Used_; }
  DWORD ObjectCount() const { return Objects_; }

 private:
  // Zeroed space of that many bytes (rounded up to 8), or null.
  BYTE* Reserve(std::size_t Bytes);
  BYTE* AddCounterBlock();

  BYTE* Start_;
  DWORD Capacity_;
  DWORD Used_ = 0;
  bool Overflowed_ = false;
  DWORD Objects_ = 0;
  DWORD ObjectStart_ = 0;
  LONG Instances_ = 0;
  DWORD CounterBlockLength_ = 0;
};

}  // namespace gaugery
