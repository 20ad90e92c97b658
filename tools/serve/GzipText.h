// Compression of the server's answers for clients that accept gzip (Prometheus does):
// done once per sample and format, not once per request.
#pragma once

#include <string>

namespace gaugery::cli {

// Text in the gzip format, at zlib's default level.
std::string GzipCompressed(const std::string& Text);

}  // namespace gaugery::cli
