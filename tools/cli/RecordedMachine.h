// What `gaugery record` writes about the machine it records: its name, system and time
// zone, and the name tables of every locale its Perflib key holds.
#pragma once

#include <string>

#include "perf/log/CounterLog.h"

namespace gaugery {
class TPerfData;
}  // namespace gaugery

namespace gaugery::cli {

// The machine whose sample Data holds. The system and the time zone are this
// computer's; a remote computer's (ComputerName not empty) cannot be asked for them,
// so its system is left empty and its zone is UTC.
TLogMachine RecordedMachine(TPerfData& Data, const std::string& ComputerName);

// The "Counter" and "Help" values of each locale under Perflib, exactly as the registry
// of ComputerName ("" for this one) holds them. A locale whose values cannot be read is
// left out. Exception when the registry cannot be reached.
TLogNames PerflibNames(const std::string& ComputerName);

}  // namespace gaugery::cli
