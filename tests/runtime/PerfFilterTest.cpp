// The filter on synthetic samples: collecting, locales, the shared snapshot, its
// collection, and its stored form.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "FilterSamples.h"
#include "PerfFilter.h"
#include "WinGaugery.h"
#include "framework/StoredForm.h"

namespace gaugery {
namespace {

using testing::ErrorOf;
using testing::FilterBlock;
using testing::ServeFilterBlocks;

TPerfCounterItem* AddItem(TPerfFilter& Filter, const std::string& Object,
                          const std::string& Counter) {
  TPerfCounterItem* Item = Filter.Items()->Add();
  Item->SetObjectName(Object);
  Item->SetCounterName(Counter);
  return Item;
}

class PerfFilterTest : public ::testing::Test {
 protected:
  test::TFakeProviders Provider =
      ServeFilterBlocks({FilterBlock(1), FilterBlock(2), FilterBlock(3), FilterBlock(4)});
};

TEST_F(PerfFilterTest, CollectTakesANewSampleEvenWithoutItems) {
  TPerfFilter Filter(nullptr);
  EXPECT_EQ(Filter.Snapshot(), nullptr);
  Filter.Collect();
  EXPECT_EQ(Provider.CollectCount(0), 2);  // the snapshot's first sample, then Collect's
  EXPECT_EQ(FirstObject(Filter.PerfData())->PerfTime, 5002);
  EXPECT_EQ(FirstObject(Filter.GetPerfData())->PerfTime, 5002);
  EXPECT_EQ(Provider.CollectCount(0), 2);  // reading takes no sample
}

TEST_F(PerfFilterTest, CollectLeavesItemsThatCannotBeLocatedWithoutPositions) {
  TPerfFilter Filter(nullptr);
  TPerfCounterItem* Id = AddItem(Filter, "Process", "ID Process");
  TPerfCounterItem* Missing = Filter.Items()->Add();
  Missing->SetObjectName("Network");
  Missing->SetCounterName("Bytes Received/sec");
  Provider.SetSamples(0, {FilterBlock(5, false)});  // the network goes
  Filter.Collect();
  EXPECT_EQ(Id->InsCtrAsInteger(2), 4005);
  EXPECT_EQ(Missing->PerfDataBlock(), nullptr);
  EXPECT_EQ(Missing->PerfObjectType(), nullptr);
  EXPECT_EQ(ErrorOf([&] { Missing->CtrAsInteger(); }), "Invalid counter block");
  Provider.SetSamples(0, {FilterBlock(6)});
  Filter.Collect();
  EXPECT_EQ(Id->InsCtrAsInteger(2), 4006);
  EXPECT_EQ(Missing->CtrAsInteger(), 600);
}

TEST_F(PerfFilterTest, ACounterOfAKnownObjectMissingFromTheSampleBlamesTheObject) {
  Provider.SetSamples(0, {FilterBlock(5, false)});
  TPerfFilter Filter(nullptr);
  TPerfCounterItem* Item = Filter.Items()->Add();
  Item->SetObjectName("Network");
  EXPECT_EQ(ErrorOf([&] { Item->SetCounterName("Bytes Received/sec"); }),
            "Invalid performance object name : Network");
  EXPECT_EQ(Item->CounterName(), "Bytes Received/sec");
  EXPECT_EQ(ErrorOf([&] { Item->SetCounterName("No such counter"); }),
            "Invalid performance counter name : No such counter");
}

// An object that earlier samples carried is merely absent from this one: no read more
// is spent on it, whatever the value.
TEST_F(PerfFilterTest, AnObjectThatCameBeforeIsNotAskedForWhenItGoes) {
  TPerfFilter Filter(nullptr);
  TPerfCounterItem* Id = AddItem(Filter, "Process", "ID Process");
  TPerfCounterItem* Network = AddItem(Filter, "Network", "Bytes Received/sec");
  Provider.SetSamples(0, {FilterBlock(5, false), FilterBlock(6)});
  const int Before = Provider.CollectCount(0);
  Filter.Collect();
  EXPECT_EQ(Provider.CollectCount(0), Before + 1);
  EXPECT_EQ(Network->PerfObjectType(), nullptr);
  EXPECT_EQ(Id->InsCtrAsInteger(2), 4005);
  Filter.Collect();
  EXPECT_EQ(Network->CtrAsInteger(), 600);
}

TEST_F(PerfFilterTest, LocaleIdReadsAsSetWhileTheTitlesFallBack) {
  TPerfFilter Filter(nullptr);
  EXPECT_EQ(Filter.LocaleID(), "");
  Filter.SetLocaleID("009");
  EXPECT_EQ(Filter.LocaleID(), "009");
  Filter.SetLocaleID("0FF");
  EXPECT_EQ(Filter.LocaleID(), "0FF");
  EXPECT_EQ(Filter.Titles()->LocaleID(), "009");
}

TEST_F(PerfFilterTest, ComputerNameIsReadOnlyWhenTheSnapshotIsAcquired) {
  TPerfFilter Filter(nullptr);
  Filter.Collect();
  TPerfData* First = Filter.Snapshot();
  Filter.SetComputerName("elsewhere");
  Filter.Collect();
  EXPECT_EQ(Filter.Snapshot(), First);
  EXPECT_EQ(Filter.ComputerName(), "elsewhere");
}

TEST_F(PerfFilterTest, LocaleChangeRenamesItemsAndKeepsTheirPositions) {
  TPerfFilter Filter(nullptr);
  TPerfHelps Helps(nullptr);
  Filter.SetHelps(&Helps);
  TPerfCounterItem* Id = AddItem(Filter, "Process", "ID Process");
  TPerfCounterItem* Cpu = AddItem(Filter, "Processor", "% Processor Time");
  TPerfCounterItem* Wide = AddItem(Filter, "Memory", "Wide DWord");
  Filter.Collect();

  Filter.SetLocaleID("007");
  EXPECT_EQ(Helps.LocaleID(), "007");
  EXPECT_EQ(Id->ObjectName(), "Prozess");
  EXPECT_EQ(Id->CounterName(), "Prozesskennung");
  EXPECT_EQ(Id->InsCtrAsInteger(2), 4002);  // still the block collected before
  EXPECT_EQ(Id->Help(), "Die Prozesskennung.");
  // No German title: the names go, the indexes stay and still locate.
  EXPECT_EQ(Cpu->ObjectName(), "");
  EXPECT_EQ(Wide->CounterName(), "");
  Filter.Collect();
  EXPECT_EQ(Cpu->InstanceCount(), 0);
  EXPECT_EQ(Wide->CtrAsInteger(), 1LL << 40);

  // Back: the known names return, the empty ones become index -1 for good.
  Filter.SetLocaleID("009");
  EXPECT_EQ(Id->ObjectName(), "Process");
  EXPECT_EQ(Id->CounterName(), "ID Process");
  EXPECT_EQ(Cpu->ObjectName(), "");
  EXPECT_EQ(Cpu->GetObjectIDX(), -1);
  Filter.Collect();
  EXPECT_EQ(Cpu->PerfObjectType(), nullptr);
  EXPECT_EQ(Id->InsCtrAsInteger(2), 4004);
}

TEST_F(PerfFilterTest, AnotherHoldersRefreshMakesPositionsStale) {
  TPerfFilter A(nullptr);
  TPerfFilter B(nullptr);
  AddItem(A, "Process", "ID Process");
  TPerfCounterItem* Id = AddItem(B, "Process", "ID Process");
  TPerfCounterItem* Ratio = AddItem(B, "Memory", "Hit Ratio");
  B.Collect();
  EXPECT_EQ(A.Snapshot(), B.Snapshot());
  EXPECT_EQ(Id->InsCtrAsInteger(2), 4002);

  A.Collect();
  EXPECT_EQ(Id->PerfCounterBlock(), nullptr);
  EXPECT_FALSE(Ratio->HasBase());
  EXPECT_EQ(ErrorOf([&] { Id->InsCtrAsInteger(2); }), "Invalid counter block");
  EXPECT_EQ(ErrorOf([&] { Id->ObjectTime(); }), "Invalid counter block");
  EXPECT_EQ(ErrorOf([&] { Ratio->CtrBaseAsInteger(); }), "Invalid counter base block");

  B.Collect();
  EXPECT_EQ(Id->InsCtrAsInteger(2), 4004);
  EXPECT_EQ(Ratio->CtrBaseAsInteger(), 4);
}

TEST_F(PerfFilterTest, StaleItemLocatesAgainWhenAskedForItsObject) {
  TPerfFilter A(nullptr);
  TPerfFilter B(nullptr);
  TPerfCounterItem* Id = AddItem(B, "Process", "ID Process");
  B.Collect();
  A.Collect();
  // Reads fail until something locates the item again in the current block.
  EXPECT_EQ(ErrorOf([&] { Id->InsCtrAsInteger(0); }), "Invalid counter block");
  EXPECT_EQ(Id->InstanceCount(), 3);
  EXPECT_EQ(Id->InsCtrAsInteger(2), 4003);
}

TEST_F(PerfFilterTest, DestroyingTheFilterTellsOfEveryItem) {
  auto Filter = std::make_unique<TPerfFilter>(nullptr);
  for (int I = 0; I < 3; ++I) AddItem(*Filter, "Process", "ID Process");
  std::vector<std::pair<TPerfFilter*, int>> Told;
  Filter->SetOnItemDestroy([&](TPerfFilter* Sender, TPerfCounterItem* Item) {
    Told.emplace_back(Sender, Item->Index());
  });
  TPerfFilter* Expected = Filter.get();
  Filter.reset();
  EXPECT_EQ(Told, (std::vector<std::pair<TPerfFilter*, int>>{
                      {Expected, 2}, {Expected, 1}, {Expected, 0}}));
}

TEST_F(PerfFilterTest, SetItemsCopiesIntoTheOwnCollection) {
  TPerfFilter Source(nullptr);
  AddItem(Source, "Process", "ID Process");
  AddItem(Source, "Memory", "Available Bytes");
  TPerfFilter Target(nullptr);
  AddItem(Target, "Processor", "% Processor Time");
  TPerfCounterItems* Own = Target.Items();
  Target.SetItems(Source.Items());
  EXPECT_EQ(Target.Items(), Own);
  ASSERT_EQ(Own->Count(), 2);
  EXPECT_EQ((*Own)[0]->ObjectName(), "Process");
  EXPECT_EQ((*Own)[0]->CounterName(), "");
  EXPECT_EQ((*Own)[1]->ObjectName(), "Memory");
  EXPECT_EQ(Own->GetOwner(), &Target);
  EXPECT_THROW(Own->Items(2), EListError);
}

TEST_F(PerfFilterTest, WhileLoadingNamesAreStoredUncheckedAndNotTranslated) {
  TPerfFilter Filter(nullptr);
  Filter.BeginLoading();
  TPerfCounterItem* Item = AddItem(Filter, "Prozess", "Nonsense");
  Filter.SetLocaleID("007");
  EXPECT_EQ(Item->ObjectName(), "Prozess");
  EXPECT_EQ(Item->CounterName(), "Nonsense");
  Filter.Loaded();
  Filter.Collect();
  EXPECT_EQ(Item->GetObjectIDX(), 230);
  EXPECT_EQ(Item->PerfCounterDefinition(), nullptr);
}

// ---------------------------------------------------------------------------------------
// Stored forms

const char* const FilterForm = R"({
  "class": "TComponent",
  "name": "Form",
  "components": [
    {
      "class": "TPerfHelps",
      "name": "PerfHelps1",
      "LocaleID": "007",
      "ComputerName": ""
    },
    {
      "class": "TPerfFilter",
      "name": "PerfFilter",
      "ComputerName": "",
      "LocaleID": "007",
      "Items": [
        {
          "ObjectName": "Prozess",
          "CounterName": "Prozesskennung"
        },
        {
          "ObjectName": "Unknown",
          "CounterName": ""
        }
      ],
      "Helps": "PerfHelps1"
    }
  ]
}
)";

TEST_F(PerfFilterTest, StoredFormComesBackExactlyAsSaved) {
  std::unique_ptr<TComponent> Form(ReadComponentForm(FilterForm, nullptr));
  EXPECT_EQ(WriteComponentForm(Form.get()), FilterForm);
  auto* Filter = dynamic_cast<TPerfFilter*>(Form->FindComponent("PerfFilter"));
  ASSERT_NE(Filter, nullptr);
  EXPECT_EQ(Filter->Helps(), Form->FindComponent("PerfHelps1"));
  EXPECT_FALSE(Filter->IsLoading());
  // Resolved at first use, in the stored locale.
  Filter->Collect();
  EXPECT_EQ(Filter->Items()->Items(0)->InsCtrAsInteger(2), 4002);
  EXPECT_EQ(Filter->Items()->Items(0)->Help(), "Die Prozesskennung.");
}

TEST_F(PerfFilterTest, StoredFormAppliesLocaleBeforeItemsWhateverTheKeyOrder) {
  std::unique_ptr<TComponent> Filter(ReadComponentForm(R"({"Items": [{"CounterName":
      "Prozesskennung", "ObjectName": "Prozess"}], "LocaleID": "007", "class": "TPerfFilter"})",
                                                       nullptr));
  auto& Read = static_cast<TPerfFilter&>(*Filter);
  EXPECT_EQ(Read.LocaleID(), "007");
  EXPECT_EQ(Read.Items()->Items(0)->ObjectName(), "Prozess");
  EXPECT_EQ(Read.Items()->Items(0)->InstanceCount(), 3);
}

TEST_F(PerfFilterTest, BadFilterFormsAreRefusedWholly) {
  TComponent Owner(nullptr);
  EXPECT_EQ(ErrorOf([&] {
              ReadComponentForm(R"({"class": "TPerfFilter", "Items": [{"CounterType": null}]})",
                                &Owner);
            }),
            "Invalid stored form at /Items/0/CounterType: property \"CounterType\" of "
            "TPerfCounterItem is not stored");
  EXPECT_EQ(
      ErrorOf([&] { ReadComponentForm(R"({"class": "TPerfFilter", "LocaleID": 9})", &Owner); }),
      "Invalid stored form at /LocaleID: expected a string");
  EXPECT_EQ(ErrorOf([&] {
              ReadComponentForm(R"({"class": "TComponent", "name": "F", "components": [
                  {"class": "TPerfTitles", "name": "T"},
                  {"class": "TPerfFilter", "Helps": "T"}]})",
                                &Owner);
            }),
            "Invalid stored form at /components/1/Helps: component \"T\" is not a TPerfHelps");
  EXPECT_EQ(Owner.ComponentCount(), 0);
}

}  // namespace
}  // namespace gaugery
