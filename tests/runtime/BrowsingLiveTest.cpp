// The browsing components on the live machine, compared with /proc and with the
// English and German name tables.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>

#include "BrowsingData.h"
#include "NameTables.h"
#include "PerfCounters.h"
#include "PerfInstances.h"
#include "PerfObjects.h"

namespace gaugery {
namespace {

using ::testing::Contains;
using ::testing::Not;
using testing::LinesOf;
using ::testing::ThrowsMessage;

class BrowsingLiveTest : public ::testing::Test {
 protected:
  void TearDown() override { testing::ExpectNothingHeld(); }
};

std::string OwnProcessName() {
  std::string Name;
  std::getline(std::ifstream("/proc/self/comm"), Name);
  return Name;
}

std::string GermanTitle(const std::string& Index) {
  TPerfTitles German(nullptr);
  German.SetLocaleID("007");
  return German.TitleByIdx(Index);
}

TEST_F(BrowsingLiveTest, ProcessIsFoundByTitleAtItsBlockPosition) {
  TPerfObjects Objects(nullptr);
  const std::int32_t Position = Objects.IndexOfObject("Process");
  EXPECT_EQ(Objects.ObjectData(Position)->ObjectNameTitleIndex, 230u);
  EXPECT_EQ(Objects.IndexOfObject("pROCESS"), Position);
  TStringList Titles;
  Objects.GetObjectTitles(&Titles);
  EXPECT_EQ(Titles.Count(), Objects.ObjectCount());
  TPerfHelps Helps(nullptr);
  Objects.SetHelps(&Helps);
  EXPECT_NE(Objects.HelpOfObject("Process"), "");
}

// "Global" leaves Thread out: the lists read it once they name it, and only then.
TEST_F(BrowsingLiveTest, ThreadIsBroughtIntoTheSampleByTheListsThatNameIt) {
  TPerfObjects Objects(nullptr);
  TStringList Titles;
  Objects.GetObjectTitles(&Titles);
  EXPECT_THAT(LinesOf(Titles), Not(Contains("Thread")));
  const std::int32_t Position = Objects.IndexOfObject("Thread");
  EXPECT_EQ(Objects.ObjectData(Position)->ObjectNameTitleIndex, 232u);
  EXPECT_EQ(Objects.IndexOfObject("Process"), Objects.IndexOfObject("#230"));

  TPerfInstances Instances(nullptr);
  Instances.SetObjectName("Thread");
  EXPECT_GT(Instances.InstanceCount(), 1);
  TPerfCounters Counters(nullptr);
  Counters.SetObjectName("Thread");
  EXPECT_GE(Counters.IndexOfTitle("ID Thread"), 0);
}

TEST_F(BrowsingLiveTest, InstanceListShowsThisProcessAndRefusesMemory) {
  TPerfInstances Instances(nullptr);
  EXPECT_THAT([&] { Instances.SetObjectName("Memory"); },
              ThrowsMessage<Exception>("Object \"Memory\" has no instances"));
  Instances.SetObjectName("Process");
  TStringList Names;
  Instances.GetInstanceNames(&Names);
  EXPECT_EQ(Names.Count(), Instances.InstanceCount());
  EXPECT_THAT(LinesOf(Names), Contains(OwnProcessName()));
  EXPECT_EQ(Names.Strings(Names.Count() - 1), "_Total");
}

TEST_F(BrowsingLiveTest, CounterAndInstanceListsFollowTheLocale) {
  const std::string Prozess = GermanTitle("230");
  ASSERT_NE(Prozess, "");
  TPerfCounters Counters(nullptr);
  TPerfInstances Instances(nullptr);
  Counters.SetObjectName("Process");
  Instances.SetObjectName("Process");
  const std::int32_t ThreadCount = Counters.IndexOfTitle("thread count");
  ASSERT_GE(ThreadCount, 0);

  Counters.SetLocaleID("007");
  Instances.SetLocaleID("007");
  EXPECT_EQ(Counters.ObjectName(), Prozess);
  EXPECT_EQ(Instances.ObjectName(), Prozess);
  EXPECT_EQ(Counters.CounterTitle(ThreadCount), GermanTitle("680"));
  EXPECT_GT(Instances.InstanceCount(), 1);

  Counters.SetLocaleID("009");
  Instances.SetLocaleID("009");
  EXPECT_EQ(Counters.ObjectName(), "Process");
  EXPECT_EQ(Instances.ObjectName(), "Process");
  EXPECT_EQ(Counters.CounterTitle(ThreadCount), "Thread Count");
}

}  // namespace
}  // namespace gaugery
