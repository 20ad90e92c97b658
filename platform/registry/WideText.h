// Small helpers for the UTF-16 names the virtual registry compares: key names, value
// names and machine names match without regard to ASCII letter case, as in Windows.
#pragma once

#include <string_view>

#include "framework/WinTypes.h"

namespace gaugery {

using WideView = std::basic_string_view<WCHAR>;

// The text up to its NUL; a null pointer reads as the empty text.
inline WideView ViewOf(const WCHAR* Text) { return Text ? WideView(Text) : WideView(); }

inline WCHAR AsciiLower(WCHAR Char) {
  return Char >= u'A' && Char <= u'Z' ? static_cast<WCHAR>(Char - u'A' + u'a') : Char;
}

inline bool SameAsciiText(WideView A, WideView B) {
  if (A.size() != B.size()) return false;
  for (std::size_t I = 0; I < A.size(); ++I) {
    if (AsciiLower(A[I]) != AsciiLower(B[I])) return false;
  }
  return true;
}

}  // namespace gaugery
