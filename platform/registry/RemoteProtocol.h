// What a remote computer's registry and `gaugery serve` say to each other over HTTP:
// the port the server listens on by default, and the paths and names the client asks
// for. Both sides build their requests and routes from these, so that they cannot drift
// apart.
#pragma once

#include <cstdint>
#include <string_view>

namespace gaugery {

// The port `gaugery serve` listens on unless told otherwise.
inline constexpr std::uint16_t GaugeryServePort = 9441;

// GET PerfDataPath?value=NAME: the data block of the registry value NAME ("Global",
// "238 232", ...), percent-encoded.
inline constexpr std::string_view PerfDataPath = "/perfdata";
inline constexpr std::string_view PerfDataValueKey = "value=";
// A header of that request: the PerfTime100nSec (decimal) of the block of that value
// the reader holds. The server answers with a newer sample, waiting for one at most
// one interval, so that a reader polling at the server's interval never gets the same
// sample twice (whose rates would read 0).
inline constexpr std::string_view HeldSampleHeader = "X-Gaugery-Held-Sample";

// GET PerflibPath: the locale list; PerflibPath LOCALE "/" VALUE: one of a locale's two
// multi-string values, named as in the registry.
inline constexpr std::string_view PerflibPath = "/perflib/";
inline constexpr std::string_view CounterValueName = "Counter";
inline constexpr std::string_view HelpValueName = "Help";

}  // namespace gaugery
