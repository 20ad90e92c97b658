#include <gtest/gtest.h>

#include <memory>

#include "BrowsingData.h"
#include "PerfCounters.h"
#include "PerfInstances.h"
#include "PerfObjects.h"
#include "framework/StoredForm.h"

namespace gaugery {
namespace {

using BrowsingFormTest = testing::BrowsingTest;

template <class T>
T& Named(TComponent& Form, const std::string& Name) {
  auto* Component = dynamic_cast<T*>(Form.FindComponent(Name));
  if (Component == nullptr) throw std::runtime_error("no " + Name + " in the form");
  return *Component;
}

TEST_F(BrowsingFormTest, ListsKeepTheirSettingsAcrossAStoredForm) {
  TPerfObjects Keeper(nullptr);
  Keeper.ObjectCount();  // holds the first sample for both forms
  std::string Text;
  {
    TComponent Form(nullptr);
    auto* Helps = new TPerfHelps(&Form);
    Helps->SetName("Helps");
    auto* Objects = new TPerfObjects(&Form);
    Objects->SetName("Objects");
    Objects->SetLocaleID("007");
    Objects->SetHelps(Helps);
    Objects->SetComputerName("localhost");
    auto* Counters = new TPerfCounters(&Form);
    Counters->SetName("Counters");
    Counters->SetObjectName("Process");
    Counters->SetLocaleID("007");
    Counters->SetHelps(Helps);
    auto* Instances = new TPerfInstances(&Form);
    Instances->SetName("Instances");
    Instances->SetObjectName("Process");
    Text = WriteComponentForm(&Form);
  }
  // A stored object without instances is taken unchecked.
  const std::string Process = R"("ObjectName": "Process")";
  Text.replace(Text.rfind(Process), Process.size(), R"("ObjectName": "Memory")");

  std::unique_ptr<TComponent> Form(ReadComponentForm(Text, nullptr));
  auto& Helps = Named<TPerfHelps>(*Form, "Helps");
  auto& Objects = Named<TPerfObjects>(*Form, "Objects");
  auto& Counters = Named<TPerfCounters>(*Form, "Counters");
  auto& Instances = Named<TPerfInstances>(*Form, "Instances");
  EXPECT_EQ(Objects.LocaleID(), "007");
  EXPECT_EQ(Objects.Helps(), &Helps);
  EXPECT_EQ(Objects.ComputerName(), "localhost");
  // ObjectName comes before LocaleID in the form: it is stored untranslated.
  EXPECT_EQ(Counters.ObjectName(), "Prozess");
  EXPECT_EQ(Counters.LocaleID(), "007");
  EXPECT_EQ(Counters.Helps(), &Helps);
  EXPECT_EQ(Counters.CounterTitle(2), "Threadanzahl");
  EXPECT_EQ(Instances.ObjectName(), "Memory");
  EXPECT_EQ(Instances.InstanceCount(), -1);
}

}  // namespace
}  // namespace gaugery
