// Text from the performance data made safe to print on a terminal.
#pragma once

#include <string>

namespace gaugery::cli {

// Text with every control character replaced by "?": C0 (U+0000 to U+001F, tab and
// line breaks included), DEL and C1 (U+0080 to U+009F). A name chosen by any process
// can then neither send escape sequences to the terminal nor break a line or a
// tab-separated row. Everything else, invalid UTF-8 included, is kept as it is.
std::string PrintableText(const std::string& Text);

}  // namespace gaugery::cli
