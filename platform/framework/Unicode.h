// Conversion between the UTF-8 of the public interface and the UTF-16 of the
// registry and the data block. Ill-formed input is replaced by U+FFFD, never refused.
#pragma once

#include <cstddef>
#include <string>

#include "framework/WinTypes.h"

namespace gaugery {

// UTF-16 text up to (not including) the first NUL.
std::string ToUtf8(const WCHAR* Text);
// Exactly Length code units (NULs included).
std::string ToUtf8(const WCHAR* Text, std::size_t Length);
std::string ToUtf8(const WideString& Text);

WideString ToWide(const std::string& Text);

// Length of a NUL-terminated UTF-16 text in code units.
int lstrlenW(const WCHAR* Text);

// The number of code points of UTF-8 text (continuation bytes do not count).
std::size_t CodePointCount(const std::string& Text);
// The first Count code points of UTF-8 text (all of it when it is shorter).
std::string FirstCodePoints(const std::string& Text, std::size_t Count);

}  // namespace gaugery
