#include "perf/ProcObjects.h"

#include "perf/ProcCounterTable.h"
#include "perf/ProcOwnIndexes.h"

namespace gaugery {

namespace {

constexpr auto Zero = [](const auto&) -> std::uint64_t { return 0; };

std::uint64_t Bits(std::int64_t Value) { return static_cast<std::uint64_t>(Value); }
std::uint64_t Mebibytes(std::uint64_t Bytes) { return Bytes >> 20; }

// Windows names its threads' total by the process and thread parts of a thread name.
constexpr std::string_view TotalThreadInstance = "_Total/_Total";

// Short names for the sample types keep each counter on one line.
using P = const TProcessSample&;
constexpr TCounterTable ProcessTable(std::to_array<TCounterSource<TProcessSample>>({
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
}));

using T = const TThreadSample&;
constexpr TCounterTable ThreadTable(std::to_array<TCounterSource<TThreadSample>>({
    {6, PERF_100NSEC_TIMER, [](T S) { return S.UserTime + S.KernelTime; }},
    {142, PERF_100NSEC_TIMER, [](T S) { return S.UserTime; }},
    {144, PERF_100NSEC_TIMER, [](T S) { return S.KernelTime; }},
    {146, PERF_COUNTER_COUNTER, [](T S) { return S.ContextSwitches; }},
    {784, PERF_COUNTER_RAWCOUNT, [](T S) { return std::uint64_t{S.Pid}; }},
    {804, PERF_COUNTER_RAWCOUNT, [](T S) { return std::uint64_t{S.Tid}; }},
    {682, PERF_COUNTER_RAWCOUNT, [](T S) { return S.PriorityBase; }},
    {684, PERF_ELAPSED_TIME, [](T S) { return Bits(S.StartTime); }},
    {ThreadStateIndex, PERF_COUNTER_RAWCOUNT,
     [](T S) { return static_cast<std::uint64_t>(S.State); }},
}));

using C = const TCpuSample&;
constexpr TCounterTable ProcessorTable(std::to_array<TCounterSource<TCpuSample>>({
    {6, PERF_100NSEC_TIMER_INV, [](C S) { return S.IdleTime; }},
    {142, PERF_100NSEC_TIMER, [](C S) { return S.UserTime; }},
    {144, PERF_100NSEC_TIMER, [](C S) { return S.PrivilegedTime; }},
    {698, PERF_100NSEC_TIMER, [](C S) { return S.InterruptTime; }},
    {148, PERF_COUNTER_COUNTER, [](C S) { return S.Interrupts; }},
}));

using M = const TMemorySample&;
constexpr TCounterTable MemoryTable(std::to_array<TCounterSource<TMemorySample>>({
    {24, PERF_COUNTER_LARGE_RAWCOUNT, [](M S) { return S.AvailableBytes; }},
    {26, PERF_COUNTER_LARGE_RAWCOUNT, [](M S) { return S.CommittedBytes; }},
    {30, PERF_COUNTER_LARGE_RAWCOUNT, [](M S) { return S.CommitLimit; }},
    {28, PERF_COUNTER_COUNTER, [](M S) { return S.PageFaults; }},
    {1406, PERF_RAW_FRACTION, [](M S) { return Mebibytes(S.CommittedBytes); }},
    {1407, PERF_RAW_BASE, [](M S) { return Mebibytes(S.CommitLimit); }},
}));

using Y = const TSystemSample&;
constexpr TCounterTable SystemTable(std::to_array<TCounterSource<TSystemSample>>({
    {248, PERF_COUNTER_RAWCOUNT, [](Y S) { return S.Processes; }},
    {250, PERF_COUNTER_RAWCOUNT, [](Y S) { return S.Threads; }},
    {44, PERF_COUNTER_RAWCOUNT, [](Y S) { return S.RunningThreads; }},
    {146, PERF_COUNTER_COUNTER, [](Y S) { return S.ContextSwitches; }},
    {674, PERF_ELAPSED_TIME, [](Y S) { return Bits(S.BootTime); }},
}));

}  // namespace

void WriteProcessObject(TPerfBlockWriter& Writer, TProcessSampler& Processes,
                        const TSampleClock& Clock) {
  Writer.BeginObject(ProcessObjectIndex, ProcessTable.Layout, true, Clock.Now);
  TProcessSample Total;
  TProcessSample Process;
  for (std::uint32_t Pid : Processes.Pids()) {
    if (Writer.Overflowed()) return;
    if (!Processes.Read(Pid, Clock, Process)) continue;
    AddToTotal(Total, Process);
    ProcessTable.Write(Writer.AddInstance(Process.Name), Process);
  }
  ProcessTable.Write(Writer.AddInstance(TotalInstance), Total);
  Writer.EndObject();
}

void WriteThreadObject(TPerfBlockWriter& Writer, TThreadSampler& Threads,
                       std::span<const std::uint32_t> Pids, const TSampleClock& Clock) {
  Writer.BeginObject(ThreadObjectIndex, ThreadTable.Layout, true, Clock.Now);
  TThreadSample Total;
  TThreadSample Thread;
  for (std::uint32_t Pid : Pids) {
    if (Writer.Overflowed()) return;
    if (!Threads.ListThreads(Pid)) continue;
    for (std::uint32_t Tid : Threads.Tids()) {
      // Without its main thread the process has ended, and its name is unknown.
      if (!Threads.Read(Pid, Tid, Clock, Thread)) {
        if (Tid == Pid) break;
        continue;
      }
      AddToTotal(Total, Thread);
      ThreadTable.Write(Writer.AddInstance(Threads.InstanceName(Tid)), Thread);
    }
  }
  ThreadTable.Write(Writer.AddInstance(TotalThreadInstance), Total);
  Writer.EndObject();
}

void WriteProcessorObject(TPerfBlockWriter& Writer, const TKernelStat& Stat,
                          const TSampleClock& Clock) {
  Writer.BeginObject(ProcessorObjectIndex, ProcessorTable.Layout, true, Clock.Now);
  for (const TCpuSample& Cpu : Stat.Cpus) {
    ProcessorTable.Write(Writer.AddInstance(TShortText().Append(Cpu.Number).View()), Cpu);
  }
  ProcessorTable.Write(Writer.AddInstance(TotalInstance), Stat.Average);
  Writer.EndObject();
}

void WriteMemoryObject(TPerfBlockWriter& Writer, const TMemorySample& Memory,
                       const TSampleClock& Clock) {
  Writer.BeginObject(MemoryObjectIndex, MemoryTable.Layout, false, Clock.Now);
  MemoryTable.Write(Writer.AddObjectBlock(), Memory);
  Writer.EndObject();
}

void WriteSystemObject(TPerfBlockWriter& Writer, const TSystemSample& System,
                       const TSampleClock& Clock) {
  Writer.BeginObject(SystemObjectIndex, SystemTable.Layout, false, Clock.Now);
  SystemTable.Write(Writer.AddObjectBlock(), System);
  Writer.EndObject();
}

}  // namespace gaugery
