#include "GzipText.h"

#include <zlib.h>

#include <stdexcept>

namespace gaugery::cli {

namespace {

constexpr int GzipWindowBits = 15 + 16;  // the largest window, with a gzip header
constexpr int MemoryLevel = 8;

}  // namespace

std::string GzipCompressed(const std::string& Text) {
  z_stream Stream{};
  if (deflateInit2(&Stream, Z_BEST_SPEED, Z_DEFLATED, GzipWindowBits, MemoryLevel,
                   Z_DEFAULT_STRATEGY) != Z_OK)
    throw std::runtime_error("zlib cannot compress");
  std::string Compressed(deflateBound(&Stream, static_cast<uLong>(Text.size())), '\0');
  Stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(Text.data()));
  Stream.avail_in = static_cast<uInt>(Text.size());
  Stream.next_out = reinterpret_cast<Bytef*>(Compressed.data());
  Stream.avail_out = static_cast<uInt>(Compressed.size());
  const int Result = deflate(&Stream, Z_FINISH);
  Compressed.resize(Stream.total_out);
  deflateEnd(&Stream);
  if (Result != Z_STREAM_END) throw std::runtime_error("zlib cannot compress");
  return Compressed;
}

}  // namespace gaugery::cli
