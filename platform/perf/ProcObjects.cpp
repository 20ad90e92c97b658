#include "perf/ProcObjects.h"

#include <charconv>

namespace gaugery {

namespace {

// A counter of an object whose samples are of type TSample.
template <typename TSample>
struct TCounterSource {
  DWORD Index;
  DWORD Type;
  std::uint64_t (*Value)(const TSample&);
};

constexpr auto Zero = [](const auto&) -> std::uint64_t { return 0; };

std::uint64_t Bits(std::int64_t Value) { return static_cast<std::uint64_t>(Value); }
std::uint64_t Mebibytes(std::uint64_t Bytes) { return Bytes >> 20; }

// Short names for the sample types keep each counter on one line.
using P = const TProcessSample&;
constexpr TCounterSource<TProcessSample> ProcessCounters[] = {
    {6, PERF_100NSEC_TIMER, [](P S) { return S.UserTime + S.KernelTime; }},
    {142, PERF_100NSEC_TIMER, [](P S) { return S.UserTime; }},
    {144, PERF_100NSEC_TIMER, [](P S) { return S.KernelTime; }},
    {172, PERF_COUNTER_LARGE_RAWCOUNT, [](P S) { return S.VirtualBytesPeak; }},
    {174, PERF_COUNTER_LARGE_RAWCOUNT, [](P S) { return S.VirtualBytes; }},
    {28, PERF_COUNTER_COUNTER, [](P S) { return S.PageFaults; }},
    {178, PERF_COUNTER_LARGE_RAWCOUNT, [](P S) { return S.WorkingSetPeak; }},
    {180, PERF_COUNTER_LARGE_RAWCOUNT, [](P S) { return S.WorkingSet; }},
    {182, PERF_COUNTER_LARGE_RAWCOUNT, [](P S) { return S.PageFileBytesPeak; }},
    {184, PERF_COUNTER_LARGE_RAWCOUNT, [](P S) { return S.PageFileBytes; }},
    {186, PERF_COUNTER_LARGE_RAWCOUNT, [](P S) { return S.PageFileBytes; }},
    {680, PERF_COUNTER_RAWCOUNT, [](P S) { return S.Threads; }},
    {682, PERF_COUNTER_RAWCOUNT, [](P S) { return S.PriorityBase; }},
    {684, PERF_ELAPSED_TIME, [](P S) { return Bits(S.StartTime); }},
    {784, PERF_COUNTER_RAWCOUNT, [](P S) { return std::uint64_t{S.Pid}; }},
    {1410, PERF_COUNTER_RAWCOUNT, [](P S) { return std::uint64_t{S.ParentPid}; }},
    {56, PERF_COUNTER_RAWCOUNT, Zero},  // no paged kernel pool per process on Linux
    {58, PERF_COUNTER_RAWCOUNT, [](P S) { return S.PageTableBytes; }},
    {952, PERF_COUNTER_RAWCOUNT, [](P S) { return S.Handles; }},
    {1412, PERF_COUNTER_BULK_COUNT, [](P S) { return S.ReadOperations; }},
    {1414, PERF_COUNTER_BULK_COUNT, [](P S) { return S.WriteOperations; }},
    {1416, PERF_COUNTER_BULK_COUNT, [](P S) { return S.ReadOperations + S.WriteOperations; }},
    {1418, PERF_COUNTER_BULK_COUNT, Zero},
    {1420, PERF_COUNTER_BULK_COUNT, [](P S) { return S.ReadBytes; }},
    {1422, PERF_COUNTER_BULK_COUNT, [](P S) { return S.WriteBytes; }},
    {1424, PERF_COUNTER_BULK_COUNT, [](P S) { return S.ReadBytes + S.WriteBytes; }},
    {1426, PERF_COUNTER_BULK_COUNT, Zero},
    {1478, PERF_COUNTER_LARGE_RAWCOUNT, [](P S) { return S.PrivateWorkingSet; }},
};

using C = const TCpuSample&;
constexpr TCounterSource<TCpuSample> ProcessorCounters[] = {
    {6, PERF_100NSEC_TIMER_INV, [](C S) { return S.IdleTime; }},
    {142, PERF_100NSEC_TIMER, [](C S) { return S.UserTime; }},
    {144, PERF_100NSEC_TIMER, [](C S) { return S.PrivilegedTime; }},
    {698, PERF_100NSEC_TIMER, [](C S) { return S.InterruptTime; }},
    {148, PERF_COUNTER_COUNTER, [](C S) { return S.Interrupts; }},
};

using M = const TMemorySample&;
constexpr TCounterSource<TMemorySample> MemoryCounters[] = {
    {24, PERF_COUNTER_LARGE_RAWCOUNT, [](M S) { return S.AvailableBytes; }},
    {26, PERF_COUNTER_LARGE_RAWCOUNT, [](M S) { return S.CommittedBytes; }},
    {30, PERF_COUNTER_LARGE_RAWCOUNT, [](M S) { return S.CommitLimit; }},
    {28, PERF_COUNTER_COUNTER, [](M S) { return S.PageFaults; }},
    {1406, PERF_RAW_FRACTION, [](M S) { return Mebibytes(S.CommittedBytes); }},
    {1407, PERF_RAW_BASE, [](M S) { return Mebibytes(S.CommitLimit); }},
};

using Y = const TSystemSample&;
constexpr TCounterSource<TSystemSample> SystemCounters[] = {
    {248, PERF_COUNTER_RAWCOUNT, [](Y S) { return S.Processes; }},
    {250, PERF_COUNTER_RAWCOUNT, [](Y S) { return S.Threads; }},
    {44, PERF_COUNTER_RAWCOUNT, [](Y S) { return S.RunningThreads; }},
    {146, PERF_COUNTER_COUNTER, [](Y S) { return S.ContextSwitches; }},
    {674, PERF_ELAPSED_TIME, [](Y S) { return Bits(S.BootTime); }},
};

constexpr auto ProcessLayout = LayOutCounters(ProcessCounters);
constexpr auto ProcessorLayout = LayOutCounters(ProcessorCounters);
constexpr auto MemoryLayout = LayOutCounters(MemoryCounters);
constexpr auto SystemLayout = LayOutCounters(SystemCounters);

template <typename TSample, std::size_t Count>
void WriteValues(BYTE* Block, const TCounterSource<TSample> (&Counters)[Count],
                 const std::array<TCounterLayout, Count>& Layout, const TSample& Sample) {
  if (Block == nullptr) return;
  for (std::size_t At = 0; At < Count; ++At) {
    WriteCounterValue(Block, Layout[At], Counters[At].Value(Sample));
  }
}

constexpr std::string_view TotalInstance = "_Total";

}  // namespace

void WriteProcessObject(TPerfBlockWriter& Writer, TProcessSampler& Processes,
                        const TSampleClock& Clock) {
  Writer.BeginObject(ProcessObjectIndex, ProcessLayout, true, Clock.Now);
  TProcessSample Total;
  TProcessSample Process;
  for (std::uint32_t Pid : Processes.Pids()) {
    if (Writer.Overflowed()) return;
    if (!Processes.Read(Pid, Clock, Process)) continue;
    AddToTotal(Total, Process);
    WriteValues(Writer.AddInstance(Process.Name), ProcessCounters, ProcessLayout, Process);
  }
  WriteValues(Writer.AddInstance(TotalInstance), ProcessCounters, ProcessLayout, Total);
  Writer.EndObject();
}

void WriteProcessorObject(TPerfBlockWriter& Writer, const TKernelStat& Stat,
                          const TSampleClock& Clock) {
  Writer.BeginObject(ProcessorObjectIndex, ProcessorLayout, true, Clock.Now);
  for (const TCpuSample& Cpu : Stat.Cpus) {
    char Name[16];
    auto Written = std::to_chars(Name, Name + sizeof Name, Cpu.Number);
    std::string_view Number(Name, static_cast<std::size_t>(Written.ptr - Name));
    WriteValues(Writer.AddInstance(Number), ProcessorCounters, ProcessorLayout, Cpu);
  }
  WriteValues(Writer.AddInstance(TotalInstance), ProcessorCounters, ProcessorLayout,
              Stat.Average);
  Writer.EndObject();
}

void WriteMemoryObject(TPerfBlockWriter& Writer, const TMemorySample& Memory,
                       const TSampleClock& Clock) {
  Writer.BeginObject(MemoryObjectIndex, MemoryLayout, false, Clock.Now);
  WriteValues(Writer.AddObjectBlock(), MemoryCounters, MemoryLayout, Memory);
  Writer.EndObject();
}

void WriteSystemObject(TPerfBlockWriter& Writer, const TSystemSample& System,
                       const TSampleClock& Clock) {
  Writer.BeginObject(SystemObjectIndex, SystemLayout, false, Clock.Now);
  WriteValues(Writer.AddObjectBlock(), SystemCounters, SystemLayout, System);
  Writer.EndObject();
}

}  // namespace gaugery
