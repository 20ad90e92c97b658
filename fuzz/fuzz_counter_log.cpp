// Arbitrary bytes as a counter log: the reader refuses them with an Exception, or reads
// entries whose every block is well-formed, through damage, seeks and rebuilt indexes.
//
// The first byte chooses how the input is used: as the whole file, or written over a
// well-formed log of a few dozen samples (full and delta ones, a gap, a names change, an
// index), at a place the next two bytes pick, so that mutations reach the records behind
// the frames quickly.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "BlockBuilder.h"
#include "framework/Exceptions.h"
#include "perf/log/CounterLogReader.h"
#include "perf/log/CounterLogWriter.h"
#include "registry/PerfBlockCheck.h"

namespace {

using namespace gaugery;

test::TBlock Sample(int Number) {
  test::TObjectSpec Processes{.NameIndex = 230,
                              .Counters = {{.NameIndex = 6}, {.NameIndex = 784, .Size = 4}},
                              .HasInstances = true};
  for (int Instance = 0; Instance < 3 + Number % 4; ++Instance) {
    Processes.Instances.push_back({.Name = "p" + std::to_string(Instance),
                                   .Values = {Number * Instance, Instance},
                                   .UniqueID = Instance});
  }
  return test::BuildBlock({.Objects = {Processes},
                           .SystemTime = {2024, 5, 5, 12, 12, 0, static_cast<WORD>(Number), 0}});
}

TLogNames Names(const std::string& Process) {
  WideString Counter;
  for (const std::string& Text : {std::string("1"), std::string("230"), Process}) {
    Counter.append(Text.begin(), Text.end());
    Counter.push_back(0);
  }
  Counter.push_back(0);
  return {{"009", Counter, WideString(1, 0)}};
}

std::vector<BYTE> WellFormedLog() {
  // Of this process alone: fuzzing jobs run side by side.
  const std::string File = "/tmp/gaugery-fuzz-counter-log-" + std::to_string(getpid()) + ".glog";
  {
    TCounterLogWriter Writer(File, {.ComputerName = "FUZZ"}, Names("Process"),
                             {.FullEvery = 8, .IndexEvery = 2});
    for (int Number = 1; Number <= 40; ++Number) {
      if (Number == 20) Writer.WriteNames(Names("Prozess"));
      if (Number == 30) Writer.WriteGap(0, "refused");
      const test::TBlock Block = Sample(Number);
      Writer.WriteSample(Block.Bytes.data(), Block.Size());
    }
  }
  std::ifstream In(File, std::ios::binary);
  std::vector<BYTE> Bytes{std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>()};
  std::remove(File.c_str());
  return Bytes;
}

std::vector<BYTE> LogBytes(const std::uint8_t* Data, std::size_t Size) {
  if (Size < 3 || Data[0] % 2 == 0) return {Data + (Size == 0 ? 0 : 1), Data + Size};
  static const std::vector<BYTE> Good = WellFormedLog();
  std::vector<BYTE> Bytes = Good;
  const std::size_t At = (Data[1] << 8 | Data[2]) * Bytes.size() / 65536;
  for (std::size_t Byte = 3; Byte < Size && At + Byte - 3 < Bytes.size(); ++Byte) {
    Bytes[At + Byte - 3] = Data[Byte];
  }
  return Bytes;
}

void ReadAll(TCounterLogReader& Reader) {
  for (TLogEntry Entry; Reader.Next(Entry);) {
    if (Entry.Kind == TLogEntry::TKind::Sample &&
        !IsWellFormedBlock(Entry.Block.data(), static_cast<DWORD>(Entry.Block.size()))) {
      std::abort();
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  try {
    TCounterLogReader Reader(LogBytes(Data, Size), "fuzz");
    ReadAll(Reader);
    const TLogExtent Extent = Reader.Extent();
    // Halfway, in unsigned arithmetic: the times of a damaged log may be anything.
    const std::uint64_t Span =
        static_cast<std::uint64_t>(Extent.LastTime) - static_cast<std::uint64_t>(Extent.FirstTime);
    Reader.Seek(static_cast<std::int64_t>(static_cast<std::uint64_t>(Extent.FirstTime) + Span / 2));
    ReadAll(Reader);
    Reader.Rewind();
    ReadAll(Reader);
    Reader.TakeWarnings();
  } catch (const Exception&) {
    // Refused with a message: what the reader does with a file it cannot read.
  }
  return 0;
}
