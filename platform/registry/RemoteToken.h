// The bearer token of `gaugery serve --token FILE`, and the one this program sends to
// the remote computers it reads: from the program's --token FILE, or else from the
// file that the environment variable GAUGERY_TOKEN_FILE names.
#pragma once

#include <string>

#include "framework/LibraryExport.h"

namespace gaugery {

inline constexpr char RemoteTokenVariable[] = "GAUGERY_TOKEN_FILE";

// The token a token file holds: its text without the white space around it, one word
// of visible ASCII characters (at most 4096). Raises Exception when the file cannot be
// read or holds anything else.
GAUGERY_PLATFORM_API std::string ReadTokenFile(const std::string& File);

// Reads the token that requests to remote computers carry from File, or, for an
// empty File, from the file GAUGERY_TOKEN_FILE names (no token when it is not set).
// Raises Exception as ReadTokenFile does.
GAUGERY_PLATFORM_API void UseRemoteTokenFile(const std::string& File);

// The token requests to remote computers carry; empty for none.
GAUGERY_PLATFORM_API std::string RemoteToken();

}  // namespace gaugery
