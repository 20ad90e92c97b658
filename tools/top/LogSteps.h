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
  // Counts the samples of the log in service through its index; the replay then serves
  // its first sample again.
  TLogSteps();

  // Counted from 1; 0 before the first Show.
  std::uint64_t Shown() const { return Shown_; }
  std::uint64_t Count() const { return Count_; }
  bool AtEnd() const { return Shown_ >= Count_; }
  // "sample 812 of 86400".
  std::string PositionText() const;
  // The error of the refresh that showed the sample, if any.
  const std::optional<std::string>& Error() const { return Error_; }
  // File time units from the sample before the shown one to it; none for the first.
  std::optional<std::int64_t> Gap() const { return Gap_; }

  // Shows sample Position, kept within 1 and Count: the replay starts again and seeks
  // the sample ahead of it.
  void Show(TTopSampler& Sampler, std::uint64_t Position);
  // The next sample, taken where the replay stands; at the end nothing happens.
  void Next(TTopSampler& Sampler);
  // The previous sample; at the first nothing happens.
  void Previous(TTopSampler& Sampler);
  // Shows the first sample at or after Time (a file time), or the last when Time lies
  // after it.
  void GoTo(TTopSampler& Sampler, std::int64_t Time);

 private:
  // Refreshes from the sample the replay serves next, which becomes the shown one.
  void ShowServed(TTopSampler& Sampler);

  std::uint64_t Count_ = 0;
  std::uint64_t Shown_ = 0;
  std::optional<std::string> Error_;
  std::optional<std::int64_t> Gap_;
};

}  // namespace gaugery::cli
