// What the comparison ignores on Linux: letter case, by full case folding, and the
// difference between canonically equivalent texts; nothing else.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "framework/TextCompare.h"

namespace gaugery {
namespace {

using TPairs = std::vector<std::pair<std::string, std::string>>;

TEST(TextCompare, LetterCaseOfEveryScriptIsIgnored) {
  const TPairs Equal = {
      {"PROCESS", "process"},
      {"ÄRGER", "a\xCC\x88rger"},  // composed against decomposed
      {"Straße", "STRASSE"},       // a fold longer than the letter
      {"ẞ", "ss"},                 // capital sharp s
      {"ΣΊΣΥΦΟΣ", "σίσυφος"},      // final sigma
      {"ǅ", "ǆ"},                  // title case
      {"İ", "i\xCC\x87"},          // dotted capital I: i with a dot above
      {"ПРОЦЕСС", "процесс"},
      {"Ⅻ", "ⅻ"},
      {"\xE2\x84\xAA", "k"},  // Kelvin sign
      {"\xE2\x84\xA6", "ω"},  // Ohm sign
  };
  for (const auto& [A, B] : Equal) EXPECT_TRUE(AnsiSameText(A, B)) << A << " and " << B;
}

TEST(TextCompare, WidthCompatibilityFormsAndControlsCount) {
  const TPairs Unequal = {
      {"２", "2"},
      {"²", "2"},
      {"₂", "2"},
      {"Ｐｒｏｃｅｓｓ", "Process"},
      {"００９", "009"},
      {"009\x7F", "009"},
      {"a\x01z", "AZ"},
      {std::string("a\0z", 3), "az"},
      {"ı", "i"},  // dotless i is no case form of i or I
      {"ı", "I"},
      {"İ", "i"},
      {"İ", "I"},
      {"Ärger", "Arger"},
      {"Processor Time", "ProcessorTime"},
      {"Processor Time", "Processor\xC2\xA0Time"},
      {"ｶ", "カ"},
      {"ℌ", "H"},
      {"Ⅻ", "XII"},
  };
  for (const auto& [A, B] : Unequal) {
    EXPECT_FALSE(AnsiSameText(A, B)) << A << " and " << B;
    EXPECT_NE(AnsiCompareText(A, B), 0) << A << " and " << B;
  }
}

// The order must be a strict weak order whose ties are exactly the equal texts, or
// sorting would be undefined.
TEST(TextCompare, OrdersConsistentlyWithTiesOnlyForEqualTexts) {
  const std::vector<std::string> Texts = {
      "apple", "Banana", "banana",  "２",     "2",       "²",       "Ärger",  "ärger",
      "Arger", "Straße", "STRASSE", "strase", "ı",       "I",       "i",      "İ",
      "",      " ",      "009",     "００９", "009\x7F", "σίσυφος", "ΣΊΣΥΦΟΣ"};
  EXPECT_LT(AnsiCompareText("apple", "Banana"), 0) << "alphabetic, not code unit order";
  for (const std::string& A : Texts) {
    for (const std::string& B : Texts) {
      const int AB = AnsiCompareText(A, B);
      EXPECT_EQ(AB, -AnsiCompareText(B, A)) << A << " and " << B;
      for (const std::string& C : Texts) {
        if (AB < 0 && AnsiCompareText(B, C) < 0) {
          EXPECT_LT(AnsiCompareText(A, C), 0) << A << " < " << B << " < " << C;
        }
      }
    }
  }
}

}  // namespace
}  // namespace gaugery
