#include "CounterPath.h"

#include <charconv>

#include "CommandLine.h"

namespace gaugery::cli {

namespace {

[[noreturn]] void RaiseInvalid(const std::string& Text, const char* Problem) {
  throw UsageError("invalid counter path \"" + Text + "\": " + Problem);
}

// A trailing "#N" (decimal digits, 32 bits) of an instance moves into Occurrence.
void SplitOccurrence(TCounterPath& Path) {
  const std::string& Name = Path.Instance;
  const std::size_t Hash = Name.rfind('#');
  if (Hash == std::string::npos || Hash + 1 == Name.size()) return;
  std::uint32_t Number = 0;
  const char* const End = Name.data() + Name.size();
  const auto [Stop, Error] = std::from_chars(Name.data() + Hash + 1, End, Number);
  if (Error != std::errc() || Stop != End) return;
  Path.Occurrence = Number;
  Path.Instance.erase(Hash);
}

// "Object" or "Object(Instance)", between the path's first and last backslash.
void ParseObjectPart(const std::string& Text, const std::string& Part, TCounterPath& Path) {
  const std::size_t Open = Part.find('(');
  Path.Object = Part.substr(0, Open);
  if (Path.Object.empty()) RaiseInvalid(Text, "no object");
  if (Open == std::string::npos) return;
  if (Part.back() != ')') RaiseInvalid(Text, "the instance has no closing \")\"");
  Path.Instance = Part.substr(Open + 1, Part.size() - Open - 2);
  if (Path.Instance.empty()) RaiseInvalid(Text, "the instance is empty");
  if (Path.Instance == "*") {
    Path.Instances = TInstanceChoice::All;
    Path.Instance.clear();
    return;
  }
  Path.Instances = TInstanceChoice::One;
  SplitOccurrence(Path);
}

}  // namespace

bool IsCounterPath(const std::string& Text) { return !Text.empty() && Text[0] == '\\'; }

TCounterPath ParseCounterPath(const std::string& Text) {
  if (!IsCounterPath(Text)) RaiseInvalid(Text, "a path starts with \"\\\"");
  TCounterPath Path;
  std::size_t Start = 0;
  if (Text.compare(0, 2, "\\\\") == 0) {
    Start = Text.find('\\', 2);
    if (Start == std::string::npos) RaiseInvalid(Text, "nothing follows the computer name");
    Path.Computer = Text.substr(2, Start - 2);
    if (Path.Computer.empty()) RaiseInvalid(Text, "the computer name is empty");
  }
  const std::size_t Last = Text.rfind('\\');
  if (Last == Start) RaiseInvalid(Text, "it needs \\OBJECT\\COUNTER");
  Path.Counter = Text.substr(Last + 1);
  if (Path.Counter.empty()) RaiseInvalid(Text, "no counter after the last \"\\\"");
  ParseObjectPart(Text, Text.substr(Start + 1, Last - Start - 1), Path);
  return Path;
}

std::string InstanceText(const std::string& Name, std::uint32_t Occurrence) {
  TCounterPath AsRead{.Instance = Name};
  SplitOccurrence(AsRead);
  // A name that would read back otherwise ("", "*", "a#1") keeps its "#0".
  const bool Ambiguous = Name.empty() || Name == "*" || AsRead.Instance != Name;
  return Occurrence == 0 && !Ambiguous ? Name : Name + "#" + std::to_string(Occurrence);
}

std::string PathText(const TCounterPath& Path) {
  std::string Text;
  if (!Path.Computer.empty()) Text.append("\\\\").append(Path.Computer);
  Text.append("\\").append(Path.Object);
  if (Path.Instances == TInstanceChoice::All) Text += "(*)";
  if (Path.Instances == TInstanceChoice::One) {
    Text.append("(").append(InstanceText(Path.Instance, Path.Occurrence)).append(")");
  }
  return Text.append("\\").append(Path.Counter);
}

}  // namespace gaugery::cli
