// What Brindle says about itself: the product information of the wait form and the
// about box, their notice of what is shown, and the targets of the about box's links.
#pragma once

#include <string>
#include <vector>

#include "BrindleVersion.h"

namespace gaugery {

inline constexpr char BrindleProductName[] = "Brindle";
inline constexpr char BrindleVersion[] = BRINDLE_VERSION_TEXT;

// "Brindle 4.1 (Gaugery 1.0.0)": the program's version and that of the library units
// it is built from.
std::string BrindleVersionLine();

// The one-line notice of what the program shows: "Live counters of this computer", of
// the computer ComputerName, or "Replay of" the first of ReplayFiles by its file name,
// with the count of the others.
std::string BrindleNotice(const std::vector<std::string>& ReplayFiles,
                          const std::string& ComputerName);

// A new message to the support address with the subject "Gaugery Components".
std::string SupportMailUrl();
// The home page.
std::string HomepageUrl();

}  // namespace gaugery
