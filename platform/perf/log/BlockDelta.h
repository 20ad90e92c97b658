// A sample stored against the one before it. A well-formed block is cut into units: the
// header with the system name, then per object its definitions, its own counter block
// (or each instance with its counter block) and any padding, then whatever follows the
// last object. A unit found again in the previous block (the header, an object by title
// index and position among objects of that index, an instance by name and unique id
// within its object) with the same length is stored as a reference plus the runs of
// bytes that changed; any other unit is stored whole.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "framework/WinTypes.h"

namespace gaugery::counterlog {

struct TBlockUnit {
  DWORD Offset = 0;
  DWORD Length = 0;
};

// The units of one block, in order, covering every byte; Keys (one per unit) only when
// asked for, since only the encoder matches units.
struct TBlockLayout {
  std::vector<TBlockUnit> Units;
  std::vector<std::string> Keys;
};

// The units of the Size bytes at Data, a block that CheckBlock finds well-formed.
TBlockLayout CutBlock(const BYTE* Data, DWORD Size, bool WithKeys);

// The delta that rebuilds Current from Previous; both layouts made with keys.
std::vector<BYTE> EncodeDelta(const BYTE* Previous, const TBlockLayout& PreviousLayout,
                              const BYTE* Current, const TBlockLayout& CurrentLayout);

// Rebuilds the block of BlockSize bytes that Delta describes against Previous (its
// layout needs no keys). A unit of Previous serves at most once, so the result is never
// larger than Previous and the delta together. Exception for a delta that does not
// describe a block of BlockSize bytes.
std::vector<BYTE> DecodeDelta(const BYTE* Previous, const TBlockLayout& PreviousLayout,
                              const BYTE* Delta, std::size_t DeltaSize, DWORD BlockSize);

}  // namespace gaugery::counterlog
