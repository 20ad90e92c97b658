// Arbitrary bytes as the answer of a data query: the check must decide on every input
// without reading outside it, and must keep to what it promises: an accepted block's
// header lies inside the bytes returned.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "BlockInputs.h"
#include "PerfBlockCheck.h"
#include "WinPerf.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  using namespace gaugery;
  for (const std::vector<BYTE>& Block : fuzz::BlocksOfInput(Data, Size)) {
    const auto Returned = static_cast<DWORD>(Block.size());
    if (!IsWellFormedBlock(Block.data(), Returned)) continue;
    TPERF_DATA_BLOCK Header;
    if (Returned < sizeof Header) std::abort();
    std::memcpy(&Header, Block.data(), sizeof Header);
    if (Header.TotalByteLength > Returned || Header.HeaderLength > Header.TotalByteLength) {
      std::abort();
    }
  }
  return 0;
}
