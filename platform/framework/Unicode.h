// Conversion between the UTF-8 of the public interface and the UTF-16 of the
// registry and the data block. Ill-formed input is replaced by U+FFFD, never refused.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "framework/LibraryExport.h"
#include "framework/WinTypes.h"

namespace gaugery {

// UTF-16 text up to (not including) the first NUL.
GAUGERY_PLATFORM_API std::string ToUtf8(const WCHAR* Text);
// Exactly Length code units (NULs included).
GAUGERY_PLATFORM_API std::string ToUtf8(const WCHAR* Text, std::size_t Length);
GAUGERY_PLATFORM_API std::string ToUtf8(const WideString& Text);

GAUGERY_PLATFORM_API WideString ToWide(const std::string& Text);
// Appends the UTF-16 of Text to Out, for texts built piece by piece.
GAUGERY_PLATFORM_API void AppendWide(WideString& Out, std::string_view Text);

// Length of a NUL-terminated UTF-16 text in code units.
GAUGERY_PLATFORM_API int lstrlenW(const WCHAR* Text);

// The number of code points of UTF-8 text (continuation bytes do not count).
GAUGERY_PLATFORM_API std::size_t CodePointCount(const std::string& Text);
// The first Count code points of UTF-8 text (all of it when it is shorter).
GAUGERY_PLATFORM_API std::string FirstCodePoints(const std::string& Text, std::size_t Count);

}  // namespace gaugery
