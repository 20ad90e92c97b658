// The live provider's name tables as the Perflib key of the registry serves them.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "LiveBlock.h"
#include "WinGaugery.h"
#include "framework/TextCompare.h"
#include "framework/Unicode.h"
#include "registry/Registry.h"

namespace gaugery::test {
namespace {

using TPairs = std::vector<std::pair<DWORD, std::string>>;

const std::u16string PerflibKey = u"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Perflib\\";
const char16_t* const Locales[] = {u"009", u"007"};

// An opened key, closed at the end of the scope.
class TOpenKey {
 public:
  explicit TOpenKey(const std::u16string& Locale) {
    std::u16string Path = PerflibKey + Locale;
    EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, Path.c_str(), 0, KEY_READ, &Key_), ERROR_SUCCESS);
  }
  ~TOpenKey() { RegCloseKey(Key_); }
  HKEY Key() const { return Key_; }

 private:
  HKEY Key_ = nullptr;
};

DWORD ValueSize(HKEY Key, const char16_t* Name) {
  DWORD Size = 0;
  EXPECT_EQ(RegQueryValueExW(Key, Name, nullptr, nullptr, nullptr, &Size), ERROR_SUCCESS);
  return Size;
}

// The index and text pairs of a multi-string value, in the value's order.
TPairs ReadPairs(const std::u16string& Locale, const char16_t* Name) {
  TOpenKey Key(Locale);
  DWORD Size = ValueSize(Key.Key(), Name);
  std::u16string Text(Size / sizeof(char16_t), u'\0');
  EXPECT_EQ(RegQueryValueExW(Key.Key(), Name, nullptr, nullptr,
                             reinterpret_cast<BYTE*>(Text.data()), &Size),
            ERROR_SUCCESS);
  EXPECT_TRUE(Text.size() >= 2 && Text.back() == u'\0' && Text[Text.size() - 2] == u'\0');
  TPairs Pairs;
  std::size_t At = 0;
  auto NextString = [&] {
    std::size_t End = Text.find(u'\0', At);
    std::string String = ToUtf8(Text.substr(At, End - At));
    At = End + 1;
    return String;
  };
  while (At < Text.size() && Text[At] != u'\0') {
    DWORD Index = static_cast<DWORD>(std::stoul(NextString()));
    Pairs.emplace_back(Index, NextString());
  }
  return Pairs;
}

std::map<DWORD, std::string> TableOf(const TPairs& Pairs) {
  return std::map<DWORD, std::string>(Pairs.begin(), Pairs.end());
}

bool IsBlank(const std::string& Text) { return Text.find_first_not_of(" \t") == std::string::npos; }

TEST(ObjectNamesLiveTest, EveryObjectAndCounterInTheBlockHasTitleAndHelpInEachLocale) {
  std::vector<BYTE> Block = QueryBlock(u"230 232 238 4 2 234 236 510 700");
  auto Header = reinterpret_cast<PPERF_DATA_BLOCK>(Block.data());
  for (const char16_t* Locale : Locales) {
    SCOPED_TRACE(ToUtf8(Locale));
    std::map<DWORD, std::string> Titles = TableOf(ReadPairs(Locale, u"Counter"));
    std::map<DWORD, std::string> Helps = TableOf(ReadPairs(Locale, u"Help"));
    auto ExpectNamed = [&](DWORD Title, DWORD Help) {
      EXPECT_FALSE(IsBlank(Titles[Title])) << "no title " << Title;
      EXPECT_GT(Helps[Help].size(), Titles[Title].size() + 40) << "no real help " << Help;
      EXPECT_EQ(Help, Title + 1);
    };
    PPERF_OBJECT_TYPE Object = FirstObject(Header);
    for (DWORD O = 0; O < Header->NumObjectTypes; ++O, Object = NextObject(Object)) {
      ExpectNamed(Object->ObjectNameTitleIndex, Object->ObjectHelpTitleIndex);
      PPERF_COUNTER_DEFINITION Counter = FirstCounter(Object);
      for (DWORD C = 0; C < Object->NumCounters; ++C, Counter = NextCounter(Counter)) {
        ExpectNamed(Counter->CounterNameTitleIndex, Counter->CounterHelpTitleIndex);
      }
    }
  }
}

TEST(ObjectNames, TablesStartWithTheLastCounterIndexAndAscend) {
  for (const char16_t* Locale : Locales) {
    SCOPED_TRACE(ToUtf8(Locale));
    TPairs Counter = ReadPairs(Locale, u"Counter");
    ASSERT_GE(Counter.size(), 2u);
    EXPECT_EQ(Counter.front(), (std::pair<DWORD, std::string>(1, "20028")));
    auto Ascending = [](const TPairs& Pairs) {
      return std::adjacent_find(Pairs.begin(), Pairs.end(), [](const auto& A, const auto& B) {
               return A.first >= B.first;
             }) == Pairs.end();
    };
    EXPECT_TRUE(Ascending(Counter));
    EXPECT_TRUE(Ascending(ReadPairs(Locale, u"Help")));
  }
}

// Titles are looked up without regard to case; two equal titles would make one counter
// unreachable by name.
TEST(ObjectNames, TitlesAreDistinctWithinALocale) {
  for (const char16_t* Locale : Locales) {
    TPairs Counter = ReadPairs(Locale, u"Counter");
    for (std::size_t A = 1; A < Counter.size(); ++A) {
      for (std::size_t B = A + 1; B < Counter.size(); ++B) {
        EXPECT_FALSE(AnsiSameText(Counter[A].second, Counter[B].second))
            << ToUtf8(Locale) << ": " << Counter[A].second << " = " << Counter[B].second;
      }
    }
  }
}

TEST(ObjectNames, EnglishTitlesAreThoseWindowsUses) {
  const std::map<std::string, DWORD> Expected{{"Process", 230},
                                              {"Processor", 238},
                                              {"Memory", 4},
                                              {"System", 2},
                                              {"ID Process", 784},
                                              {"Elapsed Time", 684},
                                              {"Thread Count", 680},
                                              {"Handle Count", 952},
                                              {"Page File Bytes", 184},
                                              {"Page File Bytes Peak", 182},
                                              {"Pool Nonpaged Bytes", 58},
                                              {"Working Set", 180},
                                              {"% Processor Time", 6},
                                              {"Working Set - Private", 1478},
                                              {"Thread", 232},
                                              {"ID Thread", 804},
                                              {"Context Switches/sec", 146},
                                              {"PhysicalDisk", 234},
                                              {"LogicalDisk", 236},
                                              {"Avg. Disk sec/Read", 208},
                                              {"Avg. Disk sec/Write", 210},
                                              {"Disk Reads/sec", 214},
                                              {"Disk Writes/sec", 216},
                                              {"Disk Read Bytes/sec", 220},
                                              {"Disk Write Bytes/sec", 222},
                                              {"Network Interface", 510},
                                              {"Bytes Received/sec", 264},
                                              {"Packets Received/sec", 266},
                                              {"Bytes Total/sec", 388},
                                              {"Packets/sec", 400},
                                              {"Packets Sent/sec", 452},
                                              {"Bytes Sent/sec", 506},
                                              {"Current Bandwidth", 520},
                                              {"Packets Outbound Discarded", 540},
                                              {"Packets Outbound Errors", 542},
                                              {"Paging File", 700},
                                              {"% Usage", 702},
                                              {"% Usage Peak", 704}};
  std::map<DWORD, std::string> English = TableOf(ReadPairs(u"009", u"Counter"));
  std::map<DWORD, std::string> German = TableOf(ReadPairs(u"007", u"Counter"));
  for (const auto& [Title, Index] : Expected) {
    EXPECT_EQ(English[Index], Title);
    EXPECT_FALSE(IsBlank(German[Index])) << Index;
  }
  EXPECT_EQ(German[230], "Prozess");
}

TEST(ObjectNames, KeyInfoReportsTheLargestValue) {
  for (const char16_t* Locale : Locales) {
    TOpenKey Key(Locale);
    DWORD Values = 0, Largest = 0;
    ASSERT_EQ(RegQueryInfoKeyW(Key.Key(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                               &Values, nullptr, &Largest, nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(Values, 2u);
    EXPECT_EQ(Largest, std::max(ValueSize(Key.Key(), u"Counter"), ValueSize(Key.Key(), u"Help")));
  }
}

}  // namespace
}  // namespace gaugery::test
