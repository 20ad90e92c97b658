// The hash behind the name indexes. Runs under the user's collation; CTest runs it
// once more under collations with contractions of plain letters and with spaces and
// punctuation ignored.

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "framework/TextCompare.h"

namespace gaugery {
namespace {

// Texts that some collation calls equal although their bytes differ, in groups of
// related ones. Characters of every UTF-8 length are mixed in, so that texts the hash
// reads character by character meet texts it reads through the collator.
const std::vector<std::string>& TrickyTexts() {
  static const std::vector<std::string> Texts = [] {
    const std::vector<std::vector<std::string>> Groups = {
        {"Äpfel", "A\xCC\x88PFEL", "äpfel", "Ärger", "Arger"},  // composed, decomposed
        {"Prozeß", "PROZESS", "Prozess", "Σίσυφος", "ΣΊΣΥΦΟΣ"},
        {"\xEF\xAC\x81le", "FILE", "ＡＢＣ", "abc", "１８", "18", "ℌ", "H", "Ⅻ", "XII"},
        {"ǅ", "DŽ", "dž", "ĳ", "IJ", "Æon", "AEON", "ｶ", "カ"},  // ligatures, digraphs
        // ignorable controls and NULs, ill-formed UTF-8 against U+FFFD
        {"a\x01z", "AZ", std::string("a\0z", 3), "a\xC3", "A\xEF\xBF\xBD", "x\xFFy",
         "X\xEF\xBF\xBDY"},
        {"Processor Time", "Processor-Time", "ProcessorTime", "% Processor Time", "", " ", "-"},
        // equal only in some locales: "aa" and "å", "ch" as one letter
        {"Aarhus", "Århus", "AARHUS", "chata", "CHATA", "chataⅫ", "CHATAXII", "ča"}};
    std::vector<std::string> All;
    for (const auto& Group : Groups) All.insert(All.end(), Group.begin(), Group.end());
    return All;
  }();
  return Texts;
}

// Short texts drawn from fragments that often combine into texts the collation calls
// equal; the seed is fixed, so every run checks the same ones.
std::vector<std::string> RandomTexts(std::size_t Count) {
  const std::vector<std::string> Fragments = {
      "a", "A", "ä",    "A\xCC\x88", "aa",           "å",  "Å",  "c", "h", "CH",
      "č", "l", "·",    "ß",         "ss",           "S",  "fi", "ﬁ", "1", "１",
      " ", "-", "\x01", "\xC3",      "\xEF\xBF\xBD", "Dž", "ǅ",  "o", "ö"};
  std::mt19937 Random(20240607);
  std::vector<std::string> Texts;
  for (std::size_t I = 0; I < Count; ++I) {
    std::string Text;
    for (std::uint32_t Length = Random() % 5; Length > 0; --Length)
      Text += Fragments[Random() % Fragments.size()];
    Texts.push_back(Text);
  }
  return Texts;
}

// Every pair the comparison calls equal; returns how many there were.
int ExpectEqualHashesForEqualTexts(const std::vector<std::string>& Texts) {
  int EqualPairs = 0;
  for (const std::string& A : Texts) {
    for (const std::string& B : Texts) {
      if (AnsiCompareText(A, B) != 0) continue;
      ++EqualPairs;
      EXPECT_EQ(AnsiTextHash(A), AnsiTextHash(B)) << "'" << A << "' and '" << B << "'";
    }
  }
  return EqualPairs;
}

TEST(TextHash, TextsThatCompareEqualHashEqual) {
  const std::vector<std::string>& Texts = TrickyTexts();
  EXPECT_GT(ExpectEqualHashesForEqualTexts(Texts), static_cast<int>(Texts.size()) + 20)
      << "some texts with different bytes compare equal";
}

TEST(TextHash, RandomTextsThatCompareEqualHashEqual) {
  const std::vector<std::string> Texts = RandomTexts(600);
  EXPECT_GT(ExpectEqualHashesForEqualTexts(Texts), static_cast<int>(Texts.size()) * 2);
}

TEST(TextHash, TextsThatDifferInLettersOrDigitsHashApart) {
  std::vector<std::string> Texts;
  for (int I = 0; I < 3000; ++I) {
    Texts.push_back("Counter " + std::to_string(I));
    Texts.push_back("Zähler " + std::to_string(I) + "/s");
  }
  for (const char* Word : {"Processor", "Process", "Processes", "Memory", "ärger", "Σίσυφος",
                           "日本語", "カウンタ", "Straße"})
    Texts.push_back(Word);
  std::set<std::uint64_t> Hashes;
  for (const std::string& Text : Texts) Hashes.insert(AnsiTextHash(Text));
  EXPECT_EQ(Hashes.size(), Texts.size());
}

}  // namespace
}  // namespace gaugery
