// The web view of the counter log in service (`gaugery --replay LOG serve`): the values
// of counter paths over any range of the log, read from the log for each request and
// thinned to the points a chart can show, and the process table at any of its samples.
//
// A range is walked sample after sample by one monitor, so each value is computed
// between two consecutive samples from their own time stamps exactly as `gaugery
// --replay LOG watch --json PATH` computes it. Memory does not grow with the log: a
// series keeps, per bucket of the range, the points of its least and its greatest value
// (all its points while a bucket holds no more than two), at most 2 * MaxLogBuckets
// points. The time a request takes grows with the samples of its range.
//
// Not thread-safe: the caller serialises every call, holds the replayed log
// (HoldReplayedLog) for it, and no other component of the process refreshes the local
// snapshot meanwhile.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "LogSteps.h"
#include "ValueHistory.h"

namespace gaugery::cli {

class TTopSampler;

// Buckets a range is thinned to at most, and by default.
inline constexpr std::size_t MaxLogBuckets = 4000;
inline constexpr std::size_t DefaultLogBuckets = 1000;

// The values of one asked path over a range, or why it has none.
struct TLogPathValues {
  std::string Path;
  std::string Error;
  TPathValues Values;
};

class TLogView {
 public:
  // Reads the extent of the log in service.
  TLogView();

  // Milliseconds since 1970 of the window's first and last sample, and their number.
  std::int64_t FirstTime() const { return FirstTime_; }
  std::int64_t LastTime() const { return LastTime_; }
  std::uint64_t Samples() const { return Steps_.Count(); }

  // The points of each of Paths (in the order asked) from From to To (milliseconds,
  // both included, kept within the log), in Buckets buckets of equal time (kept within
  // 1..MaxLogBuckets).
  std::vector<TLogPathValues> Values(const std::vector<std::string>& Paths, std::int64_t From,
                                     std::int64_t To, std::size_t Buckets);

  // Makes Sampler show the first sample at or after At (milliseconds; the last sample
  // for a time after the log), its processor times between it and the sample before.
  // The error of that refresh, if any; the position shown is Shown().
  std::optional<std::string> ShowProcessesAt(TTopSampler& Sampler, std::int64_t At);
  std::uint64_t Shown() const { return Steps_.Shown(); }

 private:
  using TTake = std::function<void(const std::string& Path, const TPathValues& Latest)>;
  std::string Walk(TValueHistory& History, std::int64_t From, std::int64_t To, const TTake& Take);

  TLogSteps Steps_;
  std::int64_t FirstTime_ = 0;
  std::int64_t LastTime_ = 0;
};

// The points of a series thinned to Buckets buckets of equal time over [From, To]:
// per bucket, the points of its least and greatest value in time order; a bucket whose
// points are all none (null) keeps its first. Points come oldest first; those outside
// the range are passed over. Only the bucket being filled is held apart from the result.
class TThinnedSeries {
 public:
  TThinnedSeries(std::int64_t From, std::int64_t To, std::size_t Buckets);
  void Add(const TValuePoint& Point);
  // The thinned points, oldest first.
  std::vector<TValuePoint> Finish();

 private:
  void CloseBucket();

  std::int64_t From_;
  std::int64_t To_;
  std::size_t Buckets_;
  std::size_t Current_ = 0;
  std::optional<TValuePoint> Least_;
  std::optional<TValuePoint> Greatest_;
  std::optional<TValuePoint> FirstNone_;
  std::vector<TValuePoint> Thinned_;
};

}  // namespace gaugery::cli
