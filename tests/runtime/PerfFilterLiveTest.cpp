// The filter on the live machine's data and names.
#include <gtest/gtest.h>
#include <unistd.h>

#include "PerfFilter.h"

namespace gaugery {
namespace {

bool ListsThisProcess(TPerfCounterItem& Id) {
  for (std::int32_t Index = 0; Index < Id.InstanceCount(); ++Index) {
    if (Id.InsCtrAsInteger(Index) == getpid()) return true;
  }
  return false;
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
