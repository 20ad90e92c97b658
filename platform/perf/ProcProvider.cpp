#include "perf/ProcProvider.h"

#include <memory>

#include "perf/ProcNames.h"
#include "perf/ProcObjects.h"
#include "registry/PerfValueName.h"
#include "registry/Registry.h"

namespace gaugery {

namespace {

// What is kept from one sample to the next: the file and directory buffers, the
// processor list, the page-file peaks of the processes and the boot time.
struct TProcState {
  TProcessSampler Processes;
  TSystemReader System;
  TKernelStat Kernel;
  std::int64_t Boot = 0;
};

// Collect is a plain function, so its state lives here. The registry calls the entry
// points under its lock, one at a time.
std::unique_ptr<TProcState> State;

struct TObjectSelection {
  bool Process = false;
  bool Processor = false;
  bool Memory = false;
  bool System = false;
};

TObjectSelection SelectObjects(LPCWSTR ValueName) {
  switch (ClassifyPerfValueName(ValueName)) {
    case TPerfValueKind::Global:
      return {true, true, true, true};
    case TPerfValueKind::IndexList:
      return {PerfIndexListContains(ValueName, ProcessObjectIndex),
              PerfIndexListContains(ValueName, ProcessorObjectIndex),
              PerfIndexListContains(ValueName, MemoryObjectIndex),
              PerfIndexListContains(ValueName, SystemObjectIndex)};
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

// Writes the selected objects; the writer remembers whether they fitted.
void WriteObjects(TPerfBlockWriter& Writer, TProcState& Proc, TObjectSelection Wanted) {
  TSampleClock Clock = TSampleClock::Read();
  Clock.KeepBoot(Proc.Boot);
  if (Wanted.Process || Wanted.System) Proc.Processes.ListProcesses();
  if (Wanted.Processor || Wanted.System) Proc.System.ReadKernelStat(Clock, Proc.Kernel);
  if (Wanted.Process) WriteProcessObject(Writer, Proc.Processes, Clock);
  if (Wanted.Processor) WriteProcessorObject(Writer, Proc.Kernel, Clock);
  if (Wanted.Memory) {
    TMemorySample Memory;
    Proc.System.ReadMemory(Memory);
    WriteMemoryObject(Writer, Memory, Clock);
  }
  if (Wanted.System) WriteSystemObject(Writer, ReadSystemSample(Proc, Clock), Clock);
}

DWORD GAUGERY_WINAPI OpenProc(LPWSTR /*DeviceNames*/) {
  if (!State) State = std::make_unique<TProcState>();
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

TPerfProvider ProcProvider() {
  TPerfProvider Provider;
  Provider.Name = "/proc";
  Provider.Open = &OpenProc;
  Provider.Collect = &CollectProc;
  Provider.Close = &CloseProc;
  Provider.Names = ProcNames();
  return Provider;
}

}  // namespace gaugery
