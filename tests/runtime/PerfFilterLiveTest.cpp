// The filter on the live machine's data and names.
#include <gtest/gtest.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <memory>
#include <string>

#include "PerfFilter.h"
#include "framework/StoredForm.h"

namespace gaugery {
namespace {

bool ListsId(TPerfCounterItem& Id, std::int64_t Value) {
  for (std::int32_t Index = 0; Index < Id.InstanceCount(); ++Index) {
    if (Id.InsCtrAsInteger(Index) == Value) return true;
  }
  return false;
}

bool ListsThisProcess(TPerfCounterItem& Id) { return ListsId(Id, getpid()); }

bool ListsThisThread(TPerfCounterItem& Id) { return ListsId(Id, syscall(SYS_gettid)); }

// The Thread object, which "Global" leaves out, is read by the items that name it.
TEST(PerfFilterLive, ItemsNamingThreadReadItBesideTheOtherObjects) {
  TPerfFilter Filter(nullptr);
  TPerfCounterItem* Process = Filter.Items()->Add();
  Process->SetObjectName("Process");
  Process->SetCounterName("ID Process");
  TPerfCounterItem* Thread = Filter.Items()->Add();
  Thread->SetObjectName("Thread");
  Thread->SetCounterName("ID Thread");
  EXPECT_TRUE(ListsThisThread(*Thread));
  Filter.Collect();
  EXPECT_TRUE(ListsThisThread(*Thread));
  EXPECT_TRUE(ListsThisProcess(*Process));
}

// Loaded items are first located by Collect: the ones located before Thread came into
// the sample are located again in the block that carries it.
TEST(PerfFilterLive, StoredItemsNamingThreadAreAllReadableAfterTheFirstCollect) {
  std::unique_ptr<TComponent> Stored(ReadComponentForm(R"({"class": "TPerfFilter", "LocaleID":
      "009", "Items": [{"ObjectName": "Process", "CounterName": "ID Process"},
      {"ObjectName": "Thread", "CounterName": "ID Thread"}]})",
                                                       nullptr));
  auto& Loaded = static_cast<TPerfFilter&>(*Stored);
  Loaded.Collect();
  EXPECT_TRUE(ListsThisProcess(*Loaded.Items()->Items(0)));
  EXPECT_TRUE(ListsThisThread(*Loaded.Items()->Items(1)));
}

TEST(PerfFilterLive, LocaleChangeRenamesToTheTitlesOfTheSameIndexesAndBack) {
  TPerfFilter Filter(nullptr);
  Filter.SetLocaleID("009");
  TPerfCounterItem* Id = Filter.Items()->Add();
  Id->SetObjectName("Process");
  Id->SetCounterName("ID Process");
  Filter.Collect();
  EXPECT_TRUE(ListsThisProcess(*Id));

  TPerfTitles German(nullptr);
  German.SetLocaleID("007");
  Filter.SetLocaleID("007");
  EXPECT_EQ(Id->ObjectName(), German.TitleByIdx("230"));
  EXPECT_EQ(Id->CounterName(), German.TitleByIdx("784"));
  EXPECT_NE(Id->ObjectName(), "Process");
  EXPECT_TRUE(ListsThisProcess(*Id));  // the positions survive the change

  Filter.SetLocaleID("009");
  EXPECT_EQ(Id->ObjectName(), "Process");
  EXPECT_EQ(Id->CounterName(), "ID Process");
  Filter.Collect();
  EXPECT_TRUE(ListsThisProcess(*Id));
}

}  // namespace
}  // namespace gaugery
