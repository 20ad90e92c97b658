// The operating system and the time zone of the computer the program runs on.
#pragma once

#include <string>

namespace gaugery::cli {

struct TTimeZone {
  // Minutes added to local time to get UTC, now (daylight saving time included).
  long Bias = 0;
  std::string Name;
};

// In words: "Linux 6.1.0 x86_64", "Windows 10.0.19045"; empty when it cannot be told.
std::string ThisSystem();

TTimeZone ThisTimeZone();

}  // namespace gaugery::cli
