// A list of counter paths in a text, one a line, as `relog --counters FILE` reads it:
// blank lines and lines starting with "#" are skipped, and lines may end in CRLF.
#pragma once

#include <istream>
#include <string>
#include <vector>

namespace gaugery::cli {

// The paths of In, called Name in messages. Exception "NAME:LINE: what is wrong" for a
// line that is no counter path, "No counter path in "NAME"" for a list of none.
std::vector<std::string> CounterListPaths(std::istream& In, const std::string& Name);

// The paths of File; Exception "Cannot read counter list "FILE"" when it cannot be read.
std::vector<std::string> CounterListOfFile(const std::string& File);

}  // namespace gaugery::cli
