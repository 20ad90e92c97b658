// What the system itself says, for tests that compare with it where the wording or the
// value is the host's.
#pragma once

#include <cstdint>
#include <string>

namespace gaugery::test {

// gethostname on Linux, the DNS host name on Windows; UTF-8.
std::string ThisHostName();

#ifdef _WIN32
// The system's message for an error code, without its line break; UTF-8.
std::string SystemMessage(std::int32_t ErrorCode);
#endif

}  // namespace gaugery::test
