#include "perf/proc/SystemObjects.h"

#include "perf/TitleIndexes.h"
#include "perf/proc/CounterTable.h"

namespace gaugery {

namespace {

constexpr auto Zero = [](const auto&) -> std::uint64_t { return 0; };

std::uint64_t Bits(std::int64_t Value) { return static_cast<std::uint64_t>(Value); }
std::uint64_t Mebibytes(std::uint64_t Bytes) { return Bytes >> 20; }

// Windows names its threads' total by the process and thread parts of a thread name.
constexpr std::string_view TotalThreadInstance = "_Total/_Total";

// The sample each counter of a table takes its value from.
using ProcessSample = const TProcessSample&;
constexpr TCounterTable ProcessTable(std::to_array<TCounterSource<TProcessSample>>({
    {ProcessorTimeIndex, PERF_100NSEC_TIMER,
     [](ProcessSample S) { return S.UserTime + S.KernelTime; }},
    {UserTimeIndex, PERF_100NSEC_TIMER, [](ProcessSample S) { return S.UserTime; }},
    {PrivilegedTimeIndex, PERF_100NSEC_TIMER, [](ProcessSample S) { return S.KernelTime; }},
    {VirtualBytesPeakIndex, PERF_COUNTER_LARGE_RAWCOUNT,
     [](ProcessSample S) { return S.VirtualBytesPeak; }},
    {VirtualBytesIndex, PERF_COUNTER_LARGE_RAWCOUNT,
     [](ProcessSample S) { return S.VirtualBytes; }},
    {PageFaultsIndex, PERF_COUNTER_COUNTER, [](ProcessSample S) { return S.PageFaults; }},
    {WorkingSetPeakIndex, PERF_COUNTER_LARGE_RAWCOUNT,
     [](ProcessSample S) { return S.WorkingSetPeak; }},
    {WorkingSetIndex, PERF_COUNTER_LARGE_RAWCOUNT, [](ProcessSample S) { return S.WorkingSet; }},
    {PageFileBytesPeakIndex, PERF_COUNTER_LARGE_RAWCOUNT,
     [](ProcessSample S) { return S.PageFileBytesPeak; }},
    {PageFileBytesIndex, PERF_COUNTER_LARGE_RAWCOUNT,
     [](ProcessSample S) { return S.PageFileBytes; }},
    {PrivateBytesIndex, PERF_COUNTER_LARGE_RAWCOUNT,
     [](ProcessSample S) { return S.PageFileBytes; }},
    {ThreadCountIndex, PERF_COUNTER_RAWCOUNT, [](ProcessSample S) { return S.Threads; }},
    {PriorityBaseIndex, PERF_COUNTER_RAWCOUNT, [](ProcessSample S) { return S.PriorityBase; }},
    {ElapsedTimeIndex, PERF_ELAPSED_TIME, [](ProcessSample S) { return Bits(S.StartTime); }},
    {IdProcessIndex, PERF_COUNTER_RAWCOUNT, [](ProcessSample S) { return std::uint64_t{S.Pid}; }},
    {CreatingProcessIdIndex, PERF_COUNTER_RAWCOUNT,
     [](ProcessSample S) { return std::uint64_t{S.ParentPid}; }},
    {PoolPagedBytesIndex, PERF_COUNTER_RAWCOUNT,
     Zero},  // no paged kernel pool per process on Linux
    {PoolNonpagedBytesIndex, PERF_COUNTER_RAWCOUNT,
     [](ProcessSample S) { return S.PageTableBytes; }},
    {HandleCountIndex, PERF_COUNTER_RAWCOUNT, [](ProcessSample S) { return S.Handles; }},
    {IoReadOperationsIndex, PERF_COUNTER_BULK_COUNT,
     [](ProcessSample S) { return S.ReadOperations; }},
    {IoWriteOperationsIndex, PERF_COUNTER_BULK_COUNT,
     [](ProcessSample S) { return S.WriteOperations; }},
    {IoDataOperationsIndex, PERF_COUNTER_BULK_COUNT,
     [](ProcessSample S) { return S.ReadOperations + S.WriteOperations; }},
    {IoOtherOperationsIndex, PERF_COUNTER_BULK_COUNT, Zero},
    {IoReadBytesIndex, PERF_COUNTER_BULK_COUNT, [](ProcessSample S) { return S.ReadBytes; }},
    {IoWriteBytesIndex, PERF_COUNTER_BULK_COUNT, [](ProcessSample S) { return S.WriteBytes; }},
    {IoDataBytesIndex, PERF_COUNTER_BULK_COUNT,
     [](ProcessSample S) { return S.ReadBytes + S.WriteBytes; }},
    {IoOtherBytesIndex, PERF_COUNTER_BULK_COUNT, Zero},
    {WorkingSetPrivateIndex, PERF_COUNTER_LARGE_RAWCOUNT,
     [](ProcessSample S) { return S.PrivateWorkingSet; }},
}));

using ThreadSample = const TThreadSample&;
constexpr TCounterTable ThreadTable(std::to_array<TCounterSource<TThreadSample>>({
    {ProcessorTimeIndex, PERF_100NSEC_TIMER,
     [](ThreadSample S) { return S.UserTime + S.KernelTime; }},
    {UserTimeIndex, PERF_100NSEC_TIMER, [](ThreadSample S) { return S.UserTime; }},
    {PrivilegedTimeIndex, PERF_100NSEC_TIMER, [](ThreadSample S) { return S.KernelTime; }},
    {ContextSwitchesIndex, PERF_COUNTER_COUNTER, [](ThreadSample S) { return S.ContextSwitches; }},
    {IdProcessIndex, PERF_COUNTER_RAWCOUNT, [](ThreadSample S) { return std::uint64_t{S.Pid}; }},
    {IdThreadIndex, PERF_COUNTER_RAWCOUNT, [](ThreadSample S) { return std::uint64_t{S.Tid}; }},
    {PriorityBaseIndex, PERF_COUNTER_RAWCOUNT, [](ThreadSample S) { return S.PriorityBase; }},
    {ElapsedTimeIndex, PERF_ELAPSED_TIME, [](ThreadSample S) { return Bits(S.StartTime); }},
    {ThreadStateIndex, PERF_COUNTER_RAWCOUNT,
     [](ThreadSample S) { return static_cast<std::uint64_t>(S.State); }},
}));

using CpuSample = const TCpuSample&;
constexpr TCounterTable ProcessorTable(std::to_array<TCounterSource<TCpuSample>>({
    {ProcessorTimeIndex, PERF_100NSEC_TIMER_INV, [](CpuSample S) { return S.IdleTime; }},
    {UserTimeIndex, PERF_100NSEC_TIMER, [](CpuSample S) { return S.UserTime; }},
    {PrivilegedTimeIndex, PERF_100NSEC_TIMER, [](CpuSample S) { return S.PrivilegedTime; }},
    {InterruptTimeIndex, PERF_100NSEC_TIMER, [](CpuSample S) { return S.InterruptTime; }},
    {InterruptsIndex, PERF_COUNTER_COUNTER, [](CpuSample S) { return S.Interrupts; }},
}));

using MemorySample = const TMemorySample&;
constexpr TCounterTable MemoryTable(std::to_array<TCounterSource<TMemorySample>>({
    {AvailableBytesIndex, PERF_COUNTER_LARGE_RAWCOUNT,
     [](MemorySample S) { return S.AvailableBytes; }},
    {CommittedBytesIndex, PERF_COUNTER_LARGE_RAWCOUNT,
     [](MemorySample S) { return S.CommittedBytes; }},
    {CommitLimitIndex, PERF_COUNTER_LARGE_RAWCOUNT, [](MemorySample S) { return S.CommitLimit; }},
    {PageFaultsIndex, PERF_COUNTER_COUNTER, [](MemorySample S) { return S.PageFaults; }},
    {CommittedBytesInUseIndex, PERF_RAW_FRACTION,
     [](MemorySample S) { return Mebibytes(S.CommittedBytes); }},
    {CommittedBytesInUseBaseIndex, PERF_RAW_BASE,
     [](MemorySample S) { return Mebibytes(S.CommitLimit); }},
}));

using SystemSample = const TSystemSample&;
constexpr TCounterTable SystemTable(std::to_array<TCounterSource<TSystemSample>>({
    {ProcessesIndex, PERF_COUNTER_RAWCOUNT, [](SystemSample S) { return S.Processes; }},
    {ThreadsIndex, PERF_COUNTER_RAWCOUNT, [](SystemSample S) { return S.Threads; }},
    {ProcessorQueueLengthIndex, PERF_COUNTER_RAWCOUNT,
     [](SystemSample S) { return S.RunningThreads; }},
    {ContextSwitchesIndex, PERF_COUNTER_COUNTER, [](SystemSample S) { return S.ContextSwitches; }},
    {SystemUpTimeIndex, PERF_ELAPSED_TIME, [](SystemSample S) { return Bits(S.BootTime); }},
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
