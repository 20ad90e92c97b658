// Compression of the server's answers for clients that accept gzip (Prometheus does):
// done once per sample and format, not once per request.
#pragma once

#include <string>

namespace gaugery::cli {

// Text in the gzip format, at zlib's fastest level: for an exposition of every
// process's series it takes half the time of the default level, for an answer some
// 15% larger.
std::string GzipCompressed(const std::string& Text);

}  // namespace gaugery::cli
