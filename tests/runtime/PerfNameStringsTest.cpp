#include "PerfNameStrings.h"

#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>

#include "NameTables.h"
#include "framework/Unicode.h"

namespace gaugery {
namespace {

using testing::LinesOf;
using Lines = std::vector<std::string>;

// The strings, each followed by its NUL; an empty string "" closes a value.
WideString MultiString(std::initializer_list<const char*> Strings) {
  WideString Value;
  for (const char* S : Strings) Value += ToWide(S) + WCHAR{0};
  return Value;
}

// Parses from an exactly sized heap copy, so that a read past the end is caught.
Lines Parse(const WideString& Value, TBlankTexts Blanks = TBlankTexts::Drop) {
  std::vector<WCHAR> Exact(Value.begin(), Value.end());
  TStringList Target;
  ParseNameStrings(Exact.data(), Exact.size(), &Target, Blanks);
  return LinesOf(Target);
}

TEST(ParseNameStrings, PairsBecomeLinesInRegistryOrderWithTextsUntrimmed) {
  EXPECT_EQ(Parse(MultiString({"2", "System", "4", " Prozessorzeit (%) ", ""})),
            (Lines{"2=System", "4= Prozessorzeit (%) "}));
}

TEST(ParseNameStrings, BlankTextsAreDroppedOrKept) {
  WideString Value = MultiString({"2", " \t ", "3", "", "4", "x", ""});
  EXPECT_EQ(Parse(Value, TBlankTexts::Drop), (Lines{"4=x"}));
  EXPECT_EQ(Parse(Value, TBlankTexts::Keep), (Lines{"2= \t ", "3=", "4=x"}));
}

TEST(ParseNameStrings, IndexIsWrittenBackAsUnsignedDecimal) {
  EXPECT_EQ(Parse(MultiString({"007", "a", "-1", "b", ""})), (Lines{"7=a", "4294967295=b"}));
}

TEST(ParseNameStrings, IndexThatIsNoIntegerRaisesAndKeepsEarlierLines) {
  std::vector<WCHAR> Value = [] {
    WideString V = MultiString({"2", "System", "x2", "Bad", "4", "Memory", ""});
    return std::vector<WCHAR>(V.begin(), V.end());
  }();
  TStringList Target;
  try {
    ParseNameStrings(Value.data(), Value.size(), &Target, TBlankTexts::Keep);
    FAIL() << "no conversion error";
  } catch (const EConvertError& E) {
    EXPECT_EQ(E.Message(), "'x2' is not a valid integer value");
  }
  EXPECT_EQ(LinesOf(Target), (Lines{"2=System"}));
}

TEST(ParseNameStrings, MalformedValuesKeepOnlyTheWellFormedPairs) {
  WideString Pairs = MultiString({"2", "A", "4", "B"});
  EXPECT_EQ(Parse(Pairs), (Lines{"2=A", "4=B"})) << "no closing empty string";
  EXPECT_EQ(Parse(Pairs.substr(0, Pairs.size() - 1)), (Lines{"2=A"})) << "text without NUL";
  EXPECT_EQ(Parse(MultiString({"2", "A", "4"})), (Lines{"2=A"})) << "index without text";
  EXPECT_EQ(Parse(MultiString({"2", "A"}) + ToWide("4")), (Lines{"2=A"})) << "index without NUL";
  EXPECT_EQ(Parse(MultiString({"2", "A", "", "4", "B", ""})), (Lines{"2=A"})) << "after the end";
  EXPECT_EQ(Parse(WideString()), Lines{});
  EXPECT_EQ(Parse(ToWide("12345")), Lines{});
}

// A registry value served by the fake calls below.
struct TFakeValue {
  LONG InfoResult = ERROR_SUCCESS;
  DWORD InfoMaxBytes = 0;
  bool Missing = false;
  std::vector<BYTE> Bytes;
  DWORD GrowthPerQuery = 0;  // the value grows by this much at every query
  DWORD OverReported = 0;    // a successful read reports this many bytes too many
  int Queries = 0;
} Fake;

LONG FakeQueryInfoKey(HKEY, LPWSTR, LPDWORD, LPDWORD, LPDWORD, LPDWORD, LPDWORD, LPDWORD, LPDWORD,
                      LPDWORD MaxValueBytes, LPDWORD, FILETIME*) {
  if (Fake.InfoResult == ERROR_SUCCESS) *MaxValueBytes = Fake.InfoMaxBytes;
  return Fake.InfoResult;
}

LONG FakeQueryValue(HKEY, LPCWSTR, LPDWORD, LPDWORD, LPBYTE Data, LPDWORD Size) {
  ++Fake.Queries;
  if (Fake.Missing) return ERROR_FILE_NOT_FOUND;
  auto Needed = static_cast<DWORD>(Fake.Bytes.size() + Fake.GrowthPerQuery * Fake.Queries);
  if (Data == nullptr || *Size < Needed) {
    *Size = Needed;
    return Data == nullptr ? ERROR_SUCCESS : ERROR_MORE_DATA;
  }
  std::memcpy(Data, Fake.Bytes.data(), Fake.Bytes.size());
  *Size = Needed + Fake.OverReported;
  return ERROR_SUCCESS;
}

class ReadValueCodeUnitsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Fake = {};
    for (WCHAR C : Expected) Fake.Bytes.insert(Fake.Bytes.end(), {BYTE(C & 0xFF), BYTE(C >> 8)});
  }
  std::vector<WCHAR> Read() {
    return ReadValueCodeUnits(nullptr, "Counter", {&FakeQueryInfoKey, &FakeQueryValue});
  }
  const std::vector<WCHAR> Expected{u'2', 0, u'A', 0, 0};
};

TEST_F(ReadValueCodeUnitsTest, ReadsWithTheSizeTheKeyReports) {
  Fake.InfoMaxBytes = 10;
  EXPECT_EQ(Read(), Expected);
  EXPECT_EQ(Fake.Queries, 1);
}

TEST_F(ReadValueCodeUnitsTest, AsksTheValueItsSizeWhenTheKeyReportsNone) {
  Fake.InfoResult = ERROR_ACCESS_DENIED;
  EXPECT_EQ(Read(), Expected);
  Fake.InfoResult = ERROR_SUCCESS;
  Fake.InfoMaxBytes = 0;
  EXPECT_EQ(Read(), Expected);
}

TEST_F(ReadValueCodeUnitsTest, GrowsWhileTheValueIsLargerThanReported) {
  Fake.InfoMaxBytes = 2;
  EXPECT_EQ(Read(), Expected);
  EXPECT_EQ(Fake.Queries, 2);
}

TEST_F(ReadValueCodeUnitsTest, GivesNothingForAValueThatCannotBeRead) {
  Fake.InfoMaxBytes = 10;
  Fake.Missing = true;
  EXPECT_TRUE(Read().empty());
  Fake = {};
  Fake.InfoMaxBytes = 2;
  Fake.GrowthPerQuery = 100;  // answers ERROR_MORE_DATA forever
  EXPECT_TRUE(Read().empty());
  EXPECT_LE(Fake.Queries, 16);
}

TEST_F(ReadValueCodeUnitsTest, NeverReportsMoreThanTheBufferHolds) {
  Fake.InfoMaxBytes = 10;
  Fake.OverReported = 1000;
  EXPECT_EQ(Read(), Expected);
  Fake.OverReported = 0;
  Fake.Bytes.push_back('x');  // a trailing odd byte is no code unit
  Fake.InfoMaxBytes = 11;
  EXPECT_EQ(Read().size(), Expected.size());
}

}  // namespace
}  // namespace gaugery
