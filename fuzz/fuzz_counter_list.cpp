// Arbitrary text as a list of counter paths: the reader must either refuse it with an
// error or give at least one path, each of which parses.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "CounterList.h"
#include "CounterPath.h"
#include "framework/Exceptions.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  using namespace gaugery::cli;
  std::istringstream In(std::string(reinterpret_cast<const char*>(Data), Size));
  std::vector<std::string> Paths;
  try {
    Paths = CounterListPaths(In, "fuzz");
  } catch (const gaugery::Exception&) {
    return 0;
  }
  if (Paths.empty()) std::abort();
  for (const std::string& Path : Paths) ParseCounterPath(Path);
  return 0;
}
