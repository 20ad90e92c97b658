// The /proc parsers on the odd texts the kernel can produce.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "perf/proc/ProcProcesses.h"
#include "perf/proc/ProcSystem.h"
#include "perf/proc/ProcText.h"

namespace gaugery {
namespace {

// A stat line of a process with that name; fields after the name as a kernel writes
// them (state, ppid, ..., nice in field 19, threads in 20, start time in 22).
std::string StatLine(const std::string& Name) {
  return "4242 (" + Name +
         ") S 17 4242 4242 0 -1 4194304 120 0 3 0 250 75 0 0 20 -5 6 0 987654 1000 50\n";
}

TEST(ParseProcessStat, NameRunsFromFirstOpeningToLastClosingParenthesis) {
  for (const std::string Name :
       {"a) (b", "x) S 1 2 3 (", " ", "", "with blank", "tab\there", "two\nlines", "))"}) {
    const std::string Line = StatLine(Name);
    TProcessStat Stat;
    ASSERT_TRUE(ParseProcessStat(Line, Stat)) << Name;
    EXPECT_EQ(Stat.Name, Name);
    EXPECT_EQ(Stat.Pid, 4242u);
    EXPECT_EQ(Stat.ParentPid, 17u);
    EXPECT_EQ(Stat.MinorFaults, 120u);
    EXPECT_EQ(Stat.MajorFaults, 3u);
    EXPECT_EQ(Stat.UserTicks, 250u);
    EXPECT_EQ(Stat.SystemTicks, 75u);
    EXPECT_EQ(Stat.Nice, -5);
    EXPECT_EQ(Stat.Threads, 6u);
    EXPECT_EQ(Stat.StartTicks, 987654u);
  }
}

TEST(ParseProcessStat, RefusesTextsWithoutTheFieldsUpToTheStartTime) {
  TProcessStat Stat;
  EXPECT_FALSE(ParseProcessStat("", Stat));
  EXPECT_FALSE(ParseProcessStat("12 (name S 1 2 3", Stat));
  EXPECT_FALSE(ParseProcessStat("12 name) S 1 2 3", Stat));
  EXPECT_FALSE(ParseProcessStat("(name) S 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19", Stat));
  EXPECT_FALSE(ParseProcessStat("12 (name) S 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18", Stat));
  EXPECT_FALSE(
      ParseProcessStat("12 (name) S 1 2 x 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19", Stat));
  EXPECT_FALSE(ParseProcessStat("99999999999 (big) S " + std::string(40, '1'), Stat));
}

// Kernel threads (flag 0x200000) and zombies have no memory map, whatever else their
// flags hold; a process with other flags has one.
TEST(ParseProcessStat, KernelThreadsAndZombiesHaveNoMemoryMap) {
  const auto Parsed = [](const std::string& State, const std::string& Flags) {
    TProcessStat Stat;
    EXPECT_TRUE(ParseProcessStat(
        "5 (p) " + State + " 2 0 0 0 -1 " + Flags + " 0 0 0 0 0 0 0 0 20 0 1 0 99", Stat));
    return Stat;
  };
  EXPECT_EQ(Parsed("S", "4194304").Flags, 4194304u);
  EXPECT_TRUE(HasMemoryMap(Parsed("S", "4194304")));
  EXPECT_TRUE(HasMemoryMap(Parsed("R", "0")));
  EXPECT_FALSE(HasMemoryMap(Parsed("I", "2129984")));  // an idle kworker's flags
  EXPECT_FALSE(HasMemoryMap(Parsed("S", "2097152")));
  EXPECT_FALSE(HasMemoryMap(Parsed("Z", "4194316")));
  EXPECT_FALSE(HasMemoryMap(Parsed("X", "4194316")));
}

TEST(ParseProcessStat, HugeNumbersSaturateAndNegativeCountsBecomeZero) {
  TProcessStat Stat;
  ASSERT_TRUE(ParseProcessStat(
      "7 (n) R -1 0 0 0 0 0 0 0 0 0 99999999999999999999999 0 0 0 0 0 -3 0 123", Stat));
  EXPECT_EQ(Stat.ParentPid, 0u);
  EXPECT_EQ(Stat.UserTicks, static_cast<std::uint64_t>(INT64_MAX));
  EXPECT_EQ(Stat.Threads, 0u);
}

TEST(PriorityBaseOfNice, MapsNiceOntoTheWindowsClasses) {
  EXPECT_EQ(PriorityBaseOfNice(0), 8u);
  EXPECT_EQ(PriorityBaseOfNice(-20), 13u);
  EXPECT_EQ(PriorityBaseOfNice(19), 4u);
  EXPECT_GT(PriorityBaseOfNice(-1), 8u);
  EXPECT_EQ(PriorityBaseOfNice(-1000), 13u);
  EXPECT_EQ(PriorityBaseOfNice(1000), 4u);
}

TEST(ScanKeyedNumbers, TakesWholeKeysOnlyAndLeavesMissingOnesAlone) {
  std::uint64_t Rss = 7, Anon = 7, Swap = 7, Peak = 7;
  const TKeyedNumber Keys[] = {
      {"VmRSS", &Rss}, {"RssAnon", &Anon}, {"VmSwap", &Swap}, {"VmPeak", &Peak}};
  ScanKeyedNumbers(
      "Name:\tVmRSS\nVmRSSX:\t1 kB\nRssAnon:\t   2048 kB\nVmRSS:\t  512 kB\nVmSwap:\tnone\n"
      "VmPeak:",
      Keys);
  EXPECT_EQ(Rss, 512u);
  EXPECT_EQ(Anon, 2048u);
  EXPECT_EQ(Swap, 7u);
  EXPECT_EQ(Peak, 7u);
}

TEST(ScanKeyedNumbersInOrder, FindsKeysOnlyAtLineStartsBeforeAColonAndSkipsMissingOnes) {
  std::uint64_t Peak = 7, Size = 7, Rss = 7, Anon = 7, Swap = 7;
  const TKeyedNumber Keys[] = {{"VmPeak", &Peak},
                               {"VmSize", &Size},
                               {"VmRSS", &Rss},
                               {"RssAnon", &Anon},
                               {"VmSwap", &Swap}};
  ScanKeyedNumbersInOrder(
      "Name:\tVmPeak:\nXVmSize:\t3 kB\nVmSize\t4 kB\nVmSize:\t  2048 kB\n"
      "VmRSSX:\t1 kB\nVmRSS:\t512 kB\nVmSwap:\t9 kB\nVmSwap:\t10 kB\nRssAnon:\t5 kB\n",
      Keys);
  EXPECT_EQ(Peak, 7u);
  EXPECT_EQ(Size, 2048u);
  EXPECT_EQ(Rss, 512u);
  EXPECT_EQ(Anon, 5u);
  // After RssAnon's line, only the text that follows it is searched.
  EXPECT_EQ(Swap, 7u);

  std::uint64_t Last = 7;
  const TKeyedNumber Cut[] = {{"VmPTE", &Last}};
  ScanKeyedNumbersInOrder("VmPTE", Cut);
  ScanKeyedNumbersInOrder("VmPTE:", Cut);
  ScanKeyedNumbersInOrder("VmPTE:\t", Cut);
  EXPECT_EQ(Last, 7u);
  ScanKeyedNumbersInOrder("VmPTE:\t12", Cut);
  EXPECT_EQ(Last, 12u);
}

TEST(ParseKernelStat, ProcessorsInNumberOrderWithGapsAndShortLines) {
  TSampleClock Clock;
  Clock.TicksPerSecond = 100;
  TKernelStat Stat;
  ParseKernelStat(
      "cpu  40 0 20 300 10 2 2 0 0 0\n"
      "cpu2 30 0 10 100 0 1 1\n"
      "cpu0 10 0 10 200 10 1 1 0 0 0\n"
      "cpuX 1 1 1 1\n"
      "cpu5 5\n"
      "intr 12345 1 2 3\n"
      "ctxt 999\n"
      "btime 1700000000\n"
      "procs_running 3\n",
      Clock, Stat);
  ASSERT_EQ(Stat.Cpus.size(), 3u);
  EXPECT_EQ(Stat.Cpus[0].Number, 0u);
  EXPECT_EQ(Stat.Cpus[1].Number, 2u);
  EXPECT_EQ(Stat.Cpus[2].Number, 5u);
  EXPECT_EQ(Stat.Cpus[0].IdleTime, 210u * 100'000);
  EXPECT_EQ(Stat.Cpus[2].UserTime, 5u * 100'000);
  EXPECT_EQ(Stat.Cpus[2].IdleTime, 0u);
  // The average of the "cpu" line over the three processors.
  EXPECT_EQ(Stat.Average.IdleTime, 310u * 100'000 / 3);
  EXPECT_EQ(Stat.Average.InterruptTime, 4u * 100'000 / 3);
  EXPECT_EQ(Stat.Average.Interrupts, 12345u);
  EXPECT_EQ(Stat.ContextSwitches, 999u);
  EXPECT_EQ(Stat.RunningThreads, 3u);
}

TEST(AddInterruptsPerCpu, CountsOnlyLinesWithOneNumberPerColumn) {
  std::vector<TCpuSample> Cpus(2);
  Cpus[0].Number = 0;
  Cpus[1].Number = 3;  // processors 1 and 2 are offline
  std::vector<std::uint32_t> Columns;
  AddInterruptsPerCpu(
      "           CPU0       CPU3\n"
      "  0:         10          5   IO-APIC   2-edge      timer\n"
      "NMI:          1          2   Non-maskable interrupts\n"
      "ERR:          7\n"
      "MIS:          0\n",
      Columns, Cpus);
  EXPECT_EQ(Cpus[0].Interrupts, 11u);
  EXPECT_EQ(Cpus[1].Interrupts, 7u);
}

TEST(ParseMemInfo, ConvertsKibibytesToBytes) {
  TMemorySample Memory;
  ParseMemInfo(
      "MemTotal: 100 kB\nMemAvailable:   64 kB\nCommitLimit: 2048 kB\n"
      "Committed_AS:    1024 kB\n",
      Memory);
  EXPECT_EQ(Memory.AvailableBytes, 64u * 1024);
  EXPECT_EQ(Memory.CommitLimit, 2048u * 1024);
  EXPECT_EQ(Memory.CommittedBytes, 1024u * 1024);
  ParseVmStat("pgfree 5\npgfault 77\npgmajfault 3\n", Memory);
  EXPECT_EQ(Memory.PageFaults, 77u);
}

TEST(ParseLoadAvgThreads, TakesTheNumberAfterTheSlash) {
  EXPECT_EQ(ParseLoadAvgThreads("0.00 0.01 0.05 2/345 6789\n"), 345u);
  EXPECT_EQ(ParseLoadAvgThreads("0.00 0.01 0.05 2-345 6789\n"), 0u);
  EXPECT_EQ(ParseLoadAvgThreads("1/"), 0u);
}

}  // namespace
}  // namespace gaugery
