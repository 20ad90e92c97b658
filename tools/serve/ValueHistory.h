// The values of counter paths over the recent past, for the web view. One monitor
// samples every watched path, so each value is computed between two consecutive
// samples exactly as `gaugery watch --json PATH` computes it: a value that rests on no
// earlier sample of its instance alone is none (null), and the first sample of a path
// is its baseline, giving no point; nor does a sample of the same time as the one
// before.
//
// Memory: a point is 16 bytes; each series keeps at most Capacity points and there are
// at most MaxSeries series, so the points take at most MaxSeries * Capacity * 16 bytes
// (256 series of 601 points, 2.4 MB, at the default ten minutes of one-second samples;
// 14.7 MB at the largest capacity).
//
// Not thread-safe: the caller serialises every call, and no other component of the
// process may refresh the local snapshot between them.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "PerfMonitor.h"
#include "SampleCheck.h"

namespace gaugery::cli {

// Paths watched at once, and series (one instance of one path) kept at once.
inline constexpr std::size_t MaxWatchedPaths = 64;
inline constexpr std::size_t MaxSeries = 256;
// Points a series keeps at most, whatever the history and interval ask.
inline constexpr std::size_t MaxSeriesCapacity = 3600;

struct TValuePoint {
  // Milliseconds since 1970-01-01 UTC, from the sample's own time stamp.
  std::int64_t Time = 0;
  std::optional<double> Value;
};

// The points of one instance's value, oldest first, in a ring of fixed capacity.
class TValueSeries {
 public:
  explicit TValueSeries(std::size_t Capacity) : Capacity_(Capacity) {}
  void Add(TValuePoint Point);
  // The points later than Since (milliseconds), oldest first.
  std::vector<TValuePoint> Since(std::int64_t Since) const;
  // The time of the newest point; 0 for none.
  std::int64_t LatestTime() const;

 private:
  std::size_t Capacity_;
  std::vector<TValuePoint> Points_;
  // Where the oldest point stands once the ring is full.
  std::size_t Oldest_ = 0;
};

// What a watched path holds: its unit, then one series per instance by value path.
struct TPathValues {
  std::string Unit;
  // Why the path has no values (a counter that cannot be computed, ...); empty if none.
  std::string Error;
  std::vector<std::pair<std::string, std::vector<TValuePoint>>> Series;
};

class TValueHistory {
 public:
  // Keeps a path's series for History, at most Capacity points each (clamped to
  // 2..MaxSeriesCapacity).
  TValueHistory(std::chrono::milliseconds History, std::size_t Capacity);
  ~TValueHistory();
  TValueHistory(const TValueHistory&) = delete;
  TValueHistory& operator=(const TValueHistory&) = delete;

  // The text by which a path is watched: the path as ParseCounterPath reads it back.
  // UsageError for text that is no counter path; Exception for one of another computer.
  static std::string WatchedText(const std::string& Path);

  // Starts watching Path from the next sample; nothing when it is watched already.
  // Errors as WatchedText, Exception for an object or counter the name tables lack
  // (with its message), and Exception when MaxWatchedPaths paths are watched.
  void Watch(const std::string& Path);
  // Stops watching Path and drops its points.
  void Forget(const std::string& Path);
  bool IsWatched(const std::string& Path) const;
  std::vector<std::string> WatchedPaths() const;

  // One sample of every watched path. Errors of the sample pass on; an error of one
  // path (a value that cannot be computed) is kept with that path.
  void Collect();
  // The time of the latest sample in milliseconds since 1970; 0 before the first.
  std::int64_t LatestTime() const;
  // The snapshot every sample refreshes.
  TPerfData& Data() const { return Sample_.Data(); }

  // The points of Path later than Since; nothing for a path not watched.
  std::optional<TPathValues> ValuesOf(const std::string& Path, std::int64_t Since) const;

 private:
  struct TWatchedPath;

  void RecordPath(TWatchedPath& Watched, std::optional<std::int64_t> Time);
  void DropStaleSeries(std::int64_t Time);

  TSharedSample Sample_;
  TPerfMonitor Monitor_;
  std::chrono::milliseconds History_;
  std::size_t Capacity_;
  std::int64_t LatestTime_ = 0;
  std::size_t SeriesCount_ = 0;
  std::map<std::string, std::unique_ptr<TWatchedPath>> Paths_;
};

// A file time (100 ns since 1601) as milliseconds since 1970.
std::int64_t UnixMilliseconds(std::int64_t FileTime);
// Milliseconds since 1970 as a file time.
std::int64_t FileTimeOfUnixMilliseconds(std::int64_t Milliseconds);

}  // namespace gaugery::cli
