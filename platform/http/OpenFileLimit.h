// The number of files a process may hold open. A server holds a descriptor per
// connection, and the usual soft limit (1024) would end its accepting long before the
// clients it is meant to bear.
#pragma once

#include <cstdint>

namespace gaugery::http {

// Raises the soft limit of open files to the hard limit and returns the limit now in
// force; 0 where the system has no such limit (Windows).
std::uint64_t RaiseOpenFileLimit();

}  // namespace gaugery::http
