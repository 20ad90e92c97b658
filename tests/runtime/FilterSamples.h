// The synthetic data and names the counter filter tests read: a process object with
// three instances, a memory object without instances, a processor object with none at
// the moment and a network object whose titles the names list twice.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "BlockBuilder.h"
#include "ErrorOf.h"
#include "FakeProviders.h"
#include "framework/Exceptions.h"

namespace gaugery::testing {

// Title indexes of the sample objects.
constexpr DWORD kMemory = 4;
constexpr DWORD kProcess = 230;
constexpr DWORD kProcessor = 238;
constexpr DWORD kNetwork = 502;  // "Network" is listed under 500 first

// The "009" and "007" name tables; "007" has no title for the processor object.
std::vector<TPerfLocaleNames> FilterNames();

// One sample; Stamp goes into the process object's PerfTime and into the varying values,
// so that samples are told apart. Without the network object on request.
test::TBlock FilterBlock(std::int64_t Stamp = 1, bool WithNetwork = true);

// A fake provider serving the samples with the filter names.
test::TFakeProviders ServeFilterBlocks(std::vector<test::TBlock> Samples);

}  // namespace gaugery::testing
