// The counters of an object of the /proc provider as one table: for each its title
// index, its type word and how its value is taken from a sample, with the layout of
// the values in the counter block worked out at compile time.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "perf/PerfBlockWriter.h"

namespace gaugery {

template <typename TSample>
struct TCounterSource {
  DWORD Index;
  DWORD Type;
  std::uint64_t (*Value)(const TSample&);
};

template <typename TSample, std::size_t Count>
using TCounterSources = std::array<TCounterSource<TSample>, Count>;

template <typename TSample, std::size_t Count>
struct TCounterTable {
  TCounterSources<TSample, Count> Sources;
  std::array<TCounterLayout, Count> Layout;

  constexpr explicit TCounterTable(const TCounterSources<TSample, Count>& Counters)
      : Sources(Counters), Layout(LayOutCounters(Counters)) {}

  // Writes the values of one sample; nothing into a null block (the space ran out).
  void Write(BYTE* Block, const TSample& Sample) const {
    if (Block == nullptr) return;
    for (std::size_t At = 0; At < Count; ++At) {
      WriteCounterValue(Block, Layout[At], Sources[At].Value(Sample));
    }
  }
};

// The counters of First followed by those of Second.
template <typename TSample, std::size_t FirstCount, std::size_t SecondCount>
constexpr TCounterSources<TSample, FirstCount + SecondCount> Joined(
    const TCounterSources<TSample, FirstCount>& First,
    const TCounterSources<TSample, SecondCount>& Second) {
  TCounterSources<TSample, FirstCount + SecondCount> Both{};
  for (std::size_t At = 0; At < FirstCount; ++At) Both[At] = First[At];
  for (std::size_t At = 0; At < SecondCount; ++At) Both[FirstCount + At] = Second[At];
  return Both;
}

constexpr std::string_view TotalInstance = "_Total";

}  // namespace gaugery
