// Windows: the registry calls go to the system's registry by default and to the virtual
// registry while providers are in service; keys of both stay usable side by side.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BlockBuilder.h"
#include "FakeProviders.h"
#include "framework/Unicode.h"
#include "registry/PerfProviders.h"
#include "registry/Registry.h"

namespace gaugery {
namespace {

using test::TFakeProviders;

// A key of the system's registry that the virtual one does not have.
constexpr LPCWSTR kSystemOnlyKey = GAUGERY_WTEXT("SOFTWARE\\Microsoft\\Windows\\CurrentVersion");
constexpr LPCWSTR kPerflib =
    GAUGERY_WTEXT("SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Perflib");
constexpr LPCWSTR kEnglishNames =
    GAUGERY_WTEXT("SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Perflib\\009");

TFakeProviders OneObjectWithNames() {
  return TFakeProviders(
      {{.Samples = {test::BuildBlock({.Objects = {{.NameIndex = 9002, .Values = {1}}}})},
        .Names = {{.Locale = "009", .Counter = {{9002, "Switched"}}}}}});
}

LONG Open(LPCWSTR Path, HKEY& Key) {
  return RegOpenKeyExW(HKEY_LOCAL_MACHINE, Path, 0, KEY_READ, &Key);
}

DWORD SubKeyCount(HKEY Key) {
  DWORD Count = 0;
  EXPECT_EQ(RegQueryInfoKeyW(Key, nullptr, nullptr, nullptr, &Count, nullptr, nullptr, nullptr,
                             nullptr, nullptr, nullptr, nullptr),
            ERROR_SUCCESS);
  return Count;
}

// The "Counter" value of a key as one text, NULs kept.
std::string CounterValue(HKEY Key) {
  std::vector<BYTE> Data(65536);
  DWORD Size = static_cast<DWORD>(Data.size());
  if (RegQueryValueExW(Key, GAUGERY_WTEXT("Counter"), nullptr, nullptr, Data.data(), &Size) !=
      ERROR_SUCCESS) {
    return "";
  }
  return ToUtf8(reinterpret_cast<const WCHAR*>(Data.data()), Size / sizeof(WCHAR));
}

TEST(RegistrySwitch, WithoutProvidersTheSystemAnswers) {
  EXPECT_TRUE(PerfProviders().empty());
  HKEY Key = nullptr;
  ASSERT_EQ(Open(kSystemOnlyKey, Key), ERROR_SUCCESS);
  EXPECT_GT(SubKeyCount(Key), 0u);
  EXPECT_EQ(RegCloseKey(Key), ERROR_SUCCESS);
}

TEST(RegistrySwitch, ProvidersPutTheVirtualRegistryInFrontUntilRestored) {
  {
    TFakeProviders Fakes = OneObjectWithNames();
    HKEY Key = nullptr;
    EXPECT_EQ(Open(kSystemOnlyKey, Key), ERROR_FILE_NOT_FOUND);
    ASSERT_EQ(Open(kEnglishNames, Key), ERROR_SUCCESS);
    EXPECT_NE(CounterValue(Key).find(std::string("9002\0Switched\0", 14)), std::string::npos);
    RegCloseKey(Key);

    std::vector<BYTE> Block(65536);
    DWORD Size = static_cast<DWORD>(Block.size());
    ASSERT_EQ(RegQueryValueExW(HKEY_PERFORMANCE_DATA, GAUGERY_WTEXT("Global"), nullptr, nullptr,
                               Block.data(), &Size),
              ERROR_SUCCESS);
    const auto* Header = reinterpret_cast<const TPERF_DATA_BLOCK*>(Block.data());
    ASSERT_EQ(Header->NumObjectTypes, 1u);
    const auto* Object =
        reinterpret_cast<const TPERF_OBJECT_TYPE*>(Block.data() + Header->HeaderLength);
    EXPECT_EQ(Object->ObjectNameTitleIndex, 9002u);
    HKEY Remote = nullptr;
    EXPECT_EQ(RegConnectRegistryW(GAUGERY_WTEXT("localhost"), HKEY_PERFORMANCE_DATA, &Remote),
              ERROR_SUCCESS)
        << "the virtual registry's rule for local names";
  }
  HKEY Key = nullptr;
  ASSERT_EQ(Open(kSystemOnlyKey, Key), ERROR_SUCCESS) << "the system answers again";
  RegCloseKey(Key);
}

TEST(RegistrySwitch, KeysOfBothRegistriesStayUsableSideBySide) {
  HKEY System = nullptr;
  ASSERT_EQ(Open(kSystemOnlyKey, System), ERROR_SUCCESS);
  HKEY Virtual = nullptr;
  {
    TFakeProviders Fakes = OneObjectWithNames();
    ASSERT_EQ(Open(kPerflib, Virtual), ERROR_SUCCESS);
    EXPECT_NE(Virtual, System);
    EXPECT_EQ(SubKeyCount(Virtual), 1u) << "the locale \"009\"";
    EXPECT_GT(SubKeyCount(System), 0u) << "a system key opened before goes on answering";
  }
  EXPECT_EQ(SubKeyCount(Virtual), 0u) << "a virtual key outlives its providers, emptied";
  EXPECT_EQ(RegCloseKey(Virtual), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(Virtual), ERROR_INVALID_HANDLE) << "closed, and unknown to the system";
  EXPECT_EQ(RegCloseKey(System), ERROR_SUCCESS);
}

}  // namespace
}  // namespace gaugery
