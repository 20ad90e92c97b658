// The answers of RegQueryInfoKeyW, RegEnumKeyExW and RegQueryValueExW for a key of a
// key tree, with the Windows argument lists and codes. The local registry and the
// remote computers answer from a tree each; the caller holds the lock that keeps the
// tree's names alive.
#pragma once

#include "registry/VirtualKeys.h"

namespace gaugery {

LONG AnswerQueryInfoKey(const TVirtualKeyTree& Tree, const TVirtualKey& Key, LPWSTR lpClass,
                        LPDWORD lpcchClass, LPDWORD lpcSubKeys, LPDWORD lpcbMaxSubKeyLen,
                        LPDWORD lpcbMaxClassLen, LPDWORD lpcValues, LPDWORD lpcbMaxValueNameLen,
                        LPDWORD lpcbMaxValueLen, LPDWORD lpcbSecurityDescriptor,
                        FILETIME* lpftLastWriteTime);

LONG AnswerEnumKey(const TVirtualKeyTree& Tree, const TVirtualKey& Key, DWORD dwIndex,
                   LPWSTR lpName, LPDWORD lpcchName, LPWSTR lpClass, LPDWORD lpcchClass,
                   FILETIME* lpftLastWriteTime);

// A value of a key that is not HKEY_PERFORMANCE_DATA.
LONG AnswerQueryValue(const TVirtualKeyTree& Tree, const TVirtualKey& Key, LPCWSTR lpValueName,
                      LPDWORD lpType, LPBYTE lpData, LPDWORD lpcbData);

template <typename T>
void SetIfGiven(T* Target, T Value) {
  if (Target) *Target = Value;
}

}  // namespace gaugery
