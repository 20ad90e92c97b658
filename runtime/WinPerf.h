// The records of the performance data block, their pointer types, the constants of
// the format and the entry-point types of a performance-counter provider. They are
// declared in the platform layer, whose providers write blocks with them; this unit
// makes them part of the run-time library's interface.
#pragma once

#include "registry/PerfDataRecords.h"
