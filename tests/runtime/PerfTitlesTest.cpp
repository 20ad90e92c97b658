#include "PerfTitles.h"

#include <gtest/gtest.h>

#include <memory>

#include "NameTables.h"
#include "framework/StoredForm.h"
#include "framework/TextCompare.h"

namespace gaugery {
namespace {

using testing::InstallNameTables;
using testing::LinesOf;
using Lines = std::vector<std::string>;
using testing::StandardNameTables;

// Looks at the shared entry a table holds without keeping a reference to it.
std::int32_t RefCountOf(const std::string& Locale, const std::string& KeyName) {
  TPerfInfoData* Data = AcquirePerfInfoData(Locale, KeyName, "");
  std::int32_t Others = Data->RefCount - 1;
  ReleasePerfInfoData(Data);
  return Others;
}

int CachedEntries() { return PerfInfoDataCache() ? PerfInfoDataCache()->Count() : 0; }

class PerfTitlesTest : public ::testing::Test {
 protected:
  void SetUp() override { InstallNameTables(StandardNameTables()); }
  void TearDown() override {
    EXPECT_EQ(PerfInfoDataCache(), nullptr) << "a table's contents outlived it";
    RestoreDefaultPerfProviders();
  }
};

TEST_F(PerfTitlesTest, TablesOfOneLocaleShareCountedContents) {
  auto First = std::make_unique<TPerfTitles>(nullptr);
  TPerfTitles Second(nullptr);
  First->Init();
  EXPECT_EQ(Second.Title(1), "System");
  EXPECT_EQ(CachedEntries(), 1);
  EXPECT_EQ(RefCountOf("009", "Counter"), 2);
  First.reset();
  EXPECT_EQ(RefCountOf("009", "Counter"), 1);
  EXPECT_EQ(Second.TitleByIdx("4"), "Memory");
}

TEST_F(PerfTitlesTest, TitlesAndHelpsLoadSeparateEntries) {
  TPerfTitles Titles(nullptr);
  TPerfHelps Helps(nullptr);
  EXPECT_EQ(Titles.TitleIdx(0), "1");
  EXPECT_EQ(Titles.Title(0), "18");
  EXPECT_EQ(Helps.HelpCount(), 2);  // the blank text is left out
  EXPECT_EQ(Helps.HelpByIdx("7"), " Memory help ");
  EXPECT_EQ(Helps.IdxOfHelp("system HELP"), "3");
  EXPECT_EQ(CachedEntries(), 2);
}

TEST_F(PerfTitlesTest, NamesDifferingInLetterCaseReuseTheEntry) {
  TPerfInfoData* Lower = AcquirePerfInfoData("00a", "counter", "localhost");
  TPerfInfoData* Upper = AcquirePerfInfoData("00A", "COUNTER", "LOCALHOST");
  TPerfInfoData* Local = AcquirePerfInfoData("00A", "Counter", "");
  EXPECT_EQ(Lower, Upper);
  EXPECT_EQ(Upper->RefCount, 2);
  EXPECT_NE(Local, Upper);
  ReleasePerfInfoData(Lower);
  EXPECT_EQ(Lower, nullptr);
  ReleasePerfInfoData(Upper);
  ReleasePerfInfoData(Local);
  ReleasePerfInfoData(Local);  // null: nothing happens
}

TEST_F(PerfTitlesTest, LookupsFindTheFirstMatchIgnoringCase) {
  TPerfTitles Titles(nullptr);
  EXPECT_EQ(Titles.TitleCount(), 8);  // "1" pair, seven texts, the blank one left out
  EXPECT_EQ(Titles.IdxOfTitle("MEMORY"), "4");
  EXPECT_EQ(Titles.IdxOfTitle("repeated"), "12");
  EXPECT_EQ(Titles.IndexOfTitle("äPFEL"), 7);
  EXPECT_EQ(Titles.IndexOfIdx("18"), 7);
  // Index 10 is listed twice: both entries carry the text of the first.
  EXPECT_EQ(Titles.Title(3), "First");
  EXPECT_EQ(Titles.Title(4), "First");
  EXPECT_EQ(Titles.TitleByIdx("10"), "First");
  EXPECT_EQ(Titles.IndexOfTitle("Second"), -1);
}

TEST_F(PerfTitlesTest, MissesGiveTheEmptyAnswers) {
  TPerfTitles Titles(nullptr);
  EXPECT_EQ(Titles.IdxOfTitle("Nothing"), "-1");
  EXPECT_EQ(Titles.TitleByIdx("99"), "");
  EXPECT_EQ(Titles.TitleByIdx("04"), "") << "index texts are plain decimal";
  EXPECT_EQ(Titles.IndexOfTitle(""), -1);
  EXPECT_EQ(Titles.IndexOfIdx("16"), -1);
  try {
    Titles.TitleIdx(8);
    FAIL() << "no list error";
  } catch (const EListError& E) {
    EXPECT_EQ(E.Message(), "List index out of bounds (8)");
  }
}

TEST_F(PerfTitlesTest, ATitleIndexAfterAHashNamesWhatTheTableLacks) {
  TPerfTitles Titles(nullptr);
  EXPECT_EQ(Titles.IdxOfTitle("#9000"), "9000");
  EXPECT_EQ(Titles.IdxOfTitle("#4"), "4") << "whether the table has a title or not";
  EXPECT_EQ(Titles.IdxOfTitle("#007"), "7");
  EXPECT_EQ(Titles.IdxOfTitle("#2147483647"), "2147483647");
  for (const char* Text : {"#", "# 9", "#9x", "#-1", "9000", "#2147483648", "#99999999999"}) {
    EXPECT_EQ(Titles.IdxOfTitle(Text), "-1") << Text;
  }
}

TEST_F(PerfTitlesTest, HashLookupsAnswerLikeALinearSearch) {
  TPerfTitles Titles(nullptr);
  TPerfInfoData* Data = AcquirePerfInfoData("009", "Counter", "");
  // Full-width forms differ from the plain ones beyond letter case.
  for (const char* Probe : {"SYSTEM", "ÄPFEL", "Äpfel ", "repeated", "First", "10", "010", "", "1",
                            "18", "System\t", "  \t", "１８", "ＳＹＳＴＥＭ", "0", "-1"}) {
    EXPECT_EQ(Titles.IndexOfTitle(Probe), Data->Items.IndexOf(Probe)) << Probe;
    EXPECT_EQ(Titles.IndexOfIdx(Probe), Data->Idx.IndexOf(Probe)) << Probe;
  }
  EXPECT_EQ(Titles.TitleByIdx("２"), "") << "an index is found only in plain decimal";
  EXPECT_EQ(Titles.IdxOfTitle("ＳＹＳＴＥＭ"), "-1");
  ReleasePerfInfoData(Data);
}

TEST(PerfInfoData, IndexesOfAnyLinesAnswerLikeALinearSearch) {
  TStringList Loaded;
  // Whether "1\u00AD" equals "1" is the platform's: Windows' comparison ignores the
  // soft hyphen, case folding does not.
  for (const char* Line : {"7=a", "x=b", "X=c", "07=d", "1\u00AD=e", "1=f", "7=g", "=h"})
    Loaded.Add(Line);
  TPerfInfoData Data;
  Data.Fill(Loaded);
  const std::string One = AnsiSameText("1\u00AD", "1") ? "e" : "f";
  EXPECT_EQ(LinesOf(Data.Items), (Lines{"a", "b", "b", "d", "e", One, "a", "h"}));
  for (const char* Probe : {"7", "x", "X", "07", "1", "１", "", "a", "B", "e", "g", "h"}) {
    EXPECT_EQ(Data.IndexOfIdx(Probe), Data.Idx.IndexOf(Probe)) << Probe;
    EXPECT_EQ(Data.IndexOfItem(Probe), Data.Items.IndexOf(Probe)) << Probe;
  }
}

TEST_F(PerfTitlesTest, LocaleChangesReleaseTheContents) {
  TPerfTitles Titles(nullptr);
  EXPECT_EQ(Titles.LocaleID(), "009");
  Titles.SetLocaleID("00A");
  EXPECT_EQ(Titles.Title(1), "Sistema");
  Titles.SetLocaleID("00A");
  EXPECT_EQ(RefCountOf("00A", "Counter"), 1) << "the same locale keeps the contents";
  Titles.SetLocaleID("00a");  // installed, but not the same text
  EXPECT_EQ(Titles.GetLocaleID(), "00a");
  EXPECT_EQ(CachedEntries(), 0);
  Titles.SetLocaleID("0FF");
  EXPECT_EQ(Titles.LocaleID(), "009");
  EXPECT_EQ(Titles.Title(1), "System");
}

// A locale that looks like an installed one but is not: no table is loaded under it.
TEST_F(PerfTitlesTest, LocaleSpelledWithOtherCharactersIsNotInstalled) {
  TPerfTitles Odd(nullptr);
  for (const char* Locale : {"００９", "009\x7F"}) {
    Odd.SetLocaleID(Locale);
    EXPECT_EQ(Odd.LocaleID(), "009") << Locale;
    EXPECT_EQ(Odd.TitleByIdx("2"), "System") << Locale;
  }
  TPerfTitles Plain(nullptr);
  EXPECT_EQ(Plain.TitleByIdx("4"), "Memory");
  EXPECT_EQ(CachedEntries(), 1);
}

// The registry may tell apart names that differ in letter case beyond ASCII: a table is
// loaded under the locale's name as the registry lists it, and so is the one shared.
TEST_F(PerfTitlesTest, LocaleInOtherLetterCaseLoadsTheInstalledTable) {
  TPerfTitles Lower(nullptr);
  Lower.SetLocaleID("00é");
  EXPECT_EQ(Lower.LocaleID(), "00é");
  EXPECT_EQ(Lower.TitleByIdx("2"), "Système");
  TPerfTitles Upper(nullptr);
  Upper.SetLocaleID("00É");
  EXPECT_EQ(Upper.TitleByIdx("2"), "Système");
  EXPECT_EQ(CachedEntries(), 1);
}

TEST_F(PerfTitlesTest, ComputerNameCountsOnlyAtAcquisition) {
  TPerfTitles Titles(nullptr);
  Titles.SetComputerName("NOSUCHHOST");
  for (int Attempt = 0; Attempt < 2; ++Attempt) {
    try {
      Titles.TitleCount();
      FAIL() << "no error";
    } catch (const Exception& E) {
      EXPECT_EQ(E.Message(), "Cannot open remote registry on NOSUCHHOST (53)");
    }
    EXPECT_EQ(PerfInfoDataCache(), nullptr);
  }
  Titles.SetComputerName("");
  Titles.Init();
  Titles.SetComputerName("NOSUCHHOST");
  EXPECT_EQ(Titles.TitleByIdx("2"), "System");
}

TEST_F(PerfTitlesTest, IndexBeyondTheIntegerRangeFailsEveryLookupUntilFixed) {
  auto Tables = StandardNameTables();
  Tables[0].Counter.push_back({0xFFFFFFFF, "Too large"});  // after "Äpfel" in index order
  InstallNameTables(Tables);
  TPerfTitles Titles(nullptr);
  for (int Attempt = 0; Attempt < 2; ++Attempt) {
    try {
      Titles.IdxOfTitle("Memory");
      FAIL() << "no conversion error";
    } catch (const EConvertError& E) {
      EXPECT_EQ(E.Message(), "'4294967295' is not a valid integer value");
    }
    EXPECT_EQ(PerfInfoDataCache(), nullptr);
  }
  InstallNameTables(StandardNameTables());
  EXPECT_EQ(Titles.IdxOfTitle("Memory"), "4");
}

TEST_F(PerfTitlesTest, LocaleWithoutSubkeyGivesACachedEmptyTable) {
  InstallNameTables({StandardNameTables()[0]});  // "007" is listed but has no subkey now
  TPerfHelps Helps(nullptr);
  Helps.SetLocaleID("007");
  EXPECT_EQ(Helps.HelpCount(), 0);
  EXPECT_EQ(Helps.IdxOfHelp("Systemhilfe"), "-1");
  EXPECT_EQ(CachedEntries(), 1);
}

TEST_F(PerfTitlesTest, StoredFormsKeepLocaleAndComputer) {
  TPerfHelps Helps(nullptr);
  Helps.SetName("Helps");
  Helps.SetLocaleID("007");
  Helps.SetComputerName("localhost");
  std::string Form = WriteComponentForm(&Helps);
  std::unique_ptr<TComponent> Read(ReadComponentForm(Form, nullptr));
  auto* Copy = dynamic_cast<TPerfHelps*>(Read.get());
  ASSERT_NE(Copy, nullptr) << Form;
  EXPECT_EQ(Copy->LocaleID(), "007");
  EXPECT_EQ(Copy->ComputerName(), "localhost");
  EXPECT_EQ(Copy->HelpByIdx("3"), "Systemhilfe");
}

TEST_F(PerfTitlesTest, StoredLocaleThatIsNotInstalledLoadsAsTheFirst) {
  std::unique_ptr<TComponent> Read(ReadComponentForm(
      R"({"class": "TPerfTitles", "name": "Titles", "LocaleID": "0FF"})", nullptr));
  EXPECT_EQ(dynamic_cast<TPerfTitles&>(*Read).LocaleID(), "009");
}

TEST_F(PerfTitlesTest, BareTableHasNoContents) {
  TPerfInfo Bare(nullptr);
  try {
    Bare.Init();
    FAIL() << "no abstract error";
  } catch (const EAbstractError& E) {
    EXPECT_EQ(E.Message(), "Abstract Error");
  }
  EXPECT_THROW(Bare.GetItemCount(), EAbstractError);
}

// A component that refers to a help table it does not own.
class TLinksHelps : public TComponent {
 public:
  using TComponent::TComponent;
  TPerfHelps* Helps() const { return Helps_; }
  void SetHelps(TPerfHelps* Value) {
    Helps_ = Value;
    if (Value != nullptr) Value->FreeNotification(this);
  }

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override {
    TComponent::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == Helps_) Helps_ = nullptr;
  }

 private:
  TPerfHelps* Helps_ = nullptr;
};

TEST_F(PerfTitlesTest, LinkToAHelpTableIsClearedWhenItGoes) {
  TComponent Form(nullptr);
  auto* Link = new TLinksHelps(&Form);
  auto* Helps = new TPerfHelps(nullptr);
  Link->SetHelps(Helps);
  Helps->Init();
  delete Helps;
  EXPECT_EQ(Link->Helps(), nullptr);
}

}  // namespace
}  // namespace gaugery
