// The virtual registry of the Linux build: the registry calls of Registry.h answered
// from memory. Its process-wide state is the providers in service (with the Perflib
// names made from them) and the open key handles, all guarded by one lock. Providers
// are called with the lock held, so they must not call the registry themselves.
#pragma once

#include <cstdint>
#include <map>
#include <mutex>

#include "registry/PerfProviderSet.h"
#include "registry/VirtualKeys.h"

namespace gaugery {

struct TVirtualRegistry {
  std::mutex Lock;
  TPerfProviderSet Providers;
  // Handles count upwards and are never given out twice.
  std::map<std::uintptr_t, TVirtualKey> Handles;
  std::uintptr_t NextHandle = 0x1000;
};

// Made at first use and destroyed at process exit, which closes the providers still open.
TVirtualRegistry& VirtualRegistry();

}  // namespace gaugery
