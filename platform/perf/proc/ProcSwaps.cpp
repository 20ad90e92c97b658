#include "perf/proc/ProcSwaps.h"

#include <algorithm>

namespace gaugery {

namespace {

constexpr std::uint64_t BytesPerKiB = 1024;

}  // namespace

void ParseSwaps(std::string_view Text, std::vector<TSwapArea>& Areas) {
  Areas.clear();
  NextLine(Text);  // "Filename Type Size Used Priority"
  while (!Text.empty()) {
    std::string_view Line = NextLine(Text);
    TSwapArea Area;
    Area.Name = NextField(Line);
    NextField(Line);  // partition or file
    std::uint64_t SizeKiB, UsedKiB;
    if (Area.Name.empty() || !ParseUnsigned(Line, SizeKiB) || !ParseUnsigned(Line, UsedKiB)) {
      continue;
    }
    Area.SizeBytes = SizeKiB * BytesPerKiB;
    Area.UsedBytes = UsedKiB * BytesPerKiB;
    Areas.push_back(Area);
  }
}

std::uint64_t TSwapReader::UpdatePeak(std::string_view Name, std::uint64_t UsedBytes) {
  auto Found = std::find_if(Peaks_.begin(), Peaks_.end(),
                            [Name](const TPeak& Peak) { return Peak.Name == Name; });
  if (Found == Peaks_.end()) {
    Peaks_.push_back({std::string(Name), UsedBytes, true});
    return UsedBytes;
  }
  Found->PeakBytes = std::max(Found->PeakBytes, UsedBytes);
  Found->Listed = true;
  return Found->PeakBytes;
}

void TSwapReader::ForgetUnlistedPeaks() {
  std::erase_if(Peaks_, [](const TPeak& Peak) { return !Peak.Listed; });
  for (TPeak& Peak : Peaks_) Peak.Listed = false;
}

void TSwapReader::Read() {
  std::string_view Text;
  Files_.Read(Root_.Path("/proc/swaps").Text(), &Text);
  Update(Text);
}

void TSwapReader::Update(std::string_view Text) {
  ParseSwaps(Text, Areas_);
  const std::uint64_t TotalPeak = Total_.PeakBytes;
  Total_ = TSwapArea{};
  for (std::size_t At = 0; At < Areas_.size(); ++At) {
    TSwapArea& Area = Areas_[At];
    Area.PeakBytes = UpdatePeak(Area.Name, Area.UsedBytes);
    Area.Name = Names_.Decode(At, Area.Name);
    Total_.SizeBytes += Area.SizeBytes;
    Total_.UsedBytes += Area.UsedBytes;
  }
  ForgetUnlistedPeaks();
  Total_.PeakBytes = std::max(TotalPeak, Total_.UsedBytes);
}

}  // namespace gaugery
