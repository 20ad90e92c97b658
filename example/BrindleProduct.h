// What Brindle says about itself: the product information of the wait form and the
// about box, and the targets of the about box's links.
#pragma once

#include <string>

#include "BrindleVersion.h"

namespace gaugery {

inline constexpr char BrindleProductName[] = "Brindle";
inline constexpr char BrindleVersion[] = BRINDLE_VERSION_TEXT;

// A new message to the support address with the subject "Gaugery Components".
std::string SupportMailUrl();
// The home page.
std::string HomepageUrl();

}  // namespace gaugery
