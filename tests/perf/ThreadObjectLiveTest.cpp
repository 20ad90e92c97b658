// The Thread object against the task files of this process read in the same test.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "LiveBlock.h"

namespace gaugery::test {
namespace {

constexpr DWORD Thread = 232;
constexpr DWORD ProcessorTime = 6, UserTime = 142, PrivilegedTime = 144, ContextSwitches = 146,
                IdProcess = 784, IdThread = 804, PriorityBase = 682, ElapsedTime = 684,
                ThreadState = 20000;
constexpr std::uint64_t RunningState = 2, WaitState = 5;

std::set<std::uint32_t> OwnThreadIds() {
  std::set<std::uint32_t> Tids;
  for (const auto& Entry : std::filesystem::directory_iterator("/proc/self/task")) {
    Tids.insert(static_cast<std::uint32_t>(std::stoul(Entry.path().filename().string())));
  }
  return Tids;
}

std::uint64_t OwnContextSwitches(std::uint32_t Tid) {
  const std::string Status = "/proc/self/task/" + std::to_string(Tid) + "/status";
  return KeyedNumber(Status, "voluntary_ctxt_switches") +
         KeyedNumber(Status, "nonvoluntary_ctxt_switches");
}

// Waits until every thread but the main one sleeps, as waiting threads soon do.
void WaitUntilOthersSleep(const std::set<std::uint32_t>& Tids, std::uint32_t Main) {
  const auto Deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  for (std::uint32_t Tid : Tids) {
    const std::string Stat = "/proc/self/task/" + std::to_string(Tid) + "/stat";
    while (Tid != Main && StatFields(Stat)[3] != "S" &&
           std::chrono::steady_clock::now() < Deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
  }
}

TEST(ThreadObjectLiveTest, OwnThreadsAreInstancesWithTheirIdsStatesAndSwitches) {
  TWaitingThreads Sleepers(3);
  const auto Pid = static_cast<std::uint32_t>(getpid());
  std::set<std::uint32_t> Tids = OwnThreadIds();
  ASSERT_EQ(Tids.size(), 4u);
  WaitUntilOthersSleep(Tids, Pid);
  std::map<std::uint32_t, std::uint64_t> SwitchesBefore;
  for (std::uint32_t Tid : Tids) SwitchesBefore[Tid] = OwnContextSwitches(Tid);
  const std::string Name = StatFields("/proc/self/stat")[2];

  std::vector<TDecodedObject> Objects = QueryObjects(u"232");
  ASSERT_EQ(Objects.size(), 1u);
  const TDecodedObject& Threads = ObjectOf(Objects, Thread);

  std::vector<const TDecodedInstance*> Own;
  for (const TDecodedInstance& Instance : Threads.Instances) {
    if (Instance.Values.at(IdProcess) == Pid) Own.push_back(&Instance);
  }
  ASSERT_EQ(Own.size(), Tids.size());
  EXPECT_EQ(Own.front()->Values.at(IdThread), Pid) << "the main thread comes first";
  for (const TDecodedInstance* Instance : Own) {
    const TCounterValues& Values = Instance->Values;
    const auto Tid = static_cast<std::uint32_t>(Values.at(IdThread));
    SCOPED_TRACE(Instance->Name);
    EXPECT_EQ(Instance->Name, Name + "/" + std::to_string(Tid));
    ASSERT_TRUE(Tids.count(Tid));
    EXPECT_EQ(Values.at(ThreadState), Tid == Pid ? RunningState : WaitState);
    EXPECT_GE(Values.at(ContextSwitches), SwitchesBefore[Tid]);
    EXPECT_LE(Values.at(ContextSwitches), OwnContextSwitches(Tid));
    EXPECT_EQ(Values.at(ProcessorTime), Values.at(UserTime) + Values.at(PrivilegedTime));
    EXPECT_EQ(Values.at(PriorityBase), 8u) << "nice 0";

    constexpr int StartTime = 22;
    const std::string Stat = "/proc/self/task/" + std::to_string(Tid) + "/stat";
    double Age = std::stod(ReadText("/proc/uptime")) -
                 std::stod(StatFields(Stat)[StartTime]) / sysconf(_SC_CLK_TCK);
    double Elapsed = SecondsSince(static_cast<std::int64_t>(Values.at(ElapsedTime)), Threads);
    EXPECT_NEAR(Elapsed, Age, 1.0);
  }

  const TDecodedInstance& Total = Threads.Instances.back();
  EXPECT_EQ(Total.Name, "_Total/_Total");
  EXPECT_EQ(Total.Values.at(IdThread), 0u);
  std::uint64_t Switches = 0;
  std::uint64_t Earliest = UINT64_MAX;
  for (std::size_t At = 0; At + 1 < Threads.Instances.size(); ++At) {
    Switches += Threads.Instances[At].Values.at(ContextSwitches);
    Earliest = std::min(Earliest, Threads.Instances[At].Values.at(ElapsedTime));
  }
  EXPECT_EQ(Total.Values.at(ContextSwitches), Switches);
  EXPECT_EQ(Total.Values.at(ElapsedTime), Earliest) << "the start of the earliest thread";
}

// Every process of the sample that still runs is in the Thread object, with its main
// thread.
TEST(ThreadObjectLiveTest, CoversTheProcessesOfTheProcessObject) {
  std::vector<TDecodedObject> Objects = QueryObjects(u"230 232");
  std::set<std::uint64_t> MainThreads;
  for (const TDecodedInstance& Instance : ObjectOf(Objects, Thread).Instances) {
    if (Instance.Values.at(IdThread) == Instance.Values.at(IdProcess)) {
      MainThreads.insert(Instance.Values.at(IdProcess));
    }
  }
  const TDecodedObject& Processes = ObjectOf(Objects, 230);
  for (std::size_t At = 0; At + 1 < Processes.Instances.size(); ++At) {
    const std::uint64_t Pid = Processes.Instances[At].Values.at(IdProcess);
    if (MainThreads.count(Pid) == 0) {
      EXPECT_FALSE(std::filesystem::exists("/proc/" + std::to_string(Pid))) << Pid;
    }
  }
}

}  // namespace
}  // namespace gaugery::test
