// The registry calls on the keys of remote computers (RemoteComputer.h), for the
// virtual registry to pass on: a connection to any name that is not this machine's
// comes here. The handles have a table and a lock of their own, apart from the
// local keys, and a computer's network exchanges hold only that computer's lock.
#pragma once

#include <string>

#include "framework/LibraryExport.h"
#include "registry/Registry.h"
#include "registry/WideText.h"

namespace gaugery {

// True for a handle that ConnectRemoteRegistry or RemoteOpenKey gave out and that is
// not closed yet.
bool IsRemoteKey(HKEY Key);

// Connects to the HKEY_LOCAL_MACHINE or HKEY_PERFORMANCE_DATA (Predefined) of the
// machine that MachineName names ("\\host:port", "host:port", "host" for port 9441).
// ERROR_BAD_NETPATH for a name of another form, and for a machine that cannot be
// reached within a few seconds or does not answer like `gaugery serve`.
// Requests carry the token of RemoteToken.h.
LONG ConnectRemoteRegistry(WideView MachineName, HKEY Predefined, PHKEY Result);

// Message, followed by why the last ConnectRemoteRegistry of this thread failed where
// the server said why (": the server asks for a token" when it refused for want of
// the right token).
GAUGERY_PLATFORM_API std::string WithRemoteConnectionNote(const std::string& Message);

// Opening a locale key fetches that locale's names.
LONG RemoteOpenKey(HKEY Key, LPCWSTR SubKey, PHKEY Result);
LONG RemoteQueryInfoKey(HKEY Key, LPWSTR lpClass, LPDWORD lpcchClass, LPDWORD lpcSubKeys,
                        LPDWORD lpcbMaxSubKeyLen, LPDWORD lpcbMaxClassLen, LPDWORD lpcValues,
                        LPDWORD lpcbMaxValueNameLen, LPDWORD lpcbMaxValueLen,
                        LPDWORD lpcbSecurityDescriptor, FILETIME* lpftLastWriteTime);
LONG RemoteEnumKey(HKEY Key, DWORD dwIndex, LPWSTR lpName, LPDWORD lpcchName, LPWSTR lpClass,
                   LPDWORD lpcchClass, FILETIME* lpftLastWriteTime);
// A query of the remote HKEY_PERFORMANCE_DATA fetches a block.
LONG RemoteQueryValue(HKEY Key, LPCWSTR lpValueName, LPDWORD lpType, LPBYTE lpData,
                      LPDWORD lpcbData);
LONG RemoteCloseKey(HKEY Key);

}  // namespace gaugery
