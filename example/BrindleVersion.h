// Brindle's version, in the one place both the code and the Windows resource script read
// it from: plain macros, which the resource compiler understands.
#pragma once

#define BRINDLE_VERSION_MAJOR 4
#define BRINDLE_VERSION_MINOR 1
#define BRINDLE_STRINGIFY(Value) #Value
#define BRINDLE_VERSION_TEXT_OF(Major, Minor) BRINDLE_STRINGIFY(Major) "." BRINDLE_STRINGIFY(Minor)
#define BRINDLE_VERSION_TEXT BRINDLE_VERSION_TEXT_OF(BRINDLE_VERSION_MAJOR, BRINDLE_VERSION_MINOR)
