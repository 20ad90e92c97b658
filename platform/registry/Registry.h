// The six registry calls the library relies on, with the argument lists and return
// codes of the Windows registry. On Windows they forward to advapi32; on Linux they
// are answered by the virtual registry (VirtualRegistry.h).
#pragma once

#include <cstdint>

#include "framework/LibraryExport.h"
#include "framework/WinTypes.h"

struct HKEY__;  // the same opaque tag the Windows headers use

namespace gaugery {

using HKEY = HKEY__*;
using PHKEY = HKEY*;
using REGSAM = DWORD;

// Predefined keys carry the sign-extended 32-bit values Windows gives them.
inline HKEY PredefinedKey(std::uint32_t value) {
  return reinterpret_cast<HKEY>(static_cast<std::intptr_t>(static_cast<std::int32_t>(value)));
}
inline const HKEY HKEY_LOCAL_MACHINE = PredefinedKey(0x80000002u);
inline const HKEY HKEY_PERFORMANCE_DATA = PredefinedKey(0x80000004u);

constexpr LONG ERROR_SUCCESS = 0;
constexpr LONG ERROR_FILE_NOT_FOUND = 2;
constexpr LONG ERROR_ACCESS_DENIED = 5;
constexpr LONG ERROR_INVALID_HANDLE = 6;
constexpr LONG ERROR_NOT_ENOUGH_MEMORY = 8;
constexpr LONG ERROR_INVALID_DATA = 13;
constexpr LONG ERROR_BAD_NETPATH = 53;
constexpr LONG ERROR_INVALID_PARAMETER = 87;
constexpr LONG ERROR_MORE_DATA = 234;
constexpr LONG ERROR_NO_MORE_ITEMS = 259;

constexpr REGSAM KEY_READ = 0x20019;

constexpr DWORD REG_NONE = 0;
constexpr DWORD REG_SZ = 1;
constexpr DWORD REG_BINARY = 3;
constexpr DWORD REG_DWORD = 4;
constexpr DWORD REG_MULTI_SZ = 7;

GAUGERY_PLATFORM_API LONG RegConnectRegistryW(LPCWSTR lpMachineName, HKEY hKey, PHKEY phkResult);
GAUGERY_PLATFORM_API LONG RegOpenKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD ulOptions,
                                        REGSAM samDesired, PHKEY phkResult);
GAUGERY_PLATFORM_API LONG RegQueryInfoKeyW(HKEY hKey, LPWSTR lpClass, LPDWORD lpcchClass,
                                           LPDWORD lpReserved, LPDWORD lpcSubKeys,
                                           LPDWORD lpcbMaxSubKeyLen, LPDWORD lpcbMaxClassLen,
                                           LPDWORD lpcValues, LPDWORD lpcbMaxValueNameLen,
                                           LPDWORD lpcbMaxValueLen, LPDWORD lpcbSecurityDescriptor,
                                           FILETIME* lpftLastWriteTime);
GAUGERY_PLATFORM_API LONG RegEnumKeyExW(HKEY hKey, DWORD dwIndex, LPWSTR lpName, LPDWORD lpcchName,
                                        LPDWORD lpReserved, LPWSTR lpClass, LPDWORD lpcchClass,
                                        FILETIME* lpftLastWriteTime);
GAUGERY_PLATFORM_API LONG RegQueryValueExW(HKEY hKey, LPCWSTR lpValueName, LPDWORD lpReserved,
                                           LPDWORD lpType, LPBYTE lpData, LPDWORD lpcbData);
GAUGERY_PLATFORM_API LONG RegCloseKey(HKEY hKey);

}  // namespace gaugery
