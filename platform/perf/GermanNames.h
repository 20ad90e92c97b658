// The German ("007") titles of our objects and counters, as Windows writes them, and
// help texts that say what each value means on Linux and where it is read.
#pragma once

#include <span>

#include "perf/NameText.h"

namespace gaugery {

std::span<const TNameText> GermanNames();

}  // namespace gaugery
