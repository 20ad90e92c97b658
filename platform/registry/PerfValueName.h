// The value names a query of HKEY_PERFORMANCE_DATA understands: "Global" (any letter
// case) for every object, or a space-separated list of decimal title indexes for only
// those objects. Any other text asks for no object at all.
#pragma once

#include <vector>

#include "framework/LibraryExport.h"
#include "framework/WinTypes.h"

namespace gaugery {

enum class TPerfValueKind { Global, IndexList, Other };

// A null or blank name is Other.
GAUGERY_PLATFORM_API TPerfValueKind ClassifyPerfValueName(LPCWSTR ValueName);

// True when the index list (a name classified as IndexList) names Index. A number too
// large for 32 bits names no object. Allocates nothing.
GAUGERY_PLATFORM_API bool PerfIndexListContains(LPCWSTR List, DWORD Index);

// The indexes the index list names, in its order, without the numbers too large for
// 32 bits.
GAUGERY_PLATFORM_API std::vector<DWORD> PerfIndexListIndexes(LPCWSTR List);

}  // namespace gaugery
