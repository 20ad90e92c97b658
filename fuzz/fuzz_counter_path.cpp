// Arbitrary text as a counter path: the parser must either refuse it as wrong usage or
// give a path with an object and a counter, whose text reads back as the same path.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "CommandLine.h"
#include "CounterPath.h"

namespace {

bool Same(const gaugery::cli::TCounterPath& A, const gaugery::cli::TCounterPath& B) {
  return A.Computer == B.Computer && A.Object == B.Object && A.Instances == B.Instances &&
         A.Instance == B.Instance && A.Occurrence == B.Occurrence && A.Counter == B.Counter;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  using namespace gaugery::cli;
  const std::string Text(reinterpret_cast<const char*>(Data), Size);
  TCounterPath Path;
  try {
    Path = ParseCounterPath(Text);
  } catch (const UsageError&) {
    return 0;
  }
  if (Path.Object.empty() || Path.Counter.empty() || Path.Counter.find('\\') != std::string::npos) {
    std::abort();
  }
  if (!Same(ParseCounterPath(PathText(Path)), Path)) std::abort();
  return 0;
}
