// The browsing components, the filter and the monitor on the test objects as the
// system's registry serves them.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "EndToEnd.h"
#include "PerfCounters.h"
#include "PerfFilter.h"
#include "PerfInstances.h"
#include "PerfMonitor.h"
#include "PerfObjects.h"
#include "TestObjects.h"

namespace gaugery::test {
namespace {

using ::testing::ElementsAre;

// Adds an item for the counter of the object to a filter's or a monitor's items.
template <class TItems>
auto AddItem(TItems* Items, const std::string& Object, const std::string& Counter) {
  auto* Item = Items->Add();
  Item->SetObjectName(Object);
  Item->SetCounterName(Counter);
  return Item;
}

TEST_F(EndToEnd, ObjectListShowsTheTestObjectsInBlockOrder) {
  TPerfHelps Helps(nullptr);
  Helps.SetLocaleID(kTestLocale);
  TPerfObjects Objects(nullptr);
  Objects.SetLocaleID(kTestLocale);
  Objects.SetHelps(&Helps);
  TStringList Titles;
  Objects.GetObjectTitles(&Titles);
  EXPECT_THAT(LinesOf(Titles), ElementsAre("Prüfgerät", "Prüfstand"));
  EXPECT_EQ(Objects.IndexOfObject("PRÜFSTAND"), 1);
  EXPECT_EQ(Objects.HelpOfObject("Prüfstand"), "Der Prüfstand selbst.");
}

TEST_F(EndToEnd, CounterAndInstanceListsOfTheDeviceObject) {
  TPerfCounters Counters(nullptr);
  Counters.SetLocaleID(kTestLocale);
  Counters.SetObjectName("prüfgerät");
  TStringList Titles;
  Counters.GetCounterTitles(&Titles);
  EXPECT_THAT(LinesOf(Titles), ElementsAre("Zähler", "Ereignisse", "Größte Menge"));
  EXPECT_EQ(Counters.CounterData(2)->CounterType, static_cast<DWORD>(PERF_COUNTER_LARGE_RAWCOUNT));

  TPerfInstances Instances(nullptr);
  Instances.SetLocaleID(kTestLocale);
  Instances.SetObjectName("Prüfgerät");
  TStringList Names;
  Instances.GetInstanceNames(&Names);
  EXPECT_THAT(LinesOf(Names), ElementsAre("Gerät 1", "Gerät 2", "Gerät 3"));
}

TEST_F(EndToEnd, FilterReadsTheRawValues) {
  TPerfFilter Filter(nullptr);
  Filter.SetLocaleID(kTestLocale);
  TPerfCounterItem* Readings = AddItem(Filter.Items(), "Prüfgerät", "Zähler");
  TPerfCounterItem* Capacity = AddItem(Filter.Items(), "Prüfgerät", "Größte Menge");
  TPerfCounterItem* Load = AddItem(Filter.Items(), "Prüfstand", "Auslastung");
  Filter.Collect();
  ASSERT_EQ(Readings->InstanceCount(), kDefaultDevices);
  for (int Device = 1; Device <= kDefaultDevices; ++Device) {
    EXPECT_EQ(Readings->InstanceNames(Device - 1), DeviceName(Device));
    EXPECT_EQ(Readings->InsCtrAsInteger(Device - 1), 10 * Device);
    EXPECT_EQ(Capacity->InsCtrAsInteger(Device - 1), kCapacityBase + Device);
  }
  EXPECT_EQ(Load->CtrAsInteger(), 3);
}

TEST_F(EndToEnd, MonitorComputesValuesFromTwoSamples) {
  TPerfMonitor Monitor(nullptr);
  Monitor.SetLocaleID(kTestLocale);
  TPerfMonitorItem* Events = AddItem(Monitor.Items(), "Prüfgerät", "Ereignisse");
  TPerfMonitorItem* Load = AddItem(Monitor.Items(), "Prüfstand", "Auslastung");
  Monitor.Collect();
  Monitor.Collect();
  ASSERT_EQ(Events->InstanceValueCount(), kDefaultDevices);
  for (int Device = 1; Device <= kDefaultDevices; ++Device) {
    const TPerfMonitorCounterValue* Record = Events->InstanceValues(Device - 1);
    EXPECT_EQ(Record->InstanceName(), DeviceName(Device));
    // Each sample adds 100 events per device number.
    EXPECT_EQ(Record->AsFloat(), 100.0 * Device);
  }
  const TPerfMonitorCounterValue* Share = Load->InstanceValues(0);
  EXPECT_EQ(Share->AsFloat(), 75.0);
  EXPECT_EQ(Share->AsInteger(), -2) << "a fraction";
}

}  // namespace
}  // namespace gaugery::test
