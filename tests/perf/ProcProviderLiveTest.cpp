// The live provider against what /proc says at the same moment.
#include "perf/proc/ProcProvider.h"

#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <numeric>
#include <set>
#include <sstream>

#include "LiveBlock.h"
#include "perf/proc/SampleClock.h"
#include "registry/Registry.h"

namespace gaugery::test {
namespace {

constexpr DWORD Process = 230, Processor = 238, Memory = 4, System = 2;
constexpr DWORD ProcessorTime = 6, UserTime = 142, PrivilegedTime = 144;
constexpr DWORD WorkingSet = 180, PageFileBytesPeak = 182, PageFileBytes = 184, PrivateBytes = 186,
                PrivateWorkingSet = 1478;
constexpr DWORD ThreadCount = 680, ElapsedTime = 684, IdProcess = 784, CreatingProcessId = 1410,
                HandleCount = 952;
constexpr std::uint64_t MiB = 1 << 20;

std::set<std::uint32_t> ListPids() {
  std::set<std::uint32_t> Pids;
  for (const auto& Entry : std::filesystem::directory_iterator("/proc")) {
    std::string Name = Entry.path().filename();
    if (std::all_of(Name.begin(), Name.end(), ::isdigit)) Pids.insert(std::stoul(Name));
  }
  return Pids;
}

double Uptime() { return std::stod(ReadText("/proc/uptime")); }

std::vector<DWORD> IndexesOf(const std::vector<TDecodedObject>& Objects) {
  std::vector<DWORD> Indexes;
  for (const TDecodedObject& Object : Objects) Indexes.push_back(Object.Index);
  return Indexes;
}

TEST(ProcProviderLiveTest, ProcessInstancesArePidsInAscendingOrderThenTotal) {
  std::set<std::uint32_t> Before = ListPids();
  std::vector<TDecodedObject> Objects = QueryObjects(u"230");
  std::set<std::uint32_t> After = ListPids();

  const TDecodedObject& Processes = ObjectOf(Objects, Process);
  ASSERT_GE(Processes.Instances.size(), 2u);
  const TDecodedInstance& Total = Processes.Instances.back();
  EXPECT_EQ(Total.Name, "_Total");
  EXPECT_EQ(Total.Values.at(IdProcess), 0u);

  std::vector<std::uint32_t> Pids;
  std::uint64_t Threads = 0, WorkingSets = 0;
  for (std::size_t At = 0; At + 1 < Processes.Instances.size(); ++At) {
    const TCounterValues& Values = Processes.Instances[At].Values;
    Pids.push_back(static_cast<std::uint32_t>(Values.at(IdProcess)));
    Threads += Values.at(ThreadCount);
    WorkingSets += Values.at(WorkingSet);
  }
  EXPECT_TRUE(std::is_sorted(Pids.begin(), Pids.end()));
  EXPECT_EQ(std::adjacent_find(Pids.begin(), Pids.end()), Pids.end()) << "a pid twice";
  for (std::uint32_t Pid : Before) {
    if (After.count(Pid)) {
      EXPECT_TRUE(std::binary_search(Pids.begin(), Pids.end(), Pid)) << Pid;
    }
  }
  EXPECT_EQ(Total.Values.at(ThreadCount), Threads);
  EXPECT_EQ(Total.Values.at(WorkingSet), WorkingSets);
}

TEST(ProcProviderLiveTest, OwnProcessShowsItsNameThreadsMemoryAndStart) {
  TWaitingThreads Waiting(3);
  QueryObjects(u"230");  // grows the buffers, so that the working set holds still
  std::uint64_t RssBefore = KeyedNumber("/proc/self/status", "VmRSS") * 1024;
  std::vector<std::string> StatBefore = StatFields("/proc/self/stat");
  std::vector<TDecodedObject> Objects = QueryObjects(u"230");
  std::vector<std::string> StatAfter = StatFields("/proc/self/stat");
  std::uint64_t RssAfter = KeyedNumber("/proc/self/status", "VmRSS") * 1024;

  const TDecodedObject& Processes = ObjectOf(Objects, Process);
  const TDecodedInstance* Own = ProcessInstance(Processes, static_cast<std::uint32_t>(getpid()));
  ASSERT_NE(Own, nullptr);
  const TCounterValues& Values = Own->Values;
  EXPECT_EQ(Own->Name, StatBefore[2]);
  EXPECT_EQ(Values.at(CreatingProcessId), static_cast<std::uint64_t>(getppid()));

  constexpr int NumThreads = 20;
  EXPECT_EQ(StatBefore[NumThreads], StatAfter[NumThreads]);
  EXPECT_EQ(Values.at(ThreadCount), std::stoull(StatBefore[NumThreads]));
  EXPECT_GE(std::stoull(StatBefore[NumThreads]), 4u);

  EXPECT_GE(Values.at(WorkingSet) + MiB, std::min(RssBefore, RssAfter));
  EXPECT_LE(Values.at(WorkingSet), std::max(RssBefore, RssAfter) + MiB);
  EXPECT_LE(Values.at(PrivateWorkingSet), Values.at(WorkingSet));
  EXPECT_EQ(Values.at(PageFileBytes), Values.at(PrivateBytes));
  EXPECT_GE(Values.at(PageFileBytesPeak), Values.at(PageFileBytes));
  EXPECT_EQ(Values.at(ProcessorTime), Values.at(UserTime) + Values.at(PrivilegedTime));

  // The fds of this process plus the directory the provider had open to count them.
  auto OpenFiles = static_cast<std::uint64_t>(std::distance(
      std::filesystem::directory_iterator("/proc/self/fd"), std::filesystem::directory_iterator()));
  EXPECT_NEAR(static_cast<double>(Values.at(HandleCount)), static_cast<double>(OpenFiles), 2);

  constexpr int StartTime = 22;
  double Age = Uptime() - std::stod(StatBefore[StartTime]) / sysconf(_SC_CLK_TCK);
  double Elapsed = SecondsSince(static_cast<std::int64_t>(Values.at(ElapsedTime)), Processes);
  EXPECT_NEAR(Elapsed, Age, 1.0);
}

// Monitors tell a process from a later one with the same id by its start time, so the
// start must read the same in every sample.
TEST(ProcProviderLiveTest, StartAndBootTimesHoldStillBetweenSamples) {
  const auto Pid = static_cast<std::uint32_t>(getpid());
  std::vector<TDecodedObject> First = QueryObjects(u"230 2");
  for (int Sample = 0; Sample < 20; ++Sample) {
    std::vector<TDecodedObject> Next = QueryObjects(u"230 2");
    EXPECT_EQ(ProcessInstance(ObjectOf(Next, Process), Pid)->Values.at(ElapsedTime),
              ProcessInstance(ObjectOf(First, Process), Pid)->Values.at(ElapsedTime));
    EXPECT_EQ(ObjectOf(Next, System).Values.at(674), ObjectOf(First, System).Values.at(674));
  }
}

TEST(SampleClock, KeepsTheBootTimeUntilTheWallClockIsSet) {
  constexpr std::int64_t Second = 10'000'000;
  TSampleClock Clock;
  std::int64_t Anchor = 0;
  Clock.Boot = 1000 * Second;
  Clock.KeepBoot(Anchor);
  EXPECT_EQ(Anchor, 1000 * Second);

  Clock.Boot = 1000 * Second + 3;
  Clock.KeepBoot(Anchor);
  EXPECT_EQ(Clock.Boot, 1000 * Second);

  Clock.Boot = 1000 * Second - Second - 1;
  Clock.KeepBoot(Anchor);
  EXPECT_EQ(Clock.Boot, 999 * Second - 1);
  EXPECT_EQ(Anchor, Clock.Boot);
}

TEST(ProcProviderLiveTest, PageFileBytesPeakKeepsTheLargestValueSeen) {
  const auto Pid = static_cast<std::uint32_t>(getpid());
  auto Own = [Pid] {
    std::vector<TDecodedObject> Objects = QueryObjects(u"230");
    return ProcessInstance(ObjectOf(Objects, Process), Pid)->Values;
  };
  Own();
  constexpr std::size_t Size = 64 * MiB;
  void* Block = mmap(nullptr, Size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  ASSERT_NE(Block, MAP_FAILED);
  std::memset(Block, 1, Size);
  TCounterValues Grown = Own();
  munmap(Block, Size);
  TCounterValues Shrunk = Own();

  EXPECT_LT(Shrunk.at(PageFileBytes) + Size / 2, Grown.at(PageFileBytes));
  EXPECT_GE(Shrunk.at(PageFileBytesPeak), Grown.at(PageFileBytes));
}

TEST(ProcProviderLiveTest, ProcessorInstancesAreTheCpusThenTotal) {
  std::vector<std::string> Expected;
  std::istringstream Lines(ReadText("/proc/stat"));
  for (std::string Line; std::getline(Lines, Line);) {
    if (Line.rfind("cpu", 0) == 0 && std::isdigit(static_cast<unsigned char>(Line[3]))) {
      Expected.push_back(Line.substr(3, Line.find(' ') - 3));
    }
  }
  Expected.push_back("_Total");

  std::vector<TDecodedObject> Objects = QueryObjects(u"238");
  const TDecodedObject& Processors = ObjectOf(Objects, Processor);
  std::vector<std::string> Names;
  for (const TDecodedInstance& Instance : Processors.Instances) Names.push_back(Instance.Name);
  EXPECT_EQ(Names, Expected);

  // _Total is the average processor: its idle time lies within those of the processors.
  std::uint64_t Least = UINT64_MAX, Most = 0;
  for (std::size_t At = 0; At + 1 < Processors.Instances.size(); ++At) {
    Least = std::min(Least, Processors.Instances[At].Values.at(ProcessorTime));
    Most = std::max(Most, Processors.Instances[At].Values.at(ProcessorTime));
  }
  const std::uint64_t Tick = 10'000'000 / static_cast<std::uint64_t>(sysconf(_SC_CLK_TCK));
  std::uint64_t TotalIdle = Processors.Instances.back().Values.at(ProcessorTime);
  EXPECT_GE(TotalIdle + Tick, Least);
  EXPECT_LE(TotalIdle, Most + Tick);
}

TEST(ProcProviderLiveTest, MemoryAndSystemHaveOneCounterBlockEach) {
  std::size_t ProcessesBefore = ListPids().size();
  std::vector<TDecodedObject> Objects = QueryObjects(u"4 2");
  std::size_t ProcessesAfter = ListPids().size();
  double UptimeNow = Uptime();

  const TDecodedObject& Mem = ObjectOf(Objects, Memory);
  EXPECT_EQ(Mem.NumInstances, PERF_NO_INSTANCES);
  std::uint64_t CommitLimit = KeyedNumber("/proc/meminfo", "CommitLimit") * 1024;
  EXPECT_EQ(Mem.Values.at(30), CommitLimit);
  EXPECT_EQ(Mem.Values.at(1407), CommitLimit / MiB);
  EXPECT_EQ(Mem.Values.at(1406), Mem.Values.at(26) / MiB);
  std::uint64_t Available = KeyedNumber("/proc/meminfo", "MemAvailable") * 1024;
  EXPECT_NEAR(static_cast<double>(Mem.Values.at(24)), static_cast<double>(Available),
              static_cast<double>(Available) / 10);

  const TDecodedObject& Sys = ObjectOf(Objects, System);
  EXPECT_EQ(Sys.NumInstances, PERF_NO_INSTANCES);
  EXPECT_GE(Sys.Values.at(248) + 5, std::min(ProcessesBefore, ProcessesAfter));
  EXPECT_LE(Sys.Values.at(248), std::max(ProcessesBefore, ProcessesAfter) + 5);
  EXPECT_GE(Sys.Values.at(250) + 5, Sys.Values.at(248)) << "every process has a thread";
  EXPECT_NEAR(SecondsSince(static_cast<std::int64_t>(Sys.Values.at(674)), Sys), UptimeNow, 1.0);
}

TEST(ProcProviderLiveTest, ValueNameSelectsObjectsInBlockOrderAndThreadsOnlyByIndex) {
  EXPECT_EQ(IndexesOf(QueryObjects(u"Global")),
            (std::vector<DWORD>{230, 238, 4, 2, 234, 236, 510, 700}));
  EXPECT_EQ(IndexesOf(QueryObjects(u"2 238")), (std::vector<DWORD>{238, 2}));
  EXPECT_EQ(IndexesOf(QueryObjects(u"4")), (std::vector<DWORD>{4}));
  EXPECT_EQ(IndexesOf(QueryObjects(u"9999 230")), (std::vector<DWORD>{230}));
  EXPECT_EQ(IndexesOf(QueryObjects(u"700 232 230 510")), (std::vector<DWORD>{230, 232, 510, 700}));
  EXPECT_TRUE(QueryObjects(u"9999").empty());
  EXPECT_TRUE(QueryObjects(u"Costly").empty());
}

// Calls the provider's Collect with Space bytes; the counts it reports and where the data
// pointer ended, relative to the buffer.
struct TCollectResult {
  DWORD Result;
  DWORD Bytes;
  DWORD Objects;
  std::ptrdiff_t Advance;
};

TCollectResult Collect(const TPerfProvider& Provider, const char16_t* ValueName, DWORD Space) {
  std::vector<BYTE> Buffer(Space + 1);
  void* Data = Buffer.data();
  DWORD Bytes = Space, Objects = 99;
  std::u16string Name = ValueName;
  DWORD Result = Provider.Collect(Name.data(), &Data, &Bytes, &Objects);
  return {Result, Bytes, Objects, static_cast<BYTE*>(Data) - Buffer.data()};
}

TEST(ProcProviderLiveTest, CollectAnswersMoreDataWithZeroCountsWhenSpaceIsShort) {
  TPerfProvider Provider = ProcProvider();
  ASSERT_EQ(Provider.Open(nullptr), 0u);
  TCollectResult Fits = Collect(Provider, u"4", 4096);
  ASSERT_EQ(Fits.Result, 0u);
  EXPECT_EQ(Fits.Objects, 1u);
  EXPECT_EQ(Fits.Advance, Fits.Bytes);
  EXPECT_EQ(Fits.Bytes % 8, 0u);

  TCollectResult Exact = Collect(Provider, u"4", Fits.Bytes);
  EXPECT_EQ(Exact.Result, 0u);
  EXPECT_EQ(Exact.Bytes, Fits.Bytes);
  for (DWORD Short : {DWORD{0}, DWORD{8}, Fits.Bytes - 1}) {
    TCollectResult Refused = Collect(Provider, u"4", Short);
    EXPECT_EQ(Refused.Result, static_cast<DWORD>(ERROR_MORE_DATA)) << Short;
    EXPECT_EQ(Refused.Bytes, 0u);
    EXPECT_EQ(Refused.Objects, 0u);
    EXPECT_EQ(Refused.Advance, 0);
  }
  EXPECT_EQ(Collect(Provider, u"Global", 256).Result, static_cast<DWORD>(ERROR_MORE_DATA));

  BYTE Small[256];
  DWORD Size = sizeof Small;
  EXPECT_EQ(RegQueryValueExW(HKEY_PERFORMANCE_DATA, u"Global", nullptr, nullptr, Small, &Size),
            ERROR_MORE_DATA);
}

}  // namespace
}  // namespace gaugery::test
