// The one case-insensitive, locale-aware comparison of texts. On Linux an ICU collator
// of the user's locale at secondary strength; on Windows CompareStringW with
// NORM_IGNORECASE under the user's default locale.
#pragma once

#include <cstdint>
#include <string>

namespace gaugery {

// < 0, 0 or > 0 as S1 sorts before, equal to or after S2, ignoring case.
int AnsiCompareText(const std::string& S1, const std::string& S2);

inline bool AnsiSameText(const std::string& S1, const std::string& S2) {
  return AnsiCompareText(S1, S2) == 0;
}

// A key for hash indexes: two texts have equal keys exactly when AnsiCompareText
// calls them equal.
std::string AnsiSortKey(const std::string& S);

// A hash for hash indexes: texts that AnsiCompareText calls equal get equal hashes.
// Texts it tells apart may share a hash (on Linux, texts that differ only in accents,
// spaces or punctuation do), so an index compares the texts whose hashes are equal.
// On Linux it costs far less than AnsiSortKey and allocates nothing for most texts.
std::uint64_t AnsiTextHash(const std::string& S);

}  // namespace gaugery
