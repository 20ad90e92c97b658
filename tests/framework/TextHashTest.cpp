// The hash behind the name indexes: texts the comparison calls equal hash equal. CTest
// runs it once more under other users' locales, which must not change what is equal.

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

// Texts with equal and unequal neighbours, in groups of related ones: case pairs of
// several scripts, composed against decomposed, folds that change the length, and
// look-alikes that differ beyond case. ASCII texts meet non-ASCII ones whose folding
// is ASCII.
const std::vector<std::string>& TrickyTexts() {
  static const std::vector<std::string> Texts = [] {
    const std::vector<std::vector<std::string>> Groups = {
        {"Äpfel", "A\xCC\x88PFEL", "äpfel", "Ärger", "Arger"},  // composed, decomposed
        {"Prozeß", "PROZESS", "Prozess", "ẞ", "ss", "Σίσυφος", "ΣΊΣΥΦΟΣ", "σίσυφοσ"},
        {"\xEF\xAC\x81le", "FILE", "ＡＢＣ", "abc", "１８", "18", "²", "₂", "2", "ℌ", "H"},
        {"ǅ", "DŽ", "dž", "Ǆ", "ǆ", "ĳ", "IJ", "Æon", "AEON", "ｶ", "カ", "Ⅻ", "ⅻ", "XII"},
        {"\xE2\x84\xAA", "k", "K", "İ", "i\xCC\x87", "I", "i", "ı", "\xE2\x84\xA6", "ω"},
        // controls and NULs, ill-formed UTF-8 against U+FFFD
        {"a\x01z", "AZ", std::string("a\0z", 3), "009\x7F", "009", "００９", "a\xC3",
         "A\xEF\xBF\xBD", "x\xFFy", "X\xEF\xBF\xBDY"},
        {"Processor Time", "Processor-Time", "ProcessorTime", "% Processor Time", "", " ", "-"},
        {"Aarhus", "Århus", "AARHUS", "chata", "CHATA", "ča", "Ča", "ПРОЦЕСС", "процесс"}};
    std::vector<std::string> All;
    for (const auto& Group : Groups) All.insert(All.end(), Group.begin(), Group.end());
    return All;
  }();
  return Texts;
}

// Short texts drawn from fragments that often combine into texts the comparison calls
// equal; the seed is fixed, so every run checks the same ones.
std::vector<std::string> RandomTexts(std::size_t Count) {
  const std::vector<std::string> Fragments = {"a",  "A",  "ä",    "A\xCC\x88", "aa",
                                              "å",  "Å",  "c",    "h",         "CH",
                                              "č",  "l",  "·",    "ß",         "ss",
                                              "S",  "fi", "ﬁ",    "1",         "１",
                                              " ",  "-",  "\x01", "\xC3",      "\xEF\xBF\xBD",
                                              "Dž", "ǅ",  "o",    "ö",         "Σ",
                                              "ς",  "σ",  "İ",    "\xCC\x87",  "I",
                                              "ı"};
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

// Checks every pair: the equality test, the order and the keys agree on which texts
// are equal, and equal texts hash equal. Returns how many pairs were equal.
int ExpectConsistentAnswers(const std::vector<std::string>& Texts) {
  std::vector<std::string> Keys;
  for (const std::string& Text : Texts) Keys.push_back(AnsiSortKey(Text));
  int EqualPairs = 0;
  for (std::size_t I = 0; I < Texts.size(); ++I) {
    for (std::size_t J = 0; J < Texts.size(); ++J) {
      const std::string& A = Texts[I];
      const std::string& B = Texts[J];
      const bool Same = AnsiSameText(A, B);
      EXPECT_EQ(AnsiCompareText(A, B) == 0, Same) << "'" << A << "' and '" << B << "'";
      EXPECT_EQ(Keys[I] == Keys[J], Same) << "'" << A << "' and '" << B << "'";
      if (!Same) continue;
      ++EqualPairs;
      EXPECT_EQ(AnsiTextHash(A), AnsiTextHash(B)) << "'" << A << "' and '" << B << "'";
    }
  }
  return EqualPairs;
}

TEST(TextHash, TextsThatCompareEqualHashEqual) {
  const std::vector<std::string>& Texts = TrickyTexts();
  EXPECT_GT(ExpectConsistentAnswers(Texts), static_cast<int>(Texts.size()) + 40)
      << "some texts with different bytes compare equal";
}

TEST(TextHash, RandomTextsThatCompareEqualHashEqual) {
  const std::vector<std::string> Texts = RandomTexts(400);
  EXPECT_GT(ExpectConsistentAnswers(Texts), static_cast<int>(Texts.size()) * 2);
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
