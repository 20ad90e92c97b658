// The name tables of the /proc provider: the title and help text of each of its objects
// and counters in English ("009") and German ("007"), under the title indexes Windows
// gives the same objects and counters, or under our own (ProcOwnIndexes.h) where the
// Windows index is not known for certain. A help text's index is its title's plus one.
#pragma once

#include <vector>

#include "framework/LibraryExport.h"
#include "registry/PerfProviders.h"

namespace gaugery {

GAUGERY_PLATFORM_API std::vector<TPerfLocaleNames> ProcNames();

}  // namespace gaugery
