// The previews of the filter and the monitor: how readings are laid out, and what the
// previews read on the live machine.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include "PerfPreview.h"

namespace gaugery {
namespace {

using ::testing::Contains;
using ::testing::Each;
using ::testing::EndsWith;
using Row = std::vector<std::string>;

TEST(PreviewTable, SharesRowsPerObjectAndMatchesRepeatedNamesByOccurrence) {
  const std::vector<TPreviewReading> Readings = {
      {"Process", "ID Process", {{"bash", "1"}, {"init", "2"}, {"bash", "3"}}, {}},
      {"Memory", "Available Bytes", {{"", "99"}}, {}},
      {"process", "Thread Count", {{"bash", "10"}, {"bash", "30"}, {"zsh", "40"}}, {}},
      {"Processor", "% Processor Time", {}, "Invalid counter block"},
  };
  const TPreviewTable Table = PreviewTableOf(Readings);
  EXPECT_EQ(Table.Columns, (Row{"Object", "Instance", "ID Process", "Available Bytes",
                                "Thread Count", "% Processor Time"}));
  EXPECT_EQ(Table.Rows, (std::vector<Row>{
                            {"Process", "bash", "1", "", "10", ""},
                            {"Process", "init", "2", "", "", ""},
                            {"Process", "bash", "3", "", "30", ""},
                            {"Process", "zsh", "", "", "40", ""},
                            {"Memory", "", "", "99", "", ""},
                            {"Processor", "", "", "", "", "Invalid counter block"},
                        }));
  EXPECT_TRUE(PreviewTableOf({}).Rows.empty());
}

TEST(FilterPreviewLiveTest, ReadsOneSampleOfRawValuesPerInstance) {
  TPerfFilter Filter(nullptr);
  Filter.SetLocaleID("009");
  for (const char* Counter : {"ID Process", "Thread Count"}) {
    TPerfCounterItem* Item = Filter.Items()->Add();
    Item->SetObjectName("Process");
    Item->SetCounterName(Counter);
  }
  TPerfCounterItem* Memory = Filter.Items()->Add();
  Memory->SetObjectName("Memory");
  Memory->SetCounterName("Available Bytes");

  std::unique_ptr<TComponentPreview> Preview = CreateComponentPreview(&Filter);
  ASSERT_NE(Preview, nullptr);
  EXPECT_EQ(Preview->SampleCount(), 1);
  Preview->Sample();
  const TPreviewTable Table = Preview->Table();
  ASSERT_GE(Table.Rows.size(), 2u);
  const Row& Last = Table.Rows.back();
  EXPECT_EQ(Last[0], "Memory");
  EXPECT_GT(std::stoll(Last[4]), 0) << "available bytes";
  const std::string Pid = std::to_string(getpid());
  EXPECT_THAT(Table.Rows, Contains(::testing::ElementsAre("Process", ::testing::_, Pid,
                                                          ::testing::Not(""), "")));
}

TEST(MonitorPreviewLiveTest, TakesTwoSamplesAndShowsValuesWithTheirSuffix) {
  TPerfMonitor Monitor(nullptr);
  Monitor.SetLocaleID("009");
  TPerfMonitorItem* Item = Monitor.Items()->Add();
  Item->SetObjectName("Process");
  Item->SetCounterName("% Processor Time");
  Item->SetObjectKey("ID Process");

  std::unique_ptr<TComponentPreview> Preview = CreateComponentPreview(&Monitor);
  ASSERT_NE(Preview, nullptr);
  EXPECT_EQ(Preview->SampleCount(), 2);
  Preview->Sample();
  Preview->Sample();
  const TPreviewTable Table = Preview->Table();
  EXPECT_EQ(Table.Columns, (Row{"Object", "Instance", "% Processor Time"}));
  ASSERT_FALSE(Table.Rows.empty());
  std::vector<std::string> Values;
  for (const Row& Line : Table.Rows) Values.push_back(Line[2]);
  EXPECT_THAT(Values, Each(EndsWith(" %")));
}

}  // namespace
}  // namespace gaugery
