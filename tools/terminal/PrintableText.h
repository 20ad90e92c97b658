// Text from the performance data made safe to print on a terminal.
#pragma once

#include <cstddef>
#include <string>

namespace gaugery::cli {

// Text with every control character replaced by "?": C0 (U+0000 to U+001F, tab and
// line breaks included), DEL and C1 (U+0080 to U+009F). A name chosen by any process
// can then neither send escape sequences to the terminal nor break a line or a
// tab-separated row. Everything else, invalid UTF-8 included, is kept as it is.
std::string PrintableText(const std::string& Text);

// The columns UTF-8 text takes on a terminal: East Asian wide and full-width characters
// (CJK, most emoji) take two, combining marks and other zero-width characters none,
// everything else one. A byte that starts no well-formed sequence takes one, as the
// replacement character a terminal shows for it.
std::size_t DisplayWidth(const std::string& Text);

// The longest start of the text that takes at most Width columns; marks that combine
// with its last character stay with it.
std::string FirstColumns(const std::string& Text, std::size_t Width);

}  // namespace gaugery::cli
