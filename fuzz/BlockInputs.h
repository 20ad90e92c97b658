// The data blocks one fuzz input stands for. Arbitrary bytes rarely get past the first
// length fields, so besides the input's own bytes each input also edits a well-formed
// synthetic block: the fuzzer then explores blocks that are almost right, where the
// check has to find the one field that is wrong.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "framework/WinTypes.h"

namespace gaugery::fuzz {

// Each block as the bytes a query returned, in a heap buffer of exactly that size so
// that a read past it is caught:
// - the input as it is;
// - a synthetic block chosen by the first input byte, with the rest of the input read
//   as edits of 6 bytes each: a 16-bit offset into the block and a 32-bit value written
//   there; a last partial edit of 2 to 5 bytes cuts as many bytes off the end as its
//   first two bytes say.
std::vector<std::vector<BYTE>> BlocksOfInput(const std::uint8_t* Data, std::size_t Size);

}  // namespace gaugery::fuzz
