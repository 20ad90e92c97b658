#include "registry/PerfProviders.h"

#include <mutex>
#include <utility>

#include "registry/VirtualRegistry.h"

namespace gaugery {

std::vector<TPerfProvider> PerfProviders() {
  TVirtualRegistry& Registry = VirtualRegistry();
  std::lock_guard<std::mutex> Guard(Registry.Lock);
  Registry.Providers.InstallDefaultsOnFirstUse();
  return Registry.Providers.Providers();
}

void SetPerfProviders(std::vector<TPerfProvider> Providers) {
  TVirtualRegistry& Registry = VirtualRegistry();
  std::lock_guard<std::mutex> Guard(Registry.Lock);
  Registry.Providers.Install(std::move(Providers));
}

void RestoreDefaultPerfProviders() {
  TVirtualRegistry& Registry = VirtualRegistry();
  std::lock_guard<std::mutex> Guard(Registry.Lock);
  Registry.Providers.RestoreDefaults();
}

void SetDefaultPerfProviderFactory(TDefaultPerfProviders Factory) {
  TPerfProviderSet::SetDefaultFactory(Factory);
}

}  // namespace gaugery
