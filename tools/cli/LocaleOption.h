// The --locale option of the commands that print names.
#pragma once

#include <string>

#include "CommandLine.h"

namespace gaugery::cli {

// The installed locale the --locale option names (any letter case, answered as the
// registry spells it), or the first installed locale without the option. Raises
// Exception when the named locale, or any locale at all, is not installed.
std::string ChosenLocale(const Arguments& Args);

}  // namespace gaugery::cli
