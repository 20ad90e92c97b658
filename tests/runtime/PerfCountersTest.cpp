#include "PerfCounters.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "BrowsingData.h"
#include "NameTables.h"

namespace gaugery {
namespace {

using ::testing::ElementsAre;
using testing::LinesOf;
using ::testing::ThrowsMessage;

using PerfCountersTest = testing::BrowsingTest;

const auto UnknownObject = [](const std::string& Title) {
  return ThrowsMessage<Exception>(
      ::testing::StrEq("Unknown performance object : \"" + Title + "\""));
};

TEST_F(PerfCountersTest, NeedsAnObjectOfTheCurrentSample) {
  TPerfCounters Counters(nullptr);
  TStringList Titles;
  Titles.Add("kept");
  EXPECT_THAT([&] { Counters.CounterCount(); }, UnknownObject(""));
  EXPECT_THAT([&] { Counters.GetCounterTitles(&Titles); }, UnknownObject(""));
  EXPECT_THAT(LinesOf(Titles), ElementsAre("kept"));

  Counters.SetObjectName("process");
  EXPECT_EQ(Counters.ObjectName(), "process");
  EXPECT_THAT([&] { Counters.SetObjectName("Foo"); }, UnknownObject("Foo"));
  EXPECT_EQ(Counters.ObjectName(), "");
  Counters.SetObjectName("Process");
  Counters.SetObjectName("");
  EXPECT_EQ(Counters.ObjectName(), "");
}

TEST_F(PerfCountersTest, ListsEveryDefinitionBaseCountersIncluded) {
  TPerfCounters Counters(nullptr);
  Counters.SetObjectName("Process");
  TStringList Titles;
  Counters.GetCounterTitles(&Titles);
  EXPECT_THAT(LinesOf(Titles), ElementsAre("% Processor Time", "", "Thread Count", "ID Process",
                                           "Elapsed Time", "Elapsed Time"));
  EXPECT_EQ(Counters.CounterCount(), 6);
  EXPECT_EQ(Counters.CounterData(1)->CounterType, PERF_AVERAGE_BASE);
  EXPECT_EQ(Counters.IndexOfTitle("Thread Count"), 2);
  EXPECT_EQ(Counters.IndexOfTitle("thread count"), 2);
  EXPECT_EQ(Counters.IndexOfTitle("Elapsed Time"), 4);
  EXPECT_EQ(Counters.IndexOfTitle("Nope"), -1);
  EXPECT_THAT([&] { Counters.CounterTitle(6); }, ThrowsMessage<Exception>("Index out of bounds"));
  EXPECT_THAT([&] { Counters.CounterData(-1); }, ThrowsMessage<Exception>("Index out of bounds"));
}

TEST_F(PerfCountersTest, FindsTheObjectAgainAfterARefresh) {
  TPerfCounters Counters(nullptr);
  Counters.SetObjectName("Process");
  Counters.Refresh();
  EXPECT_EQ(Counters.CounterCount(), 2);
  EXPECT_EQ(Counters.IndexOfTitle("Thread Count"), 1);
}

TEST_F(PerfCountersTest, HelpErrorsComeFirstAndHelpsKeepTheirLocale) {
  TPerfCounters Counters(nullptr);
  Counters.SetName("PerfCounters1");
  const auto NoHelp = ThrowsMessage<Exception>("No help information : object \"PerfCounters1\"");
  TStringList Helps;
  EXPECT_THAT([&] { Counters.CounterHelp(-1); }, NoHelp);
  EXPECT_THAT([&] { Counters.GetCounterHelps(&Helps); }, NoHelp);

  auto English = std::make_unique<TPerfHelps>(nullptr);
  Counters.SetHelps(English.get());
  Counters.SetObjectName("Process");
  Counters.SetLocaleID("007");
  EXPECT_EQ(Counters.ObjectName(), "Prozess");
  EXPECT_EQ(Counters.CounterTitle(2), "Threadanzahl");
  EXPECT_EQ(Counters.CounterHelp(2), "Threads of the process");
  Counters.GetCounterHelps(&Helps);
  EXPECT_EQ(Helps.Strings(0), "Share of processor time");
  English.reset();
  EXPECT_EQ(Counters.Helps(), nullptr);
  EXPECT_THAT([&] { Counters.CounterHelp(0); }, NoHelp);
}

TEST_F(PerfCountersTest, LocaleChangesCarryTheObjectOver) {
  TPerfCounters Counters(nullptr);
  Counters.SetObjectName("Process");
  Counters.SetLocaleID("007");
  Counters.SetLocaleID("009");
  EXPECT_EQ(Counters.ObjectName(), "Process");
  // Print Queue has no German title: the selection is cleared.
  Counters.SetObjectName("Print Queue");
  Counters.SetLocaleID("007");
  EXPECT_EQ(Counters.LocaleID(), "007");
  EXPECT_EQ(Counters.ObjectName(), "");
}

TEST_F(PerfCountersTest, LoadingStoresNamesUncheckedAndUntranslated) {
  TPerfCounters Counters(nullptr);
  Counters.BeginLoading();
  Counters.SetObjectName("Process");
  Counters.SetLocaleID("007");
  Counters.Loaded();
  EXPECT_EQ(Counters.ObjectName(), "Process");
  EXPECT_THAT([&] { Counters.CounterCount(); }, UnknownObject("Process"));
  EXPECT_EQ(GlobalPerfDataList()->Count(), 1);
}

TEST_F(PerfCountersTest, ComputerNameOnlyChoosesThePerfDataSnapshot) {
  TPerfCounters Counters(nullptr);
  Counters.SetComputerName("localhost");
  Counters.SetObjectName("Process");
  // The local snapshot read the first sample; the one of "localhost" reads the next.
  EXPECT_EQ(Counters.PerfData()->NumObjectTypes, 2u);
  EXPECT_EQ(Counters.CounterCount(), 6);
  ASSERT_EQ(GlobalPerfDataList()->Count(), 2);
  EXPECT_EQ(GlobalPerfDataList()->Strings(1), "LOCALHOST");
}

}  // namespace
}  // namespace gaugery
