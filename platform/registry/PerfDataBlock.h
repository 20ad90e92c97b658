// The answer to a query of HKEY_PERFORMANCE_DATA: a data block assembled in the caller's
// buffer from the header and the objects of the providers in service.
#pragma once

#include <vector>

#include "registry/PerfProviderSet.h"

namespace gaugery {

// Writes the block for ValueName into Data (Size bytes) and sets Written to its length.
// ERROR_MORE_DATA when Data is null or too small (Written untouched). With a provider
// that writes whole blocks in service, the first one that opens answers alone;
// otherwise the header is followed by the objects of every provider with a Collect, in
// order. Allocates nothing in the steady state.
LONG QueryPerfDataBlock(std::vector<TPerfProviderSlot>& Providers, LPCWSTR ValueName,
                        LPBYTE Data, DWORD Size, DWORD& Written);

}  // namespace gaugery
