#include "framework/TypeInfo.h"

#include <algorithm>
#include <memory>
#include <unordered_map>
#include <utility>

#include "framework/Exceptions.h"

namespace gaugery {

namespace {

// Keys a stored form uses for itself; no property may carry them.
bool IsReservedName(const std::string& Name) {
  return Name == "class" || Name == "name" || Name == "components";
}

class TClassRegistry {
 public:
  TClassRegistry() {
    // The plain component: a container for forms whose root has no class of its own.
    Add({.ClassName = "TComponent",
         .Type = std::type_index(typeid(TComponent)),
         .Parent = std::nullopt,
         .Properties = {},
         .Create = [](TComponent* Owner) { return new TComponent(Owner); }});
  }

  void Add(TClassInfo Info) {
    if (ByName_.count(Info.ClassName) != 0 || ByType_.count(Info.Type) != 0) {
      throw Exception("Class " + Info.ClassName + " is registered already");
    }
    CheckPropertyNames(Info);
    Classes_.push_back(std::make_unique<TClassInfo>(std::move(Info)));
    const TClassInfo* Added = Classes_.back().get();
    ByName_[Added->ClassName] = Added;
    ByType_[Added->Type] = Added;
  }

  const TClassInfo* Find(const std::string& ClassName) const {
    const auto Found = ByName_.find(ClassName);
    return Found == ByName_.end() ? nullptr : Found->second;
  }

  const TClassInfo* Find(const std::type_index& Type) const {
    const auto Found = ByType_.find(Type);
    return Found == ByType_.end() ? nullptr : Found->second;
  }

  // The palette's pages in the order they were first registered, each with its classes.
  std::vector<std::pair<std::string, std::vector<std::string>>> Palette;

  std::vector<std::string>* FindPage(const std::string& Page) {
    const auto Found = std::find_if(Palette.begin(), Palette.end(),
                                    [&](const auto& Entry) { return Entry.first == Page; });
    return Found == Palette.end() ? nullptr : &Found->second;
  }

 private:
  static void CheckPropertyNames(const TClassInfo& Info) {
    std::vector<std::string> Seen;
    for (const TPropertyInfo& Property : Info.Properties) {
      const bool Twice = std::find(Seen.begin(), Seen.end(), Property.Name) != Seen.end();
      if (IsReservedName(Property.Name) || Twice) {
        throw Exception("Class " + Info.ClassName + " cannot publish a property named " +
                        Property.Name);
      }
      Seen.push_back(Property.Name);
    }
  }

  std::vector<std::unique_ptr<TClassInfo>> Classes_;
  std::unordered_map<std::string, const TClassInfo*> ByName_;
  std::unordered_map<std::type_index, const TClassInfo*> ByType_;
};

TClassRegistry& Registry() {
  static TClassRegistry Instance;
  return Instance;
}

}  // namespace

std::string PropertyKindName(TPropertyKind Kind) {
  switch (Kind) {
    case TPropertyKind::pkString:
      return "string";
    case TPropertyKind::pkInteger:
      return "integer";
    case TPropertyKind::pkBoolean:
      return "boolean";
    case TPropertyKind::pkCollection:
      return "collection";
    case TPropertyKind::pkComponent:
      return "component reference";
    case TPropertyKind::pkObject:
      return "object";
  }
  return "unknown";
}

void RegisterClassInfo(TClassInfo Info) { Registry().Add(std::move(Info)); }

const TClassInfo* FindClassInfo(const std::string& ClassName) { return Registry().Find(ClassName); }

const TClassInfo* FindClassInfo(const std::type_index& Type) { return Registry().Find(Type); }

const TClassInfo* ClassInfoOf(const TPersistent* Object) {
  return Object == nullptr ? nullptr : FindClassInfo(std::type_index(typeid(*Object)));
}

const TClassInfo* ParentClassInfo(const TClassInfo& Info) {
  return Info.Parent ? FindClassInfo(*Info.Parent) : nullptr;
}

bool InheritsFrom(const TClassInfo& Info, const std::type_index& Ancestor) {
  for (const TClassInfo* Class = &Info; Class != nullptr; Class = ParentClassInfo(*Class)) {
    if (Class->Type == Ancestor) return true;
  }
  return false;
}

std::vector<const TPropertyInfo*> PublishedProperties(const TClassInfo& Info) {
  std::vector<const TClassInfo*> Chain;
  for (const TClassInfo* Class = &Info; Class != nullptr; Class = ParentClassInfo(*Class)) {
    Chain.push_back(Class);
  }
  std::vector<const TPropertyInfo*> Properties;
  for (auto Class = Chain.rbegin(); Class != Chain.rend(); ++Class) {
    for (const TPropertyInfo& Property : (*Class)->Properties) Properties.push_back(&Property);
  }
  return Properties;
}

const TPropertyInfo* FindPublishedProperty(const TClassInfo& Info, const std::string& Name) {
  for (const TPropertyInfo* Property : PublishedProperties(Info)) {
    if (Property->Name == Name) return Property;
  }
  return nullptr;
}

void RegisterComponents(const std::string& Page, const std::vector<std::string>& ClassNames) {
  TClassRegistry& Classes = Registry();
  std::vector<std::string>* Listed = Classes.FindPage(Page);
  if (Listed == nullptr)
    Listed = &Classes.Palette.emplace_back(Page, std::vector<std::string>()).second;
  Listed->insert(Listed->end(), ClassNames.begin(), ClassNames.end());
}

std::vector<std::string> PalettePages() {
  std::vector<std::string> Pages;
  for (const auto& Entry : Registry().Palette) Pages.push_back(Entry.first);
  return Pages;
}

std::vector<std::string> PaletteClasses(const std::string& Page) {
  const std::vector<std::string>* Listed = Registry().FindPage(Page);
  return Listed == nullptr ? std::vector<std::string>() : *Listed;
}

}  // namespace gaugery
