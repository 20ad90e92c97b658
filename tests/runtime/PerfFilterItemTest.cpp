// Counter items on synthetic samples: naming, locating, instances and raw values.
#include <gtest/gtest.h>

#include <string>

#include "FilterSamples.h"
#include "PerfFilter.h"

namespace gaugery {
namespace {

using testing::ErrorOf;
using testing::FilterBlock;
using testing::ServeFilterBlocks;

class PerfFilterItemTest : public ::testing::Test {
 protected:
  // A new item of the filter naming the object and counter (either may be empty).
  TPerfCounterItem* Item(const std::string& Object, const std::string& Counter = "") {
    TPerfCounterItem* Added = Filter.Items()->Add();
    Added->SetObjectName(Object);
    Added->SetCounterName(Counter);
    return Added;
  }

  test::TFakeProviders Provider = ServeFilterBlocks({FilterBlock(1), FilterBlock(2)});
  TPerfFilter Filter{nullptr};
};

TEST_F(PerfFilterItemTest, ItemWithoutNamesHasNothingToRead) {
  TPerfCounterItem* Empty = Item("");
  EXPECT_EQ(ErrorOf([&] { Empty->GetHasInstances(); }), "Invalid performance object name");
  EXPECT_EQ(ErrorOf([&] { Empty->InstanceCount(); }), "Invalid performance object name");
  EXPECT_EQ(ErrorOf([&] { Empty->CheckIndex(0); }), "Invalid performance object name");
  EXPECT_EQ(ErrorOf([&] { Empty->CtrAsInteger(); }), "Invalid counter block");
  EXPECT_EQ(ErrorOf([&] { Empty->CounterDefinition(); }), "Invalid performance counter name");
  EXPECT_EQ(Empty->Help(), "");
  EXPECT_FALSE(Empty->HasBase());
  EXPECT_EQ(Empty->GetObjectIDX(), -1);

  // Nothing is searched while the counter index is negative, not even the object.
  TPerfCounterItem* ObjectOnly = Item("Process");
  EXPECT_EQ(ErrorOf([&] { ObjectOnly->GetHasInstances(); }), "Invalid performance object name");
  EXPECT_EQ(ObjectOnly->PerfObjectType(), nullptr);
}

TEST_F(PerfFilterItemTest, NamesAreCheckedWhenSet) {
  TPerfCounterItem* Process = Item("Process", "ID Process");
  // The same object in other letter case changes nothing, not even the counter.
  Process->SetObjectName("PROCESS");
  EXPECT_EQ(Process->ObjectName(), "Process");
  EXPECT_EQ(Process->CounterName(), "ID Process");
  EXPECT_EQ(Process->InsCtrAsInteger(2), 4001);  // located by SetCounterName

  EXPECT_EQ(ErrorOf([&] { Process->SetObjectName("Nonsense"); }),
            "Invalid performance object name : Nonsense");
  EXPECT_EQ(Process->ObjectName(), "");
  EXPECT_EQ(Process->CounterName(), "");
  EXPECT_EQ(Process->PerfDataBlock(), nullptr);

  TPerfCounterItem* Memory = Item("Memory");
  EXPECT_EQ(ErrorOf([&] { Memory->SetCounterName("Nonsense"); }),
            "Invalid performance counter name : Nonsense");
  EXPECT_EQ(Memory->CounterName(), "Nonsense");
  // A known title of another object's counter cannot be located in this one.
  EXPECT_EQ(ErrorOf([&] { Memory->SetCounterName("ID Process"); }),
            "Invalid performance counter name : ID Process");
  EXPECT_NE(Memory->PerfObjectType(), nullptr);
  EXPECT_EQ(Memory->PerfCounterDefinition(), nullptr);
}

TEST_F(PerfFilterItemTest, ObjectWithoutInstancesReadsItsOwnBlock) {
  TPerfCounterItem* Available = Item("Memory", "Available Bytes");
  EXPECT_FALSE(Available->HasInstances());
  EXPECT_EQ(Available->CtrAsInteger(), -1);  // 8 bytes of -1
  EXPECT_EQ(Available->CtrAsString(), "");
  EXPECT_EQ(ErrorOf([&] { Available->InstanceCount(); }), "Performance object has no instances");
  EXPECT_EQ(ErrorOf([&] { Available->InsCtrAsInteger(0); }),
            "Performance object \"Memory\" has no instances");
  EXPECT_EQ(ErrorOf([&] { Available->GetInstanceNames(0); }),
            "Performance object \"Memory\" has no instances");
  EXPECT_EQ(ErrorOf([&] { Available->InsCtrAsString(0); }), "No instances");
  EXPECT_EQ(Available->ObjectTime(), 0);
  EXPECT_EQ(Item("Memory", "Wide DWord")->CtrAsInteger(), 1LL << 40);
}

TEST_F(PerfFilterItemTest, ObjectWithInstancesReadsByIndex) {
  TPerfCounterItem* Id = Item("Process", "ID Process");
  TPerfCounterItem* Time = Item("Process", "% Processor Time");
  EXPECT_EQ(Id->InstanceCount(), 3);
  EXPECT_EQ(Id->InstanceNames(2), "shell");
  EXPECT_EQ(Id->InstanceUniqueID(0), 10);
  EXPECT_EQ(Id->InsCtrAsInteger(1), 4294967295);  // 4 bytes all set, widened with zeros
  EXPECT_EQ(Time->InsCtrAsInteger(1), -1);        // 8 bytes of -1
  EXPECT_EQ(Time->InsCtrAsInteger(0), 1);
  EXPECT_EQ(Id->ObjectTime(), 5001);
  EXPECT_EQ(Id->ObjectFreq(), 10000000);
  EXPECT_EQ(Id->InsCtrAsString(7), "");
  EXPECT_EQ(ErrorOf([&] { Id->CtrAsInteger(); }), "Instance not specified");
  EXPECT_EQ(ErrorOf([&] { Id->CtrAsString(); }), "Instance not specified");
  EXPECT_EQ(ErrorOf([&] { Id->InsCtrAsInteger(3); }), "Index \"3\" out of bounds [0..2]");
  EXPECT_EQ(ErrorOf([&] { Id->InsCtrAsInteger(-1); }), "Index \"-1\" out of bounds [0..2]");
  EXPECT_EQ(ErrorOf([&] { Id->GetInstanceUniqueID(3); }), "Index \"3\" out of bounds [0..2]");
}

TEST_F(PerfFilterItemTest, ObjectWithNoInstancesNowHasNoCounterBlock) {
  TPerfCounterItem* Cpu = Item("Processor", "% Processor Time");
  EXPECT_TRUE(Cpu->HasInstances());
  EXPECT_EQ(Cpu->InstanceCount(), 0);
  EXPECT_EQ(ErrorOf([&] { Cpu->CtrAsInteger(); }), "Invalid counter block");
  EXPECT_EQ(ErrorOf([&] { Cpu->InsCtrAsInteger(0); }), "Invalid counter block");
  EXPECT_EQ(ErrorOf([&] { Cpu->ObjectTime(); }), "Invalid counter block");
  EXPECT_EQ(ErrorOf([&] { Cpu->GetInstanceNames(0); }), "Index \"0\" out of bounds [0..-1]");
}

TEST_F(PerfFilterItemTest, InstanceNamesNeedTheCounterLocatedToo) {
  TPerfCounterItem* Wrong = Item("Process");
  EXPECT_THROW(Wrong->SetCounterName("Available Bytes"), Exception);
  EXPECT_TRUE(Wrong->HasInstances());  // the object is located
  EXPECT_EQ(ErrorOf([&] { Wrong->GetInstanceNames(0); }), "Invalid counter block");
  EXPECT_EQ(ErrorOf([&] { Wrong->GetInstanceUniqueID(0); }), "Invalid counter block");
  EXPECT_EQ(ErrorOf([&] { Wrong->GetInstanceNames(5); }), "Index \"5\" out of bounds [0..2]");
}

TEST_F(PerfFilterItemTest, FractionsReadTheBaseThatDirectlyFollows) {
  TPerfCounterItem* Ratio = Item("Memory", "Hit Ratio");
  EXPECT_TRUE(Ratio->HasBase());
  EXPECT_EQ(Ratio->CtrAsInteger(), 3);
  EXPECT_EQ(Ratio->CtrBaseAsInteger(), 4);

  TPerfCounterItem* Fraction = Item("Process", "Fraction");
  EXPECT_EQ(Fraction->InsCtrBaseAsInteger(2), 12);
  EXPECT_EQ(ErrorOf([&] { Fraction->CtrBaseAsInteger(); }), "Instance not specified");
  EXPECT_EQ(ErrorOf([&] { Fraction->InsCtrBaseAsInteger(3); }), "Index \"3\" out of bounds [0..2]");

  // Followed by a definition of another subtype, or by none at all: no base.
  for (TPerfCounterItem* Lonely :
       {Item("Process", "Lonely Fraction"), Item("Memory", "Last Fraction")}) {
    EXPECT_FALSE(Lonely->HasBase());
    EXPECT_EQ(ErrorOf([&] { Lonely->CtrBaseAsInteger(); }), "Invalid counter base block");
    EXPECT_EQ(ErrorOf([&] { Lonely->InsCtrBaseAsInteger(0); }), "Invalid counter base block");
  }
  EXPECT_FALSE(Item("Process", "ID Process")->HasBase());
}

TEST_F(PerfFilterItemTest, OnlyFourAndEightByteCountersAreRead) {
  Filter.Collect();
  for (const char* Name : {"Variable", "Empty", "Odd Size"}) {
    TPerfCounterItem* Odd = Item("Memory", Name);
    EXPECT_EQ(ErrorOf([&] { Odd->CtrAsInteger(); }), "Invalid counter block size") << Name;
    EXPECT_NE(Odd->CounterDefinition(), nullptr) << Name;
  }
  // The size field is checked before the index.
  TPerfCounterItem* ZeroSize = Item("Process", "Zero Size");
  EXPECT_EQ(ErrorOf([&] { ZeroSize->InsCtrAsInteger(99); }), "Invalid counter block size");
}

TEST_F(PerfFilterItemTest, AssignTakesTheObjectOnly) {
  TPerfCounterItem* Source = Item("Process", "ID Process");
  TPerfCounterItem* Target = Item("Memory", "Available Bytes");
  Target->Assign(Source);
  EXPECT_EQ(Target->ObjectName(), "Process");
  EXPECT_EQ(Target->CounterName(), "");

  TPerfCounterItem* Same = Item("process", "% Processor Time");
  Same->Assign(Source);
  EXPECT_EQ(Same->ObjectName(), "process");
  EXPECT_EQ(Same->CounterName(), "% Processor Time");

  EXPECT_EQ(ErrorOf([&] { Target->Assign(Filter.Items()); }), "Incompatible types");
  EXPECT_EQ(ErrorOf([&] { Target->Assign(nullptr); }), "Incompatible types");
}

TEST_F(PerfFilterItemTest, HelpComesFromTheLinkedTableUntilItGoes) {
  TPerfCounterItem* Id = Item("Process", "ID Process");
  EXPECT_EQ(Id->Help(), "");
  auto* Helps = new TPerfHelps(nullptr);
  Filter.SetHelps(Helps);
  EXPECT_EQ(Id->Help(), "The process identifier.");
  delete Helps;
  EXPECT_EQ(Filter.Helps(), nullptr);
  EXPECT_EQ(Id->Help(), "");
}

TEST_F(PerfFilterItemTest, TitlesListedUnderSeveralIndexesFindTheRecordCarryingThem) {
  // "Network" and "Bytes Received/sec" are listed first under 500 and 1500; the
  // sample holds them under 502 and 1502 only.
  TPerfCounterItem* Received = Item("Network", "Bytes Received/sec");
  EXPECT_EQ(Received->CtrAsInteger(), 100);
  EXPECT_EQ(Received->GetObjectIDX(), 502);
  EXPECT_EQ(Received->GetCounterIDX(), 1502);
  Filter.Collect();
  EXPECT_EQ(Received->CtrAsInteger(), 200);
}

TEST_F(PerfFilterItemTest, ItemsOutsideAFilterRefuseToWork) {
  TCollection Plain(&CollectionItemClass<TPerfCounterItem>);
  auto* Stray = static_cast<TPerfCounterItem*>(Plain.Add());
  EXPECT_EQ(Stray->Filter(), nullptr);
  EXPECT_EQ(ErrorOf([&] { Stray->SetObjectName("Process"); }), "Counter item belongs to no filter");
}

}  // namespace
}  // namespace gaugery
