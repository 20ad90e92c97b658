#include <gtest/gtest.h>

#include <ctime>
#include <string>
#include <vector>

#include "SystemFacts.h"
#include "framework/Exceptions.h"
#include "framework/TextCompare.h"
#include "framework/TextFunctions.h"
#include "framework/Unicode.h"
#include "framework/WinTime.h"

namespace gaugery {
namespace {

TEST(TextFunctions, StrToIntTakesDecimalAndHexadecimal32BitIntegers) {
  EXPECT_EQ(StrToInt("238"), 238);
  EXPECT_EQ(StrToInt(" -12 "), -12);
  EXPECT_EQ(StrToInt("+7"), 7);
  EXPECT_EQ(StrToInt("007"), 7);
  EXPECT_EQ(StrToInt("2147483647"), 2147483647);
  EXPECT_EQ(StrToInt("-2147483648"), -2147483647 - 1);
  EXPECT_EQ(StrToInt("$1F"), 31);
  EXPECT_EQ(StrToInt("0x1f"), 31);
  EXPECT_EQ(StrToInt("$FFFFFFFF"), -1) << "hexadecimal is a 32-bit pattern";

  for (const std::string Text : {"", " ", "+", "-", "2147483648", "-2147483649", "$100000000",
                                 "12a", "1 2", "- 1", "$", "0x", "1.0", "\xD9\xA3"}) {
    try {
      StrToInt(Text);
      ADD_FAILURE() << "accepted '" << Text << "'";
    } catch (const EConvertError& Error) {
      EXPECT_EQ(Error.Message(), "'" + Text + "' is not a valid integer value");
    }
  }
  EXPECT_EQ(StrToIntDef("x", -2), -2);
  EXPECT_EQ(IntToStr(-9223372036854775807LL - 1), "-9223372036854775808");
}

TEST(TextFunctions, IntToHexPadsButNeverCuts) {
  EXPECT_EQ(IntToHex(0x10410400, 8), "10410400");
  EXPECT_EQ(IntToHex(255, 8), "000000FF");
  EXPECT_EQ(IntToHex(0x12345, 2), "12345");
  EXPECT_EQ(IntToHex(0, 0), "0");
  EXPECT_EQ(IntToHex(-1, 1), "FFFFFFFFFFFFFFFF");
}

TEST(TextFunctions, TrimAndAsciiCase) {
  EXPECT_EQ(Trim("  \t Processor \r\n"), "Processor");
  EXPECT_EQ(Trim(" \x01 "), "");
  EXPECT_EQ(Trim(""), "");
  EXPECT_EQ(Trim(" a b "), "a b");
  EXPECT_EQ(Trim("\xC2\xA0x\xC2\xA0"), "\xC2\xA0x\xC2\xA0") << "only code points up to 32";
  EXPECT_EQ(UpperCase("localhost-äß"), "LOCALHOST-äß") << "A to Z only";
  EXPECT_EQ(LowerCase("HOST-Ä"), "host-Ä");
  EXPECT_TRUE(SameText("PerfFilter1", "perffilter1"));
  EXPECT_FALSE(SameText("Ä", "ä")) << "A to Z only";
  EXPECT_FALSE(SameText("Item", "Item1")) << "a prefix is not the same text";
}

TEST(TextFunctions, SysErrorMessageOfRegistryCodes) {
#ifdef _WIN32
  // Windows words its messages by version and language.
  EXPECT_EQ(SysErrorMessage(53), test::SystemMessage(53));
  EXPECT_EQ(SysErrorMessage(2), test::SystemMessage(2));
#else
  EXPECT_EQ(SysErrorMessage(53), "The network path was not found.");
  EXPECT_EQ(SysErrorMessage(2), "The system cannot find the file specified.");
#endif
  EXPECT_FALSE(SysErrorMessage(123456).empty());
}

TEST(TextCompare, IgnoresCaseButNotAccents) {
  EXPECT_EQ(AnsiCompareText("ÄRGER", "ärger"), 0);
  EXPECT_EQ(AnsiCompareText("% Processor Time", "% PROCESSOR TIME"), 0);
  EXPECT_NE(AnsiCompareText("Ärger", "Arger"), 0);
  EXPECT_LT(AnsiCompareText("apple", "Banana"), 0) << "alphabetic, not code unit order";
  EXPECT_GT(AnsiCompareText("b", "A"), 0);
  EXPECT_LT(AnsiCompareText("", "a"), 0);
  EXPECT_TRUE(AnsiSameText("Σίσυφος", "ΣΊΣΥΦΟΣ"));
}

TEST(TextCompare, SortKeysAreEqualExactlyWhenTextsCompareEqual) {
  const std::vector<std::string> Texts = {
      "ärger",   "ÄRGER",   "Ärger",    "Arger", "arger", "Process", "PROCESS", "Processes", "",
      "Σίσυφος", "ΣΊΣΥΦΟΣ", "\xFF\xFE", "\xC3",  "a\xC3", "Straße",  "STRASSE", "_Total"};
  for (const std::string& A : Texts) {
    for (const std::string& B : Texts) {
      EXPECT_EQ(AnsiSortKey(A) == AnsiSortKey(B), AnsiCompareText(A, B) == 0)
          << "'" << A << "' and '" << B << "'";
    }
  }
}

TEST(Unicode, ConvertsBothWaysAndReplacesIllFormedInput) {
  const std::string Text = "Prozeß 😀";
  const WideString Wide = ToWide(Text);
  EXPECT_EQ(Wide, GAUGERY_WTEXT("Prozeß 😀"));
  EXPECT_EQ(ToUtf8(Wide), Text);
  EXPECT_EQ(lstrlenW(Wide.c_str()), 9);
  EXPECT_EQ(lstrlenW(nullptr), 0);

  EXPECT_EQ(ToWide("Process"), GAUGERY_WTEXT("Process"));
  EXPECT_EQ(ToWide(std::string("a\0b", 3)), WideString(GAUGERY_WTEXT("a\0b"), 3))
      << "a NUL is a unit like any other";
  WideString Appended = GAUGERY_WTEXT("1");
  AppendWide(Appended, "a");
  AppendWide(Appended, "ßx");
  EXPECT_EQ(Appended, GAUGERY_WTEXT("1aßx")) << "appending keeps what is there";
  EXPECT_EQ(ToWide("a\xC3"), GAUGERY_WTEXT("a\uFFFD"));
  EXPECT_EQ(ToWide("\xE2\x82x"), GAUGERY_WTEXT("\uFFFDx"))
      << "a broken sequence is one replacement";
  EXPECT_EQ(ToWide("\xED\xA0\x80"), GAUGERY_WTEXT("\uFFFD\uFFFD\uFFFD")) << "encoded surrogates";
  const WCHAR Lone[] = {u'a', 0xD800, u'b', 0};
  EXPECT_EQ(ToUtf8(Lone),
            "a\xEF\xBF\xBD"
            "b");
  const WCHAR WithNul[] = {u'a', 0, u'b'};
  EXPECT_EQ(ToUtf8(WithNul, 3), std::string("a\0b", 3));
}

SYSTEMTIME Time(WORD Year, WORD Month, WORD Day, WORD Hour = 0, WORD Minute = 0, WORD Second = 0,
                WORD Millisecond = 0) {
  return {Year, Month, 0, Day, Hour, Minute, Second, Millisecond};
}

std::int64_t FileTimeOf(const SYSTEMTIME& Time) {
  FILETIME Result{};
  EXPECT_TRUE(SystemTimeToFileTime(&Time, &Result));
  return FileTimeToInt64(Result);
}

TEST(WinTime, SystemTimesConvertToFileTimesAndBack) {
  EXPECT_EQ(FileTimeOf(Time(1601, 1, 1)), 0);
  EXPECT_EQ(FileTimeOf(Time(1970, 1, 1)), 116444736000000000);
  EXPECT_EQ(FileTimeOf(Time(2000, 3, 1)) - FileTimeOf(Time(2000, 2, 28)), 2 * 864000000000LL)
      << "2000 is a leap year";
  EXPECT_EQ(FileTimeOf(Time(2100, 3, 1)) - FileTimeOf(Time(2100, 2, 28)), 864000000000LL)
      << "2100 is not";

  for (const SYSTEMTIME& Original :
       {Time(2024, 2, 29, 12, 30, 45, 500), Time(1601, 1, 1), Time(30827, 12, 31, 23, 59, 59, 999),
        Time(1999, 12, 31, 23, 59, 59, 999)}) {
    const FILETIME File = Int64ToFileTime(FileTimeOf(Original));
    SYSTEMTIME Back{};
    ASSERT_TRUE(FileTimeToSystemTime(&File, &Back));
    EXPECT_EQ(Back.wYear, Original.wYear);
    EXPECT_EQ(Back.wMonth, Original.wMonth);
    EXPECT_EQ(Back.wDay, Original.wDay);
    EXPECT_EQ(Back.wHour, Original.wHour);
    EXPECT_EQ(Back.wMinute, Original.wMinute);
    EXPECT_EQ(Back.wSecond, Original.wSecond);
    EXPECT_EQ(Back.wMilliseconds, Original.wMilliseconds);
  }
  SYSTEMTIME Leap{};
  const FILETIME LeapFile = Int64ToFileTime(FileTimeOf(Time(2024, 2, 29)));
  FileTimeToSystemTime(&LeapFile, &Leap);
  EXPECT_EQ(Leap.wDayOfWeek, 4) << "a Thursday";
}

TEST(WinTime, InvalidTimesAreRefusedAndLeaveTheResult) {
  for (const SYSTEMTIME& Invalid :
       {Time(2023, 2, 29), Time(2024, 13, 1), Time(2024, 0, 1), Time(2024, 4, 31), Time(2024, 1, 0),
        Time(1600, 12, 31), Time(2024, 1, 1, 24), Time(2024, 1, 1, 0, 60),
        Time(2024, 1, 1, 0, 0, 60), Time(2024, 1, 1, 0, 0, 0, 1000)}) {
    FILETIME Result{7, 7};
    EXPECT_FALSE(SystemTimeToFileTime(&Invalid, &Result));
    EXPECT_EQ(Result.dwLowDateTime, 7u);
  }
  const FILETIME Negative = Int64ToFileTime(-1);
  SYSTEMTIME Ignored{};
  EXPECT_FALSE(FileTimeToSystemTime(&Negative, &Ignored));
}

TEST(WinTime, NowIsTheWallClockInFileTimeUnits) {
  const std::int64_t Now = NowAsFileTime();
  const std::int64_t Expected = 116444736000000000 + std::int64_t{std::time(nullptr)} * 10000000;
  EXPECT_NEAR(static_cast<double>(Now), static_cast<double>(Expected), 2e7);
}

}  // namespace
}  // namespace gaugery
