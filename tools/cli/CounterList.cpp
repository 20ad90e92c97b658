#include "CounterList.h"

#include <fstream>

#include "CommandLine.h"
#include "CounterPath.h"
#include "framework/Exceptions.h"

namespace gaugery::cli {

std::vector<std::string> CounterListPaths(std::istream& In, const std::string& Name) {
  std::vector<std::string> Paths;
  std::string Line;
  for (int Number = 1; std::getline(In, Line); ++Number) {
    if (!Line.empty() && Line.back() == '\r') Line.pop_back();
    if (Line.empty() || Line.front() == '#') continue;
    try {
      if (!IsCounterPath(Line)) throw UsageError("not a counter path: \"" + Line + "\"");
      ParseCounterPath(Line);
    } catch (const UsageError& Error) {
      throw Exception(Name + ":" + std::to_string(Number) + ": " + Error.what());
    }
    Paths.push_back(Line);
  }
  if (Paths.empty()) throw Exception("No counter path in \"" + Name + "\"");
  return Paths;
}

std::vector<std::string> CounterListOfFile(const std::string& File) {
  std::ifstream In(File, std::ios::binary);
  if (!In) throw Exception("Cannot read counter list \"" + File + "\"");
  return CounterListPaths(In, File);
}

}  // namespace gaugery::cli
