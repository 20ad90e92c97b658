// The block a query of an index list would return, cut from a block of "Global": the
// server samples the whole block once per interval and answers every value name from
// it, so that no value name can make it sample more often.
#pragma once

#include <string>
#include <string_view>

namespace gaugery::cli {

// The header of Global (a block that passed the block check) followed by only the
// objects that ValueName asks for, in block order, as the registry answers such a
// query: "Global" keeps every object, a list of title indexes those objects, any other
// name none. NumObjectTypes and TotalByteLength are set to match; the length is padded
// to 8 bytes.
std::string SelectedObjects(std::string_view Global, const std::string& ValueName);

}  // namespace gaugery::cli
