// The samples `gaugery serve` answers from: at most one sample of the whole block per
// interval, however many requests arrive and whatever value names they ask for. A
// request finds the latest sample and takes a new one only when that sample is older
// than the interval; index lists are cut from it. Objects that the whole block leaves
// out (Thread on Linux) come from a second snapshot of only those objects, made when a
// request first names one and sampled with the whole block from then on. The exposition of a sample
// is rendered, and compressed, at most once per format. Thread-safe: one lock guards the snapshot
// and the title table, which serve one request at a time.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>

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
  // empty for now, when the latest sample is newer or old enough to be replaced,
  // otherwise the end of its interval.
  std::optional<std::chrono::steady_clock::time_point> NewerSampleDue(std::int64_t Held);
  // Samples taken since the start.
  std::uint64_t SamplesTaken();

 private:
  static constexpr int FormatCount = 2;
  static constexpr int EncodingCount = 2;  // plain, gzip

  // Samples now when the latest sample is older than the interval. The caller holds
  // Lock_.
  void KeepFresh();
  // The block of the objects that ValueName lists, the whole block lacks and the name
  // tables know, from the second snapshot; null when there are none. Each index is
  // asked for once, and none that the whole block carries as an object or counter, so
  // that requests cannot make the server query at will. The caller holds Lock_.
  std::shared_ptr<const std::string> ExtraObjects(const std::string& ValueName);
  std::string Render(exposition::TExpositionFormat Format);

  const std::chrono::steady_clock::duration Interval_;
  const exposition::THelpTexts Helps_;
  std::mutex Lock_;
  std::unique_ptr<TPerfTitles> Titles_;
  std::unique_ptr<TPerfData> Data_;
  std::chrono::steady_clock::time_point TakenAt_;
  std::uint64_t Samples_ = 0;
  // The bytes of the snapshot's block of generation Generation_, and the expositions of
  // the latest sample as far as they were asked for.
  std::uint64_t Generation_ = 0;
  std::shared_ptr<const std::string> Bytes_;
  std::shared_ptr<const std::string> Rendered_[FormatCount][EncodingCount];
  // The second snapshot and the bytes of its block of generation ExtraGeneration_.
  std::unique_ptr<TPerfData> Extra_;
  std::uint64_t ExtraGeneration_ = 0;
  std::shared_ptr<const std::string> ExtraBytes_;
  // The title indexes the whole block carries, and those asked of the second snapshot.
  std::set<DWORD> GlobalIndexes_;
  std::set<DWORD> AskedIndexes_;
};

}  // namespace gaugery::cli
