// What the web view's page is made of, as the server answers it: the page at "/" and
// its scripts and style sheet at "/web/NAME", each with its media type.
#pragma once

#include <optional>
#include <string_view>

namespace gaugery::cli {

struct TWebAsset {
  std::string_view Type;
  std::string_view Bytes;
};

// The asset a request path names ("/" or "/web/NAME"); nothing for any other path.
std::optional<TWebAsset> FindWebAsset(std::string_view Path);

}  // namespace gaugery::cli
