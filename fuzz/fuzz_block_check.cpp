// Arbitrary bytes as the answer of a data query: the check must decide on every input
// without reading outside it, and must keep to what it promises: a sound header lies
// inside the bytes returned, the sound objects are at most all of them, a problem is
// named exactly when something is wrong, and the block cut to its sound objects checks
// out whole.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "BlockInputs.h"
#include "registry/PerfBlockCheck.h"
#include "WinPerf.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  using namespace gaugery;
  for (const std::vector<BYTE>& Block : fuzz::BlocksOfInput(Data, Size)) {
    const auto Returned = static_cast<DWORD>(Block.size());
    const TBlockCheck Check = CheckBlock(Block.data(), Returned);
    if (Check.Problem.empty() != Check.WellFormed()) std::abort();
    if (!Check.HeaderSound) continue;
    TPERF_DATA_BLOCK Header;
    if (Returned < sizeof Header) std::abort();
    std::memcpy(&Header, Block.data(), sizeof Header);
    if (Header.TotalByteLength > Returned || Header.HeaderLength > Header.TotalByteLength ||
        Check.Objects != Header.NumObjectTypes || Check.SoundObjects > Check.Objects) {
      std::abort();
    }
    std::vector<BYTE> Cut = Block;
    Header.NumObjectTypes = Check.SoundObjects;
    std::memcpy(Cut.data(), &Header, sizeof Header);
    if (!IsWellFormedBlock(Cut.data(), Returned)) std::abort();
  }
  return 0;
}
