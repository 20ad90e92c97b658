// The live provider: the Process, Thread, Processor, Memory, System, PhysicalDisk,
// LogicalDisk, Network Interface and Paging File objects of this machine, read from
// /proc and /sys at every query of HKEY_PERFORMANCE_DATA, with their English and German
// name tables. A program that links the platform library has it in service by default.
#pragma once

#include <string_view>

#include "framework/LibraryExport.h"
#include "perf/proc/MachineFacts.h"
#include "registry/PerfProviders.h"

namespace gaugery {

// The provider "/proc". Collect writes every object but Thread for "Global", only the
// listed ones for an index list and none for any other value name. A process that ends while
// it is read is left out; files a process does not let us read give zeros. Buffers are
// kept from one Collect to the next, so that the steady state allocates nothing. The
// block's time stamp is the moment the processor times were read, and no processor
// time (of a processor or a process) advances by more than the time between two
// time stamps. Every file is read under the directory Root ("/": this machine), so that a
// tree captured from another machine can be served, with the clocks and file system
// space that Facts fixes; there is one provider state, so the provider made last decides
// the root. Exported, so that a program or a test can serve a captured tree.
GAUGERY_PLATFORM_API TPerfProvider ProcProvider(std::string_view Root = "/",
                                                TMachineFacts Facts = {});

}  // namespace gaugery
