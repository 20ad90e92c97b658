// The samples `gaugery serve` answers from: one sample of the whole block per interval,
// taken by a thread of its own however many requests arrive and whatever value names
// they ask for. The first request starts the thread and waits for the first sample;
// requests after it read the latest sample and never wait for one; index lists are cut
// from it. Objects that the whole block leaves out (Thread on Linux) come from a second
// snapshot of only those objects, made when a request first names one and sampled with
// the whole block from then on. The exposition of a sample is rendered, and compressed,
// at most once per format. Thread-safe: one lock guards the published sample and the
// title table, which serve one request at a time; a second one guards the snapshots,
// which the sampler holds for a whole sample.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "IntervalThread.h"
#include "MetricExposition.h"
#include "framework/WinTypes.h"

namespace gaugery {
class TPerfData;
class TPerfTitles;
}  // namespace gaugery

namespace gaugery::cli {

class TServeSamples {
 public:
  TServeSamples(std::chrono::steady_clock::duration Interval, exposition::THelpTexts Helps);
  ~TServeSamples();

  // The block a query of ValueName returns, from the latest sample ("Global" exactly as
  // the query returned it); null while no block could be read. A sample that fails
  // keeps the block before it.
  std::shared_ptr<const std::string> Block(const std::string& ValueName);
  // The exposition of the latest sample, with the server's own sample count,
  // compressed with gzip when asked; null while no block could be read.
  std::shared_ptr<const std::string> Metrics(exposition::TExpositionFormat Format,
                                             bool Gzip = false);
  // When a sample newer than the one stamped Held (its PerfTime100nSec) can be had:
  // empty for now, when the latest sample is newer or its successor is overdue,
  // otherwise when the sampler should have its successor ready.
  std::optional<std::chrono::steady_clock::time_point> NewerSampleDue(std::int64_t Held);
  // Sample attempts finished since the start.
  std::uint64_t SamplesTaken();

 private:
  static constexpr int FormatCount = 2;
  static constexpr int EncodingCount = 2;  // plain, gzip

  // One step of the sampler: a sample, and when the next is due.
  std::chrono::steady_clock::time_point SampleAndSchedule();
  // Starts the sampler unless it runs, and waits, holding Guard on Lock_, until the
  // first sample is published.
  void AwaitFirstSample(std::unique_lock<std::mutex>& Guard);
  // Refreshes the snapshots without Lock_, then publishes their blocks under it.
  void TakeSample();
  // The indexes ValueName lists that the name tables know and that neither the whole
  // block carries as an object or counter nor the second snapshot was asked for, so
  // that requests cannot make the server query at will. The caller holds Lock_.
  std::vector<DWORD> UnaskedIndexes(const std::string& ValueName);
  // Adds the objects of Indexes to the second snapshot, waiting for a sample being
  // taken, and returns its block.
  std::shared_ptr<const std::string> AskExtraObjects(const std::vector<DWORD>& Indexes);
  std::string Render(exposition::TExpositionFormat Format);

  const std::chrono::steady_clock::duration Interval_;
  const exposition::THelpTexts Helps_;
  std::mutex Lock_;
  // Signalled when a sample is published.
  std::condition_variable Changed_;
  std::unique_ptr<TPerfTitles> Titles_;
  // When the latest sample started, how long it took, and how many were taken.
  std::chrono::steady_clock::time_point TakenAt_;
  std::chrono::steady_clock::duration TakeTime_{};
  std::uint64_t Samples_ = 0;
  // The latest blocks of the two snapshots, and the expositions of the latest sample
  // as far as they were asked for.
  std::shared_ptr<const std::string> Bytes_;
  std::shared_ptr<const std::string> ExtraBytes_;
  std::shared_ptr<const std::string> Rendered_[FormatCount][EncodingCount];
  // The title indexes the whole block carries, and those asked of the second snapshot;
  // written with both locks held.
  std::set<DWORD> GlobalIndexes_;
  std::set<DWORD> AskedIndexes_;

  // The snapshots and the generations of their published blocks.
  std::mutex SnapshotLock_;
  std::unique_ptr<TPerfData> Data_;
  std::uint64_t Generation_ = 0;
  std::unique_ptr<TPerfData> Extra_;
  std::uint64_t ExtraGeneration_ = 0;

  // Last, so that it stops before the rest goes.
  TIntervalThread Sampler_;
};

}  // namespace gaugery::cli
