// The start-up of Brindle: the wait form stays on screen while the main form is
// created, which loads the counter names and takes the first sample; afterwards only the
// main form remains.
#pragma once

#include <memory>

#include "fmBrindle.h"

namespace gaugery {

// Runs the start-up up to the event loop and returns the main form, filled but not yet
// shown, reading what Shown names (by default this computer). Needs a QApplication.
std::unique_ptr<TBrindleForm> StartBrindle(const TBrindleArguments& Shown = {});

}  // namespace gaugery
