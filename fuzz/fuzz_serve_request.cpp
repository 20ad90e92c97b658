// What `gaugery serve` reads from a request beyond what the HTTP library parses: the
// input's lines are a /perfdata query, a path under /perflib/, an Accept header, an
// Accept-Encoding header and an Authorization header.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "ServeRequests.h"

namespace {

std::string_view NextLine(std::string_view& Input) {
  const std::size_t End = Input.find('\n');
  const std::string_view Line = Input.substr(0, End);
  Input.remove_prefix(End == std::string_view::npos ? Input.size() : End + 1);
  return Line;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  using namespace gaugery::cli;
  std::string_view Input(reinterpret_cast<const char*>(Data), Size);
  if (const std::optional<std::string> Value = PerfDataValue(NextLine(Input))) {
    if (Value->empty() || Value->size() > LongestPerfDataValue) __builtin_trap();
  }
  if (const std::optional<TLocaleValuePath> Path = LocaleValuePath(NextLine(Input))) {
    if (Path->Locale.empty() || Path->Value.empty()) __builtin_trap();
  }
  (void)NegotiatedFormat(NextLine(Input));
  (void)AcceptsGzip(NextLine(Input));
  (void)IsAuthorized(NextLine(Input), "token");
  return 0;
}
