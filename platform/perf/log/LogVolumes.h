// The volumes of a counter log: FILE first, then FILE.1, FILE.2, ... in the order the
// recorder started them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace gaugery::counterlog {

// The file of volume Number of the log File (0: File itself).
std::string VolumeFile(const std::string& File, std::uint64_t Number);

// The volumes of File that exist, oldest first: File itself and every FILE.N beside it,
// whichever of them older volumes were removed from.
std::vector<std::string> ExistingVolumes(const std::string& File);

// Removes the volume File; one that is not there is no error.
void RemoveVolume(const std::string& File);

}  // namespace gaugery::counterlog
