// ASCII text as HTTP reads it: header names compare in any letter case, values lose
// their surrounding blanks.
#pragma once

#include <algorithm>
#include <string_view>

namespace gaugery::http {

inline char AsciiLower(char C) { return C >= 'A' && C <= 'Z' ? static_cast<char>(C - 'A' + 'a') : C; }

inline bool IsAsciiAlnum(char C) {
  return (C >= 'a' && C <= 'z') || (C >= 'A' && C <= 'Z') || (C >= '0' && C <= '9');
}

inline bool SameAsciiWord(std::string_view A, std::string_view B) {
  return A.size() == B.size() && std::equal(A.begin(), A.end(), B.begin(), [](char X, char Y) {
           return AsciiLower(X) == AsciiLower(Y);
         });
}

inline std::string_view TrimmedBlanks(std::string_view Text) {
  while (!Text.empty() && (Text.front() == ' ' || Text.front() == '\t')) Text.remove_prefix(1);
  while (!Text.empty() && (Text.back() == ' ' || Text.back() == '\t')) Text.remove_suffix(1);
  return Text;
}

}  // namespace gaugery::http
