#include "perf/proc/ProcProcesses.h"

#include <algorithm>
#include <utility>

#include "perf/proc/CpuTimeBound.h"
#include "perf/proc/ProcText.h"

namespace gaugery {

namespace {

constexpr std::uint64_t BytesPerKiB = 1024;
// The flag of /proc/<pid>/stat that marks a kernel thread.
constexpr std::uint64_t KernelThreadFlag = 0x00200000;

std::uint64_t NonNegative(std::int64_t Value) {
  return Value < 0 ? 0 : static_cast<std::uint64_t>(Value);
}

// Keeps a quarter of headroom so that a few new processes do not allocate.
template <typename T>
void KeepHeadroom(std::vector<T>& Items, std::size_t Needed) {
  if (Items.capacity() < Needed + Needed / 4) Items.reserve(2 * Needed);
}

}  // namespace

bool ParseProcessStat(std::string_view Text, TProcessStat& Stat) {
  std::size_t Open = Text.find('(');
  std::size_t Close = Text.rfind(')');
  if (Open == std::string_view::npos || Close == std::string_view::npos || Close < Open) {
    return false;
  }
  std::string_view Head = Text.substr(0, Open);
  std::uint64_t Pid;
  if (!ParseUnsigned(Head, Pid) || Pid > UINT32_MAX) return false;

  // Fields 4 to 22 follow the state letter (field 3); 22 is the start time.
  std::string_view Rest = Text.substr(Close + 1);
  std::string_view State = NextField(Rest);
  if (State.empty()) return false;
  constexpr int FirstNumber = 4;
  constexpr int LastNumber = 22;
  std::int64_t Fields[LastNumber + 1] = {};
  for (int Field = FirstNumber; Field <= LastNumber; ++Field) {
    if (!ParseSigned(Rest, Fields[Field])) return false;
  }
  Stat.Name = Text.substr(Open + 1, Close - Open - 1);
  Stat.State = State.front();
  Stat.Pid = static_cast<std::uint32_t>(Pid);
  Stat.ParentPid = static_cast<std::uint32_t>(NonNegative(Fields[4]));
  Stat.Flags = NonNegative(Fields[9]);
  Stat.MinorFaults = NonNegative(Fields[10]);
  Stat.MajorFaults = NonNegative(Fields[12]);
  Stat.UserTicks = NonNegative(Fields[14]);
  Stat.SystemTicks = NonNegative(Fields[15]);
  Stat.Nice = Fields[19];
  Stat.Threads = NonNegative(Fields[20]);
  Stat.StartTicks = NonNegative(Fields[22]);
  return true;
}

bool HasMemoryMap(const TProcessStat& Stat) {
  return (Stat.Flags & KernelThreadFlag) == 0 && Stat.State != 'Z' && Stat.State != 'X';
}

std::uint64_t PriorityBaseOfNice(std::int64_t Nice) {
  constexpr std::int64_t Normal = 8;
  std::int64_t Clamped = std::clamp<std::int64_t>(Nice, -20, 19);
  std::int64_t Base = Clamped < 0 ? Normal + (3 - Clamped) / 4 : Normal - Clamped / 4;
  return static_cast<std::uint64_t>(Base);
}

void AddToTotal(TProcessSample& Total, const TProcessSample& Process) {
  Total.UserTime += Process.UserTime;
  Total.KernelTime += Process.KernelTime;
  Total.VirtualBytesPeak += Process.VirtualBytesPeak;
  Total.VirtualBytes += Process.VirtualBytes;
  Total.WorkingSetPeak += Process.WorkingSetPeak;
  Total.WorkingSet += Process.WorkingSet;
  Total.PrivateWorkingSet += Process.PrivateWorkingSet;
  Total.PageFileBytes += Process.PageFileBytes;
  Total.PageFileBytesPeak += Process.PageFileBytesPeak;
  Total.PageTableBytes += Process.PageTableBytes;
  Total.PageFaults += Process.PageFaults;
  Total.Threads += Process.Threads;
  Total.PriorityBase += Process.PriorityBase;
  Total.Handles += Process.Handles;
  if (Total.StartTime == 0 || Process.StartTime < Total.StartTime) {
    Total.StartTime = Process.StartTime;
  }
  Total.ReadOperations += Process.ReadOperations;
  Total.WriteOperations += Process.WriteOperations;
  Total.ReadBytes += Process.ReadBytes;
  Total.WriteBytes += Process.WriteBytes;
}

TProcessSampler::TProcessSampler(TProcRoot Root)
    : Root_(std::move(Root)), Descriptors_(SizeCountsDescriptors(Root_, Directories_)) {
  Name_.reserve(256);
}

void TProcessSampler::ListProcesses() {
  Pids_.clear();
  Proc_ = TDirectoryHandle(Root_.Path("/proc").Text(), TDirectoryHandle::TAccess::List);
  Directories_.ListHandle(Proc_, [this](std::string_view Entry) {
    if (std::uint32_t Pid = WholeNumber(Entry); Pid != 0) Pids_.push_back(Pid);
  });
  std::sort(Pids_.begin(), Pids_.end());
  KeepHeadroom(Pids_, Pids_.size());
  KeepHeadroom(Kept_, Pids_.size());
  KeepHeadroom(NextKept_, Pids_.size());
  NextKept_.clear();
  KeptCursor_ = 0;
}

bool TProcessSampler::Read(std::uint32_t Pid, const TSampleClock& Clock, TProcessSample& Sample) {
  std::string_view Text;
  TProcessStat Stat;
  if (!ReadProcessFile(Pid, "stat", &Text) || !ParseProcessStat(Text, Stat)) {
    return false;
  }
  Name_.assign(Stat.Name);
  Sample = TProcessSample{};
  Sample.Name = Name_;
  Sample.Pid = Stat.Pid;
  Sample.ParentPid = Stat.ParentPid;
  Sample.UserTime = Clock.TicksTo100ns(Stat.UserTicks);
  Sample.KernelTime = Clock.TicksTo100ns(Stat.SystemTicks);
  Sample.PageFaults = Stat.MinorFaults + Stat.MajorFaults;
  Sample.Threads = Stat.Threads;
  Sample.PriorityBase = PriorityBaseOfNice(Stat.Nice);
  Sample.StartTime = Clock.SinceBootAsFileTime(Stat.StartTicks);
  // Without a memory map the status file holds no size, and its read is saved.
  if (HasMemoryMap(Stat)) ReadMemory(Pid, Sample);
  SampleNow_ = Clock.Now;
  Sample.PageFileBytesPeak = Sample.PageFileBytes;
  if (const TKept* Before = KeptOf(Stat)) {
    Sample.PageFileBytesPeak = std::max(Sample.PageFileBytesPeak, Before->PageFileBytes);
    HoldProcessorTimes(*Before, Clock, Sample);
  }
  NextKept_.push_back(
      {Stat.Pid, Stat.StartTicks, Sample.PageFileBytesPeak, Sample.UserTime, Sample.KernelTime});
  ReadIo(Pid, Sample);
  Sample.Handles = Descriptors_.Count(Proc_.Fd(), ProcessEntry(Pid, "fd").Text(), Directories_);
  return true;
}

TShortText TProcessSampler::ProcessEntry(std::uint32_t Pid, std::string_view Name) {
  return TShortText().Append(Pid).Append("/").Append(Name);
}

bool TProcessSampler::ReadProcessFile(std::uint32_t Pid, std::string_view Name,
                                      std::string_view* Text) {
  return Files_.ReadRecordAt(Proc_.Fd(), ProcessEntry(Pid, Name).Text(), Text);
}

void TProcessSampler::ReadMemory(std::uint32_t Pid, TProcessSample& Sample) {
  std::string_view Text;
  if (!ReadProcessFile(Pid, "status", &Text)) return;
  std::uint64_t VmPeak = 0, VmSize = 0, VmHWM = 0, VmRSS = 0, RssAnon = 0, VmPTE = 0, VmSwap = 0;
  // In the order in which the kernel writes them.
  const TKeyedNumber Keys[] = {{"VmPeak", &VmPeak}, {"VmSize", &VmSize},   {"VmHWM", &VmHWM},
                               {"VmRSS", &VmRSS},   {"RssAnon", &RssAnon}, {"VmPTE", &VmPTE},
                               {"VmSwap", &VmSwap}};
  ScanKeyedNumbersInOrder(Text, Keys);
  Sample.VirtualBytesPeak = VmPeak * BytesPerKiB;
  Sample.VirtualBytes = VmSize * BytesPerKiB;
  Sample.WorkingSetPeak = VmHWM * BytesPerKiB;
  Sample.WorkingSet = VmRSS * BytesPerKiB;
  Sample.PrivateWorkingSet = RssAnon * BytesPerKiB;
  Sample.PageFileBytes = (RssAnon + VmSwap) * BytesPerKiB;
  Sample.PageTableBytes = VmPTE * BytesPerKiB;
}

void TProcessSampler::ReadIo(std::uint32_t Pid, TProcessSample& Sample) {
  std::string_view Text;
  if (!ReadProcessFile(Pid, "io", &Text)) return;
  const TKeyedNumber Keys[] = {{"rchar", &Sample.ReadBytes},
                               {"wchar", &Sample.WriteBytes},
                               {"syscr", &Sample.ReadOperations},
                               {"syscw", &Sample.WriteOperations}};
  ScanKeyedNumbers(Text, Keys);
}

const TProcessSampler::TKept* TProcessSampler::KeptOf(const TProcessStat& Stat) {
  // Pids arrive in ascending order, so the committed processes are met in step.
  while (KeptCursor_ < Kept_.size() && Kept_[KeptCursor_].Pid < Stat.Pid) ++KeptCursor_;
  if (KeptCursor_ == Kept_.size()) return nullptr;
  const TKept& Previous = Kept_[KeptCursor_];
  return Previous.Pid == Stat.Pid && Previous.StartTicks == Stat.StartTicks ? &Previous : nullptr;
}

// The times of a process count in ticks and are read a little after the sample's time
// stamp, each process at its own moment: a process that keeps every processor busy
// could show more than all of them. Its times together advance by no more than every
// processor for the time between the samples; a wall clock set back takes them as read.
void TProcessSampler::HoldProcessorTimes(const TKept& Before, const TSampleClock& Clock,
                                         TProcessSample& Sample) const {
  if (KeptNow_ == 0 || Clock.Now < KeptNow_) return;
  const std::uint64_t Elapsed = static_cast<std::uint64_t>(Clock.Now - KeptNow_) * Clock.Processors;
  HoldTimeWithin(Sample.UserTime, Before.UserTime, Elapsed);
  HoldTimeWithin(Sample.KernelTime, Before.KernelTime,
                 Elapsed - (Sample.UserTime - Before.UserTime));
}

void TProcessSampler::Commit() {
  Proc_ = TDirectoryHandle();
  Kept_.swap(NextKept_);
  NextKept_.clear();
  KeptCursor_ = 0;
  KeptNow_ = SampleNow_;
}

}  // namespace gaugery
