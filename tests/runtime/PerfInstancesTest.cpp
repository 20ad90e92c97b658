#include "PerfInstances.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "BrowsingData.h"
#include "NameTables.h"
#include "PerfObjects.h"

namespace gaugery {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using testing::LinesOf;
using ::testing::ThrowsMessage;

using PerfInstancesTest = testing::BrowsingTest;

TEST_F(PerfInstancesTest, AcceptsOnlyObjectsWithInstances) {
  TPerfInstances Instances(nullptr);
  Instances.SetObjectName("Process");
  EXPECT_THAT([&] { Instances.SetObjectName("memory"); },
              ThrowsMessage<Exception>("Object \"memory\" has no instances"));
  EXPECT_EQ(Instances.ObjectName(), "");
  EXPECT_THAT([&] { Instances.InstanceCount(); },
              ThrowsMessage<Exception>("Unknown performance object : \"\""));
  EXPECT_THAT([&] { Instances.SetObjectName("Foo"); },
              ThrowsMessage<Exception>("Unknown performance object : \"Foo\""));
  Instances.SetObjectName("Print Queue");  // no instance at the moment is fine
  EXPECT_EQ(Instances.InstanceCount(), 0);
  TStringList Names;
  Names.Add("old");
  Instances.GetInstanceNames(&Names);
  EXPECT_THAT(LinesOf(Names), IsEmpty());
  EXPECT_THAT([&] { Instances.InstanceName(0); }, ThrowsMessage<Exception>("Index out of bounds"));
}

TEST_F(PerfInstancesTest, ListsInstancesOfTheNewestSampleInBlockOrder) {
  TPerfInstances Instances(nullptr);
  Instances.SetObjectName("Process");
  TStringList Names;
  Instances.GetInstanceNames(&Names);
  EXPECT_THAT(LinesOf(Names), ElementsAre("Idle", "bash", "bash", "_Total"));
  EXPECT_EQ(Instances.InstanceCount(), 4);
  EXPECT_EQ(Instances.InstanceUniqueID(2), 42);
  EXPECT_EQ(Instances.InstanceName(3), "_Total");
  EXPECT_EQ(Instances.InstanceData(3)->UniqueID, PERF_NO_UNIQUE_ID);
  EXPECT_THAT([&] { Instances.InstanceData(-1); }, ThrowsMessage<Exception>("Index out of bounds"));

  TPerfObjects Other(nullptr);
  Other.Refresh();
  Instances.GetInstanceNames(&Names);
  EXPECT_THAT(LinesOf(Names), ElementsAre("bash", "_Total"));
}

TEST_F(PerfInstancesTest, FollowsLocaleChangesOutsideLoading) {
  TPerfInstances Instances(nullptr);
  Instances.SetObjectName("Process");
  Instances.SetLocaleID("007");
  EXPECT_EQ(Instances.ObjectName(), "Prozess");
  EXPECT_EQ(Instances.InstanceCount(), 4);
  Instances.SetLocaleID("009");
  EXPECT_EQ(Instances.ObjectName(), "Process");

  // A stored form is not checked: an object without instances gives -1 and no names.
  TPerfInstances Loaded(nullptr);
  Loaded.BeginLoading();
  Loaded.SetObjectName("Memory");
  Loaded.Loaded();
  EXPECT_EQ(Loaded.InstanceCount(), -1);
  TStringList Names;
  Loaded.GetInstanceNames(&Names);
  EXPECT_THAT(LinesOf(Names), IsEmpty());
}

}  // namespace
}  // namespace gaugery
