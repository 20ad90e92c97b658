// The swap areas of /proc/swaps as the Paging File object shows them, with the largest
// use of each seen since the provider first read it.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "perf/proc/ProcFiles.h"
#include "perf/proc/ProcRoot.h"
#include "perf/proc/ProcText.h"

namespace gaugery {

struct TSwapArea {
  std::string_view Name;
  std::uint64_t SizeBytes = 0;
  std::uint64_t UsedBytes = 0;
  std::uint64_t PeakBytes = 0;
};

// Parses /proc/swaps into Areas (cleared first, capacity kept): the header line and
// lines without a size and a used amount are left out. Names stay escaped as the file
// writes them; sizes are converted from KiB.
void ParseSwaps(std::string_view Text, std::vector<TSwapArea>& Areas);

class TSwapReader {
 public:
  explicit TSwapReader(TProcRoot Root = TProcRoot()) : Root_(std::move(Root)) {}

  // Reads /proc/swaps into Update; an unreadable file lists no areas.
  void Read();
  // Takes the areas of a /proc/swaps text and carries each one's peak over from earlier
  // updates. An area that is no longer listed loses its peak.
  void Update(std::string_view Text);
  // With decoded names, valid until the next Read.
  std::span<const TSwapArea> Areas() const { return Areas_; }
  // The sums over all areas; its peak is the largest total use seen.
  const TSwapArea& Total() const { return Total_; }

 private:
  TProcRoot Root_;
  struct TPeak {
    std::string Name;  // escaped
    std::uint64_t PeakBytes;
    bool Listed;
  };

  std::uint64_t UpdatePeak(std::string_view Name, std::uint64_t UsedBytes);
  void ForgetUnlistedPeaks();

  TProcFileReader Files_;
  std::vector<TSwapArea> Areas_;
  std::vector<TPeak> Peaks_;
  TSwapArea Total_;
  TDecodedTexts Names_;
};

}  // namespace gaugery
