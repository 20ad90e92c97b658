#include <gtest/gtest.h>

#include "NameTables.h"
#include "PerfNameStrings.h"
#include "PerfTitles.h"
#include "WinGaugery.h"

namespace gaugery {
namespace {

using testing::InstallNameTables;
using testing::LinesOf;
using testing::StandardNameTables;
using Lines = std::vector<std::string>;

class LoadNameStringsTest : public ::testing::Test {
 protected:
  void SetUp() override { InstallNameTables(StandardNameTables()); }
  void TearDown() override { RestoreDefaultPerfProviders(); }
  TStringList Target;
};

TEST_F(LoadNameStringsTest, LoadsCounterNamesAndHelpTexts) {
  GetPerfInfoStrings("007", "Counter", &Target, "");
  EXPECT_EQ(LinesOf(Target), (Lines{"1=4", "2=System", "4=Speicher"}));
  GetNameStrings("007", true, &Target, "localhost");
  EXPECT_EQ(LinesOf(Target), (Lines{"3=Systemhilfe"}));
}

TEST_F(LoadNameStringsTest, OnlyTheFullLoaderKeepsBlankTexts) {
  GetPerfInfoStrings("009", "Help", &Target, "");
  EXPECT_EQ(LinesOf(Target), (Lines{"3=System help", "7= Memory help "}));
  GetNameStrings("009", true, &Target, "");
  EXPECT_EQ(LinesOf(Target), (Lines{"3=System help", "5=", "7= Memory help "}));
}

TEST_F(LoadNameStringsTest, MissingLocaleOrComputerLeavesTheTargetAsItWas) {
  Target.Add("kept");
  GetPerfInfoStrings("0FF", "Counter", &Target, "");
  GetNameStrings("0FF", false, &Target, "");
  EXPECT_EQ(LinesOf(Target), (Lines{"kept"}));
  try {
    GetPerfInfoStrings("009", "Counter", &Target, "NOSUCHHOST");
    FAIL() << "no error";
  } catch (const Exception& E) {
    EXPECT_EQ(E.Message(), "Cannot open remote registry on NOSUCHHOST (53)");
  }
  EXPECT_EQ(LinesOf(Target), (Lines{"kept"}));
}

TEST_F(LoadNameStringsTest, MissingValueGivesAnEmptyList) {
  Target.Add("stale");
  GetPerfInfoStrings("009", "NoSuchValue", &Target, "");
  EXPECT_EQ(Target.Count(), 0);
}

TEST(Locales, OneListRefilledOnEveryCall) {
  TStringList* First = Locales();
  EXPECT_EQ(LinesOf(*First), (Lines{"009", "007", "00A", "00É"}));
  First->Clear();
  EXPECT_EQ(Locales(), First);
  EXPECT_EQ(LinesOf(*First), (Lines{"009", "007", "00A", "00É"}));
}

}  // namespace
}  // namespace gaugery
