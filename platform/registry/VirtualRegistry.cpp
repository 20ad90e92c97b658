#include "registry/VirtualRegistry.h"

#include <algorithm>
#include <cstring>

#include "framework/WinTime.h"
#include "registry/HostName.h"
#include "registry/PerfDataBlock.h"

namespace gaugery {

namespace {

constexpr std::uintptr_t kHandleStep = 4;

// The registry's state, locked, with the providers installed.
class TLockedRegistry {
 public:
  TLockedRegistry() : Registry_(VirtualRegistry()), Guard_(Registry_.Lock) {
    Registry_.Providers.InstallDefaultsOnFirstUse();
  }
  TVirtualRegistry* operator->() { return &Registry_; }
  const TPerflibNames& Names() const { return Registry_.Providers.Names(); }
  TVirtualKeyTree Tree() const { return TVirtualKeyTree(Names()); }

  // The key a handle stands for; null for an unknown or closed handle.
  const TVirtualKey* Find(HKEY Key) const {
    static const TVirtualKey kMachine{};
    static const TVirtualKey kPerformanceData{true};
    if (Key == HKEY_LOCAL_MACHINE) return &kMachine;
    if (Key == HKEY_PERFORMANCE_DATA) return &kPerformanceData;
    auto It = Registry_.Handles.find(reinterpret_cast<std::uintptr_t>(Key));
    return It == Registry_.Handles.end() ? nullptr : &It->second;
  }

 private:
  TVirtualRegistry& Registry_;
  std::lock_guard<std::mutex> Guard_;
};

// Reports an empty class where the caller asks for one.
void SetEmptyClass(LPWSTR Class, LPDWORD ClassLength) {
  if (!ClassLength) return;
  if (Class && *ClassLength > 0) Class[0] = u'\0';
  *ClassLength = 0;
}

void SetWriteTime(FILETIME* Time, const TLockedRegistry& Registry) {
  if (Time) *Time = Int64ToFileTime(Registry.Names().WriteTime);
}

template <typename T>
void SetIfGiven(T* Target, T Value) {
  if (Target) *Target = Value;
}

// ".", "localhost" and this host's name (in full or up to its first dot), with or
// without a leading "\\", in any letter case; the empty name too.
bool IsLocalMachine(WideView Name) {
  if (Name.substr(0, 2) == GAUGERY_WTEXT("\\\\")) Name.remove_prefix(2);
  WideView Host = LocalHostName();
  WideView ShortHost = Host.substr(0, Host.find(u'.'));
  return Name.empty() || Name == GAUGERY_WTEXT(".") ||
         SameAsciiText(Name, GAUGERY_WTEXT("localhost")) ||
         (!Host.empty() && (SameAsciiText(Name, Host) || SameAsciiText(Name, ShortHost)));
}

LONG QueryPerformanceData(TLockedRegistry& Registry, LPCWSTR ValueName, LPDWORD Type,
                          LPBYTE Data, LPDWORD DataSize) {
  if (!DataSize) return ERROR_INVALID_PARAMETER;
  SetIfGiven(Type, REG_BINARY);
  DWORD Written = 0;
  LONG Result =
      QueryPerfDataBlock(Registry->Providers.Slots(), ValueName, Data, *DataSize, Written);
  if (Result == ERROR_SUCCESS) *DataSize = Written;
  return Result;
}

}  // namespace

TVirtualRegistry& VirtualRegistry() {
  static TVirtualRegistry Registry;
  return Registry;
}

bool VirtualRegistryInService() {
  TLockedRegistry Registry;
  return Registry->Providers.InService();
}

bool VirtualRegistryAnswers(HKEY Key) {
  TLockedRegistry Registry;
  if (Key == HKEY_LOCAL_MACHINE || Key == HKEY_PERFORMANCE_DATA) {
    return Registry->Providers.InService();
  }
  return Registry.Find(Key) != nullptr;
}

LONG VirtualRegConnectRegistryW(LPCWSTR lpMachineName, HKEY hKey, PHKEY phkResult) {
  if (!phkResult) return ERROR_INVALID_PARAMETER;
  if (hKey != HKEY_LOCAL_MACHINE && hKey != HKEY_PERFORMANCE_DATA) return ERROR_INVALID_HANDLE;
  TLockedRegistry Registry;  // the host name is read under the lock
  if (!IsLocalMachine(ViewOf(lpMachineName))) return ERROR_BAD_NETPATH;
  *phkResult = hKey;
  return ERROR_SUCCESS;
}

LONG VirtualRegOpenKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD /*ulOptions*/, REGSAM /*samDesired*/,
                          PHKEY phkResult) {
  if (!phkResult) return ERROR_INVALID_PARAMETER;
  *phkResult = nullptr;
  TLockedRegistry Registry;
  const TVirtualKey* Parent = Registry.Find(hKey);
  if (!Parent) return ERROR_INVALID_HANDLE;
  std::optional<TVirtualKey> Key = Registry.Tree().Open(*Parent, ViewOf(lpSubKey));
  if (!Key) return ERROR_FILE_NOT_FOUND;
  std::uintptr_t Handle = Registry->NextHandle;
  Registry->NextHandle += kHandleStep;
  Registry->Handles.emplace(Handle, std::move(*Key));
  *phkResult = reinterpret_cast<HKEY>(Handle);
  return ERROR_SUCCESS;
}

LONG VirtualRegQueryInfoKeyW(HKEY hKey, LPWSTR lpClass, LPDWORD lpcchClass, LPDWORD /*lpReserved*/,
                             LPDWORD lpcSubKeys, LPDWORD lpcbMaxSubKeyLen, LPDWORD lpcbMaxClassLen,
                             LPDWORD lpcValues, LPDWORD lpcbMaxValueNameLen,
                             LPDWORD lpcbMaxValueLen, LPDWORD lpcbSecurityDescriptor,
                             FILETIME* lpftLastWriteTime) {
  TLockedRegistry Registry;
  const TVirtualKey* Key = Registry.Find(hKey);
  if (!Key) return ERROR_INVALID_HANDLE;
  TVirtualKeyTree Tree = Registry.Tree();
  DWORD LongestSubKey = 0;
  for (DWORD Index = 0; Index < Tree.SubKeyCount(*Key); ++Index) {
    LongestSubKey = std::max(LongestSubKey, static_cast<DWORD>(Tree.SubKeyName(*Key, Index).size()));
  }
  DWORD LongestValueName = 0;
  DWORD LargestValue = 0;
  for (DWORD Index = 0; Index < Tree.ValueCount(*Key); ++Index) {
    TVirtualValue Value = Tree.Value(*Key, Index);
    LongestValueName = std::max(LongestValueName, static_cast<DWORD>(Value.Name.size()));
    LargestValue = std::max(LargestValue, Value.Size);
  }
  SetEmptyClass(lpClass, lpcchClass);
  SetIfGiven(lpcSubKeys, Tree.SubKeyCount(*Key));
  SetIfGiven(lpcbMaxSubKeyLen, LongestSubKey);
  SetIfGiven(lpcbMaxClassLen, DWORD{0});
  SetIfGiven(lpcValues, Tree.ValueCount(*Key));
  SetIfGiven(lpcbMaxValueNameLen, LongestValueName);
  SetIfGiven(lpcbMaxValueLen, LargestValue);
  SetIfGiven(lpcbSecurityDescriptor, DWORD{0});
  SetWriteTime(lpftLastWriteTime, Registry);
  return ERROR_SUCCESS;
}

LONG VirtualRegEnumKeyExW(HKEY hKey, DWORD dwIndex, LPWSTR lpName, LPDWORD lpcchName,
                          LPDWORD /*lpReserved*/, LPWSTR lpClass, LPDWORD lpcchClass,
                          FILETIME* lpftLastWriteTime) {
  if (!lpName || !lpcchName) return ERROR_INVALID_PARAMETER;
  TLockedRegistry Registry;
  const TVirtualKey* Key = Registry.Find(hKey);
  if (!Key) return ERROR_INVALID_HANDLE;
  TVirtualKeyTree Tree = Registry.Tree();
  if (dwIndex >= Tree.SubKeyCount(*Key)) return ERROR_NO_MORE_ITEMS;
  WideView Name = Tree.SubKeyName(*Key, dwIndex);
  if (*lpcchName < Name.size() + 1) return ERROR_MORE_DATA;
  std::copy(Name.begin(), Name.end(), lpName);
  lpName[Name.size()] = u'\0';
  *lpcchName = static_cast<DWORD>(Name.size());
  SetEmptyClass(lpClass, lpcchClass);
  SetWriteTime(lpftLastWriteTime, Registry);
  return ERROR_SUCCESS;
}

LONG VirtualRegQueryValueExW(HKEY hKey, LPCWSTR lpValueName, LPDWORD /*lpReserved*/, LPDWORD lpType,
                             LPBYTE lpData, LPDWORD lpcbData) {
  TLockedRegistry Registry;
  const TVirtualKey* Key = Registry.Find(hKey);
  if (!Key) return ERROR_INVALID_HANDLE;
  if (Key->PerformanceData) {
    return QueryPerformanceData(Registry, lpValueName, lpType, lpData, lpcbData);
  }
  if (lpData && !lpcbData) return ERROR_INVALID_PARAMETER;
  std::optional<TVirtualValue> Value = Registry.Tree().FindValue(*Key, ViewOf(lpValueName));
  if (!Value) return ERROR_FILE_NOT_FOUND;
  SetIfGiven(lpType, Value->Type);
  if (!lpcbData) return ERROR_SUCCESS;
  DWORD Given = *lpcbData;
  *lpcbData = Value->Size;
  if (!lpData) return ERROR_SUCCESS;
  if (Given < Value->Size) return ERROR_MORE_DATA;
  std::memcpy(lpData, Value->Data, Value->Size);
  return ERROR_SUCCESS;
}

LONG VirtualRegCloseKey(HKEY hKey) {
  if (hKey == HKEY_LOCAL_MACHINE || hKey == HKEY_PERFORMANCE_DATA) return ERROR_SUCCESS;
  TLockedRegistry Registry;
  return Registry->Handles.erase(reinterpret_cast<std::uintptr_t>(hKey)) == 1
             ? ERROR_SUCCESS
             : ERROR_INVALID_HANDLE;
}

}  // namespace gaugery
