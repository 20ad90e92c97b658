// The test performance provider: a DLL that the system's registry loads to answer
// queries of HKEY_PERFORMANCE_DATA with the test objects, and that registers itself
// (regsvr32) under its service key and in the German name lists of Perflib.
#include <algorithm>
#include <string>
#include <vector>

#include "TestObjects.h"
#include "TestProviderState.h"
#include "framework/Unicode.h"
#include "registry/PerfValueName.h"

#include "framework/WindowsApi.h"

namespace {

namespace test = gaugery::test;
using gaugery::TPerfNameEntry;

// Wine hands Collect a place 88 bytes past HeaderLength, where the block says the
// objects begin, together with the room from HeaderLength to the end of the buffer.
// Under Wine the provider writes where the block will be read.
constexpr std::ptrdiff_t kWinePlacement = 88;

bool UnderWine() {
  return ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

test::TTestProviderState State{UnderWine(), test::kDefaultDevices, false, 0, 0, 0, 0, {}, 0};

void NoteOffer(DWORD Space) {
  if (State.OfferCount < test::TTestProviderState::MaxOffers) {
    State.Offered[State.OfferCount++] = Space;
  }
}

// The objects the value name asks for, of the next sample.
test::TBlock ObjectsAskedFor(LPCWSTR ValueName) {
  const gaugery::TPerfValueKind Kind = gaugery::ClassifyPerfValueName(ValueName);
  const auto Asked = [&](DWORD Index) {
    return Kind == gaugery::TPerfValueKind::Global ||
           (Kind == gaugery::TPerfValueKind::IndexList &&
            gaugery::PerfIndexListContains(ValueName, Index));
  };
  return test::TestObjectsBlock(State.Devices, State.Samples + 1, Asked(test::kDeviceObject),
                                Asked(test::kStationObject));
}

// ---------------------------------------------------------------------------------------
// Registration

const std::wstring kServiceKey =
    std::wstring(L"SYSTEM\\CurrentControlSet\\Services\\") + test::kTestProviderService;
constexpr const wchar_t* kNamesKey =
    L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Perflib\\007";

bool SetText(HKEY Key, const wchar_t* Name, DWORD Type, const std::wstring& Text) {
  const auto Size = static_cast<DWORD>((Text.size() + 1) * sizeof(wchar_t));
  return ::RegSetValueExW(Key, Name, 0, Type, reinterpret_cast<const BYTE*>(Text.c_str()), Size) ==
         ERROR_SUCCESS;
}

bool SetNumber(HKEY Key, const wchar_t* Name, DWORD Number) {
  return ::RegSetValueExW(Key, Name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&Number),
                          sizeof Number) == ERROR_SUCCESS;
}

// The strings of a multi-string value; none when it is missing.
std::vector<std::wstring> MultiString(HKEY Key, const wchar_t* Name) {
  DWORD Size = 0;
  if (::RegQueryValueExW(Key, Name, nullptr, nullptr, nullptr, &Size) != ERROR_SUCCESS) return {};
  std::wstring Data(Size / sizeof(wchar_t) + 1, L'\0');
  ::RegQueryValueExW(Key, Name, nullptr, nullptr, reinterpret_cast<BYTE*>(Data.data()), &Size);
  std::vector<std::wstring> Strings;
  for (std::size_t Start = 0; Start < Data.size() && Data[Start] != L'\0';) {
    const std::size_t End = Data.find(L'\0', Start);
    Strings.push_back(Data.substr(Start, End - Start));
    Start = End + 1;
  }
  return Strings;
}

bool IsTestIndex(const std::wstring& Index) {
  const unsigned long Value = std::wcstoul(Index.c_str(), nullptr, 10);
  return Value >= test::kFirstTestIndex && Value <= test::kLastTestIndex;
}

// Replaces the pairs of our indexes in a name list with Entries, keeping every other
// pair: on a real system the list holds the system's own names.
bool MergeNames(HKEY Key, const wchar_t* Name, const std::vector<TPerfNameEntry>& Entries) {
  const std::vector<std::wstring> Old = MultiString(Key, Name);
  std::wstring Merged;
  for (std::size_t Pair = 0; Pair + 1 < Old.size(); Pair += 2) {
    if (!IsTestIndex(Old[Pair])) Merged += Old[Pair] + L'\0' + Old[Pair + 1] + L'\0';
  }
  for (const TPerfNameEntry& Entry : Entries) {
    Merged += std::to_wstring(Entry.Index) + L'\0' + gaugery::ToWide(Entry.Text) + L'\0';
  }
  return SetText(Key, Name, REG_MULTI_SZ, Merged);
}

// In both registry views, so that 32- and 64-bit readers find the names wherever the
// system keeps them.
bool WriteNames(const std::vector<TPerfNameEntry>& Counter,
                const std::vector<TPerfNameEntry>& Help) {
  for (REGSAM View : {KEY_WOW64_64KEY, KEY_WOW64_32KEY}) {
    HKEY Key = nullptr;
    if (::RegCreateKeyExW(HKEY_LOCAL_MACHINE, kNamesKey, 0, nullptr, 0, KEY_READ | KEY_WRITE | View,
                          nullptr, &Key, nullptr) != ERROR_SUCCESS) {
      return false;
    }
    const bool Written = MergeNames(Key, L"Counter", Counter) && MergeNames(Key, L"Help", Help);
    ::RegCloseKey(Key);
    if (!Written) return false;
  }
  return true;
}

bool RegisterService() {
  HKEY Key = nullptr;
  const std::wstring PerformanceKey = kServiceKey + L"\\Performance";
  if (::RegCreateKeyExW(HKEY_LOCAL_MACHINE, PerformanceKey.c_str(), 0, nullptr, 0, KEY_WRITE,
                        nullptr, &Key, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  const bool Written =
      SetText(Key, L"Library", REG_EXPAND_SZ,
              std::wstring(L"%SystemRoot%\\system32\\") + test::kTestProviderFile) &&
      SetText(Key, L"Open", REG_SZ, L"OpenTestObjects") &&
      SetText(Key, L"Collect", REG_SZ, L"CollectTestObjects") &&
      SetText(Key, L"Close", REG_SZ, L"CloseTestObjects") &&
      SetNumber(Key, L"First Counter", test::kFirstTestIndex) &&
      SetNumber(Key, L"Last Counter", test::kLastTestIndex - 1) &&
      SetNumber(Key, L"First Help", test::kFirstTestIndex + 1) &&
      SetNumber(Key, L"Last Help", test::kLastTestIndex);
  ::RegCloseKey(Key);
  return Written;
}

}  // namespace

extern "C" {

__declspec(dllexport) DWORD WINAPI OpenTestObjects(LPWSTR) {
  ++State.Opens;
  return ERROR_SUCCESS;
}

// Serves the test objects for "Global" and for index lists naming them, nothing for
// any other value name.
__declspec(dllexport) DWORD WINAPI
    CollectTestObjects(LPWSTR ValueName, LPVOID* Data, LPDWORD TotalBytes, LPDWORD NumObjectTypes) {
  ++State.Collects;
  NoteOffer(*TotalBytes);
  const test::TBlock Block = ObjectsAskedFor(ValueName);
  const std::vector<BYTE> Objects = Block.ObjectBytes();
  if (Objects.size() > *TotalBytes) {
    *TotalBytes = 0;
    *NumObjectTypes = 0;
    return ERROR_MORE_DATA;
  }
  BYTE* Start = static_cast<BYTE*>(*Data);
  if (State.UnderWine && !State.NaiveLayout) Start -= kWinePlacement;
  std::copy(Objects.begin(), Objects.end(), Start);
  *Data = Start + Objects.size();
  *TotalBytes = static_cast<DWORD>(Objects.size());
  *NumObjectTypes = Block.Header().NumObjectTypes;
  ++State.Samples;
  return ERROR_SUCCESS;
}

__declspec(dllexport) DWORD WINAPI CloseTestObjects() {
  ++State.Closes;
  return ERROR_SUCCESS;
}

__declspec(dllexport) test::TTestProviderState* TestProviderState() { return &State; }

__declspec(dllexport) HRESULT WINAPI DllRegisterServer() {
  const gaugery::TPerfLocaleNames Names = test::TestObjectNames();
  return RegisterService() && WriteNames(Names.Counter, Names.Help) ? S_OK : E_FAIL;
}

__declspec(dllexport) HRESULT WINAPI DllUnregisterServer() {
  const bool Removed = ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, kServiceKey.c_str()) == ERROR_SUCCESS &&
                       WriteNames({}, {});
  return Removed ? S_OK : E_FAIL;
}

}  // extern "C"
