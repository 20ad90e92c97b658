#include "PerfObjects.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "BrowsingData.h"
#include "NameTables.h"

namespace gaugery {
namespace {

using ::testing::ElementsAre;
using testing::LinesOf;
using ::testing::ThrowsMessage;

using PerfObjectsTest = testing::BrowsingTest;

TEST_F(PerfObjectsTest, AcquiresNothingUntilFirstNeed) {
  TPerfObjects Objects(nullptr);
  EXPECT_EQ(Objects.LocaleID(), "009");
  EXPECT_EQ(GlobalPerfDataList()->Count(), 0);
  EXPECT_EQ(PerfInfoDataCache(), nullptr);
  EXPECT_EQ(Objects.ObjectCount(), 5);
  EXPECT_EQ(GlobalPerfDataList()->Entries(0)->RefCount, 1);
}

TEST_F(PerfObjectsTest, FindsObjectsByTitleAtTheirBlockPosition) {
  TPerfObjects Objects(nullptr);
  EXPECT_EQ(Objects.IndexOfObject("Process"), 1);
  EXPECT_EQ(Objects.IndexOfObject("pROCESS"), 1);
  EXPECT_EQ(Objects.ObjectData(1)->ObjectNameTitleIndex, 230u);
  EXPECT_THAT([&] { Objects.IndexOfObject("Foo"); },
              ThrowsMessage<Exception>("Unknown performance object : \"Foo\""));
  EXPECT_THAT([&] { Objects.IndexOfObject(""); },
              ThrowsMessage<Exception>("Unknown performance object : \"\""));
  // A counter's title and a title of another locale name no object of the block.
  EXPECT_THAT([&] { Objects.IndexOfObject("Thread Count"); },
              ThrowsMessage<Exception>("Unknown performance object : \"Thread Count\""));
  EXPECT_THAT([&] { Objects.IndexOfObject("Prozess"); },
              ThrowsMessage<Exception>("Unknown performance object : \"Prozess\""));
}

TEST_F(PerfObjectsTest, TitlesByPositionReplaceEarlierLines) {
  TPerfObjects Objects(nullptr);
  EXPECT_EQ(Objects.ObjectTitle(Objects.ObjectCount() - 1), "Memory");
  EXPECT_THAT([&] { Objects.ObjectTitle(Objects.ObjectCount()); },
              ThrowsMessage<Exception>("Index out of bounds"));
  EXPECT_THAT([&] { Objects.ObjectData(-1); }, ThrowsMessage<Exception>("Index out of bounds"));
  TStringList Titles;
  for (const char* Old : {"a", "b", "c", "d", "e", "f"}) Titles.Add(Old);
  Objects.GetObjectTitles(&Titles);
  EXPECT_THAT(LinesOf(Titles), ElementsAre("System", "Process", "Print Queue", "", "Memory"));
  Objects.SetLocaleID("007");
  Objects.GetObjectTitles(&Titles);
  EXPECT_THAT(LinesOf(Titles), ElementsAre("System", "Prozess", "", "", "Speicher"));
  Objects.SetLocaleID("not installed");
  EXPECT_EQ(Objects.LocaleID(), "009");
}

TEST_F(PerfObjectsTest, HelpsComeFromTheLinkedTableInItsOwnLocale) {
  TPerfObjects Objects(nullptr);
  Objects.SetName("PerfObjects1");
  const std::string NoHelp = "No help information : object \"PerfObjects1\"";
  EXPECT_THAT([&] { Objects.ObjectHelp(-1); }, ThrowsMessage<Exception>(NoHelp));
  TStringList Helps;
  Helps.Add("kept");
  EXPECT_THAT([&] { Objects.GetObjectHelps(&Helps); }, ThrowsMessage<Exception>(NoHelp));
  EXPECT_THAT(LinesOf(Helps), ElementsAre("kept"));

  TPerfHelps English(nullptr);
  Objects.SetHelps(&English);
  Objects.SetLocaleID("007");
  EXPECT_EQ(Objects.HelpOfObject("Prozess"), "The running programs");
  Objects.GetObjectHelps(&Helps);
  EXPECT_THAT(LinesOf(Helps),
              ElementsAre("Overall system values", "The running programs", "", "", ""));
  EXPECT_THAT([&] { Objects.ObjectHelp(5); }, ThrowsMessage<Exception>("Index out of bounds"));
}

TEST_F(PerfObjectsTest, ForgetsAHelpTableThatIsDestroyed) {
  auto First = std::make_unique<TPerfHelps>(nullptr);
  TPerfHelps Second(nullptr);
  TPerfObjects Objects(nullptr);
  Objects.SetHelps(First.get());
  Objects.SetHelps(&Second);
  First.reset();  // no longer linked: must not clear the link to Second
  EXPECT_EQ(Objects.Helps(), &Second);
  {
    TPerfHelps Third(nullptr);
    Objects.SetHelps(&Third);
  }
  EXPECT_EQ(Objects.Helps(), nullptr);
  EXPECT_THAT([&] { Objects.ObjectHelp(0); },
              ThrowsMessage<Exception>("No help information : object \"\""));
}

TEST_F(PerfObjectsTest, SeesAnotherComponentsRefreshWithoutACall) {
  TPerfObjects Watcher(nullptr);
  TPerfObjects Refresher(nullptr);
  EXPECT_EQ(Watcher.IndexOfObject("Process"), 1);
  EXPECT_EQ(Watcher.PerfTime(), 1000);
  Refresher.Refresh();
  EXPECT_EQ(Watcher.ObjectCount(), 2);
  EXPECT_EQ(Watcher.IndexOfObject("Process"), 0);
  EXPECT_EQ(Watcher.ObjectTitle(1), "System");
  EXPECT_EQ(Watcher.PerfTime(), 2000);
  EXPECT_EQ(Watcher.PerfFreq(), 10000000);
  EXPECT_EQ(Watcher.SystemName(), "TESTHOST");
  EXPECT_EQ(Watcher.SystemTime().wYear, 2024);
  EXPECT_EQ(Watcher.PerfData(), Refresher.PerfData());
}

TEST_F(PerfObjectsTest, ComputerNameIsReadAtTheFirstNeedOnly) {
  TPerfObjects Objects(nullptr);
  Objects.SetComputerName("localhost");
  Objects.ObjectCount();
  Objects.SetComputerName("");
  Objects.ObjectCount();
  ASSERT_EQ(GlobalPerfDataList()->Count(), 1);
  EXPECT_EQ(GlobalPerfDataList()->Strings(0), "LOCALHOST");
}

}  // namespace
}  // namespace gaugery
