// The virtual registry: the registry calls of Registry.h answered from memory. On Linux
// it answers every call; on Windows it answers while a provider set is in service (see
// PerfProviders.h) and for the keys it handed out, and the system's registry answers
// the rest. Its process-wide state is the providers in service (with the Perflib names
// made from them) and the open key handles, all guarded by one lock. Providers are
// called with the lock held, so they must not call the registry themselves.
#pragma once

#include <cstdint>
#include <map>
#include <mutex>

#include "registry/PerfProviderSet.h"
#include "registry/Registry.h"
#include "registry/VirtualKeys.h"

namespace gaugery {

struct TVirtualRegistry {
  std::mutex Lock;
  TPerfProviderSet Providers;
  // Handles count upwards from above every handle value Windows gives out (its handle
  // tables stop below 2^26), so that they never meet the system registry's keys, and
  // are never given out twice.
  std::map<std::uintptr_t, TVirtualKey> Handles;
  std::uintptr_t NextHandle = 0x10000000;
};

// Made at first use and destroyed at process exit, which closes the providers still open.
TVirtualRegistry& VirtualRegistry();

// True while a provider set is in service: always on Linux, where the defaults are put in
// service at first use; on Windows from SetPerfProviders until RestoreDefaultPerfProviders.
bool VirtualRegistryInService();

// True when the virtual registry answers calls on Key: a predefined key while it is in
// service, or a key it opened and has not closed.
bool VirtualRegistryAnswers(HKEY Key);

// The registry calls, with the arguments, semantics and codes of Registry.h.
LONG VirtualRegConnectRegistryW(LPCWSTR lpMachineName, HKEY hKey, PHKEY phkResult);
LONG VirtualRegOpenKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD ulOptions, REGSAM samDesired,
                          PHKEY phkResult);
LONG VirtualRegQueryInfoKeyW(HKEY hKey, LPWSTR lpClass, LPDWORD lpcchClass, LPDWORD lpReserved,
                             LPDWORD lpcSubKeys, LPDWORD lpcbMaxSubKeyLen, LPDWORD lpcbMaxClassLen,
                             LPDWORD lpcValues, LPDWORD lpcbMaxValueNameLen,
                             LPDWORD lpcbMaxValueLen, LPDWORD lpcbSecurityDescriptor,
                             FILETIME* lpftLastWriteTime);
LONG VirtualRegEnumKeyExW(HKEY hKey, DWORD dwIndex, LPWSTR lpName, LPDWORD lpcchName,
                          LPDWORD lpReserved, LPWSTR lpClass, LPDWORD lpcchClass,
                          FILETIME* lpftLastWriteTime);
LONG VirtualRegQueryValueExW(HKEY hKey, LPCWSTR lpValueName, LPDWORD lpReserved, LPDWORD lpType,
                             LPBYTE lpData, LPDWORD lpcbData);
LONG VirtualRegCloseKey(HKEY hKey);

}  // namespace gaugery
