#include "perf/proc/ProcSystem.h"

#include <algorithm>

#include "perf/proc/ProcText.h"

namespace gaugery {

namespace {

constexpr std::uint64_t BytesPerKiB = 1024;
constexpr std::uint32_t NoCpu = UINT32_MAX;

// The number after a prefix ("cpu12", "CPU12"), or false for any other text.
bool NumberAfter(std::string_view Text, std::string_view Prefix, std::uint32_t& Number) {
  if (!Text.starts_with(Prefix)) return false;
  Text.remove_prefix(Prefix.size());
  std::uint64_t Value;
  if (!ParseUnsigned(Text, Value) || !Text.empty() || Value >= NoCpu) return false;
  Number = static_cast<std::uint32_t>(Value);
  return true;
}

// The times of a "cpu" line: user nice system idle iowait irq softirq ...; fields an
// older kernel does not write count as 0.
TCpuSample ParseCpuTimes(std::string_view Line, const TSampleClock& Clock) {
  enum { User, Nice, System, Idle, IoWait, Irq, SoftIrq, FieldCount };
  std::uint64_t Ticks[FieldCount] = {};
  for (std::uint64_t& Field : Ticks) {
    if (!ParseUnsigned(Line, Field)) break;
  }
  TCpuSample Cpu;
  Cpu.IdleTime = Clock.TicksTo100ns(Ticks[Idle] + Ticks[IoWait]);
  Cpu.UserTime = Clock.TicksTo100ns(Ticks[User] + Ticks[Nice]);
  Cpu.PrivilegedTime = Clock.TicksTo100ns(Ticks[System]);
  Cpu.InterruptTime = Clock.TicksTo100ns(Ticks[Irq] + Ticks[SoftIrq]);
  return Cpu;
}

TCpuSample Averaged(TCpuSample Total, std::size_t Count) {
  if (Count == 0) return Total;
  Total.IdleTime /= Count;
  Total.UserTime /= Count;
  Total.PrivilegedTime /= Count;
  Total.InterruptTime /= Count;
  return Total;
}

std::uint32_t IndexOfCpu(const std::vector<TCpuSample>& Cpus, std::uint32_t Number) {
  auto Found = std::lower_bound(
      Cpus.begin(), Cpus.end(), Number,
      [](const TCpuSample& Cpu, std::uint32_t Wanted) { return Cpu.Number < Wanted; });
  if (Found == Cpus.end() || Found->Number != Number) return NoCpu;
  return static_cast<std::uint32_t>(Found - Cpus.begin());
}

// How many numbers the line starts with, counting at most Limit.
std::size_t LeadingNumbers(std::string_view Line, std::size_t Limit) {
  std::size_t Count = 0;
  std::uint64_t Value;
  while (Count < Limit && ParseUnsigned(Line, Value)) ++Count;
  return Count;
}

}  // namespace

void ParseKernelStat(std::string_view Text, const TSampleClock& Clock, TKernelStat& Stat) {
  Stat.Cpus.clear();
  Stat.Average = TCpuSample{};
  Stat.Interrupts = Stat.ContextSwitches = Stat.RunningThreads = 0;
  TCpuSample Total;
  while (!Text.empty()) {
    std::string_view Line = NextLine(Text);
    std::string_view Key = NextField(Line);
    std::uint32_t Number;
    if (Key == "cpu") {
      Total = ParseCpuTimes(Line, Clock);
    } else if (NumberAfter(Key, "cpu", Number)) {
      Stat.Cpus.push_back(ParseCpuTimes(Line, Clock));
      Stat.Cpus.back().Number = Number;
    } else if (Key == "intr") {
      ParseUnsigned(Line, Stat.Interrupts);
    } else if (Key == "ctxt") {
      ParseUnsigned(Line, Stat.ContextSwitches);
    } else if (Key == "procs_running") {
      ParseUnsigned(Line, Stat.RunningThreads);
    }
  }
  std::sort(Stat.Cpus.begin(), Stat.Cpus.end(),
            [](const TCpuSample& A, const TCpuSample& B) { return A.Number < B.Number; });
  Stat.Average = Averaged(Total, Stat.Cpus.size());
  Stat.Average.Interrupts = Stat.Interrupts;
}

void AddInterruptsPerCpu(std::string_view Text, std::vector<std::uint32_t>& Columns,
                         std::vector<TCpuSample>& Cpus) {
  // The header names the columns: "CPU0 CPU1 ...", the processors that are online.
  Columns.clear();
  std::string_view Header = NextLine(Text);
  for (std::string_view Field = NextField(Header); !Field.empty(); Field = NextField(Header)) {
    std::uint32_t Number;
    Columns.push_back(NumberAfter(Field, "CPU", Number) ? IndexOfCpu(Cpus, Number) : NoCpu);
  }
  while (!Text.empty()) {
    std::string_view Line = NextLine(Text);
    NextField(Line);  // the interrupt's label, "24:" or "NMI:"
    if (Columns.empty() || LeadingNumbers(Line, Columns.size()) != Columns.size()) continue;
    for (std::uint32_t Cpu : Columns) {
      std::uint64_t Count;
      ParseUnsigned(Line, Count);
      if (Cpu != NoCpu) Cpus[Cpu].Interrupts += Count;
    }
  }
}

void ParseMemInfo(std::string_view Text, TMemorySample& Memory) {
  std::uint64_t Available = 0, Committed = 0, Limit = 0;
  const TKeyedNumber Keys[] = {
      {"MemAvailable", &Available}, {"Committed_AS", &Committed}, {"CommitLimit", &Limit}};
  ScanKeyedNumbers(Text, Keys);
  Memory.AvailableBytes = Available * BytesPerKiB;
  Memory.CommittedBytes = Committed * BytesPerKiB;
  Memory.CommitLimit = Limit * BytesPerKiB;
}

void ParseVmStat(std::string_view Text, TMemorySample& Memory) {
  const TKeyedNumber Keys[] = {{"pgfault", &Memory.PageFaults}};
  ScanKeyedNumbers(Text, Keys);
}

std::uint64_t ParseLoadAvgThreads(std::string_view Text) {
  std::size_t Slash = Text.find('/');
  if (Slash == std::string_view::npos) return 0;
  std::string_view After = Text.substr(Slash + 1);
  std::uint64_t Threads = 0;
  ParseUnsigned(After, Threads);
  return Threads;
}

void TSystemReader::ReadKernelStat(const TSampleClock& Clock, TKernelStat& Stat) {
  std::string_view Text;
  Files_.Read(Root_.Path("/proc/stat").Text(), &Text);  // unreadable: no processors, zeros
  ParseKernelStat(Text, Clock, Stat);
  if (Files_.Read(Root_.Path("/proc/interrupts").Text(), &Text))
    AddInterruptsPerCpu(Text, Columns_, Stat.Cpus);
}

void TSystemReader::ReadMemory(TMemorySample& Memory) {
  Memory = TMemorySample{};
  std::string_view Text;
  if (Files_.Read(Root_.Path("/proc/meminfo").Text(), &Text)) ParseMemInfo(Text, Memory);
  if (Files_.Read(Root_.Path("/proc/vmstat").Text(), &Text)) ParseVmStat(Text, Memory);
}

std::uint64_t TSystemReader::ReadThreadCount() {
  std::string_view Text;
  return Files_.Read(Root_.Path("/proc/loadavg").Text(), &Text) ? ParseLoadAvgThreads(Text) : 0;
}

}  // namespace gaugery
