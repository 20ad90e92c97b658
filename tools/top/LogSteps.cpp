#include "LogSteps.h"

#include <algorithm>

#include "Replay.h"
#include "perf/ReplayProvider.h"

namespace gaugery::cli {

TLogSteps::TLogSteps() : Count_(ReplayedSampleCount()) {}

std::string TLogSteps::PositionText() const {
  return "sample " + std::to_string(Shown_) + " of " + std::to_string(Count_);
}

void TLogSteps::Show(TTopSampler& Sampler, std::uint64_t Position) {
  const std::uint64_t Target =
      std::clamp<std::uint64_t>(Position, 1, std::max<std::uint64_t>(Count_, 1));
  RestartReplayedSamples();
  Shown_ = 0;
  Gap_.reset();
  if (Target > 2) SkipReplayedSamples(Target - 2);
  // The sample before the target, so that the target's processor times follow from it.
  if (Target > 1) {
    Sampler.Refresh();
    Shown_ = Target - 1;
  }
  ShowServed(Sampler);
}

void TLogSteps::Next(TTopSampler& Sampler) {
  if (!AtEnd()) ShowServed(Sampler);
}

void TLogSteps::Previous(TTopSampler& Sampler) {
  if (Shown_ > 1) Show(Sampler, Shown_ - 1);
}

void TLogSteps::GoTo(TTopSampler& Sampler, std::int64_t Time) {
  Show(Sampler, ReplayedSampleAt(Time));
}

void TLogSteps::ShowServed(TTopSampler& Sampler) {
  const std::int64_t Before = Sampler.SampleTime();
  const bool Follows = Shown_ > 0;
  Error_ = Sampler.Refresh();
  ++Shown_;
  Gap_ = Follows ? std::optional<std::int64_t>(Sampler.SampleTime() - Before) : std::nullopt;
}

}  // namespace gaugery::cli
