// Numbers written for programs to read: every digit that tells the value apart, in
// plain decimal notation, whatever the locale.
#pragma once

#include <string>

namespace gaugery::cli {

// The shortest text that reads back as Value, without exponent or thousands separators:
// "9000000", "0.000091", "25". Empty for a value that is not finite.
std::string PlainNumber(double Value);

}  // namespace gaugery::cli
