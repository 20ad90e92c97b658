// The commands of the `gaugery` program, one unit each.
#pragma once

#include "CommandLine.h"

namespace gaugery::cli {

Command DumpCommand();
Command CaptureCommand();
Command LocalesCommand();
Command NamesCommand();
Command ObjectsCommand();
Command CountersCommand();
Command InstancesCommand();
Command ReadCommand();
Command TypeCommand();
Command WatchCommand();
Command RecordCommand();
Command RelogCommand();
Command TopCommand();
Command ServeCommand();

}  // namespace gaugery::cli
