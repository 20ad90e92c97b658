// The monitor component: time stamps of the samples, locales, loading and stored forms.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "FilterSamples.h"
#include "MonitorSamples.h"
#include "PerfMonitor.h"
#include "framework/StoredForm.h"

namespace gaugery {
namespace {

using testing::ErrorOf;
using testing::ProcessObject;
using testing::SampleBlock;
using testing::SampleFileTime;

test::TFakeProviders ServeProcesses(std::initializer_list<double> Seconds) {
  std::vector<test::TBlock> Blocks;
  for (double At : Seconds) {
    Blocks.push_back(SampleBlock(At, {ProcessObject({{"svc", 10, 100}, {"svc", 11, 200}})}));
  }
  return testing::ServeSamples(std::move(Blocks));
}

TPerfMonitorItem* AddItem(TPerfMonitor& Monitor, const std::string& Object,
                          const std::string& Counter, const std::string& Key) {
  TPerfMonitorItem* Item = Monitor.Items()->Add();
  Item->SetObjectName(Object);
  Item->SetCounterName(Counter);
  Item->SetObjectKey(Key);
  return Item;
}

TEST(PerfMonitor, TimeStampsComeFromTheSnapshotsEvenWithoutItems) {
  test::TFakeProviders Provider = ServeProcesses({0, 1, 3.5});
  TPerfMonitor Monitor(nullptr);
  Monitor.Collect();
  EXPECT_EQ(Monitor.SysTime(), SampleFileTime(0));
  EXPECT_EQ(Monitor.FirstSysTime(), Monitor.SysTime());
  EXPECT_EQ(Monitor.PrevSysTime(), 0);
  EXPECT_EQ(Monitor.DeltaSysTime(), Monitor.SysTime());
  EXPECT_EQ(Monitor.TotalSysTime(), 0);
  Monitor.Collect();
  EXPECT_EQ(Monitor.DeltaSysTime(), 10000000);
  EXPECT_EQ(Monitor.TotalSysTime(), 10000000);
  Monitor.Collect();
  EXPECT_EQ(Monitor.PrevSysTime(), SampleFileTime(1));
  EXPECT_EQ(Monitor.DeltaSysTime(), 25000000);
  EXPECT_EQ(Monitor.TotalSysTime(), 35000000);
}

TEST(PerfMonitor, SampleWithoutAValidTimeHasNoElapsedTime) {
  test::TBlock Broken = SampleBlock(1, {ProcessObject({})});
  Broken.Header().SystemTime.wMonth = 13;
  test::TFakeProviders Provider =
      testing::ServeSamples({SampleBlock(0, {ProcessObject({})}), std::move(Broken)});
  TPerfMonitor Monitor(nullptr);
  Monitor.Collect();
  Monitor.Collect();
  EXPECT_EQ(Monitor.SysTime(), SampleFileTime(0));
  EXPECT_EQ(Monitor.DeltaSysTime(), 0);
}

TEST(PerfMonitor, LocaleChangeRenamesNamesAndKeys) {
  test::TFakeProviders Provider = ServeProcesses({0});
  TPerfMonitor Monitor(nullptr);
  TPerfMonitorItem* Item = AddItem(Monitor, "Process", "% Processor Time", "ID Process");
  Monitor.SetLocaleID("007");
  EXPECT_EQ(Monitor.LocaleID(), "007");
  EXPECT_EQ(Item->ObjectName(), "Prozess");
  EXPECT_EQ(Item->CounterName(), "Prozessorzeit (%)");
  EXPECT_EQ(Item->ObjectKey(), "Prozesskennung");
  Monitor.Collect();
  EXPECT_EQ(Item->InstanceValues(1)->ObjectKeyValue(), "11");
}

TEST(PerfMonitor, WhileLoadingNamesAndKeysAreOnlyKept) {
  test::TFakeProviders Provider = ServeProcesses({0});
  TPerfMonitor Monitor(nullptr);
  Monitor.BeginLoading();
  TPerfMonitorItem* Item = AddItem(Monitor, "Process", "% Processor Time", "ID Process;;");
  Monitor.SetLocaleID("009");
  EXPECT_EQ(Item->ObjectKey(), "ID Process;;");
  EXPECT_EQ(Item->ObjectName(), "Process");
  Monitor.Loaded();
  // Nothing exists until first use; then the key reads normalised.
  EXPECT_EQ(Item->ObjectKey(), "ID Process");
  EXPECT_EQ(Item->Counter()->Filter()->Items()->Count(), 2);
}

TEST(PerfMonitor, LocaleChangeAfterLoadingFindsTheStoredNamesFirst) {
  test::TFakeProviders Provider = ServeProcesses({0});
  TPerfMonitor Monitor(nullptr);
  Monitor.BeginLoading();
  TPerfMonitorItem* Item = AddItem(Monitor, "Process", "% Processor Time", "ID Process");
  Monitor.Loaded();
  Monitor.SetLocaleID("007");
  EXPECT_EQ(Item->ObjectName(), "Prozess");
  EXPECT_EQ(Item->ObjectKey(), "Prozesskennung");
}

// Names that do not resolve (a key counter unknown, an object unknown) stay as they
// are; what can be renamed is.
TEST(PerfMonitor, LocaleChangeNeverFailsBecauseOfAName) {
  test::TFakeProviders Provider = ServeProcesses({0});
  TPerfMonitor Monitor(nullptr);
  Monitor.BeginLoading();
  TPerfMonitorItem* Item = AddItem(Monitor, "Process", "% Processor Time", "ID Process;Bogus");
  TPerfMonitorItem* Unknown = AddItem(Monitor, "Nowhere", "Nothing", "");
  Monitor.Loaded();
  Monitor.SetLocaleID("007");
  EXPECT_EQ(Monitor.LocaleID(), "007");
  EXPECT_EQ(Item->ObjectName(), "Prozess");
  EXPECT_EQ(Item->CounterName(), "Prozessorzeit (%)");
  EXPECT_EQ(ErrorOf([&] { Item->ObjectKey(); }), "Invalid performance counter name : Bogus");
  EXPECT_EQ(Item->ObjectKey(), "Prozesskennung") << "renamed, up to the unknown name";
  EXPECT_EQ(Unknown->ObjectName(), "");
  Monitor.SetLocaleID("009");
  EXPECT_EQ(Item->ObjectKey(), "ID Process");
}

TEST(PerfMonitor, HelpsAndItemsPassThrough) {
  test::TFakeProviders Provider = ServeProcesses({0});
  TPerfHelps Helps(nullptr);
  TPerfMonitor Monitor(nullptr);
  Monitor.SetHelps(&Helps);
  EXPECT_EQ(Monitor.Helps(), &Helps);
  TPerfMonitorItem* Item = AddItem(Monitor, "Process", "% Processor Time", "");
  EXPECT_EQ(Item->Counter()->Help(), "Processor time help.");

  TPerfMonitor Copy(nullptr);
  TPerfMonitorItems* Own = Copy.Items();
  AddItem(Copy, "Process", "Thread Count", "");
  Copy.SetItems(Monitor.Items());
  EXPECT_EQ(Copy.Items(), Own);
  ASSERT_EQ(Copy.Items()->Count(), 1);
  EXPECT_EQ(Copy.Items()->Items(0)->CounterName(), "% Processor Time");
  EXPECT_EQ(Copy.Items()->Items(0)->Monitor(), &Copy);
  EXPECT_EQ(ErrorOf([&] { Copy.Items()->Items(1); }), "List index out of bounds (1)");
}

// ---------------------------------------------------------------------------------------
// Stored forms

const char* const MonitorForm = R"json({
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
      "class": "TPerfMonitor",
      "name": "PerfMonitor",
      "LocaleID": "007",
      "Items": [
        {
          "ObjectName": "Prozess",
          "CounterName": "Prozessorzeit (%)",
          "ObjectKey": "Prozesskennung"
        }
      ],
      "Helps": "PerfHelps1"
    }
  ]
}
)json";

TEST(PerfMonitor, StoredFormComesBackExactlyAsSaved) {
  test::TFakeProviders Provider = ServeProcesses({0, 1});
  std::unique_ptr<TComponent> Form(ReadComponentForm(MonitorForm, nullptr));
  auto* Monitor = dynamic_cast<TPerfMonitor*>(Form->FindComponent("PerfMonitor"));
  ASSERT_NE(Monitor, nullptr);
  EXPECT_EQ(Monitor->Helps(), Form->FindComponent("PerfHelps1"));
  Monitor->Collect();
  Monitor->Collect();
  TPerfMonitorItem* Item = Monitor->Items()->Items(0);
  EXPECT_EQ(Item->InstanceValueCount(), 2);
  EXPECT_EQ(Item->Suffix(), "%");
  EXPECT_EQ(Item->Counter()->Help(), "Hilfe zur Prozessorzeit.");
  EXPECT_EQ(WriteComponentForm(Form.get()), MonitorForm);
}

TEST(PerfMonitor, StoredFormAppliesTheLocaleBeforeTheItemsWhateverTheKeyOrder) {
  test::TFakeProviders Provider = ServeProcesses({0});
  std::unique_ptr<TComponent> Read(ReadComponentForm(
      R"json({"Items": [{"ObjectKey": "Prozesskennung", "CounterName": "Prozessorzeit (%)",
          "ObjectName": "Prozess"}], "LocaleID": "007", "class": "TPerfMonitor"})json",
      nullptr));
  auto& Monitor = static_cast<TPerfMonitor&>(*Read);
  Monitor.Collect();
  EXPECT_EQ(Monitor.Items()->Items(0)->InstanceValues(0)->ObjectKeyValue(), "10");
  // The monitor's own filter is no component of a form the monitor roots.
  const std::string Written = WriteComponentForm(&Monitor);
  EXPECT_NE(Written.find("\"components\": []"), std::string::npos) << Written;
  EXPECT_EQ(ErrorOf([&] {
              ReadComponentForm(R"({"class": "TPerfMonitor", "Items": [{"CounterType": null}]})",
                                nullptr);
            }),
            "Invalid stored form at /Items/0/CounterType: property \"CounterType\" of "
            "TPerfMonitorItem is not stored");
}

}  // namespace
}  // namespace gaugery
