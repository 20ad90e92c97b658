// Counter logs: what a stored sample costs, what recording adds to a plain sample, and
// how long finding a sample in the middle of a long log takes.
//
//  - BM_StoredLiveSample: live "Global" samples with 500 extra idle processes, once a
//    second; counters "stored/raw" (bytes in the log per raw block byte) and the bytes
//    a day at 1 s.
//  - BM_PlainSample and BM_RecordedSample: the CPU of a query, and of a query stored in a
//    log; their ratio is the recorder's cost. BM_StoreLiveSample: the storing alone.
//  - BM_SeekWithIndex and BM_SeekByReading: sample 50,000 of a 100,000-sample log, found
//    through the index or by reading every record before it; BM_SeekNumber: the same
//    sample found by its number through the index (top's steps back, watch --every).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "BlockBuilder.h"
#include "IdleProcesses.h"
#include "framework/Unicode.h"
#include "framework/WinTime.h"
#include "perf/log/CounterLogReader.h"
#include "perf/log/CounterLogWriter.h"
#include "registry/Registry.h"

namespace {

using namespace gaugery;

constexpr int kIdleProcesses = 500;
constexpr int kLongLog = 100000;

std::vector<BYTE> LiveSample() {
  static std::vector<BYTE> Buffer(1 << 20);
  for (;;) {
    auto Size = static_cast<DWORD>(Buffer.size());
    const LONG Result = RegQueryValueExW(HKEY_PERFORMANCE_DATA, ToWide("Global").c_str(), nullptr,
                                         nullptr, Buffer.data(), &Size);
    if (Result == ERROR_SUCCESS) return {Buffer.begin(), Buffer.begin() + Size};
    if (Result != ERROR_MORE_DATA) return {};
    Buffer.resize(Buffer.size() * 2);
  }
}

std::string BenchFile(const char* Name) {
  return std::string("/tmp/gaugery-bench-") + Name + ".glog";
}

void BM_StoredLiveSample(benchmark::State& State) {
  bench::TIdleProcesses Idle(kIdleProcesses);
  const std::string File = BenchFile("live");
  TCounterLogWriter Writer(File, {.ComputerName = "BENCH"}, {});
  const std::uint64_t Start = Writer.BytesWritten();
  for (auto _ : State) {
    const std::vector<BYTE> Block = LiveSample();
    Writer.WriteSample(Block.data(), static_cast<DWORD>(Block.size()));
    State.PauseTiming();
    std::this_thread::sleep_for(std::chrono::seconds(1));
    State.ResumeTiming();
  }
  Writer.Close();
  const double Stored = static_cast<double>(Writer.BytesWritten() - Start);
  const double Samples = static_cast<double>(Writer.SamplesWritten());
  State.counters["raw bytes/sample"] = static_cast<double>(Writer.BlockBytesWritten()) / Samples;
  State.counters["stored bytes/sample"] = Stored / Samples;
  State.counters["stored/raw"] = Stored / static_cast<double>(Writer.BlockBytesWritten());
  State.counters["MB/day at 1 s"] = Stored / Samples * 86400 / 1e6;
  std::remove(File.c_str());
}
// 120 samples: two full ones and the deltas between them, as a day holds them.
BENCHMARK(BM_StoredLiveSample)->Iterations(120)->Unit(benchmark::kMillisecond);

void BM_PlainSample(benchmark::State& State) {
  bench::TIdleProcesses Idle(kIdleProcesses);
  for (auto _ : State) benchmark::DoNotOptimize(LiveSample());
}
BENCHMARK(BM_PlainSample)->Unit(benchmark::kMillisecond);

void BM_RecordedSample(benchmark::State& State) {
  bench::TIdleProcesses Idle(kIdleProcesses);
  const std::string File = BenchFile("recorded");
  TCounterLogWriter Writer(File, {.ComputerName = "BENCH"}, {});
  for (auto _ : State) {
    const std::vector<BYTE> Block = LiveSample();
    Writer.WriteSample(Block.data(), static_cast<DWORD>(Block.size()));
  }
  Writer.Close();
  std::remove(File.c_str());
}
BENCHMARK(BM_RecordedSample)->Unit(benchmark::kMillisecond);

// What recording adds alone: two live samples a second apart, stored in turn, so that
// every stored sample is a delta against the other one (and every 60th a full one).
void BM_StoreLiveSample(benchmark::State& State) {
  bench::TIdleProcesses Idle(kIdleProcesses);
  const std::vector<BYTE> First = LiveSample();
  std::this_thread::sleep_for(std::chrono::seconds(1));
  const std::vector<BYTE> Second = LiveSample();
  const std::string File = BenchFile("stored");
  TCounterLogWriter Writer(File, {.ComputerName = "BENCH"}, {});
  bool Odd = false;
  for (auto _ : State) {
    const std::vector<BYTE>& Block = (Odd = !Odd) ? First : Second;
    Writer.WriteSample(Block.data(), static_cast<DWORD>(Block.size()));
  }
  Writer.Close();
  std::remove(File.c_str());
}
BENCHMARK(BM_StoreLiveSample)->Unit(benchmark::kMillisecond);

// Number seconds after midnight of 2024-05-05.
SYSTEMTIME SecondsLater(int Number) {
  return {2024,
          5,
          0,
          static_cast<WORD>(5 + Number / 86400),
          static_cast<WORD>(Number / 3600 % 24),
          static_cast<WORD>(Number / 60 % 60),
          static_cast<WORD>(Number % 60),
          0};
}

// A 100,000-sample log of small blocks a second apart, written once for both seek
// benchmarks.
const std::string& LongLog() {
  static const std::string File = [] {
    const std::string Name = BenchFile("long");
    TCounterLogWriter Writer(Name, {.ComputerName = "BENCH"}, {});
    test::TObjectSpec Object{.NameIndex = 2, .Counters = {{.NameIndex = 674}}};
    for (int Number = 1; Number <= kLongLog; ++Number) {
      Object.Values = {Number};
      const test::TBlock Block = test::BuildBlock(
          {.Objects = {Object}, .SystemTime = SecondsLater(Number), .PerfTime = Number});
      Writer.WriteSample(Block.Bytes.data(), Block.Size());
    }
    return Name;
  }();
  return File;
}

void BM_SeekWithIndex(benchmark::State& State) {
  const std::string& File = LongLog();
  SYSTEMTIME Middle = SecondsLater(kLongLog / 2);
  FILETIME Time;
  SystemTimeToFileTime(&Middle, &Time);
  for (auto _ : State) {
    TCounterLogReader Reader(File);
    Reader.Seek(FileTimeToInt64(Time));
    TLogEntry Entry;
    Reader.Next(Entry);
    if (Entry.Number != kLongLog / 2) State.SkipWithError("not the middle sample");
  }
}
BENCHMARK(BM_SeekWithIndex)->Unit(benchmark::kMicrosecond);

void BM_SeekNumber(benchmark::State& State) {
  const std::string& File = LongLog();
  for (auto _ : State) {
    TCounterLogReader Reader(File);
    Reader.SeekNumber(kLongLog / 2);
    TLogEntry Entry;
    Reader.Next(Entry);
    if (Entry.Number != kLongLog / 2) State.SkipWithError("not the middle sample");
  }
}
BENCHMARK(BM_SeekNumber)->Unit(benchmark::kMicrosecond);

void BM_SeekByReading(benchmark::State& State) {
  const std::string& File = LongLog();
  for (auto _ : State) {
    TCounterLogReader Reader(File);
    TLogEntry Entry;
    while (Reader.Next(Entry) && Entry.Number < kLongLog / 2) {
    }
  }
}
BENCHMARK(BM_SeekByReading)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
