// The stored counter filter of Brindle's form (example/fmBrindle.json), compiled into
// both Brindles and `gaugery top`, so that they show the same table.
#pragma once

namespace gaugery {

const char* ProcessFilterForm();

}  // namespace gaugery
