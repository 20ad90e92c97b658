// The check that makes walking a data block safe: a block is used only when every
// length and offset a component may follow stays inside the bytes that were read.
#pragma once

#include "framework/WinTypes.h"

namespace gaugery {

// True when the Size bytes at Data form a block that the walkers of WinGaugery.h can
// follow without leaving its first TotalByteLength bytes (which must fit in Size):
// the header, the system name with its NUL, every object, counter definition,
// instance (with its name's NUL when NameLength is not 0), counter block, and every
// counter value (CounterOffset + CounterSize) inside every counter block of its
// object. Runs in time linear in the block's size and allocates nothing.
bool IsWellFormedBlock(const void* Data, DWORD Size);

}  // namespace gaugery
