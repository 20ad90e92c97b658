#include "PerfNameIndex.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <string>

#include "framework/TextCompare.h"

namespace gaugery {
namespace {

void Fill(TStringList& List, std::initializer_list<std::string> Lines) {
  List.Clear();
  for (const std::string& Line : Lines) List.Add(Line);
}

// Every line collides, and probing starts in the last slot and wraps around.
std::uint64_t OneHashForAll(const std::string&) { return ~std::uint64_t{0}; }
// Two bits of the comparison's hash: equal lines still hash equal, and there are only
// four hash values.
std::uint64_t TwoBitHash(const std::string& S) { return AnsiTextHash(S) & 3; }

// Lines that compare equal with different bytes, and lines that differ only in what
// the comparison's hash leaves out ("ß" against "SS", punctuation), and so collide.
void FillTrickyLines(TStringList& List) {
  Fill(List, {"Memory", "Äpfel", "A\xCC\x88PFEL", "Prozeß", "PROZESS", "% Processor Time",
              "Processor Time", "", "MEMORY", "x", "Processor-Time", std::string("x\0", 2)});
}

TEST(FirstPositionTable, AnswersLikeALinearSearchWhateverTheHash) {
  TStringList List;
  FillTrickyLines(List);
  for (TFirstPositionTable::THashFunction Hash : {OneHashForAll, TwoBitHash, AnsiTextHash}) {
    TFirstPositionTable Table(Hash, AnsiSameText);
    Table.Build(List);
    for (int I = 0; I < List.Count(); ++I)
      EXPECT_EQ(Table.IndexOf(List.Strings(I)), List.IndexOf(List.Strings(I))) << I;
    for (const char* Probe : {"memory", "äpfel", "Prozess", "prozeß", "processor time",
                              "Processor  Time", "Nothing", " ", "X"})
      EXPECT_EQ(Table.IndexOf(Probe), List.IndexOf(Probe)) << Probe;
  }
}

TEST(FirstPositionTable, BuildingAgainReplacesTheLines) {
  TStringList First;
  TStringList Second;
  Fill(First, {"a", "b"});
  TTextIndex Index;
  Index.Build(First);
  EXPECT_EQ(Index.IndexOf("B"), 1);
  Fill(Second, {"b"});
  Index.Build(Second);
  EXPECT_EQ(Index.IndexOf("B"), 0);
  EXPECT_EQ(Index.IndexOf("a"), -1);
  Second.Clear();
  Index.Build(Second);
  EXPECT_EQ(Index.IndexOf(""), -1);
  EXPECT_EQ(Index.IndexOf("b"), -1);
}

TEST(IndexTextIndex, BuildingAgainDropsTheTextIndexOfTheOldLines) {
  TStringList First;
  TStringList Second;
  Fill(First, {"2", "4"});
  Fill(Second, {"4", "2"});
  TIndexTextIndex Index;
  Index.Build(First);
  // Not digits only, but equal to "4": the soft hyphen is ignorable.
  EXPECT_EQ(Index.IndexOf("4\u00AD"), 1) << "other index texts go through the text index";
  Index.Build(Second);
  EXPECT_EQ(Index.IndexOf("4\u00AD"), 0);
  EXPECT_EQ(Index.IndexOf("2"), 1);
}

}  // namespace
}  // namespace gaugery
