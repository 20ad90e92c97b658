#include "registry/KeyTreeCalls.h"

#include <algorithm>
#include <cstring>

#include "framework/WinTime.h"
#include "registry/Registry.h"

namespace gaugery {

namespace {

// Reports an empty class where the caller asks for one.
void SetEmptyClass(LPWSTR Class, LPDWORD ClassLength) {
  if (!ClassLength) return;
  if (Class && *ClassLength > 0) Class[0] = u'\0';
  *ClassLength = 0;
}

void SetWriteTime(FILETIME* Time, const TVirtualKeyTree& Tree) {
  if (Time) *Time = Int64ToFileTime(Tree.WriteTime());
}

}  // namespace

LONG AnswerQueryInfoKey(const TVirtualKeyTree& Tree, const TVirtualKey& Key, LPWSTR lpClass,
                        LPDWORD lpcchClass, LPDWORD lpcSubKeys, LPDWORD lpcbMaxSubKeyLen,
                        LPDWORD lpcbMaxClassLen, LPDWORD lpcValues, LPDWORD lpcbMaxValueNameLen,
                        LPDWORD lpcbMaxValueLen, LPDWORD lpcbSecurityDescriptor,
                        FILETIME* lpftLastWriteTime) {
  DWORD LongestSubKey = 0;
  for (DWORD Index = 0; Index < Tree.SubKeyCount(Key); ++Index) {
    LongestSubKey = std::max(LongestSubKey, static_cast<DWORD>(Tree.SubKeyName(Key, Index).size()));
  }
  DWORD LongestValueName = 0;
  DWORD LargestValue = 0;
  for (DWORD Index = 0; Index < Tree.ValueCount(Key); ++Index) {
    TVirtualValue Value = Tree.Value(Key, Index);
    LongestValueName = std::max(LongestValueName, static_cast<DWORD>(Value.Name.size()));
    LargestValue = std::max(LargestValue, Value.Size);
  }
  SetEmptyClass(lpClass, lpcchClass);
  SetIfGiven(lpcSubKeys, Tree.SubKeyCount(Key));
  SetIfGiven(lpcbMaxSubKeyLen, LongestSubKey);
  SetIfGiven(lpcbMaxClassLen, DWORD{0});
  SetIfGiven(lpcValues, Tree.ValueCount(Key));
  SetIfGiven(lpcbMaxValueNameLen, LongestValueName);
  SetIfGiven(lpcbMaxValueLen, LargestValue);
  SetIfGiven(lpcbSecurityDescriptor, DWORD{0});
  SetWriteTime(lpftLastWriteTime, Tree);
  return ERROR_SUCCESS;
}

LONG AnswerEnumKey(const TVirtualKeyTree& Tree, const TVirtualKey& Key, DWORD dwIndex,
                   LPWSTR lpName, LPDWORD lpcchName, LPWSTR lpClass, LPDWORD lpcchClass,
                   FILETIME* lpftLastWriteTime) {
  if (dwIndex >= Tree.SubKeyCount(Key)) return ERROR_NO_MORE_ITEMS;
  WideView Name = Tree.SubKeyName(Key, dwIndex);
  if (*lpcchName < Name.size() + 1) return ERROR_MORE_DATA;
  std::copy(Name.begin(), Name.end(), lpName);
  lpName[Name.size()] = u'\0';
  *lpcchName = static_cast<DWORD>(Name.size());
  SetEmptyClass(lpClass, lpcchClass);
  SetWriteTime(lpftLastWriteTime, Tree);
  return ERROR_SUCCESS;
}

LONG AnswerQueryValue(const TVirtualKeyTree& Tree, const TVirtualKey& Key, LPCWSTR lpValueName,
                      LPDWORD lpType, LPBYTE lpData, LPDWORD lpcbData) {
  if (lpData && !lpcbData) return ERROR_INVALID_PARAMETER;
  std::optional<TVirtualValue> Value = Tree.FindValue(Key, ViewOf(lpValueName));
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

}  // namespace gaugery
