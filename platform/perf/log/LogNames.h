// A log's name tables as a provider brings names: the Perflib multi-strings of each
// locale read back into entries of index and text.
#pragma once

#include <vector>

#include "perf/log/CounterLog.h"
#include "registry/PerfProviders.h"

namespace gaugery::counterlog {

// The pairs of each multi-string, in order. The leading pair of index 1 (the last
// counter index, which the registry writes itself) and pairs whose index is not a
// decimal number are left out.
std::vector<TPerfLocaleNames> ProviderNames(const TLogNames& Names);

}  // namespace gaugery::counterlog
