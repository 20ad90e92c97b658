#include "PlainNumber.h"

#include <charconv>
#include <cmath>

namespace gaugery::cli {

std::string PlainNumber(double Value) {
  if (!std::isfinite(Value)) return {};
  // The largest double has 309 digits before the point; the smallest needs 1074 after.
  char Text[1100];
  const auto [End, Error] =
      std::to_chars(Text, Text + sizeof Text, Value, std::chars_format::fixed);
  return Error == std::errc() ? std::string(Text, End) : std::string();
}

}  // namespace gaugery::cli
