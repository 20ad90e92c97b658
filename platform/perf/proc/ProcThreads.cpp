#include "perf/proc/ProcThreads.h"

#include <algorithm>
#include <utility>

#include "perf/proc/ProcProcesses.h"
#include "perf/proc/ProcText.h"

namespace gaugery {

TThreadState ThreadStateOfLetter(char Letter) {
  switch (Letter) {
    case 'R':
      return TThreadState::Running;
    case 'S':
    case 'D':
    case 'I':
    case 'T':
    case 't':
    case 'P':
    case 'K':
    case 'W':
      return TThreadState::Wait;
    case 'Z':
    case 'X':
    case 'x':
      return TThreadState::Terminated;
    default:
      return TThreadState::Unknown;
  }
}

std::uint64_t ParseContextSwitches(std::string_view Status) {
  std::uint64_t Voluntary = 0, Involuntary = 0;
  const TKeyedNumber Keys[] = {{"voluntary_ctxt_switches", &Voluntary},
                               {"nonvoluntary_ctxt_switches", &Involuntary}};
  ScanKeyedNumbersInOrder(Status, Keys);
  return Voluntary + Involuntary;
}

void AddToTotal(TThreadSample& Total, const TThreadSample& Thread) {
  Total.UserTime += Thread.UserTime;
  Total.KernelTime += Thread.KernelTime;
  Total.ContextSwitches += Thread.ContextSwitches;
  if (Total.StartTime == 0 || Thread.StartTime < Total.StartTime) {
    Total.StartTime = Thread.StartTime;
  }
}

TThreadSampler::TThreadSampler(TProcRoot Root) : Root_(std::move(Root)) {
  ProcessName_.reserve(64);
  InstanceName_.reserve(96);
}

bool TThreadSampler::ListThreads(std::uint32_t Pid) {
  Tids_.clear();
  Task_ = TDirectoryHandle(Root_.ProcessFile(Pid, "task").Text(), TDirectoryHandle::TAccess::List);
  bool Listed = Directories_.ListHandle(Task_, [this](std::string_view Entry) {
    if (std::uint32_t Tid = WholeNumber(Entry); Tid != 0) Tids_.push_back(Tid);
  });
  std::sort(Tids_.begin(), Tids_.end());
  auto Main = std::find(Tids_.begin(), Tids_.end(), Pid);
  if (!Listed || Main == Tids_.end()) return false;
  std::rotate(Tids_.begin(), Main, Main + 1);
  ProcessName_.clear();
  return true;
}

bool TThreadSampler::Read(std::uint32_t Pid, std::uint32_t Tid, const TSampleClock& Clock,
                          TThreadSample& Sample) {
  std::string_view Text;
  TProcessStat Stat;
  if (!Files_.ReadRecordAt(Task_.Fd(), TShortText().Append(Tid).Append("/stat").Text(), &Text) ||
      !ParseProcessStat(Text, Stat)) {
    return false;
  }
  if (Tid == Pid) ProcessName_.assign(Stat.Name);
  Sample = TThreadSample{};
  Sample.Pid = Pid;
  Sample.Tid = Tid;
  Sample.UserTime = Clock.TicksTo100ns(Stat.UserTicks);
  Sample.KernelTime = Clock.TicksTo100ns(Stat.SystemTicks);
  Sample.PriorityBase = PriorityBaseOfNice(Stat.Nice);
  Sample.State = ThreadStateOfLetter(Stat.State);
  Sample.StartTime = Clock.SinceBootAsFileTime(Stat.StartTicks);
  if (Files_.ReadRecordAt(Task_.Fd(), TShortText().Append(Tid).Append("/status").Text(), &Text)) {
    Sample.ContextSwitches = ParseContextSwitches(Text);
  }
  return true;
}

std::string_view TThreadSampler::InstanceName(std::uint32_t Tid) {
  InstanceName_.assign(ProcessName_);
  InstanceName_.append(TShortText().Append("/").Append(Tid).View());
  return InstanceName_;
}

}  // namespace gaugery
