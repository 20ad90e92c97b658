// The performance-counter providers behind HKEY_PERFORMANCE_DATA and the name tables
// behind the Perflib key of the virtual registry (VirtualRegistry.h).
//
// A provider has the entry points of a Windows provider: Open once before its first
// Collect, Collect for every query of HKEY_PERFORMANCE_DATA, Close when it is taken
// out of service. Collect receives the queried value name ("Global" or a list of
// title indexes), writes its objects at *Data, advances *Data past them, sets
// *TotalBytes to the bytes written and *NumObjectTypes to the object count, and
// answers ERROR_MORE_DATA (with both counts 0) when *TotalBytes, the space it was
// given, is too small.
//
// The provider set is the switch between the virtual registry and the system's. On
// Linux a set is always in service: the default one (the live /proc provider) until
// another is installed. On Windows none is by default and the registry calls go to the
// system's registry; SetPerfProviders puts the virtual registry in front of it (for
// HKEY_PERFORMANCE_DATA and for HKEY_LOCAL_MACHINE, whose Perflib names then come from
// the set's tables) until RestoreDefaultPerfProviders hands the calls back.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "framework/LibraryExport.h"
#include "framework/WinTypes.h"
#include "registry/PerfDataRecords.h"

namespace gaugery {

// One title or help text of a provider's name table.
struct GAUGERY_PLATFORM_API TPerfNameEntry {
  DWORD Index;
  std::string Text;
};

// A provider's "Counter" and "Help" entries for one locale ("009", "007", ...).
struct GAUGERY_PLATFORM_API TPerfLocaleNames {
  std::string Locale;
  std::vector<TPerfNameEntry> Counter;
  std::vector<TPerfNameEntry> Help;
};

// The clocks at one moment: the wall clock as a file time (100 ns since 1601-01-01 UTC)
// and the monotonic clock in 100 ns.
struct TPerfSampleTime {
  std::int64_t FileTime = 0;
  std::int64_t Monotonic = 0;
};

struct GAUGERY_PLATFORM_API TPerfProvider {
  std::string Name;
  TPM_OPEN_PROC Open = nullptr;
  // Null for a provider that only brings names.
  TPM_COLLECT_PROC Collect = nullptr;
  TPM_CLOSE_PROC Close = nullptr;
  // True when Collect writes a complete block, header included (the replay
  // provider): the first such provider then answers the data queries alone.
  bool WritesWholeBlock = false;
  std::vector<TPerfLocaleNames> Names;
  // Null, or the moment at which the provider's last successful Collect read its
  // counters. The block then carries that moment as its time stamps (of the first
  // such provider of the query), not the moment it was completed: a rate over two
  // blocks divides by the time over which their counters advanced.
  TPerfSampleTime (*SampleTime)() = nullptr;
};

// The providers in service, in registration order.
GAUGERY_PLATFORM_API std::vector<TPerfProvider> PerfProviders();

// Replaces the providers in service (closing the old ones); the seam through which
// tests and the replay option install their own. An empty set is a set too: the
// registry then serves blocks without objects and a Perflib key whose "009" names nothing.
GAUGERY_PLATFORM_API void SetPerfProviders(std::vector<TPerfProvider> Providers);

// Puts the default providers back in service (closing the installed ones); on Windows,
// hands the registry calls back to the system's registry.
GAUGERY_PLATFORM_API void RestoreDefaultPerfProviders();

// Sets the function that makes the default providers. The platform's perf layer
// installs the /proc provider's at load time on Linux; Windows has none.
using TDefaultPerfProviders = std::vector<TPerfProvider> (*)();
GAUGERY_PLATFORM_API void SetDefaultPerfProviderFactory(TDefaultPerfProviders Factory);

}  // namespace gaugery
