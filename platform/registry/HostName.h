// This machine's name, as the data block's system name and the local name a registry
// connection accepts.
#pragma once

#include "registry/WideText.h"

namespace gaugery {

// The host name (gethostname on Linux, the DNS host name on Windows), in UTF-16; empty
// when it cannot be read. Read on every call and stored again only when it changed, so
// that a steady-state call allocates nothing. Not synchronised: callers hold the virtual
// registry's lock.
WideView LocalHostName();

}  // namespace gaugery
