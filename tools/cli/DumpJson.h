// The JSON document of `gaugery dump --json`: the block's header, then each object with
// its counter definitions and the raw values of its instances (or of its own block).
#pragma once

#include <string>

#include "BlockDump.h"

namespace gaugery::cli {

// The document's text, as the command prints it (without the final line feed).
std::string DumpJsonText(const BlockDump& Block);

}  // namespace gaugery::cli
