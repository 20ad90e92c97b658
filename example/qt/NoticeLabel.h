// The one-line notice of Brindle's wait form and about box, which names what is shown:
// a remote computer's name or a capture file's may be longer than the panel is wide.
#pragma once

#include <string>

class QLabel;

namespace gaugery {

// Shows Notice on Label in one line, sized to its text and cut short with an ellipsis
// where it would pass the right edge of the panel that holds the label.
void ShowNotice(QLabel& Label, const std::string& Notice);

}  // namespace gaugery
