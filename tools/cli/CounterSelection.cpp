#include "CounterSelection.h"

#include <algorithm>
#include <unordered_map>

#include "CommandLine.h"
#include "PerfFilter.h"
#include "framework/Exceptions.h"
#include "framework/TextCompare.h"

namespace gaugery::cli {

namespace {

TCounterSelection SelectionOfPath(const std::string& Text) {
  TCounterPath Path = ParseCounterPath(Text);
  return {std::move(Path.Computer),
          std::move(Path.Object),
          Path.Instances,
          std::move(Path.Instance),
          Path.Occurrence,
          {std::move(Path.Counter)},
          true};
}

// Instance names that compare equal ignoring case count as one name.
struct TSameName {
  bool operator()(const std::string& A, const std::string& B) const { return AnsiSameText(A, B); }
};
struct TNameHash {
  std::size_t operator()(const std::string& Name) const {
    return static_cast<std::size_t>(AnsiTextHash(Name));
  }
};

std::vector<TShownInstance> AllInstances(TPerfCounterItem& Located, bool Numbered) {
  const std::int32_t Count = Located.InstanceCount();
  std::vector<TShownInstance> Shown;
  Shown.reserve(static_cast<std::size_t>(Count));
  std::unordered_map<std::string, std::uint32_t, TNameHash, TSameName> Seen;
  for (std::int32_t Index = 0; Index < Count; ++Index) {
    std::string Name = Located.GetInstanceNames(Index);
    const std::uint32_t Occurrence = Numbered ? Seen[Name]++ : 0;
    Shown.push_back({Index, std::move(Name), Occurrence});
  }
  return Shown;
}

std::vector<TShownInstance> NamedInstance(TPerfCounterItem& Located,
                                          const TCounterSelection& Selection) {
  const std::int32_t Count = Located.InstanceCount();
  std::uint32_t Occurrence = 0;
  for (std::int32_t Index = 0; Index < Count; ++Index) {
    std::string Name = Located.GetInstanceNames(Index);
    if (!AnsiSameText(Name, Selection.Instance)) continue;
    if (Occurrence == Selection.Occurrence) return {{Index, std::move(Name), Occurrence}};
    ++Occurrence;
  }
  return {};
}

TCounterPath PathOf(const TCounterSelection& Selection, TInstanceChoice Instances,
                    const std::string& Instance) {
  return {Selection.Computer, Selection.Object, Instances, Instance, 0, Selection.Counters[0]};
}

}  // namespace

std::vector<TCounterSelection> SelectionsOf(const std::vector<std::string>& Operands,
                                            const std::string& DefaultComputer) {
  const auto Paths = std::count_if(Operands.begin(), Operands.end(), IsCounterPath);
  std::vector<TCounterSelection> Selections;
  if (Paths == 0) {
    if (Operands.size() < 2) {
      throw UsageError("needs an OBJECT and at least one COUNTER, or counter paths");
    }
    Selections.push_back({.Computer = DefaultComputer,
                          .Object = Operands[0],
                          .Counters = {Operands.begin() + 1, Operands.end()}});
    return Selections;
  }
  if (static_cast<std::size_t>(Paths) != Operands.size()) {
    throw UsageError("counter paths and OBJECT COUNTER titles cannot be mixed");
  }
  for (const std::string& Operand : Operands) {
    Selections.push_back(SelectionOfPath(Operand));
    if (Selections.back().Computer.empty()) Selections.back().Computer = DefaultComputer;
  }
  return Selections;
}

std::vector<TShownInstance> ShownInstances(TPerfCounterItem& Located,
                                           const TCounterSelection& Selection) {
  const bool HasInstances = Located.HasInstances();
  if (!HasInstances) {
    if (Selection.Instances == TInstanceChoice::One) {
      throw Exception("the object " + Selection.Object + " has no instances: name it as " +
                      PathText(PathOf(Selection, TInstanceChoice::None, "")));
    }
    return {{}};
  }
  switch (Selection.Instances) {
    case TInstanceChoice::None:
      throw Exception("the object " + Selection.Object + " has instances: name one, as in " +
                      PathText(PathOf(Selection, TInstanceChoice::One, "NAME")) + ", or all with " +
                      PathText(PathOf(Selection, TInstanceChoice::All, "")));
    case TInstanceChoice::One:
      return NamedInstance(Located, Selection);
    case TInstanceChoice::All:
      break;
  }
  return AllInstances(Located, Selection.FromPath);
}

std::vector<TShownInstance> PresentInstances(TPerfCounterItem& Located,
                                             const TCounterSelection& Selection) {
  std::vector<TShownInstance> Shown = ShownInstances(Located, Selection);
  if (Shown.empty()) {
    throw Exception("no instance " + InstanceText(Selection.Instance, Selection.Occurrence) +
                    " of " + Selection.Object + " in the sample");
  }
  return Shown;
}

std::string ValuePath(const TCounterSelection& Selection, const TShownInstance& Instance,
                      const std::string& Counter) {
  TCounterPath Path{Selection.Computer, Selection.Object,     Selection.Instances,
                    Selection.Instance, Selection.Occurrence, Counter};
  if (Selection.Instances == TInstanceChoice::All) {
    // One of every instance, or the values of an object without instances.
    Path.Instances = Instance.Index >= 0 ? TInstanceChoice::One : TInstanceChoice::None;
    Path.Instance = Instance.Name;
    Path.Occurrence = Instance.Occurrence;
  }
  return PathText(Path);
}

}  // namespace gaugery::cli
