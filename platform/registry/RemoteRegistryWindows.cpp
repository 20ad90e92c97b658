// On Windows the virtual registry reaches no remote computer: remote computers are the
// system registry's, which answers whenever no provider set is in service.
#include "registry/RemoteRegistry.h"

namespace gaugery {

bool IsRemoteKey(HKEY) { return false; }

LONG ConnectRemoteRegistry(WideView, HKEY, PHKEY) { return ERROR_BAD_NETPATH; }

std::string WithRemoteConnectionNote(const std::string& Message) { return Message; }

LONG RemoteOpenKey(HKEY, LPCWSTR, PHKEY) { return ERROR_INVALID_HANDLE; }

LONG RemoteQueryInfoKey(HKEY, LPWSTR, LPDWORD, LPDWORD, LPDWORD, LPDWORD, LPDWORD, LPDWORD,
                        LPDWORD, LPDWORD, FILETIME*) {
  return ERROR_INVALID_HANDLE;
}

LONG RemoteEnumKey(HKEY, DWORD, LPWSTR, LPDWORD, LPWSTR, LPDWORD, FILETIME*) {
  return ERROR_INVALID_HANDLE;
}

LONG RemoteQueryValue(HKEY, LPCWSTR, LPDWORD, LPBYTE, LPDWORD) { return ERROR_INVALID_HANDLE; }

LONG RemoteCloseKey(HKEY) { return ERROR_INVALID_HANDLE; }

}  // namespace gaugery
