// The registry calls on Windows: the virtual registry answers while a provider set is in
// service and for the keys it opened (VirtualRegistry.h); advapi32 answers the rest. Our
// headers come first: once <windows.h> is in, its macros (HKEY_LOCAL_MACHINE,
// ERROR_SUCCESS, ...) shadow our constants, and they stand for the same values.
#include "framework/Unicode.h"
#include "registry/Registry.h"
#include "registry/RemoteAddress.h"
#include "registry/VirtualRegistry.h"

#include "framework/WindowsApi.h"

namespace gaugery {

static_assert(sizeof(FILETIME) == sizeof(::FILETIME));

LONG RegConnectRegistryW(LPCWSTR lpMachineName, HKEY hKey, PHKEY phkResult) {
  // A name with a port means a machine running `gaugery serve`: our transport reaches it,
  // and the keys it hands out are answered by the virtual registry (VirtualRegistryAnswers).
  if (VirtualRegistryInService() || (lpMachineName && NamesServePort(ToUtf8(lpMachineName)))) {
    return VirtualRegConnectRegistryW(lpMachineName, hKey, phkResult);
  }
  return ::RegConnectRegistryW(lpMachineName, hKey, phkResult);
}

LONG RegOpenKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD ulOptions, REGSAM samDesired,
                   PHKEY phkResult) {
  if (VirtualRegistryAnswers(hKey)) {
    return VirtualRegOpenKeyExW(hKey, lpSubKey, ulOptions, samDesired, phkResult);
  }
  return ::RegOpenKeyExW(hKey, lpSubKey, ulOptions, samDesired, phkResult);
}

LONG RegQueryInfoKeyW(HKEY hKey, LPWSTR lpClass, LPDWORD lpcchClass, LPDWORD lpReserved,
                      LPDWORD lpcSubKeys, LPDWORD lpcbMaxSubKeyLen, LPDWORD lpcbMaxClassLen,
                      LPDWORD lpcValues, LPDWORD lpcbMaxValueNameLen, LPDWORD lpcbMaxValueLen,
                      LPDWORD lpcbSecurityDescriptor, FILETIME* lpftLastWriteTime) {
  if (VirtualRegistryAnswers(hKey)) {
    return VirtualRegQueryInfoKeyW(
        hKey, lpClass, lpcchClass, lpReserved, lpcSubKeys, lpcbMaxSubKeyLen, lpcbMaxClassLen,
        lpcValues, lpcbMaxValueNameLen, lpcbMaxValueLen, lpcbSecurityDescriptor, lpftLastWriteTime);
  }
  return ::RegQueryInfoKeyW(hKey, lpClass, lpcchClass, lpReserved, lpcSubKeys, lpcbMaxSubKeyLen,
                            lpcbMaxClassLen, lpcValues, lpcbMaxValueNameLen, lpcbMaxValueLen,
                            lpcbSecurityDescriptor,
                            reinterpret_cast<::FILETIME*>(lpftLastWriteTime));
}

LONG RegEnumKeyExW(HKEY hKey, DWORD dwIndex, LPWSTR lpName, LPDWORD lpcchName, LPDWORD lpReserved,
                   LPWSTR lpClass, LPDWORD lpcchClass, FILETIME* lpftLastWriteTime) {
  if (VirtualRegistryAnswers(hKey)) {
    return VirtualRegEnumKeyExW(hKey, dwIndex, lpName, lpcchName, lpReserved, lpClass, lpcchClass,
                                lpftLastWriteTime);
  }
  return ::RegEnumKeyExW(hKey, dwIndex, lpName, lpcchName, lpReserved, lpClass, lpcchClass,
                         reinterpret_cast<::FILETIME*>(lpftLastWriteTime));
}

LONG RegQueryValueExW(HKEY hKey, LPCWSTR lpValueName, LPDWORD lpReserved, LPDWORD lpType,
                      LPBYTE lpData, LPDWORD lpcbData) {
  if (VirtualRegistryAnswers(hKey)) {
    return VirtualRegQueryValueExW(hKey, lpValueName, lpReserved, lpType, lpData, lpcbData);
  }
  return ::RegQueryValueExW(hKey, lpValueName, lpReserved, lpType, lpData, lpcbData);
}

LONG RegCloseKey(HKEY hKey) {
  if (VirtualRegistryAnswers(hKey)) return VirtualRegCloseKey(hKey);
  return ::RegCloseKey(hKey);
}

}  // namespace gaugery
