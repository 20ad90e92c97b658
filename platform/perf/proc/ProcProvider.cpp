#include "perf/proc/ProcProvider.h"

#include <memory>
#include <string>

#include "perf/ObjectNames.h"
#include "perf/proc/CpuTimeBound.h"
#include "perf/proc/DeviceObjects.h"
#include "perf/proc/SystemObjects.h"
#include "registry/PerfValueName.h"
#include "registry/Registry.h"

namespace gaugery {

namespace {

// What is kept from one sample to the next: the file and directory buffers, the
// processor list and times, the page-file peaks of the processes and of the swap areas,
// the boot time, and the time stamp of the last sample.
struct TProcState {
  explicit TProcState(const TProcRoot& Root)
      : Processes(Root),
        Threads(Root),
        System(Root),
        Disks(Root),
        Mounts(Root),
        Network(Root),
        Swaps(Root) {}

  TProcessSampler Processes;
  TThreadSampler Threads;
  TSystemReader System;
  TKernelStat Kernel;
  TCpuTimeBound CpuTimes;
  TDiskReader Disks;
  TMountReader Mounts;
  TNetworkReader Network;
  TSwapReader Swaps;
  std::int64_t Boot = 0;
  TPerfSampleTime Sampled;
};

// Collect is a plain function, so its state and the root it reads under live here. The
// registry calls the entry points under its lock, one at a time.
std::unique_ptr<TProcState> State;
std::string RootDirectory = "/";

struct TObjectSelection {
  bool Process = false;
  bool Thread = false;
  bool Processor = false;
  bool Memory = false;
  bool System = false;
  bool PhysicalDisk = false;
  bool LogicalDisk = false;
  bool NetworkInterface = false;
  bool PagingFile = false;
};

// Reading the files of every thread is costly, so the Thread object is written only
// when asked for by its index, as Windows leaves its costly objects out of "Global".
TObjectSelection SelectObjects(LPCWSTR ValueName) {
  switch (ClassifyPerfValueName(ValueName)) {
    case TPerfValueKind::Global:
      return {.Process = true,
              .Processor = true,
              .Memory = true,
              .System = true,
              .PhysicalDisk = true,
              .LogicalDisk = true,
              .NetworkInterface = true,
              .PagingFile = true};
    case TPerfValueKind::IndexList: {
      auto Listed = [ValueName](DWORD Index) { return PerfIndexListContains(ValueName, Index); };
      return {.Process = Listed(ProcessObjectIndex),
              .Thread = Listed(ThreadObjectIndex),
              .Processor = Listed(ProcessorObjectIndex),
              .Memory = Listed(MemoryObjectIndex),
              .System = Listed(SystemObjectIndex),
              .PhysicalDisk = Listed(PhysicalDiskObjectIndex),
              .LogicalDisk = Listed(LogicalDiskObjectIndex),
              .NetworkInterface = Listed(NetworkInterfaceObjectIndex),
              .PagingFile = Listed(PagingFileObjectIndex)};
    }
    case TPerfValueKind::Other:
      break;
  }
  return {};
}

TSystemSample ReadSystemSample(TProcState& Proc, const TSampleClock& Clock) {
  TSystemSample System;
  System.Processes = Proc.Processes.Pids().size();
  System.Threads = Proc.System.ReadThreadCount();
  System.RunningThreads = Proc.Kernel.RunningThreads;
  System.ContextSwitches = Proc.Kernel.ContextSwitches;
  System.BootTime = Clock.Boot;
  return System;
}

void WriteDeviceObjects(TPerfBlockWriter& Writer, TProcState& Proc, TObjectSelection Wanted,
                        const TSampleClock& Clock) {
  if (Wanted.PhysicalDisk || Wanted.LogicalDisk) Proc.Disks.Read();
  if (Wanted.PhysicalDisk) WritePhysicalDiskObject(Writer, Proc.Disks.Disks(), Clock);
  if (Wanted.LogicalDisk) {
    Proc.Mounts.Read(Proc.Disks.Devices());
    WriteLogicalDiskObject(Writer, Proc.Mounts.FileSystems(), Clock);
  }
  if (Wanted.NetworkInterface) {
    Proc.Network.Read();
    WriteNetworkInterfaceObject(Writer, Proc.Network.Interfaces(), Clock);
  }
  if (Wanted.PagingFile) {
    Proc.Swaps.Read();
    WritePagingFileObject(Writer, Proc.Swaps.Areas(), Proc.Swaps.Total(), Clock);
  }
}

// Writes the selected objects; the writer remembers whether they fitted.
void WriteObjects(TPerfBlockWriter& Writer, TProcState& Proc, TObjectSelection Wanted) {
  TSampleClock Clock = TSampleClock::Read();
  Clock.KeepBoot(Proc.Boot);
  Proc.Sampled = {Clock.Now, Clock.Monotonic};
  // The processor times are read right at the time stamp, before anything that takes
  // a while, so that their shares of the time between two samples stay shares.
  if (Wanted.Processor || Wanted.System) {
    Proc.System.ReadKernelStat(Clock, Proc.Kernel);
    Proc.CpuTimes.Apply(Clock.Now, Proc.Kernel);
  }
  if (Wanted.Process || Wanted.Thread || Wanted.System) Proc.Processes.ListProcesses();
  if (Wanted.Process) WriteProcessObject(Writer, Proc.Processes, Clock);
  if (Wanted.Thread) WriteThreadObject(Writer, Proc.Threads, Proc.Processes.Pids(), Clock);
  if (Wanted.Processor) WriteProcessorObject(Writer, Proc.Kernel, Clock);
  if (Wanted.Memory) {
    TMemorySample Memory;
    Proc.System.ReadMemory(Memory);
    WriteMemoryObject(Writer, Memory, Clock);
  }
  if (Wanted.System) WriteSystemObject(Writer, ReadSystemSample(Proc, Clock), Clock);
  WriteDeviceObjects(Writer, Proc, Wanted, Clock);
}

DWORD GAUGERY_WINAPI OpenProc(LPWSTR /*DeviceNames*/) {
  if (!State) State = std::make_unique<TProcState>(TProcRoot(RootDirectory));
  return ERROR_SUCCESS;
}

DWORD GAUGERY_WINAPI CollectProc(LPWSTR ValueName, PPointer Data, LPDWORD TotalBytes,
                                 LPDWORD NumObjectTypes) {
  if (!Data || !TotalBytes || !NumObjectTypes) return ERROR_INVALID_PARAMETER;
  OpenProc(nullptr);
  TObjectSelection Wanted = SelectObjects(ValueName);
  TPerfBlockWriter Writer(static_cast<BYTE*>(*Data), *Data ? *TotalBytes : 0);
  WriteObjects(Writer, *State, Wanted);
  if (Writer.Overflowed()) {
    // The page-file peaks of this attempt are not kept: the retry reads them again.
    *TotalBytes = 0;
    *NumObjectTypes = 0;
    return ERROR_MORE_DATA;
  }
  if (Wanted.Process) State->Processes.Commit();
  *Data = static_cast<BYTE*>(*Data) + Writer.BytesWritten();
  *TotalBytes = Writer.BytesWritten();
  *NumObjectTypes = Writer.ObjectCount();
  return ERROR_SUCCESS;
}

TPerfSampleTime SampleTimeOfProc() { return State ? State->Sampled : TPerfSampleTime{}; }

DWORD GAUGERY_WINAPI CloseProc() {
  State.reset();
  return ERROR_SUCCESS;
}

std::vector<TPerfProvider> DefaultProviders() { return {ProcProvider()}; }

// Puts the live provider in service by default as soon as the platform library is
// loaded, so that a program needs no set-up to read this machine.
struct TDefaultRegistration {
  TDefaultRegistration() { SetDefaultPerfProviderFactory(&DefaultProviders); }
} DefaultRegistration;

}  // namespace

TPerfProvider ProcProvider(std::string_view Root) {
  // A state left from another root is not reused.
  if (RootDirectory != Root) CloseProc();
  RootDirectory = Root;
  TPerfProvider Provider;
  Provider.Name = "/proc";
  Provider.Open = &OpenProc;
  Provider.Collect = &CollectProc;
  Provider.Close = &CloseProc;
  Provider.SampleTime = &SampleTimeOfProc;
  Provider.Names = ObjectNames();
  return Provider;
}

}  // namespace gaugery
