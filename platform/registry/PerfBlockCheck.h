// The check that makes walking a data block safe: a block is used only when every
// length and offset a component may follow stays inside the bytes that were read.
#pragma once

#include <string>

#include "framework/LibraryExport.h"
#include "registry/PerfDataRecords.h"

namespace gaugery {

// What the check of a block found.
struct GAUGERY_PLATFORM_API TBlockCheck {
  // The header lies inside the bytes read, its TotalByteLength among them, it carries
  // the signature "PERF", and the system name ends inside the block. Nothing of a
  // block without it may be used.
  bool HeaderSound = false;
  // NumObjectTypes of a sound header; 0 otherwise.
  DWORD Objects = 0;
  // The objects, from the first, that can be walked: all of them in a well-formed
  // block, those before the first malformed one otherwise.
  DWORD SoundObjects = 0;
  // What is wrong, in words, for messages; empty for a well-formed block.
  std::string Problem;

  bool WellFormed() const { return HeaderSound && SoundObjects == Objects; }
};

// Checks the Size bytes at Data as a block that the walkers of WinGaugery.h follow
// without leaving its first TotalByteLength bytes (which must fit in Size): the header,
// the system name with its NUL, then object by object every object, counter definition,
// instance (with its name's NUL when NameLength is not 0), counter block, and every
// counter value (CounterOffset + CounterSize) inside every counter block of its object.
// The first malformed object ends the check. Runs in time linear in the block's size
// and allocates nothing for a well-formed block.
GAUGERY_PLATFORM_API TBlockCheck CheckBlock(const void* Data, DWORD Size);

// What is wrong with a block header taken by itself, in words: a signature other than
// "PERF", or lengths (HeaderLength, TotalByteLength) that contradict each other; null
// when nothing is. Lets a reader refuse a block before it reads more than the header.
GAUGERY_PLATFORM_API const char* HeaderProblem(const TPERF_DATA_BLOCK& Header);

// True when CheckBlock finds the whole block well-formed.
GAUGERY_PLATFORM_API bool IsWellFormedBlock(const void* Data, DWORD Size);

}  // namespace gaugery
