// The samples `gaugery serve` answers from. However many requests arrive, each value
// name is sampled at most once per interval: a request finds the latest sample, and
// takes a new one only when that sample is older than the interval. The exposition of
// the latest "Global" sample is rendered once per format. Thread-safe: one lock guards
// the snapshots and the title table, which are used by one request at a time.
#pragma once

#include <chrono>
#include <cstdint>
#include <list>
#include <memory>
#include <mutex>
#include <string>

#include "MetricExposition.h"

namespace gaugery {
class TPerfData;
class TPerfTitles;
}  // namespace gaugery

namespace gaugery::cli {

class TServeSamples {
 public:
  TServeSamples(std::chrono::steady_clock::duration Interval, THelpTexts Helps);
  ~TServeSamples();

  // The latest block of ValueName, exactly the bytes the query returned; null while
  // no block could be read. A refresh that fails keeps the block before it.
  std::shared_ptr<const std::string> Block(const std::string& ValueName);
  // The exposition of the latest "Global" sample, with the server's own sample count,
  // compressed with gzip when asked; null while no block could be read.
  std::shared_ptr<const std::string> Metrics(TExpositionFormat Format, bool Gzip = false);
  // Samples taken of the whole block ("Global") since the start.
  std::uint64_t GlobalSamples();

 private:
  struct TEntry;

  // The entry of ValueName, sampled now when its sample is older than the interval.
  // The caller holds Lock_.
  TEntry& FreshEntry(const std::string& ValueName);
  std::string Render(TEntry& Entry, TExpositionFormat Format);

  const std::chrono::steady_clock::duration Interval_;
  const THelpTexts Helps_;
  std::mutex Lock_;
  std::unique_ptr<TPerfTitles> Titles_;
  // Most recently used first; at most MostValueNames.
  std::list<TEntry> Entries_;
  std::uint64_t GlobalSamples_ = 0;
};

}  // namespace gaugery::cli
