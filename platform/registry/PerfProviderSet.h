// The providers in service, each with whether it has been opened, and the Perflib names
// made from their tables. The virtual registry holds one set and guards it with its lock.
#pragma once

#include <vector>

#include "registry/PerfProviders.h"
#include "registry/PerflibNames.h"

namespace gaugery {

enum class TPerfOpenState { NotOpened, Opened, OpenFailed };

struct TPerfProviderSlot {
  TPerfProvider Provider;
  TPerfOpenState State = TPerfOpenState::NotOpened;
};

// Calls Open before a provider's first Collect. False when Open failed: the provider is
// then left out until it is installed again.
bool EnsurePerfProviderOpen(TPerfProviderSlot& Slot);

class TPerfProviderSet {
 public:
  TPerfProviderSet() = default;
  TPerfProviderSet(const TPerfProviderSet&) = delete;
  TPerfProviderSet& operator=(const TPerfProviderSet&) = delete;
  // Closes the providers still open (at process exit).
  ~TPerfProviderSet();

  // Closes the providers that were opened and puts Providers in service in their place.
  void Install(std::vector<TPerfProvider> Providers);
  // Installs the default providers if no set is in service and a default factory is set.
  void InstallDefaultsOnFirstUse();
  // Puts the default providers in service; without a default factory (Windows, where the
  // system's registry is the default), takes every provider out of service.
  void RestoreDefaults();
  bool InService() const { return InService_; }

  std::vector<TPerfProviderSlot>& Slots() { return Slots_; }
  const TPerflibNames& Names() const { return Names_; }
  std::vector<TPerfProvider> Providers() const;

  // The function that makes the default providers; none gives an empty default set.
  static void SetDefaultFactory(TDefaultPerfProviders Factory);
  static std::vector<TPerfProvider> Defaults();

 private:
  void CloseOpened();

  bool InService_ = false;
  std::vector<TPerfProviderSlot> Slots_;
  TPerflibNames Names_;
};

}  // namespace gaugery
