// The --replay option: serve the performance data from capture files.
#pragma once

#include <string>
#include <vector>

namespace gaugery::cli {

// Puts the replay of Files in service instead of the live machine, keeping the live
// provider's name tables. Raises when a file cannot be read, or on a platform whose
// registry is the system's own.
void UseReplay(const std::vector<std::string>& Files);

// When the replay is in service, its next query serves the first file again, whatever
// was read before; otherwise nothing happens.
void RestartReplayedSamples();

}  // namespace gaugery::cli
