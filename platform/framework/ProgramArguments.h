// The command-line arguments of the running program, in UTF-8.
#pragma once

#include "framework/LibraryExport.h"

#include <string>
#include <vector>

namespace gaugery {

// The arguments after the program's name. On Linux they are main's argv as given; on
// Windows they come from the wide command line, since argv holds them in the ANSI code
// page, which cannot represent every character.
GAUGERY_PLATFORM_API std::vector<std::string> ProgramArguments(int argc, char** argv);

}  // namespace gaugery
