#include "LogSteps.h"

#include <algorithm>

#include "Replay.h"
#include "perf/ReplayProvider.h"

namespace gaugery::cli {

TLogSteps::TLogSteps() {
  RestartReplayedSamples();
  while (!ReplayedLogEnded()) {
    SkipReplayedSamples(1);
    ++Count_;
  }
  RestartReplayedSamples();
}

std::string TLogSteps::PositionText() const {
  return "sample " + std::to_string(Shown_) + " of " + std::to_string(Count_);
}

std::optional<std::string> TLogSteps::Show(TTopSampler& Sampler, std::uint64_t Position) {
  Shown_ = std::clamp<std::uint64_t>(Position, 1, std::max<std::uint64_t>(Count_, 1));
  RestartReplayedSamples();
  if (Shown_ > 2) SkipReplayedSamples(Shown_ - 2);
  if (Shown_ > 1) Sampler.Refresh();
  return Sampler.Refresh();
}

std::optional<std::string> TLogSteps::Previous(TTopSampler& Sampler) {
  return Show(Sampler, Shown_ > 1 ? Shown_ - 1 : 1);
}

}  // namespace gaugery::cli
