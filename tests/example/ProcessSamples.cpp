#include "ProcessSamples.h"

namespace gaugery::testing {

namespace {

constexpr DWORD kProcess = 230;
constexpr DWORD kMemory = 4;

}  // namespace

std::vector<TPerfNameEntry> ProcessCounterNames() {
  return {{kMemory, "Memory"},
          {24, "Available Bytes"},
          {kProcess, "Process"},
          {784, "ID Process"},
          {684, "Elapsed Time"},
          {680, "Thread Count"},
          {952, "Handle Count"},
          {184, "Page File Bytes"},
          {182, "Page File Bytes Peak"},
          {58, "Pool Nonpaged Bytes"},
          {180, "Working Set"},
          {6, "% Processor Time"}};
}

TLogNames ProcessLogNames() {
  WideString Counter;
  const auto Append = [&Counter](const std::string& Part) {
    Counter.insert(Counter.end(), Part.begin(), Part.end());
    Counter.push_back(0);
  };
  for (const TPerfNameEntry& Entry : ProcessCounterNames()) {
    Append(std::to_string(Entry.Index));
    Append(Entry.Text);
  }
  Counter.push_back(0);
  return {{"009", Counter, WideString(1, 0)}};
}

namespace {

std::vector<TPerfLocaleNames> ProcessNames() { return {{"009", ProcessCounterNames(), {}}}; }

test::TObjectSpec MemoryObject() {
  return {.NameIndex = kMemory, .Counters = {{.NameIndex = 24}}, .Values = {1 << 20}};
}

// Counters in another order than the filter's, as a provider may lay them out.
test::TObjectSpec ProcessObject(const std::vector<TProcessSample>& Processes) {
  test::TObjectSpec Object{
      .NameIndex = kProcess,
      .Counters = {{.NameIndex = 684, .Type = PERF_ELAPSED_TIME, .Size = 8},
                   {.NameIndex = 784, .Type = PERF_COUNTER_RAWCOUNT, .Size = 4},
                   {.NameIndex = 680, .Type = PERF_COUNTER_RAWCOUNT, .Size = 4},
                   {.NameIndex = 952, .Type = PERF_COUNTER_RAWCOUNT, .Size = 4},
                   {.NameIndex = 184, .Size = 8},
                   {.NameIndex = 182, .Size = 8},
                   {.NameIndex = 58, .Type = PERF_COUNTER_RAWCOUNT, .Size = 4},
                   {.NameIndex = 180, .Size = 8},
                   {.NameIndex = 6, .Type = PERF_100NSEC_TIMER, .Size = 8}},
      .HasInstances = true,
      .PerfTime = SampleTime,
      .PerfFreq = SampleFreq};
  for (const TProcessSample& P : Processes) {
    Object.Instances.push_back(
        {.Name = P.Name,
         .Values = {P.StartTime.value_or(SampleTime - P.RunningSeconds * SampleFreq), P.Id,
                    P.Threads, P.Handles, P.PageFileBytes, P.PageFileBytesPeak,
                    P.PoolNonpagedBytes, P.WorkingSet, P.ProcessorTime}});
  }
  return Object;
}

}  // namespace

test::TBlock ProcessBlock(const std::vector<TProcessSample>& Processes, int SecondsLater) {
  test::TBlockSpec Block{.Objects = {MemoryObject(), ProcessObject(Processes)}};
  Block.SystemTime.wSecond = static_cast<WORD>(Block.SystemTime.wSecond + SecondsLater);
  return test::BuildBlock(Block);
}

test::TBlock BlockWithoutProcesses() { return test::BuildBlock({.Objects = {MemoryObject()}}); }

std::vector<TProcessSample> NumberedProcesses(int Count) {
  std::vector<TProcessSample> Processes;
  for (int I = 0; I < Count; ++I) {
    Processes.push_back({.Name = "p" + std::to_string(I), .Id = 100 + I, .RunningSeconds = I});
  }
  return Processes;
}

test::TFakeProviders ServeProcesses(std::vector<test::TBlock> Samples) {
  if (!Samples.empty()) Samples.insert(Samples.begin(), Samples.front());
  return test::TFakeProviders({{.Samples = std::move(Samples), .Names = ProcessNames()}});
}

}  // namespace gaugery::testing
