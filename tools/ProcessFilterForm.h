// The stored counter filter of Brindle's form (example/fmBrindle.json), compiled into
// the program so that `gaugery top` shows the same table.
#pragma once

namespace gaugery::cli {

const char* ProcessFilterForm();

}  // namespace gaugery::cli
