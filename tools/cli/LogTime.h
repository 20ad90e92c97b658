// The times that choose a window of a counter log (relog's --begin and --end).
#pragma once

#include <cstdint>
#include <string>

#include "framework/WinTypes.h"

namespace gaugery::cli {

// Text as a file time: "YYYY-MM-DDTHH:MM[:SS[.fff]]" in the local time of the recording
// machine (Bias: minutes added to its local time to get UTC), in UTC with a final "Z";
// or "HH:MM[:SS[.fff]]" on the local day of First (a file time, the log's first sample).
// UsageError "invalid time ..." for any other text.
std::int64_t ParseLogTime(const std::string& Text, LONG Bias, std::int64_t First);

}  // namespace gaugery::cli
