#include "registry/VirtualRegistry.h"

#include "registry/HostName.h"
#include "registry/KeyTreeCalls.h"
#include "registry/PerfDataBlock.h"
#include "registry/Registry.h"
#include "registry/RemoteRegistry.h"

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
  if (IsRemoteKey(Key)) return true;
  TLockedRegistry Registry;
  if (Key == HKEY_LOCAL_MACHINE || Key == HKEY_PERFORMANCE_DATA) {
    return Registry->Providers.InService();
  }
  return Registry.Find(Key) != nullptr;
}

LONG VirtualRegConnectRegistryW(LPCWSTR lpMachineName, HKEY hKey, PHKEY phkResult) {
  if (!phkResult) return ERROR_INVALID_PARAMETER;
  if (hKey != HKEY_LOCAL_MACHINE && hKey != HKEY_PERFORMANCE_DATA) return ERROR_INVALID_HANDLE;
  {
    TLockedRegistry Registry;  // the host name is read under the lock
    if (IsLocalMachine(ViewOf(lpMachineName))) {
      *phkResult = hKey;
      return ERROR_SUCCESS;
    }
  }
  return ConnectRemoteRegistry(ViewOf(lpMachineName), hKey, phkResult);
}

LONG VirtualRegOpenKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD /*ulOptions*/, REGSAM /*samDesired*/,
                   PHKEY phkResult) {
  if (!phkResult) return ERROR_INVALID_PARAMETER;
  *phkResult = nullptr;
  if (IsRemoteKey(hKey)) return RemoteOpenKey(hKey, lpSubKey, phkResult);
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
                      LPDWORD lpcValues, LPDWORD lpcbMaxValueNameLen, LPDWORD lpcbMaxValueLen,
                      LPDWORD lpcbSecurityDescriptor, FILETIME* lpftLastWriteTime) {
  if (IsRemoteKey(hKey)) {
    return RemoteQueryInfoKey(hKey, lpClass, lpcchClass, lpcSubKeys, lpcbMaxSubKeyLen,
                              lpcbMaxClassLen, lpcValues, lpcbMaxValueNameLen, lpcbMaxValueLen,
                              lpcbSecurityDescriptor, lpftLastWriteTime);
  }
  TLockedRegistry Registry;
  const TVirtualKey* Key = Registry.Find(hKey);
  if (!Key) return ERROR_INVALID_HANDLE;
  return AnswerQueryInfoKey(Registry.Tree(), *Key, lpClass, lpcchClass, lpcSubKeys,
                            lpcbMaxSubKeyLen, lpcbMaxClassLen, lpcValues, lpcbMaxValueNameLen,
                            lpcbMaxValueLen, lpcbSecurityDescriptor, lpftLastWriteTime);
}

LONG VirtualRegEnumKeyExW(HKEY hKey, DWORD dwIndex, LPWSTR lpName, LPDWORD lpcchName,
                   LPDWORD /*lpReserved*/, LPWSTR lpClass, LPDWORD lpcchClass,
                   FILETIME* lpftLastWriteTime) {
  if (!lpName || !lpcchName) return ERROR_INVALID_PARAMETER;
  if (IsRemoteKey(hKey)) {
    return RemoteEnumKey(hKey, dwIndex, lpName, lpcchName, lpClass, lpcchClass,
                         lpftLastWriteTime);
  }
  TLockedRegistry Registry;
  const TVirtualKey* Key = Registry.Find(hKey);
  if (!Key) return ERROR_INVALID_HANDLE;
  return AnswerEnumKey(Registry.Tree(), *Key, dwIndex, lpName, lpcchName, lpClass, lpcchClass,
                       lpftLastWriteTime);
}

LONG VirtualRegQueryValueExW(HKEY hKey, LPCWSTR lpValueName, LPDWORD /*lpReserved*/, LPDWORD lpType,
                      LPBYTE lpData, LPDWORD lpcbData) {
  if (IsRemoteKey(hKey)) return RemoteQueryValue(hKey, lpValueName, lpType, lpData, lpcbData);
  TLockedRegistry Registry;
  const TVirtualKey* Key = Registry.Find(hKey);
  if (!Key) return ERROR_INVALID_HANDLE;
  if (Key->PerformanceData) {
    return QueryPerformanceData(Registry, lpValueName, lpType, lpData, lpcbData);
  }
  return AnswerQueryValue(Registry.Tree(), *Key, lpValueName, lpType, lpData, lpcbData);
}

LONG VirtualRegCloseKey(HKEY hKey) {
  if (hKey == HKEY_LOCAL_MACHINE || hKey == HKEY_PERFORMANCE_DATA) return ERROR_SUCCESS;
  if (IsRemoteKey(hKey)) return RemoteCloseKey(hKey);
  TLockedRegistry Registry;
  return Registry->Handles.erase(reinterpret_cast<std::uintptr_t>(hKey)) == 1
             ? ERROR_SUCCESS
             : ERROR_INVALID_HANDLE;
}

}  // namespace gaugery
