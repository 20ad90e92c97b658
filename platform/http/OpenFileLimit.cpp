#include "http/OpenFileLimit.h"

#ifndef _WIN32
#include <sys/resource.h>
#endif

namespace gaugery::http {

std::uint64_t RaiseOpenFileLimit() {
#ifdef _WIN32
  return 0;
#else
  rlimit Limit{};
  if (getrlimit(RLIMIT_NOFILE, &Limit) != 0) return 0;
  if (Limit.rlim_cur < Limit.rlim_max) {
    const rlim_t Before = Limit.rlim_cur;
    Limit.rlim_cur = Limit.rlim_max;
    if (setrlimit(RLIMIT_NOFILE, &Limit) != 0) Limit.rlim_cur = Before;
  }
  return Limit.rlim_cur;
#endif
}

}  // namespace gaugery::http
