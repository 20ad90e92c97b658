// The drop-down editors of locale, object and counter names, on the live machine.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "CounterPropertyEditor.h"
#include "DesignTesting.h"
#include "LocalePropertyEditor.h"
#include "ObjectPropertyEditor.h"
#include "PerfFilter.h"
#include "PerfInstances.h"
#include "PerfMonitor.h"

namespace gaugery {
namespace {

using ::testing::Contains;
using testing::ErrorOf;
using ::testing::IsSupersetOf;
using testing::LinesOf;
using ::testing::Not;
using testing::ValuesOf;

std::unique_ptr<TPropertyEditor> EditorFor(TPersistent* Component, const std::string& Property) {
  auto Editor = CreatePropertyEditor({Component}, Property);
  if (!Editor) throw std::logic_error("no editor for " + Property);
  return Editor;
}

std::vector<std::string> ObjectTitles(const std::string& Locale) {
  TPerfObjects Objects(nullptr);
  Objects.SetLocaleID(Locale);
  TStringList Titles;
  Objects.GetObjectTitles(&Titles);
  return LinesOf(Titles);
}

std::vector<std::string> CounterTitles(const std::string& Locale, const std::string& Object) {
  TPerfCounters Counters(nullptr);
  Counters.SetLocaleID(Locale);
  Counters.SetObjectName(Object);
  TStringList Titles;
  Counters.GetCounterTitles(&Titles);
  return LinesOf(Titles);
}

std::string GermanTitle(const std::string& Index) {
  TPerfTitles German(nullptr);
  German.SetLocaleID("007");
  return German.TitleByIdx(Index);
}

TEST(LocaleEditorLiveTest, OffersEveryInstalledLocaleEvenThroughTheTablesBaseClass) {
  TPerfHelps Helps(nullptr);
  auto Editor = EditorFor(&Helps, "LocaleID");
  EXPECT_EQ(Editor->GetAttributes(), 41u);
  TStringList Installed;
  Installed.Assign(Locales());
  EXPECT_EQ(ValuesOf(*Editor), LinesOf(Installed));
  EXPECT_THAT(ValuesOf(*Editor), IsSupersetOf({"009", "007"}));

  Editor->SetValue("007");
  EXPECT_EQ(Helps.LocaleID(), "007");
  EXPECT_EQ(Editor->GetValue(), "007");
}

TEST(ObjectEditorLiveTest, OffersTheLocalObjectsInBlockOrderInTheComponentsLocale) {
  TPerfCounters Counters(nullptr);
  Counters.SetComputerName("faraway");  // the list is the local computer's all the same
  auto Editor = EditorFor(&Counters, "ObjectName");
  EXPECT_EQ(Editor->GetAttributes(), 33u);
  EXPECT_EQ(ValuesOf(*Editor), ObjectTitles("009"));
  EXPECT_THAT(ValuesOf(*Editor), Contains("Process"));

  // Each call follows the component's current locale.
  Counters.SetLocaleID("007");
  EXPECT_EQ(ValuesOf(*Editor), ObjectTitles("007"));
  EXPECT_THAT(ValuesOf(*Editor), Contains(GermanTitle("230")));
}

TEST(ObjectEditorLiveTest, ItemsTakeTheLocaleOfTheirFilterOrMonitor) {
  TPerfFilter Filter(nullptr);
  Filter.SetLocaleID("007");
  auto FilterEditor = EditorFor(Filter.Items()->Add(), "ObjectName");
  EXPECT_EQ(ValuesOf(*FilterEditor), ObjectTitles("007"));

  TPerfMonitor Monitor(nullptr);
  Monitor.SetLocaleID("009");
  auto MonitorEditor = EditorFor(Monitor.Items()->Add(), "ObjectName");
  EXPECT_EQ(ValuesOf(*MonitorEditor), ObjectTitles("009"));

  TPerfInstances Instances(nullptr);
  auto InstancesEditor = EditorFor(&Instances, "ObjectName");
  InstancesEditor->SetValue("Process");
  EXPECT_EQ(Instances.ObjectName(), "Process");
  // The component's setter judges the name.
  EXPECT_EQ(ErrorOf([&] { FilterEditor->SetValue("Bogus"); }),
            "Invalid performance object name : Bogus");
}

TEST(CounterEditorLiveTest, OffersTheCountersOfTheItemsObjectInTheItemsLocale) {
  TPerfFilter Filter(nullptr);
  Filter.SetLocaleID("009");
  TPerfCounterItem* Item = Filter.Items()->Add();
  Item->SetObjectName("Process");
  auto Editor = EditorFor(Item, "CounterName");
  EXPECT_EQ(Editor->GetAttributes(), 33u);
  EXPECT_EQ(ValuesOf(*Editor), CounterTitles("009", "Process"));
  EXPECT_THAT(ValuesOf(*Editor), IsSupersetOf({"ID Process", "Elapsed Time"}));

  TPerfMonitor Monitor(nullptr);
  Monitor.SetLocaleID("007");
  TPerfMonitorItem* Watched = Monitor.Items()->Add();
  Watched->SetObjectName(GermanTitle("230"));
  auto German = EditorFor(Watched, "CounterName");
  EXPECT_EQ(ValuesOf(*German), CounterTitles("007", GermanTitle("230")));
  EXPECT_THAT(ValuesOf(*German), Not(Contains("ID Process")));

  Editor->SetValue("ID Process");
  EXPECT_EQ(Item->CounterName(), "ID Process");
}

TEST(CounterEditorLiveTest, AnItemWithoutObjectGetsTheUnknownObjectError) {
  TPerfFilter Filter(nullptr);
  TPerfCounterItem* Item = Filter.Items()->Add();
  auto Editor = EditorFor(Item, "CounterName");
  EXPECT_EQ(ErrorOf([&] { ValuesOf(*Editor); }), "Unknown performance object : \"\"");
  // The same editor follows the item once it names an object.
  Item->SetObjectName("Memory");
  EXPECT_EQ(ValuesOf(*Editor), CounterTitles("009", "Memory"));
}

TEST(NameListEditorsLiveTest, RefuseComponentsTheyDoNotServe) {
  TPerfFilter Filter(nullptr);
  const TPropertyInfo& LocaleID = *FindPublishedProperty(*ClassInfoOf(&Filter), "LocaleID");
  TObjectPropertyEditor Objects({&Filter}, LocaleID);
  EXPECT_EQ(ErrorOf([&] { ValuesOf(Objects); }), "Invalid property");

  TPerfCounters Counters(nullptr);
  Counters.SetObjectName("Process");
  TCounterPropertyEditor CountersOfList({&Counters}, LocaleID);
  EXPECT_EQ(ErrorOf([&] { ValuesOf(CountersOfList); }), "Invalid property");
}

}  // namespace
}  // namespace gaugery
