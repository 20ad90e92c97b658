#include "BrindleProduct.h"

namespace gaugery {

// The support address and the home page are settings of the build.
std::string SupportMailUrl() {
  return "mailto:" GAUGERY_SUPPORT_ADDRESS "?subject=Gaugery%20Components";
}

std::string HomepageUrl() { return GAUGERY_HOMEPAGE; }

}  // namespace gaugery
