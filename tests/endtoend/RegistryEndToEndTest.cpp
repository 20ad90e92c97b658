// The system's registry with the test provider installed: name lists, locales, the
// data block and its buffer growth, as the run-time units read them.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "EndToEnd.h"
#include "ErrorOf.h"
#include "PerfData.h"
#include "PerfTitles.h"
#include "TestObjects.h"
#include "WinGaugery.h"

namespace gaugery::test {
namespace {

using ::testing::Contains;
using testing::ErrorOf;

// The title indexes of the objects of a snapshot's block, in block order.
std::vector<DWORD> ObjectIndexes(TPerfData& Snapshot) {
  std::vector<DWORD> Indexes;
  PPERF_OBJECT_TYPE Object = FirstObject(Snapshot.PerfData());
  for (DWORD Index = 0; Index < Snapshot.PerfData()->NumObjectTypes; ++Index) {
    Indexes.push_back(Object->ObjectNameTitleIndex);
    Object = NextObject(Object);
  }
  return Indexes;
}

TEST_F(EndToEnd, LocalesHoldTheProvidersLocale) {
  EXPECT_THAT(LinesOf(*Locales()), Contains(kTestLocale));
}

TEST_F(EndToEnd, TitlesAndHelpTextsComeFromTheLocalesNameLists) {
  TPerfTitles Titles(nullptr);
  Titles.SetLocaleID(kTestLocale);
  EXPECT_EQ(Titles.TitleByIdx("9000"), "Prüfgerät");
  EXPECT_EQ(Titles.IdxOfTitle("größte MENGE"), "9006");
  EXPECT_EQ(Titles.IdxOfTitle("ZÄHLER"), "9002");
  TPerfHelps Helps(nullptr);
  Helps.SetLocaleID(kTestLocale);
  EXPECT_EQ(Helps.HelpByIdx("9003"), "Zählerstand des Geräts.");
  EXPECT_EQ(Helps.HelpByIdx("9002"), "");

  TStringList Loaded;
  GetNameStrings(kTestLocale, false, &Loaded, "");
  EXPECT_THAT(LinesOf(Loaded), Contains("9010=Prüfstand"));
}

TEST_F(EndToEnd, BufferDoublesFrom8192UntilTheBlockFits) {
  Provider.Devices = 500;
  TPerfData Snapshot("Global", "");
  EXPECT_EQ(Snapshot.BufferSize(), 65536u);
  ASSERT_EQ(Provider.OfferCount, 4) << "8 KB, 16 KB and 32 KB are too small";
  for (int Query = 0; Query < Provider.OfferCount; ++Query) {
    // The provider is offered the buffer less the header the system writes before it.
    const DWORD Buffer = 8192u << Query;
    EXPECT_LE(Provider.Offered[Query], Buffer);
    EXPECT_GT(Provider.Offered[Query], Buffer - 512);
  }
  ASSERT_EQ(ObjectIndexes(Snapshot), (std::vector<DWORD>{kDeviceObject, kStationObject}));
  EXPECT_EQ(FirstObject(Snapshot.PerfData())->NumInstances, 500);

  Snapshot.Refresh();
  EXPECT_EQ(Provider.OfferCount, 5) << "the grown buffer is kept";
  EXPECT_EQ(Snapshot.BufferSize(), 65536u);
}

TEST_F(EndToEnd, EveryRefreshCollectsAFreshSample) {
  TPerfData Snapshot("Global", "");
  const std::uint64_t First = Snapshot.Generation();
  const int Collects = Provider.Collects;
  Snapshot.Refresh();
  EXPECT_EQ(Provider.Collects, Collects + 1);
  EXPECT_GT(Snapshot.Generation(), First);
  EXPECT_EQ(Snapshot.PrevPerfData()->NumObjectTypes, 2u);
}

// Wine reads the objects 88 bytes before where it asked for them: the block it returns
// for a provider that writes them where it was asked is malformed from its first object.
// Its header is sound, so the block is kept without objects, and the refresh says why;
// no malformed object is ever walked. Elsewhere that block is the right one.
TEST_F(EndToEnd, ObjectsPlacedWhereTheSystemDoesNotReadThemAreRefused) {
  TPerfData Snapshot("Global", "");
  Snapshot.Refresh();  // both buffers hold a block now, the spare one an older sample
  const std::uint64_t Good = Snapshot.Generation();
  Provider.NaiveLayout = true;
  Snapshot.Refresh();
  TPerfData Fresh("Global", "");
  if (Provider.UnderWine) {
    for (const TPerfData* Cut : {&Snapshot, &Fresh}) {
      EXPECT_EQ(Cut->LastRefresh().Result, TRefreshResult::Cut);
      EXPECT_EQ(Cut->LastRefresh().Objects, 2u);
      EXPECT_EQ(Cut->LastRefresh().KeptObjects, 0u);
      EXPECT_FALSE(Cut->LastRefresh().Problem.empty());
    }
    EXPECT_EQ(ObjectIndexes(Snapshot), std::vector<DWORD>{}) << "nothing of it walked";
    EXPECT_EQ(Fresh.PerfData()->NumObjectTypes, 0u);
  } else {
    EXPECT_GT(Snapshot.Generation(), Good);
    EXPECT_EQ(ObjectIndexes(Fresh), (std::vector<DWORD>{kDeviceObject, kStationObject}));
  }
}

TEST_F(EndToEnd, UnknownComputerFailsWithTheSystemsCode) {
  EXPECT_EQ(ErrorOf([] { TPerfData Snapshot("Global", "NOSUCHHOST"); }),
            "Error connecting to remote registry on NOSUCHHOST (53)");
  TStringList Target;
  EXPECT_EQ(ErrorOf([&] { GetPerfInfoStrings(kTestLocale, "Counter", &Target, "NOSUCHHOST"); }),
            "Cannot open remote registry on NOSUCHHOST (53)");
}

}  // namespace
}  // namespace gaugery::test
