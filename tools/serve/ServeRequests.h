// What `gaugery serve` reads from a request beyond what the HTTP library parses: the
// query of /perfdata, the locale and value of a /perflib path, the format a scraper
// accepts, and the bearer token. Pure
// functions over the texts as they arrived, so that a fuzz target can reach them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "MetricExposition.h"

namespace gaugery::cli {

// Longest value name /perfdata takes, in bytes.
inline constexpr std::size_t LongestPerfDataValue = 1024;

// The value name of "/perfdata?<Query>": the query must be exactly one "value=..."
// with a value of 1 to LongestPerfDataValue bytes, percent-encoded ("+" for a space)
// and free of control characters. "Global" in any letter case comes back as "Global";
// other names (index lists) as they are. Empty for a malformed query.
std::optional<std::string> PerfDataValue(std::string_view Query);

// The "name=value" pairs of a query, in order, each side percent-decoded ("+" for a
// space); a pair with a broken escape is left out, a name without "=" has an empty value.
std::vector<std::pair<std::string, std::string>> QueryParameters(std::string_view Query);

// The two segments of "/perflib/LOCALE/VALUE", each percent-decoded.
struct TLocaleValuePath {
  std::string Locale;
  std::string Value;
};

// The locale and value of a path under /perflib/: exactly two segments, neither empty
// nor with a slash or control character once decoded. Empty for any other path.
std::optional<TLocaleValuePath> LocaleValuePath(std::string_view Path);

// The time stamp a reader's held-sample header carries: a decimal number of at most 18
// digits. Empty for an absent or malformed header.
std::optional<std::int64_t> HeldSample(std::string_view Header);

// OpenMetrics when the Accept header asks for "application/openmetrics-text" (without
// a version or version 1.0.0) at least as much as for the text format; the text
// format otherwise, also for an absent or unreadable header.
exposition::TExpositionFormat NegotiatedFormat(std::string_view Accept);

// Whether an Accept-Encoding header lists "gzip" (or "x-gzip") with a weight above 0.
bool AcceptsGzip(std::string_view AcceptEncoding);

// Whether an Authorization header carries "Bearer <Token>", or "Basic" credentials
// whose password is Token (what a browser sends for the web view), the scheme in any
// letter case. The token is compared in constant time.
bool IsAuthorized(std::string_view Authorization, std::string_view Token);

}  // namespace gaugery::cli
