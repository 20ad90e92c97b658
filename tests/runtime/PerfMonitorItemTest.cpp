// Monitor items: object keys, matching instances between samples by name and key
// value, the records' order and retirement, and the item's counter items.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FilterSamples.h"
#include "MonitorSamples.h"
#include "PerfMonitor.h"

namespace gaugery {
namespace {

using testing::ErrorOf;
using testing::ProcessObject;
using testing::SampleBlock;
using testing::TProcessSpec;

std::vector<std::string> Parsed(const std::string& Key) {
  TStringList Strings;
  Strings.Add("left over");
  ParseKey(Key, &Strings);
  std::vector<std::string> Names;
  for (int I = 0; I < Strings.Count(); ++I) Names.push_back(Strings.Strings(I));
  return Names;
}

TEST(ParseKey, SkipsEmptyPiecesAndKeepsTheOthersAsWritten) {
  using Names = std::vector<std::string>;
  EXPECT_EQ(Parsed("A;;B;"), (Names{"A", "B"}));
  EXPECT_EQ(Parsed(";;;"), Names{});
  EXPECT_EQ(Parsed(""), Names{});
  EXPECT_EQ(Parsed(" ID Process ; x"), (Names{" ID Process ", " x"}));
  EXPECT_EQ(Parsed("Prozessorzeit (%)"), (Names{"Prozessorzeit (%)"}));
}

// Process samples, one second apart, and a monitor with items on the process object.
class PerfMonitorItemTest : public ::testing::Test {
 protected:
  void Serve(const std::vector<std::vector<TProcessSpec>>& Samples) {
    std::vector<test::TBlock> Blocks;
    for (std::size_t I = 0; I < Samples.size(); ++I) {
      Blocks.push_back(SampleBlock(static_cast<double>(I), {ProcessObject(Samples[I])}));
    }
    Provider_.emplace(testing::SampleProvider(std::move(Blocks)));
  }

  TPerfMonitorItem* AddItem(const std::string& Counter, const std::string& Key = "") {
    TPerfMonitorItem* Item = Monitor_->Items()->Add();
    Item->SetObjectName("Process");
    Item->SetCounterName(Counter);
    Item->SetObjectKey(Key);
    return Item;
  }

  static std::vector<std::string> Names(TPerfMonitorItem* Item) {
    std::vector<std::string> Result;
    for (int I = 0; I < Item->InstanceValueCount(); ++I) {
      const TPerfMonitorCounterValue* Record = Item->InstanceValues(I);
      Result.push_back(Record->InstanceName() + "/" + Record->ObjectKeyValue());
    }
    return Result;
  }

  // The counter items of the monitor's filter.
  static int FilterItemCount(TPerfMonitorItem* Item) {
    return Item->Counter()->Filter()->Items()->Count();
  }

  std::optional<test::TFakeProviders> Provider_;
  // Made after the provider, gone before it.
  std::optional<TPerfMonitor> Monitor_{std::in_place, nullptr};
};

TEST_F(PerfMonitorItemTest, KeyCountersKeepSameNamedInstancesApart) {
  Serve({{{"svc", 10, 100}, {"svc", 11, 200}, {"Idle", 0, 300}}});
  TPerfMonitorItem* Plain = AddItem("% Processor Time");
  TPerfMonitorItem* Keyed = AddItem("% Processor Time", "ID Process");
  Monitor_->Collect();
  // Without a key both svc instances go into one record, the later one's values last.
  EXPECT_EQ(Names(Plain), (std::vector<std::string>{"svc/", "Idle/"}));
  EXPECT_EQ(Plain->InstanceCount(), 3);
  EXPECT_EQ(Plain->InstanceValues(0)->RefreshCount(), 2);
  EXPECT_EQ(Plain->InstanceValues(0)->PrevCounter(), 100);
  EXPECT_EQ(Plain->InstanceValues(0)->Counter(), 200);
  EXPECT_TRUE(Plain->InstanceValues(0)->PrevAvailable());
  EXPECT_EQ(Names(Keyed), (std::vector<std::string>{"svc/10", "svc/11", "Idle/0"}));
  EXPECT_EQ(Keyed->InstanceValues(1)->Counter(), 200);
  EXPECT_EQ(Keyed->InstanceValues(1)->RefreshCount(), 1);
  EXPECT_EQ(ErrorOf([&] { Keyed->InstanceValues(3); }), "List index out of bounds (3)");
}

TEST_F(PerfMonitorItemTest, KeysOfSeveralCountersAndOfSeparatorsOnly) {
  Serve({{{"svc", 10, 100, 4}, {"svc", 11, 200, 5}}});
  TPerfMonitorItem* Two = AddItem("% Processor Time", "ID Process;;Thread Count;");
  TPerfMonitorItem* None = AddItem("% Processor Time", ";;");
  EXPECT_EQ(Two->ObjectKey(), "ID Process;Thread Count");
  EXPECT_EQ(None->ObjectKey(), "");
  Monitor_->Collect();
  EXPECT_EQ(Names(Two), (std::vector<std::string>{"svc/10;4", "svc/11;5"}));
  EXPECT_EQ(Names(None), (std::vector<std::string>{"svc/"}));
}

// Values beyond 2^53 differ in their last digits, which a double would lose.
TEST_F(PerfMonitorItemTest, KeyValuesAreTheCountersOwnDigits) {
  Serve({{{"svc", 10, 9007199254740993}, {"svc", 11, 9007199254740992}, {"big", 12, -1}}});
  TPerfMonitorItem* Item = AddItem("Thread Count", "% Processor Time");
  Monitor_->Collect();
  EXPECT_EQ(Names(Item),
            (std::vector<std::string>{"svc/9007199254740993", "svc/9007199254740992", "big/-1"}));
}

TEST_F(PerfMonitorItemTest, RecordsKeepTheOrderOfFirstAppearanceAndVanishWithTheirInstance) {
  Serve({{{"a", 1}, {"b", 2}, {"c", 3}}, {{"c", 3}, {"d", 4}, {"a", 1}}, {{"a", 1}}});
  TPerfMonitorItem* Item = AddItem("% Processor Time", "ID Process");
  std::vector<std::string> Destroyed;
  const auto Watch = [&] {
    for (int I = 0; I < Item->InstanceValueCount(); ++I) {
      TPerfMonitorCounterValue* Record = Item->InstanceValues(I);
      if (Record->OnDestroy()) continue;
      Record->SetOnDestroy([&Destroyed, Record, Item](TObject* Sender) {
        EXPECT_EQ(Sender, Record);
        // The record is no longer listed when it goes.
        for (int J = 0; J < Item->InstanceValueCount(); ++J)
          EXPECT_NE(Item->InstanceValues(J), Record);
        Destroyed.push_back(Record->InstanceName());
      });
    }
  };
  Monitor_->Collect();
  Watch();
  Monitor_->Collect();
  Watch();
  EXPECT_EQ(Names(Item), (std::vector<std::string>{"a/1", "c/3", "d/4"}));
  EXPECT_EQ(Destroyed, std::vector<std::string>{"b"});
  EXPECT_EQ(Item->InstanceValues(0)->RefreshCount(), 2);
  EXPECT_FALSE(Item->InstanceValues(2)->PrevAvailable());
  Monitor_->Collect();
  // Unused records go from the last to the first.
  EXPECT_EQ(Destroyed, (std::vector<std::string>{"b", "d", "c"}));
  EXPECT_EQ(Names(Item), std::vector<std::string>{"a/1"});
  Monitor_.reset();
  EXPECT_EQ(Destroyed, (std::vector<std::string>{"b", "d", "c", "a"}));
}

TEST_F(PerfMonitorItemTest, ChangedKeyValueStartsANewRecord) {
  Serve({{{"svc", 10, 100}}, {{"svc", 12, 300}}});
  TPerfMonitorItem* Item = AddItem("% Processor Time", "ID Process");
  Monitor_->Collect();
  bool OldDestroyed = false;
  Item->InstanceValues(0)->SetOnDestroy([&](TObject*) { OldDestroyed = true; });
  Monitor_->Collect();
  EXPECT_TRUE(OldDestroyed);
  ASSERT_EQ(Names(Item), std::vector<std::string>{"svc/12"});
  EXPECT_FALSE(Item->InstanceValues(0)->PrevAvailable());
  EXPECT_EQ(Item->InstanceValues(0)->PrevCounter(), 0);
  // A new record's current value runs over the monitor's last elapsed time.
  EXPECT_DOUBLE_EQ(Item->InstanceValues(0)->AsFloat(), 300.0 / 10000000 * 100);
}

TEST_F(PerfMonitorItemTest, NamesAndKeyValuesMatchIgnoringCase) {
  Serve({{{"Idle", 0, 100}}, {{"IDLE", 0, 600}}, {{"idle", 0, 700}, {"IDLE", 0, 900}}});
  TPerfMonitorItem* Item = AddItem("% Processor Time", "ID Process");
  Monitor_->Collect();
  Monitor_->Collect();
  ASSERT_EQ(Names(Item), std::vector<std::string>{"Idle/0"});
  EXPECT_TRUE(Item->InstanceValues(0)->PrevAvailable());
  EXPECT_DOUBLE_EQ(Item->InstanceValues(0)->AsFloat(), 500.0 / 10000000 * 100);
  Monitor_->Collect();
  ASSERT_EQ(Names(Item), std::vector<std::string>{"Idle/0"});
  EXPECT_EQ(Item->InstanceValues(0)->RefreshCount(), 4);
  EXPECT_EQ(Item->InstanceValues(0)->PrevCounter(), 700);
}

TEST_F(PerfMonitorItemTest, LaterRecordAveragesOverTheMonitorsWholeRun) {
  Serve({{{"a", 1}}, {{"a", 1}, {"b", 2, 1000000}}, {{"a", 1}, {"b", 2, 3000000}}});
  TPerfMonitorItem* Item = AddItem("% Processor Time", "ID Process");
  for (int I = 0; I < 3; ++I) Monitor_->Collect();
  const TPerfMonitorCounterValue* Later = Item->InstanceValues(1);
  EXPECT_EQ(Later->FirstCounter(), 1000000);
  EXPECT_DOUBLE_EQ(Later->AsFloat(), 20.0);
  EXPECT_DOUBLE_EQ(Later->AvgAsFloat(), 10.0);
}

TEST_F(PerfMonitorItemTest, ObjectWithoutInstancesAtTheMomentLosesItsRecords) {
  std::vector<test::TBlock> Blocks{
      SampleBlock(0, {ProcessObject({{"a", 1}}), testing::HollowObject()}),
      SampleBlock(1, {ProcessObject({}), testing::HollowObject()})};
  Provider_.emplace(testing::SampleProvider(std::move(Blocks)));
  TPerfMonitorItem* Item = AddItem("% Processor Time");
  TPerfMonitorItem* Hollow = Monitor_->Items()->Add();
  Hollow->SetObjectName("Hollow");
  Hollow->SetCounterName("Value");
  Monitor_->Collect();
  EXPECT_EQ(Item->InstanceValueCount(), 1);
  EXPECT_EQ(Hollow->InstanceValueCount(), 0);
  Monitor_->Collect();
  EXPECT_EQ(Item->InstanceValueCount(), 0);
  EXPECT_EQ(Item->InstanceCount(), 0);
  EXPECT_EQ(ErrorOf([&] { Item->InstanceValues(0); }), "List index out of bounds (0)");
  EXPECT_EQ(ErrorOf([&] { Hollow->InstanceValues(0); }), "List index out of bounds (0)");
}

TEST_F(PerfMonitorItemTest, KeyCountersLiveInTheFilterAndAreRebuiltOnlyForANewKey) {
  Serve({{{"svc", 10}}});
  TPerfMonitorItem* Item = AddItem("% Processor Time");
  EXPECT_EQ(FilterItemCount(Item), 1);
  Item->SetObjectKey("ID Process;Thread Count");
  EXPECT_EQ(FilterItemCount(Item), 3);
  TPerfCounterItem* FirstKey = Item->Counter()->Filter()->Items()->Items(1);
  Item->SetObjectKey("ID Process;Thread Count");
  EXPECT_EQ(Item->Counter()->Filter()->Items()->Items(1), FirstKey);
  Item->SetObjectKey("ID Process");
  EXPECT_EQ(FilterItemCount(Item), 2);
  EXPECT_EQ(Item->ObjectKey(), "ID Process");
  // A refused name leaves the key counters before it; the key reads normalised.
  EXPECT_EQ(ErrorOf([&] { Item->SetObjectKey("Thread Count;Nonsense;ID Process"); }),
            "Invalid performance counter name : Nonsense");
  EXPECT_EQ(Item->ObjectKey(), "Thread Count");
  EXPECT_EQ(FilterItemCount(Item), 2);
  TPerfFilter* Filter = Item->Counter()->Filter();
  Item->Monitor()->Items()->Delete(0);
  EXPECT_EQ(Filter->Items()->Count(), 0);
}

TEST_F(PerfMonitorItemTest, AssignCopiesNamesAndKey) {
  Serve({{{"svc", 10}}});
  TPerfMonitorItem* Source = AddItem("% Processor Time", "ID Process");
  TPerfMonitorItem* Copy = Monitor_->Items()->Add();
  Copy->Assign(Source);
  EXPECT_EQ(Copy->ObjectName(), "Process");
  EXPECT_EQ(Copy->CounterName(), "% Processor Time");
  EXPECT_EQ(Copy->ObjectKey(), "ID Process");
  TStringList NotAnItem;
  EXPECT_EQ(ErrorOf([&] { Copy->Assign(&NotAnItem); }), "Incompatible types");
}

// A form's key may name a counter the names do not know: the copy takes it as text, and
// the copy's first collection fails on it.
TEST_F(PerfMonitorItemTest, AssignCopiesAKeyThatNamesNoCounterAsText) {
  Serve({{{"svc", 10}}});
  Monitor_->BeginLoading();
  TPerfMonitorItem* Source = AddItem("% Processor Time", "ID Process;Bogus");
  Monitor_->Loaded();
  TPerfMonitor Target(nullptr);
  TPerfMonitorItem* Copy = Target.Items()->Add();
  Copy->Assign(Source);
  EXPECT_EQ(Copy->ObjectName(), "Process");
  EXPECT_EQ(Copy->CounterName(), "% Processor Time");
  EXPECT_EQ(ErrorOf([&] { Target.Collect(); }), "Invalid performance counter name : Bogus");
}

// The counter's name is what was lost, for objects with instances as for those without.
TEST_F(PerfMonitorItemTest, CounterGoneFromTheSampleFailsByItsName) {
  test::TObjectSpec Process = ProcessObject({{"svc", 10}});
  test::TObjectSpec Gauge = testing::GaugeObject({});
  test::TObjectSpec Shrunk = Process;
  Shrunk.Counters.pop_back();  // "% Processor Time"
  for (auto& Instance : Shrunk.Instances) Instance.Values.pop_back();
  test::TObjectSpec Renumbered = Gauge;
  Renumbered.Counters[0].NameIndex = 704;  // "Value Base" instead of "Value"
  for (const auto& [Object, Counter] :
       {std::pair{"Process", "% Processor Time"}, std::pair{"Gauge", "Value"}}) {
    Monitor_.reset();
    Provider_.reset();
    Provider_.emplace(testing::SampleProvider(
        {SampleBlock(0, {Process, Gauge}), SampleBlock(1, {Shrunk, Renumbered})}));
    Monitor_.emplace(nullptr);
    TPerfMonitorItem* Item = Monitor_->Items()->Add();
    Item->SetObjectName(Object);
    Item->SetCounterName(Counter);
    Monitor_->Collect();
    EXPECT_EQ(ErrorOf([&] { Monitor_->Collect(); }), "Invalid performance counter name") << Object;
  }
}

TEST_F(PerfMonitorItemTest, NameErrorsPassThroughAndCollectFailsForAMissingObject) {
  Serve({{{"svc", 10}}});
  TPerfMonitorItem* Good = AddItem("% Processor Time");
  TPerfMonitorItem* Bad = Monitor_->Items()->Add();
  EXPECT_EQ(ErrorOf([&] { Bad->SetObjectName("Nowhere"); }),
            "Invalid performance object name : Nowhere");
  EXPECT_EQ(Bad->ObjectName(), "");
  // The gauge has a title but is not in the sample: the fault is the object's.
  Bad->SetObjectName("Gauge");
  EXPECT_EQ(ErrorOf([&] { Bad->SetCounterName("Value"); }),
            "Invalid performance object name : Gauge");
  EXPECT_EQ(Bad->CounterName(), "Value");
  EXPECT_EQ(ErrorOf([&] { Monitor_->Collect(); }), "Invalid performance object name");
  // Items before the failing one have recorded the sample, the times have moved on.
  EXPECT_EQ(Good->InstanceValueCount(), 1);
  EXPECT_EQ(Monitor_->SysTime(), testing::SampleFileTime(0));
}

}  // namespace
}  // namespace gaugery
