// The commands of the `gaugery` program, one unit each.
#pragma once

#include "CommandLine.h"

namespace gaugery::cli {

Command DumpCommand();
Command CaptureCommand();

}  // namespace gaugery::cli
