#include "RecordedMachine.h"

#include <vector>

#include "PerfData.h"
#include "PerfNameStrings.h"
#include "ThisMachine.h"
#include "framework/Exceptions.h"
#include "framework/Unicode.h"
#include "framework/WinTime.h"
#include "registry/Registry.h"

namespace gaugery::cli {

namespace {

// A registry key name holds at most 255 characters.
constexpr DWORD MaxKeyNameLength = 255;

class TOpenKey {
 public:
  TOpenKey() = default;
  ~TOpenKey() {
    if (Key != nullptr) RegCloseKey(Key);
  }
  TOpenKey(const TOpenKey&) = delete;
  TOpenKey& operator=(const TOpenKey&) = delete;
  HKEY Key = nullptr;
};

std::vector<std::string> LocaleKeyNames(HKEY Perflib) {
  std::vector<std::string> Locales;
  std::vector<WCHAR> Name(MaxKeyNameLength + 1);
  LONG Result = ERROR_SUCCESS;
  for (DWORD Index = 0; Result == ERROR_SUCCESS; ++Index) {
    DWORD Length = static_cast<DWORD>(Name.size());
    Result =
        RegEnumKeyExW(Perflib, Index, Name.data(), &Length, nullptr, nullptr, nullptr, nullptr);
    if (Result == ERROR_SUCCESS) Locales.push_back(ToUtf8(Name.data(), Length));
  }
  return Locales;
}

WideString ValueText(HKEY Key, const std::string& ValueName) {
  const std::vector<WCHAR> Units = ReadValueCodeUnits(Key, ValueName);
  return WideString(Units.begin(), Units.end());
}

void ConnectMachine(const std::string& ComputerName, TOpenKey& Root) {
  const LONG Result =
      RegConnectRegistryW(ToWide(ComputerName).c_str(), HKEY_LOCAL_MACHINE, &Root.Key);
  if (Result != ERROR_SUCCESS)
    throw Exception("Cannot open remote registry on " + ComputerName + " (" +
                    std::to_string(Result) + ")");
}

}  // namespace

TLogMachine RecordedMachine(TPerfData& Data, const std::string& ComputerName) {
  TLogMachine Machine;
  Machine.ComputerName = Data.SystemName();
  Machine.StartTime = NowAsFileTime();
  if (ComputerName.empty()) {
    Machine.System = ThisSystem();
    const TTimeZone Zone = ThisTimeZone();
    Machine.Bias = Zone.Bias;
    Machine.TimeZoneName = Zone.Name;
  } else {
    Machine.TimeZoneName = "UTC";
  }
  return Machine;
}

TLogNames PerflibNames(const std::string& ComputerName) {
  TOpenKey Root;
  if (!ComputerName.empty()) ConnectMachine(ComputerName, Root);
  TOpenKey Perflib;
  if (RegOpenKeyExW(ComputerName.empty() ? HKEY_LOCAL_MACHINE : Root.Key,
                    ToWide(PerflibKeyPath).c_str(), 0, KEY_READ, &Perflib.Key) != ERROR_SUCCESS)
    return {};
  TLogNames Names;
  for (const std::string& Locale : LocaleKeyNames(Perflib.Key)) {
    TOpenKey LocaleKey;
    if (RegOpenKeyExW(Perflib.Key, ToWide(Locale).c_str(), 0, KEY_READ, &LocaleKey.Key) !=
        ERROR_SUCCESS)
      continue;
    TLogLocaleNames Tables{Locale, ValueText(LocaleKey.Key, "Counter"),
                           ValueText(LocaleKey.Key, "Help")};
    if (!Tables.Counter.empty()) Names.push_back(std::move(Tables));
  }
  return Names;
}

}  // namespace gaugery::cli
