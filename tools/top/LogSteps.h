// `gaugery top` on a counter log: which of the log's samples the screen shows, and the
// steps from one to another. The sampler takes the sample before the shown one first, so
// that processor times lie between the two, as a live refresh's do.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "TopSampler.h"

namespace gaugery::cli {

class TLogSteps {
 public:
  // Counts the samples of the log in service by passing over them; the replay then
  // serves its first sample again.
  TLogSteps();

  // Counted from 1; 0 before the first Show.
  std::uint64_t Shown() const { return Shown_; }
  std::uint64_t Count() const { return Count_; }
  // "sample 812 of 86400".
  std::string PositionText() const;

  // Shows sample Position, kept within 1 and Count: Sampler refreshes from the sample
  // before it (none for the first), then from it. The error of the last refresh.
  std::optional<std::string> Show(TTopSampler& Sampler, std::uint64_t Position);
  // The next sample, or the previous one; at either end the shown one again.
  std::optional<std::string> Next(TTopSampler& Sampler) { return Show(Sampler, Shown_ + 1); }
  std::optional<std::string> Previous(TTopSampler& Sampler);

 private:
  std::uint64_t Count_ = 0;
  std::uint64_t Shown_ = 0;
};

}  // namespace gaugery::cli
