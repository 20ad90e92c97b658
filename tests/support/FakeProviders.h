// Fake performance providers that serve synthetic blocks through the virtual
// registry, so that tests read HKEY_PERFORMANCE_DATA exactly as the library does.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "BlockBuilder.h"
#include "registry/PerfProviders.h"

namespace gaugery::test {

struct TFakeProvider {
  std::string Name = "fake";
  // Served in turn, one per successful Collect, the last one repeating; whatever
  // value is queried. A provider that writes objects serves each sample's objects
  // (the registry writes the header); one with WritesWholeBlock serves the sample's
  // bytes as they are, header included, so that a malformed header reaches the reader.
  std::vector<TBlock> Samples;
  bool WritesWholeBlock = false;
  std::vector<TPerfLocaleNames> Names;
  // Called at the start of each Collect, on the thread that queries: a test holds a
  // sample there to see what is answered meanwhile.
  std::function<void()> BeforeCollect;
};

// Puts up to MaxFakeProviders fake providers in service for its lifetime; the
// destructor restores the default providers. One guard at a time: the entry points
// are plain functions, so the served samples are module-level state.
class TFakeProviders {
 public:
  static constexpr int MaxFakeProviders = 4;

  explicit TFakeProviders(std::vector<TFakeProvider> Providers);
  ~TFakeProviders();
  TFakeProviders(const TFakeProviders&) = delete;
  TFakeProviders& operator=(const TFakeProviders&) = delete;

  // The samples provider Slot serves from now on, starting with the first.
  void SetSamples(int Slot, std::vector<TBlock> Samples);
  // Makes provider Slot's Collect answer Error instead of data; ERROR_SUCCESS serves
  // again.
  void SetCollectError(int Slot, LONG Error);
  // Calls of provider Slot's Collect, refused ones included.
  int CollectCount(int Slot) const;
};

}  // namespace gaugery::test
