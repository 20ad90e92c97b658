// The one case-insensitive, locale-aware comparison of texts. On Linux texts are equal
// when their full case foldings are canonically equivalent, and are ordered by an ICU
// collator of the user's locale; on Windows CompareStringW with NORM_IGNORECASE under
// the user's default locale.
#pragma once

#include "framework/LibraryExport.h"

#include <cstdint>
#include <string>

namespace gaugery {

// < 0, 0 or > 0 as S1 sorts before, equal to or after S2, ignoring case. Only letter
// case is ignored: width, compatibility forms, accents and control characters count.
GAUGERY_PLATFORM_API int AnsiCompareText(const std::string& S1, const std::string& S2);

// AnsiCompareText(S1, S2) == 0; on Linux answered without collating the texts.
GAUGERY_PLATFORM_API bool AnsiSameText(const std::string& S1, const std::string& S2);

// A key for hash indexes: two texts have equal keys exactly when AnsiCompareText
// calls them equal.
GAUGERY_PLATFORM_API std::string AnsiSortKey(const std::string& S);

// A hash for hash indexes: texts that AnsiCompareText calls equal get equal hashes.
// Texts it tells apart may share a hash, so an index compares the texts whose hashes
// are equal. On Linux it allocates nothing for ASCII texts.
GAUGERY_PLATFORM_API std::uint64_t AnsiTextHash(const std::string& S);

}  // namespace gaugery
