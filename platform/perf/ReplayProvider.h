// The replay provider: serves performance data blocks from capture files instead of
// live data. A capture file holds the raw bytes of one block exactly as a query of
// HKEY_PERFORMANCE_DATA returns them, so a block captured on Windows replays here.
#pragma once

#include <string>
#include <vector>

#include "registry/PerfProviders.h"

namespace gaugery {

// Reads every file now and makes them the blocks to serve, starting with the first.
// A file that cannot be read, or is empty, raises Exception naming it; so does an
// empty list. The provider writes whole blocks and brings no names. Each successful
// query serves the next file and the last one repeats; a query answered with
// ERROR_MORE_DATA does not move on. "Global" serves a block as it is, an index list
// only the listed objects, any other text the header alone. There is one replay per
// process: a later call replaces the blocks of an earlier one.
TPerfProvider ReplayProvider(const std::vector<std::string>& Files);

// Serves the first file again at the next query.
void RestartReplay();

}  // namespace gaugery
