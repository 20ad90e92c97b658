// Counter logs: what a stored sample costs, what recording adds to a plain sample, and
// how long finding a sample in the middle of a long log takes.
//
//  - BM_StoredLiveSample: live "Global" samples with 500 extra idle processes, once a
//    second; counters "stored/raw" (bytes in the log per raw block byte), the bytes a
//    day at 1 s, and "recorder CPU/plain": the processor time of taking and storing
//    each sample per that of taking it alone, for the same samples.
//  - BM_PlainSample and BM_RecordedSample: the CPU of a query, and of a query stored in a
//    log; their ratio is the recorder's cost. BM_StoreLiveSample: the storing alone.
//  - BM_SeekWithIndex and BM_SeekByReading: sample 50,000 of a 100,000-sample log, found
//    through the index or by reading every record before it; BM_SeekNumber: the same
//    sample found by its number through the index (top's steps back, watch --every).
//  - BM_RelogDayAt10s: `gaugery relog` of a day at 10 s (8,640 samples) to CSV: the
//    ten samples of `gaugery record` with 500 idle processes, a second apart, stored in
//    turn at times 10 s apart; counters its seconds per day of log and per sample.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
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

// The processor time of this process so far, in seconds: what sampling and storing cost,
// the reading of /proc included, without the idle children.
double ProcessSeconds() {
  timespec Now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &Now);
  return static_cast<double>(Now.tv_sec) + static_cast<double>(Now.tv_nsec) * 1e-9;
}

std::string BenchFile(const char* Name) {
  return std::string("/tmp/gaugery-bench-") + Name + ".glog";
}

void BM_StoredLiveSample(benchmark::State& State) {
  bench::TIdleProcesses Idle(kIdleProcesses);
  const std::string File = BenchFile("live");
  TCounterLogWriter Writer(File, {.ComputerName = "BENCH"}, {});
  const std::uint64_t Start = Writer.BytesWritten();
  double Taking = 0;
  double Storing = 0;
  for (auto _ : State) {
    const double Before = ProcessSeconds();
    const std::vector<BYTE> Block = LiveSample();
    const double Taken = ProcessSeconds();
    Writer.WriteSample(Block.data(), static_cast<DWORD>(Block.size()));
    Storing += ProcessSeconds() - Taken;
    Taking += Taken - Before;
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
  State.counters["recorder CPU/plain"] = (Taking + Storing) / Taking;
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

constexpr int kSamplesADay = 8640;

// A day of samples 10 s apart, written after the machine and names of Recorded: its
// samples in turn, each with the times of its place in the day (the system time, and
// the performance counter's and the 100 ns clock's ticks).
void WriteDay(const std::string& File, const std::string& Recorded) {
  TCounterLogReader Reader(Recorded);
  std::vector<std::vector<BYTE>> Real;
  for (TLogEntry Entry; Reader.Next(Entry);) Real.push_back(std::move(Entry.Block));
  TCounterLogWriter Writer(File, Reader.Machine(), Reader.Names());
  TPERF_DATA_BLOCK First;
  std::memcpy(&First, Real.front().data(), sizeof First);
  FILETIME Start;
  SystemTimeToFileTime(&First.SystemTime, &Start);
  for (int Number = 0; Number < kSamplesADay; ++Number) {
    std::vector<BYTE> Block = Real[static_cast<std::size_t>(Number) % Real.size()];
    TPERF_DATA_BLOCK Header;
    std::memcpy(&Header, Block.data(), sizeof Header);
    const std::int64_t Ticks = std::int64_t{Number} * 10 * 10000000;
    const FILETIME Time = Int64ToFileTime(FileTimeToInt64(Start) + Ticks);
    FileTimeToSystemTime(&Time, &Header.SystemTime);
    Header.PerfTime = First.PerfTime + std::int64_t{Number} * 10 * First.PerfFreq;
    Header.PerfTime100nSec = First.PerfTime100nSec + Ticks;
    std::memcpy(Block.data(), &Header, sizeof Header);
    Writer.WriteSample(Block.data(), static_cast<DWORD>(Block.size()));
  }
}

void BM_RelogDayAt10s(benchmark::State& State) {
  const std::string Recorded = BenchFile("recorded-ten");
  const std::string Day = BenchFile("day");
  {
    bench::TIdleProcesses Idle(kIdleProcesses);
    const std::string Record =
        std::string(GAUGERY_EXE) + " record --count 10 --interval 1 " + Recorded + " 2>/dev/null";
    if (std::system(Record.c_str()) != 0) {
      State.SkipWithError("record failed");
      return;
    }
  }
  WriteDay(Day, Recorded);
  const std::string Csv = "/tmp/gaugery-bench-day.csv";
  const std::string Command = std::string(GAUGERY_EXE) + " relog " + Day + " -o " + Csv +
                              " '\\Process(*)\\% Processor Time' '\\Process(*)\\Working Set'"
                              " '\\Processor(*)\\% Processor Time' '\\Memory\\Available Bytes'";
  double Seconds = 0;
  for (auto _ : State) {
    const auto Start = std::chrono::steady_clock::now();
    if (std::system(Command.c_str()) != 0) State.SkipWithError("relog failed");
    Seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count();
  }
  const double Runs = static_cast<double>(State.iterations());
  State.counters["s/day of log"] = Seconds / Runs;
  State.counters["ms/sample"] = Seconds / Runs / kSamplesADay * 1e3;
  State.counters["relog/logged time"] = Seconds / Runs / (kSamplesADay * 10.0);
  std::remove(Recorded.c_str());
  std::remove(Day.c_str());
  std::remove(Csv.c_str());
}
BENCHMARK(BM_RelogDayAt10s)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
