// The key tree of the virtual registry: HKEY_LOCAL_MACHINE, the keys down to
// SOFTWARE\Microsoft\Windows NT\CurrentVersion\Perflib, the Perflib key with one subkey
// per locale, and HKEY_PERFORMANCE_DATA (whose data the block assembly answers).
#pragma once

#include <optional>

#include "registry/PerflibNames.h"
#include "registry/WideText.h"

namespace gaugery {

// A key, named by its place in the tree so that a handle stays meaningful when the
// Perflib names are rebuilt.
struct TVirtualKey {
  bool PerformanceData = false;
  // 0 for HKEY_LOCAL_MACHINE, one more per level down; Perflib's subkeys are locales.
  int Depth = 0;
  WideString Locale;
};

// A value of a key. Data points into the names the tree was made over.
struct TVirtualValue {
  WideView Name;
  DWORD Type;
  const BYTE* Data;
  DWORD Size;
};

// Looks keys and values up in one version of the Perflib names.
class TVirtualKeyTree {
 public:
  explicit TVirtualKeyTree(const TPerflibNames& Names) : Names_(Names) {}

  // The key that Path names below Key: components separated by "\", compared without
  // regard to ASCII case; an empty path names Key itself and one trailing "\" is
  // ignored. Empty when there is no such key.
  std::optional<TVirtualKey> Open(const TVirtualKey& Key, WideView Path) const;

  DWORD SubKeyCount(const TVirtualKey& Key) const;
  // Index below SubKeyCount.
  WideView SubKeyName(const TVirtualKey& Key, DWORD Index) const;

  DWORD ValueCount(const TVirtualKey& Key) const;
  // Index below ValueCount.
  TVirtualValue Value(const TVirtualKey& Key, DWORD Index) const;
  // Value names compare without regard to ASCII case.
  std::optional<TVirtualValue> FindValue(const TVirtualKey& Key, WideView Name) const;

  // When the names were made, as a file time: the last write time of every key.
  std::int64_t WriteTime() const { return Names_.WriteTime; }

 private:
  std::optional<TVirtualKey> Child(const TVirtualKey& Key, WideView Name) const;
  // The locale of a locale key; null when the key is no locale key or its locale is
  // gone since the handle was opened.
  const TPerflibLocale* LocaleOf(const TVirtualKey& Key) const;

  const TPerflibNames& Names_;
};

}  // namespace gaugery
