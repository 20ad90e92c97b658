// The name tables of our objects and counters, which the /proc provider serves and a
// replay falls back on: the titles and help texts in English ("009") and German ("007"),
// under the title indexes of TitleIndexes.h. A help text's index is its title's plus one.
#pragma once

#include <vector>

#include "framework/LibraryExport.h"
#include "registry/PerfProviders.h"

namespace gaugery {

GAUGERY_PLATFORM_API std::vector<TPerfLocaleNames> ObjectNames();

}  // namespace gaugery
