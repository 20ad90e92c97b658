#include "registry/RemoteRegistry.h"

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "framework/Unicode.h"
#include "registry/KeyTreeCalls.h"
#include "registry/RemoteComputer.h"
#include "registry/RemoteToken.h"

namespace gaugery {

namespace {

// A key of a remote computer; the keys opened below a connection share its computer.
struct TRemoteKey {
  std::shared_ptr<TRemoteComputer> Computer;
  TVirtualKey Key;
};

// The open remote keys. Their handles count upwards in steps of 4 from 0x1002, so that
// they never equal a local handle (0x1000 upwards in steps of 4) or a predefined key.
class TRemoteKeys {
 public:
  HKEY Add(TRemoteKey Key) {
    const std::lock_guard<std::mutex> Guard(Lock_);
    const std::uintptr_t Handle = Next_;
    Next_ += 4;
    Keys_.emplace(Handle, std::move(Key));
    return reinterpret_cast<HKEY>(Handle);
  }

  std::optional<TRemoteKey> Find(HKEY Key) {
    const std::lock_guard<std::mutex> Guard(Lock_);
    const auto Found = Keys_.find(reinterpret_cast<std::uintptr_t>(Key));
    if (Found == Keys_.end()) return std::nullopt;
    return Found->second;
  }

  bool Remove(HKEY Key) {
    const std::lock_guard<std::mutex> Guard(Lock_);
    return Keys_.erase(reinterpret_cast<std::uintptr_t>(Key)) == 1;
  }

 private:
  std::mutex Lock_;
  std::map<std::uintptr_t, TRemoteKey> Keys_;
  std::uintptr_t Next_ = 0x1002;
};

TRemoteKeys& RemoteKeys() {
  static TRemoteKeys Keys;
  return Keys;
}

// Runs Call with the key's computer locked and a tree over its names; an unknown
// handle gives ERROR_INVALID_HANDLE.
template <typename TCall>
LONG WithKey(HKEY Handle, TCall&& Call) {
  const std::optional<TRemoteKey> Key = RemoteKeys().Find(Handle);
  if (!Key) return ERROR_INVALID_HANDLE;
  const std::lock_guard<std::mutex> Guard(Key->Computer->Lock());
  return Call(*Key, TVirtualKeyTree(Key->Computer->Names()));
}

// Why this thread's last connection failed, where the server said it.
std::string& LastConnectionNote() {
  thread_local std::string Note;
  return Note;
}

}  // namespace

std::string WithRemoteConnectionNote(const std::string& Message) {
  const std::string& Note = LastConnectionNote();
  return Note.empty() ? Message : Message + ": " + Note;
}

bool IsRemoteKey(HKEY Key) { return RemoteKeys().Find(Key).has_value(); }

LONG ConnectRemoteRegistry(WideView MachineName, HKEY Predefined, PHKEY Result) {
  const std::optional<TRemoteAddress> Address = ParseRemoteAddress(ToUtf8(WideString(MachineName)));
  if (!Address || Address->Port == 0) return ERROR_BAD_NETPATH;
  const std::string Token = RemoteToken();
  auto Computer = std::make_shared<TRemoteComputer>(*Address, Token);
  LastConnectionNote().clear();
  if (!Computer->Connect()) {
    if (Computer->WasRefusedForToken())
      LastConnectionNote() = Token.empty() ? "the server asks for a token"
                                           : "the server asks for a token, and refuses this one";
    return ERROR_BAD_NETPATH;
  }
  *Result = RemoteKeys().Add({std::move(Computer), TVirtualKey{Predefined == HKEY_PERFORMANCE_DATA}});
  return ERROR_SUCCESS;
}

LONG RemoteOpenKey(HKEY Key, LPCWSTR SubKey, PHKEY Result) {
  std::optional<TRemoteKey> Opened;
  const LONG Code = WithKey(Key, [&](const TRemoteKey& Parent, const TVirtualKeyTree& Tree) {
    std::optional<TVirtualKey> Child = Tree.Open(Parent.Key, ViewOf(SubKey));
    if (!Child) return ERROR_FILE_NOT_FOUND;
    if (!Child->Locale.empty()) {
      const LONG Loaded = Parent.Computer->LoadLocale(Child->Locale);
      if (Loaded != ERROR_SUCCESS) return Loaded;
    }
    Opened = TRemoteKey{Parent.Computer, std::move(*Child)};
    return ERROR_SUCCESS;
  });
  if (Code == ERROR_SUCCESS) *Result = RemoteKeys().Add(std::move(*Opened));
  return Code;
}

LONG RemoteQueryInfoKey(HKEY Key, LPWSTR lpClass, LPDWORD lpcchClass, LPDWORD lpcSubKeys,
                        LPDWORD lpcbMaxSubKeyLen, LPDWORD lpcbMaxClassLen, LPDWORD lpcValues,
                        LPDWORD lpcbMaxValueNameLen, LPDWORD lpcbMaxValueLen,
                        LPDWORD lpcbSecurityDescriptor, FILETIME* lpftLastWriteTime) {
  return WithKey(Key, [&](const TRemoteKey& Remote, const TVirtualKeyTree& Tree) {
    return AnswerQueryInfoKey(Tree, Remote.Key, lpClass, lpcchClass, lpcSubKeys, lpcbMaxSubKeyLen,
                              lpcbMaxClassLen, lpcValues, lpcbMaxValueNameLen, lpcbMaxValueLen,
                              lpcbSecurityDescriptor, lpftLastWriteTime);
  });
}

LONG RemoteEnumKey(HKEY Key, DWORD dwIndex, LPWSTR lpName, LPDWORD lpcchName, LPWSTR lpClass,
                   LPDWORD lpcchClass, FILETIME* lpftLastWriteTime) {
  return WithKey(Key, [&](const TRemoteKey& Remote, const TVirtualKeyTree& Tree) {
    return AnswerEnumKey(Tree, Remote.Key, dwIndex, lpName, lpcchName, lpClass, lpcchClass,
                         lpftLastWriteTime);
  });
}

LONG RemoteQueryValue(HKEY Key, LPCWSTR lpValueName, LPDWORD lpType, LPBYTE lpData,
                      LPDWORD lpcbData) {
  return WithKey(Key, [&](const TRemoteKey& Remote, const TVirtualKeyTree& Tree) {
    if (Remote.Key.PerformanceData) {
      return Remote.Computer->QueryPerfData(lpValueName, lpType, lpData, lpcbData);
    }
    return AnswerQueryValue(Tree, Remote.Key, lpValueName, lpType, lpData, lpcbData);
  });
}

LONG RemoteCloseKey(HKEY Key) {
  return RemoteKeys().Remove(Key) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

}  // namespace gaugery
