// Counter paths: one counter named in one text by its computer, object, instance and title:
//
//   [\\COMPUTER]\OBJECT[(INSTANCE)]\COUNTER
//
// INSTANCE is a name, a name with "#N" for the (N+1)-th instance of that name in block
// order (the first has no suffix, the second is "#1"), or "*" for every instance. The
// counter is what follows the last backslash and the object ends at its first "(", so
// that instance names may hold backslashes and parentheses ("(sd-pam)").
#pragma once

#include <cstdint>
#include <string>

namespace gaugery::cli {

enum class TInstanceChoice {
  None,  // \Object\Counter: an object without instances
  One,   // \Object(Name#N)\Counter
  All,   // \Object(*)\Counter
};

struct TCounterPath {
  std::string Computer;  // empty for this computer
  std::string Object;
  TInstanceChoice Instances = TInstanceChoice::None;
  std::string Instance;          // with One: the name without its "#N"
  std::uint32_t Occurrence = 0;  // with One: N, 0 without a suffix
  std::string Counter;
};

// True when Text is written as a counter path: it starts with a backslash.
bool IsCounterPath(const std::string& Text);

// UsageError "invalid counter path "TEXT": what is wrong" for text that is no path.
TCounterPath ParseCounterPath(const std::string& Text);

// The instance part of a path: the name, with "#N" when N is not 0 (and "#0" where the
// name alone would read back as another choice).
std::string InstanceText(const std::string& Name, std::uint32_t Occurrence);

// The path's text, which ParseCounterPath reads back as the same path.
std::string PathText(const TCounterPath& Path);

}  // namespace gaugery::cli
