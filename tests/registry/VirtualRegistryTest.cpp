#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FakeProviders.h"
#include "SystemFacts.h"
#include "framework/TextFunctions.h"
#include "framework/Unicode.h"
#include "registry/Registry.h"

namespace gaugery {
namespace {

using test::TFakeProviders;

constexpr LPCWSTR kPerflib =
    GAUGERY_WTEXT("SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Perflib");

// Two providers whose tables overlap: "009" from both, "007" and "00A" from one each.
TFakeProviders NameProviders() {
  return TFakeProviders(
      {{.Name = "first",
        .Names = {{.Locale = "007", .Counter = {{230, "Prozess"}}, .Help = {{231, "Prozesse"}}},
                  {.Locale = "009",
                   .Counter = {{238, "Processor"}, {6, "% Processor Time"}},
                   .Help = {{239, "Processors"}}}}},
       {.Name = "second",
        .Names = {{.Locale = "009", .Counter = {{230, "Process"}, {238, "CPU"}}},
                  {.Locale = "00A", .Counter = {{2, "Sistema"}}}}}});
}

LONG Connect(const std::string& Machine, HKEY Key = HKEY_PERFORMANCE_DATA) {
  HKEY Result = nullptr;
  const LONG Code = RegConnectRegistryW(ToWide(Machine).c_str(), Key, &Result);
  if (Code == ERROR_SUCCESS) {
    EXPECT_EQ(Result, Key);
    RegCloseKey(Result);
  }
  return Code;
}

HKEY OpenPerflib(LPCWSTR Below = GAUGERY_WTEXT("")) {
  HKEY Key = nullptr;
  EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, kPerflib, 0, KEY_READ, &Key), ERROR_SUCCESS);
  if (*Below == 0) return Key;
  HKEY Child = nullptr;
  EXPECT_EQ(RegOpenKeyExW(Key, Below, 0, KEY_READ, &Child), ERROR_SUCCESS);
  RegCloseKey(Key);
  return Child;
}

std::vector<std::string> SubKeys(HKEY Key) {
  std::vector<std::string> Names;
  for (DWORD Index = 0;; ++Index) {
    WCHAR Name[16];
    DWORD Length = 16;
    const LONG Code = RegEnumKeyExW(Key, Index, Name, &Length, nullptr, nullptr, nullptr, nullptr);
    if (Code == ERROR_NO_MORE_ITEMS) return Names;
    EXPECT_EQ(Code, ERROR_SUCCESS);
    if (Code != ERROR_SUCCESS) return Names;
    Names.push_back(ToUtf8(Name, Length));
  }
}

// The strings of a multi-string value, the empty one that ends it excluded.
std::vector<std::string> MultiString(HKEY Key, LPCWSTR Value) {
  DWORD Size = 0;
  DWORD Type = REG_NONE;
  EXPECT_EQ(RegQueryValueExW(Key, Value, nullptr, &Type, nullptr, &Size), ERROR_SUCCESS);
  EXPECT_EQ(Type, REG_MULTI_SZ);
  WideString Data(Size / sizeof(WCHAR), u'?');
  EXPECT_EQ(
      RegQueryValueExW(Key, Value, nullptr, nullptr, reinterpret_cast<BYTE*>(Data.data()), &Size),
      ERROR_SUCCESS);
  // Every string ends with its NUL, the list with an empty string.
  EXPECT_TRUE(Data == WideString(1, u'\0') || Data.ends_with(WideString(2, u'\0')));
  std::vector<std::string> Strings;
  for (std::size_t Start = 0; Start < Data.size() && Data[Start] != 0;) {
    const std::size_t End = Data.find(u'\0', Start);
    Strings.push_back(ToUtf8(Data.substr(Start, End - Start)));
    Start = End + 1;
  }
  return Strings;
}

DWORD DwordValue(HKEY Key, LPCWSTR Value) {
  DWORD Number = 0;
  DWORD Size = sizeof Number;
  DWORD Type = REG_NONE;
  EXPECT_EQ(RegQueryValueExW(Key, Value, nullptr, &Type, reinterpret_cast<BYTE*>(&Number), &Size),
            ERROR_SUCCESS);
  EXPECT_EQ(Type, REG_DWORD);
  return Number;
}

TEST(RegConnectRegistryW, LocalNamesConnectOthersAreBadNetpath) {
  TFakeProviders Fakes = NameProviders();
  const std::string Host = test::ThisHostName();
  ASSERT_FALSE(Host.empty());
  for (const std::string& Local :
       {std::string(), std::string("."), std::string("localhost"), std::string("LocalHost"),
        std::string("\\\\localhost"), std::string("\\\\."), Host, UpperCase(Host), "\\\\" + Host,
        "\\\\" + LowerCase(Host)}) {
    EXPECT_EQ(Connect(Local), ERROR_SUCCESS) << "'" << Local << "'";
    EXPECT_EQ(Connect(Local, HKEY_LOCAL_MACHINE), ERROR_SUCCESS) << "'" << Local << "'";
  }
  for (const std::string& Remote :
       {std::string("NOSUCHHOST"), Host + "x", "x" + Host, std::string("\\\\\\\\localhost"),
        std::string("local host"), std::string("..")}) {
    EXPECT_EQ(Connect(Remote), ERROR_BAD_NETPATH) << "'" << Remote << "'";
  }
  HKEY Result = nullptr;
  EXPECT_EQ(RegConnectRegistryW(GAUGERY_WTEXT(""), PredefinedKey(0x80000001u), &Result),
            ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegConnectRegistryW(GAUGERY_WTEXT(""), HKEY_LOCAL_MACHINE, nullptr),
            ERROR_INVALID_PARAMETER);
}

TEST(VirtualRegistry, PerflibHasOneSubkeyPerLocaleWithEnglishFirst) {
  TFakeProviders Fakes = NameProviders();
  HKEY Perflib = OpenPerflib();
  EXPECT_EQ(SubKeys(Perflib), (std::vector<std::string>{"009", "007", "00A"}));

  DWORD SubKeyCount = 0;
  DWORD LongestSubKey = 0;
  DWORD ValueCount = 0;
  DWORD LargestValue = 0;
  EXPECT_EQ(RegQueryInfoKeyW(Perflib, nullptr, nullptr, nullptr, &SubKeyCount, &LongestSubKey,
                             nullptr, &ValueCount, nullptr, &LargestValue, nullptr, nullptr),
            ERROR_SUCCESS);
  EXPECT_EQ(SubKeyCount, 3u);
  EXPECT_EQ(LongestSubKey, 3u) << "in characters";
  EXPECT_EQ(ValueCount, 2u);
  EXPECT_EQ(LargestValue, sizeof(DWORD));
  EXPECT_EQ(DwordValue(Perflib, GAUGERY_WTEXT("Last Counter")), 238u);
  EXPECT_EQ(DwordValue(Perflib, GAUGERY_WTEXT("last help")), 239u);

  WCHAR Short[3];
  DWORD Length = 3;
  EXPECT_EQ(RegEnumKeyExW(Perflib, 0, Short, &Length, nullptr, nullptr, nullptr, nullptr),
            ERROR_MORE_DATA)
      << "no room for the NUL";
  RegCloseKey(Perflib);
}

TEST(VirtualRegistry, LocaleValuesAreMergedInIndexOrder) {
  TFakeProviders Fakes = NameProviders();
  HKEY English = OpenPerflib(GAUGERY_WTEXT("009"));
  EXPECT_EQ(MultiString(English, GAUGERY_WTEXT("Counter")),
            (std::vector<std::string>{"1", "238", "6", "% Processor Time", "230", "Process", "238",
                                      "Processor", "238", "CPU"}));
  EXPECT_EQ(MultiString(English, GAUGERY_WTEXT("HELP")),
            (std::vector<std::string>{"239", "Processors"}));
  RegCloseKey(English);

  HKEY German = OpenPerflib(GAUGERY_WTEXT("007"));
  EXPECT_EQ(MultiString(German, GAUGERY_WTEXT("Counter")),
            (std::vector<std::string>{"1", "230", "230", "Prozess"}))
      << "each locale starts with its own last counter";
  RegCloseKey(German);

  HKEY Key = nullptr;
  EXPECT_EQ(RegOpenKeyExW(
                HKEY_LOCAL_MACHINE,
                GAUGERY_WTEXT("software\\microsoft\\windows nt\\currentversion\\perflib\\00a\\"), 0,
                KEY_READ, &Key),
            ERROR_SUCCESS)
      << "any letter case, one trailing backslash";
  EXPECT_EQ(MultiString(Key, GAUGERY_WTEXT("Help")), std::vector<std::string>{});
  RegCloseKey(Key);
}

TEST(VirtualRegistry, LocaleTextsAreUtf16AndEndAtTheirFirstNul) {
  TFakeProviders Fakes(
      {{.Name = "texts",
        .Names = {{.Locale = "007",
                   .Counter = {{4, std::string("Größe") + '\0' + "Rest"}, {2, "Prozessorzeit"}}}}}});
  HKEY German = OpenPerflib(GAUGERY_WTEXT("007"));
  EXPECT_EQ(MultiString(German, GAUGERY_WTEXT("Counter")),
            (std::vector<std::string>{"1", "4", "2", "Prozessorzeit", "4", "Größe"}))
      << "a NUL inside a text would split it and shift every pair after it";
  RegCloseKey(German);
}

TEST(VirtualRegistry, QueryValueReportsSizesAndMoreData) {
  TFakeProviders Fakes = NameProviders();
  HKEY English = OpenPerflib(GAUGERY_WTEXT("009"));
  DWORD Size = 0;
  ASSERT_EQ(RegQueryValueExW(English, GAUGERY_WTEXT("Counter"), nullptr, nullptr, nullptr, &Size),
            ERROR_SUCCESS);
  // "1" "238" "6" "% Processor Time" "230" "Process" "238" "Processor" "238" "CPU", each with
  // its NUL, and the final NUL.
  EXPECT_EQ(Size, (2 + 4 + 2 + 17 + 4 + 8 + 4 + 10 + 4 + 4 + 1) * sizeof(WCHAR));

  DWORD LargestValue = 0;
  RegQueryInfoKeyW(English, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                   &LargestValue, nullptr, nullptr);
  EXPECT_EQ(LargestValue, Size) << "\"Counter\" is the larger value";

  std::vector<BYTE> Buffer(Size, 0xEE);
  DWORD Given = Size - 1;
  EXPECT_EQ(
      RegQueryValueExW(English, GAUGERY_WTEXT("Counter"), nullptr, nullptr, Buffer.data(), &Given),
      ERROR_MORE_DATA);
  EXPECT_EQ(Given, Size) << "the size it takes";
  EXPECT_EQ(
      RegQueryValueExW(English, GAUGERY_WTEXT("Counter"), nullptr, nullptr, Buffer.data(), nullptr),
      ERROR_INVALID_PARAMETER);
  Given = Size + 10;
  EXPECT_EQ(
      RegQueryValueExW(English, GAUGERY_WTEXT("Counter"), nullptr, nullptr, Buffer.data(), &Given),
      ERROR_SUCCESS);
  EXPECT_EQ(Given, Size);
  EXPECT_EQ(RegQueryValueExW(English, GAUGERY_WTEXT("Explain"), nullptr, nullptr, nullptr, &Given),
            ERROR_FILE_NOT_FOUND);
  RegCloseKey(English);
}

TEST(VirtualRegistry, ErrorCodes) {
  TFakeProviders Fakes = NameProviders();
  HKEY Key = nullptr;
  EXPECT_EQ(
      RegOpenKeyExW(HKEY_LOCAL_MACHINE, GAUGERY_WTEXT("SOFTWARE\\Nowhere"), 0, KEY_READ, &Key),
      ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(Key, nullptr);
  const WideString Doubled = WideString(kPerflib) + GAUGERY_WTEXT("\\\\009");
  EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, Doubled.c_str(), 0, KEY_READ, &Key),
            ERROR_FILE_NOT_FOUND);
  const WideString Missing = WideString(kPerflib) + GAUGERY_WTEXT("\\019");
  EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, Missing.c_str(), 0, KEY_READ, &Key),
            ERROR_FILE_NOT_FOUND);

  HKEY Perflib = OpenPerflib();
  WCHAR Name[16];
  DWORD Length = 16;
  EXPECT_EQ(RegEnumKeyExW(Perflib, 3, Name, &Length, nullptr, nullptr, nullptr, nullptr),
            ERROR_NO_MORE_ITEMS);
  EXPECT_EQ(RegCloseKey(Perflib), ERROR_SUCCESS);
  // A closed handle is gone for every call, and is not handed out again.
  EXPECT_EQ(RegCloseKey(Perflib), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegEnumKeyExW(Perflib, 0, Name, &Length, nullptr, nullptr, nullptr, nullptr),
            ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegOpenKeyExW(Perflib, GAUGERY_WTEXT("009"), 0, KEY_READ, &Key), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegQueryInfoKeyW(Perflib, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                             nullptr, nullptr, nullptr, nullptr),
            ERROR_INVALID_HANDLE);
  DWORD Size = 0;
  EXPECT_EQ(
      RegQueryValueExW(Perflib, GAUGERY_WTEXT("Last Counter"), nullptr, nullptr, nullptr, &Size),
      ERROR_INVALID_HANDLE);
  HKEY Reopened = OpenPerflib();
  EXPECT_NE(Reopened, Perflib);
  RegCloseKey(Reopened);

  EXPECT_EQ(RegCloseKey(HKEY_PERFORMANCE_DATA), ERROR_SUCCESS) << "predefined keys close too";
  EXPECT_EQ(RegCloseKey(HKEY_LOCAL_MACHINE), ERROR_SUCCESS);
}

TEST(VirtualRegistry, AKeyWhoseLocaleWentAwayIsEmpty) {
  HKEY German = nullptr;
  {
    TFakeProviders Fakes = NameProviders();
    German = OpenPerflib(GAUGERY_WTEXT("007"));
  }
  TFakeProviders EnglishOnly({{.Names = {{.Locale = "009", .Counter = {{2, "System"}}}}}});
  DWORD Values = 99;
  EXPECT_EQ(RegQueryInfoKeyW(German, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &Values,
                             nullptr, nullptr, nullptr, nullptr),
            ERROR_SUCCESS);
  EXPECT_EQ(Values, 0u);
  DWORD Size = 0;
  EXPECT_EQ(RegQueryValueExW(German, GAUGERY_WTEXT("Counter"), nullptr, nullptr, nullptr, &Size),
            ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegCloseKey(German), ERROR_SUCCESS);
}

}  // namespace
}  // namespace gaugery
