// The block a query of an index list would return, cut from a block of "Global": the
// server samples the whole block once per interval and answers every value name from
// it, so that no value name can make it sample more often.
#pragma once

#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "framework/WinTypes.h"

namespace gaugery::cli {

// The header of Global (a block that passed the block check) followed by only the
// objects that ValueName asks for, in block order, as the registry answers such a
// query: "Global" keeps every object, a list of title indexes those objects, any other
// name none. NumObjectTypes and TotalByteLength are set to match; the length is padded
// to 8 bytes. Extra, a block of the objects that Global leaves out (empty for none),
// gives the asked objects that Global lacks, after those of Global.
std::string SelectedObjects(std::string_view Global, const std::string& ValueName,
                            std::string_view Extra = {});

// The title indexes of the objects of a checked block, in block order.
std::vector<DWORD> BlockObjectIndexes(std::string_view Block);

// The title indexes that the objects and counter definitions of a checked block carry.
std::set<DWORD> BlockTitleIndexes(std::string_view Block);

}  // namespace gaugery::cli
