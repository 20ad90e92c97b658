#include "framework/StoredForm.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "framework/Exceptions.h"
#include "framework/TextFunctions.h"
#include "framework/TypeInfo.h"

namespace gaugery {

namespace {

// Keeps the keys in the order they were written: properties in declaration order.
using TJson = nlohmann::ordered_json;

// ---------------------------------------------------------------------------------------
// Places: JSON pointers to the value concerned

std::string Child(const std::string& Place, const std::string& Key) {
  std::string Escaped;
  for (char C : Key) {
    if (C == '~') {
      Escaped += "~0";
    } else if (C == '/') {
      Escaped += "~1";
    } else {
      Escaped += C;
    }
  }
  return Place + "/" + Escaped;
}

std::string Child(const std::string& Place, std::size_t Index) {
  return Place + "/" + std::to_string(Index);
}

std::string Shown(const std::string& Place) { return Place.empty() ? "/" : Place; }

[[noreturn]] void Refuse(const std::string& Place, const std::string& Reason) {
  throw Exception("Invalid stored form at " + Shown(Place) + ": " + Reason);
}

[[noreturn]] void RefuseToWrite(const std::string& Place, const std::string& Reason) {
  throw Exception("Cannot write stored form at " + Shown(Place) + ": " + Reason);
}

std::string Quoted(const std::string& Text) { return "\"" + Text + "\""; }

const TClassInfo& ItemClassOf(const TPropertyInfo& Property) {
  const TClassInfo* Class = FindClassInfo(*Property.ValueClass);
  if (Class == nullptr)
    throw Exception("The item class of " + Property.Name + " is not registered");
  return *Class;
}

std::string ClassNameOf(const std::type_index& Type) {
  const TClassInfo* Class = FindClassInfo(Type);
  return Class == nullptr ? std::string(Type.name()) : Class->ClassName;
}

// ---------------------------------------------------------------------------------------
// Writing

class TFormWriter {
 public:
  explicit TFormWriter(TComponent* Root) : Root_(Root) {}

  TJson Write() {
    TJson Form = Component(Root_, "");
    TJson Components = TJson::array();
    for (int I = 0; I < Root_->ComponentCount(); ++I) {
      const std::string Place = Child(Child("", "components"), static_cast<std::size_t>(I));
      Components.push_back(Component(Root_->Components(I), Place));
    }
    Form["components"] = std::move(Components);
    return Form;
  }

 private:
  TJson Component(TComponent* Component, const std::string& Place) {
    const TClassInfo* Class = ClassInfoOf(Component);
    if (Class == nullptr) {
      RefuseToWrite(Place, "class " + Component->ClassName() + " is not registered");
    }
    TJson Json = TJson::object();
    Json["class"] = Class->ClassName;
    Json["name"] = Component->Name();
    Properties(Json, Component, *Class, Place);
    return Json;
  }

  void Properties(TJson& Json, TPersistent* Object, const TClassInfo& Class,
                  const std::string& Place) {
    for (const TPropertyInfo* Property : PublishedProperties(Class)) {
      if (!Property->Stored) continue;
      Json[Property->Name] = Value(Object, *Property, Child(Place, Property->Name));
    }
  }

  TJson Value(TPersistent* Object, const TPropertyInfo& Property, const std::string& Place) {
    switch (Property.Kind) {
      case TPropertyKind::pkString:
        return Property.GetString(Object);
      case TPropertyKind::pkInteger:
        return Property.GetInteger(Object);
      case TPropertyKind::pkBoolean:
        return Property.GetBoolean(Object);
      case TPropertyKind::pkCollection:
        return Items(Property.GetCollection(Object), ItemClassOf(Property), Place);
      case TPropertyKind::pkComponent:
        return Reference(Property.GetComponent(Object), Place);
      case TPropertyKind::pkObject:
        break;
    }
    RefuseToWrite(Place, "a " + PropertyKindName(Property.Kind) + " cannot be stored");
  }

  TJson Items(TCollection* Collection, const TClassInfo& ItemClass, const std::string& Place) {
    TJson Json = TJson::array();
    for (int I = 0; I < Collection->Count(); ++I) {
      TJson Item = TJson::object();
      Properties(Item, Collection->Items(I), ItemClass, Child(Place, static_cast<std::size_t>(I)));
      Json.push_back(std::move(Item));
    }
    return Json;
  }

  TJson Reference(TComponent* Component, const std::string& Place) {
    if (Component == nullptr) return nullptr;
    if (Component != Root_ && Component->Owner() != Root_) {
      RefuseToWrite(Place, "the component is not part of the form");
    }
    if (Component->Name().empty()) RefuseToWrite(Place, "the component has no name");
    return Component->Name();
  }

  TComponent* Root_;
};

// ---------------------------------------------------------------------------------------
// Checking, before anything is created

// One component of the form as the text describes it; the root first.
struct TStoredComponent {
  const TJson* Json;
  std::string Place;
  const TClassInfo* Class;
  std::string Name;
};

// The components of a checked form, the root first, and their positions by name in
// lower case (SameText compares names).
struct TStoredForm {
  std::vector<TStoredComponent> Components;
  std::unordered_map<std::string, std::size_t> ByName;

  // The position of the component a reference names, or none.
  std::optional<std::size_t> Find(const std::string& Name) const {
    const auto Found = ByName.find(LowerCase(Name));
    if (Name.empty() || Found == ByName.end()) return std::nullopt;
    return Found->second;
  }
};

struct TStoredReference {
  std::string Place;
  std::string Name;
  std::type_index Class;
};

class TFormChecker {
 public:
  // Root: the existing component the form is read into, or null.
  explicit TFormChecker(const TComponent* Root) : Root_(Root) {}

  TStoredForm Check(const TJson& Form) {
    TStoredForm Stored;
    Stored.Components.push_back(Component(Form, "", true));
    const auto Listed = Form.find("components");
    if (Listed != Form.end()) {
      const std::string Place = Child("", "components");
      if (!Listed->is_array()) Refuse(Place, "expected an array of components");
      for (std::size_t I = 0; I < Listed->size(); ++I) {
        Stored.Components.push_back(Component((*Listed)[I], Child(Place, I), false));
      }
    }
    IndexNames(Stored);
    CheckReferences(Stored);
    return Stored;
  }

 private:
  TStoredComponent Component(const TJson& Json, const std::string& Place, bool IsRoot) {
    if (!Json.is_object()) Refuse(Place, "expected a component object");
    TStoredComponent Stored{&Json, Place, &Class(Json, Place, IsRoot), Name(Json, Place)};
    for (const auto& [Key, Value] : Json.items()) {
      if (Key == "class" || Key == "name") continue;
      if (Key == "components") {
        if (!IsRoot) Refuse(Child(Place, Key), "only the root lists components");
        continue;
      }
      Property(Key, Value, *Stored.Class, Child(Place, Key));
    }
    if (Root_ != nullptr && !IsRoot) CheckAgainstExisting(Stored);
    return Stored;
  }

  const TClassInfo& Class(const TJson& Json, const std::string& Place, bool IsRoot) {
    const std::string ClassPlace = Child(Place, "class");
    const auto Found = Json.find("class");
    if (Found == Json.end()) Refuse(ClassPlace, "the class is missing");
    if (!Found->is_string()) Refuse(ClassPlace, "expected a class name");
    const std::string& ClassName = Found->get_ref<const std::string&>();
    const TClassInfo* Class = FindClassInfo(ClassName);
    if (Class == nullptr) Refuse(ClassPlace, "unknown class " + Quoted(ClassName));
    if (IsRoot && Root_ != nullptr) {
      if (ClassInfoOf(Root_) != Class) Refuse(ClassPlace, "the root is not a " + ClassName);
    } else if (!Class->Create) {
      Refuse(ClassPlace, "class " + ClassName + " cannot be created by name");
    }
    return *Class;
  }

  static std::string Name(const TJson& Json, const std::string& Place) {
    const auto Found = Json.find("name");
    if (Found == Json.end()) return {};
    if (!Found->is_string()) Refuse(Child(Place, "name"), "expected a component name");
    return Found->get<std::string>();
  }

  // A component the existing root owns already is filled in place: it must be of the
  // stored class.
  void CheckAgainstExisting(const TStoredComponent& Stored) const {
    const TComponent* Existing = Root_->FindComponent(Stored.Name);
    if (Existing != nullptr && ClassInfoOf(Existing) != Stored.Class) {
      Refuse(Child(Stored.Place, "class"), "the root's component " + Quoted(Stored.Name) +
                                               " is not a " + Stored.Class->ClassName);
    }
  }

  void Properties(const TJson& Json, const TClassInfo& Class, const std::string& Place) {
    for (const auto& [Key, Value] : Json.items()) Property(Key, Value, Class, Child(Place, Key));
  }

  void Property(const std::string& Key, const TJson& Value, const TClassInfo& Class,
                const std::string& Place) {
    const TPropertyInfo* Property = FindPublishedProperty(Class, Key);
    if (Property == nullptr) {
      Refuse(Place, "unknown property " + Quoted(Key) + " of " + Class.ClassName);
    }
    if (!Property->Stored) {
      Refuse(Place, "property " + Quoted(Key) + " of " + Class.ClassName + " is not stored");
    }
    PropertyValue(Value, *Property, Place);
  }

  void PropertyValue(const TJson& Value, const TPropertyInfo& Property, const std::string& Place) {
    switch (Property.Kind) {
      case TPropertyKind::pkString:
        if (!Value.is_string()) Refuse(Place, "expected a string");
        return;
      case TPropertyKind::pkInteger:
        if (!IsInt64(Value)) Refuse(Place, "expected an integer");
        return;
      case TPropertyKind::pkBoolean:
        if (!Value.is_boolean()) Refuse(Place, "expected true or false");
        return;
      case TPropertyKind::pkCollection:
        Items(Value, ItemClassOf(Property), Place);
        return;
      case TPropertyKind::pkComponent:
        if (Value.is_string()) {
          References_.push_back({Place, Value.get<std::string>(), *Property.ValueClass});
        } else if (!Value.is_null()) {
          Refuse(Place, "expected a component name or null");
        }
        return;
      case TPropertyKind::pkObject:
        break;
    }
    Refuse(Place, "a " + PropertyKindName(Property.Kind) + " cannot be stored");
  }

  static bool IsInt64(const TJson& Value) {
    if (Value.is_number_unsigned()) {
      return Value.get<std::uint64_t>() <=
             static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
    }
    return Value.is_number_integer();
  }

  void Items(const TJson& Value, const TClassInfo& ItemClass, const std::string& Place) {
    if (!Value.is_array()) Refuse(Place, "expected an array of items");
    for (std::size_t I = 0; I < Value.size(); ++I) {
      const TJson& Item = Value[I];
      if (!Item.is_object()) Refuse(Child(Place, I), "expected an item object");
      Properties(Item, ItemClass, Child(Place, I));
    }
  }

  // Refuses the first component whose name an earlier one carries already.
  static void IndexNames(TStoredForm& Form) {
    for (std::size_t I = 0; I < Form.Components.size(); ++I) {
      const TStoredComponent& Stored = Form.Components[I];
      if (Stored.Name.empty()) continue;
      if (!Form.ByName.emplace(LowerCase(Stored.Name), I).second) {
        Refuse(Child(Stored.Place, "name"), "duplicate component name " + Quoted(Stored.Name));
      }
    }
  }

  void CheckReferences(const TStoredForm& Form) const {
    for (const TStoredReference& Reference : References_) {
      const std::optional<std::size_t> Found = Form.Find(Reference.Name);
      if (!Found) {
        Refuse(Reference.Place, "no component named " + Quoted(Reference.Name) + " in the form");
      }
      const TStoredComponent* Target = &Form.Components[*Found];
      if (!InheritsFrom(*Target->Class, Reference.Class)) {
        Refuse(Reference.Place,
               "component " + Quoted(Reference.Name) + " is not a " + ClassNameOf(Reference.Class));
      }
    }
  }

  const TComponent* Root_;
  std::vector<TStoredReference> References_;
};

// ---------------------------------------------------------------------------------------
// Building a checked form

class TFormBuilder {
 public:
  TFormBuilder(TStoredForm Form, TComponent* ExistingRoot)
      : Form_(std::move(Form)), ExistingRoot_(ExistingRoot) {}

  // Builds the form; on any failure destroys what it created and raises.
  TComponent* Build(TComponent* Owner) {
    TComponent* Root =
        ExistingRoot_ != nullptr ? ExistingRoot_ : Form_.Components[0].Class->Create(Owner);
    Targets_.push_back(Root);
    try {
      Fill(Root);
    } catch (...) {
      Discard(Root);
      throw;
    }
    return Root;
  }

 private:
  void Fill(TComponent* Root) {
    Root->BeginLoading();
    Rename(Root, Form_.Components[0]);
    for (std::size_t I = 1; I < Form_.Components.size(); ++I)
      Targets_.push_back(Component(Root, Form_.Components[I]));
    for (std::size_t I = 0; I < Form_.Components.size(); ++I) {
      Properties(*Form_.Components[I].Json, Targets_[I], *Form_.Components[I].Class,
                 Form_.Components[I].Place);
    }
    for (TComponent* Target : Targets_) Target->Loaded();
  }

  TComponent* Component(TComponent* Root, const TStoredComponent& Stored) {
    TComponent* Existing = ExistingRoot_ != nullptr ? Root->FindComponent(Stored.Name) : nullptr;
    TComponent* Target = Existing != nullptr ? Existing : Stored.Class->Create(Root);
    if (Existing == nullptr) Created_.push_back(Target);
    Target->BeginLoading();
    Rename(Target, Stored);
    return Target;
  }

  static void Rename(TComponent* Target, const TStoredComponent& Stored) {
    try {
      Target->SetName(Stored.Name);
    } catch (const std::exception& Error) {
      Refuse(Child(Stored.Place, "name"), Error.what());
    }
  }

  void Properties(const TJson& Json, TPersistent* Object, const TClassInfo& Class,
                  const std::string& Place) {
    for (const TPropertyInfo* Property : PublishedProperties(Class)) {
      const auto Value = Json.find(Property->Name);
      if (Value != Json.end()) Apply(*Value, Object, *Property, Child(Place, Property->Name));
    }
  }

  void Apply(const TJson& Value, TPersistent* Object, const TPropertyInfo& Property,
             const std::string& Place) {
    switch (Property.Kind) {
      case TPropertyKind::pkString:
        return Set(Place, [&] { Property.SetString(Object, Value.get<std::string>()); });
      case TPropertyKind::pkInteger:
        return Set(Place, [&] { Property.SetInteger(Object, Value.get<std::int64_t>()); });
      case TPropertyKind::pkBoolean:
        return Set(Place, [&] { Property.SetBoolean(Object, Value.get<bool>()); });
      case TPropertyKind::pkCollection:
        return Items(Value, Property.GetCollection(Object), ItemClassOf(Property), Place);
      case TPropertyKind::pkComponent: {
        TComponent* Target = Value.is_null() ? nullptr : Resolve(Value.get<std::string>());
        return Set(Place, [&] { Property.SetComponent(Object, Target); });
      }
      case TPropertyKind::pkObject:
        return;
    }
  }

  // A writer that refuses the value makes the form fail at the value's place.
  template <class TSetter>
  static void Set(const std::string& Place, TSetter Setter) {
    try {
      Setter();
    } catch (const Exception& Error) {
      Refuse(Place, Error.Message());
    }
  }

  void Items(const TJson& Value, TCollection* Collection, const TClassInfo& ItemClass,
             const std::string& Place) {
    Collection->Clear();
    for (std::size_t I = 0; I < Value.size(); ++I) {
      Properties(Value[I], Collection->Add(), ItemClass, Child(Place, I));
    }
  }

  // Names were checked: every reference names a component of the form.
  TComponent* Resolve(const std::string& Name) const { return Targets_[*Form_.Find(Name)]; }

  // Undoes a failed read: a new root goes with everything it owns; into an existing
  // root, the components made for the form go and the others stop loading.
  void Discard(TComponent* Root) {
    if (ExistingRoot_ == nullptr) {
      delete Root;
      return;
    }
    for (auto Created = Created_.rbegin(); Created != Created_.rend(); ++Created) delete *Created;
    const std::unordered_set<TComponent*> WasCreated(Created_.begin(), Created_.end());
    for (TComponent* Target : Targets_) {
      if (WasCreated.count(Target) == 0 && Target->IsLoading()) EndLoadingQuietly(Target);
    }
  }

  // Loaded is the one way to end loading; its own failure must not hide the error
  // that ended the read.
  static void EndLoadingQuietly(TComponent* Target) {
    try {
      Target->Loaded();
    } catch (...) {
    }
  }

  TStoredForm Form_;
  TComponent* ExistingRoot_;
  std::vector<TComponent*> Targets_;  // parallel to Form_.Components
  std::vector<TComponent*> Created_;
};

TJson Parse(const std::string& Text) {
  try {
    return TJson::parse(Text);
  } catch (const TJson::exception& Error) {
    // Syntax errors and numbers out of range alike; without the library's
    // "[json.exception.parse_error.101] " prefix.
    std::string Reason = Error.what();
    const std::size_t Prefix = Reason.find("] ");
    if (Prefix != std::string::npos) Reason.erase(0, Prefix + 2);
    throw Exception("Invalid stored form: " + Reason);
  }
}

TComponent* ReadForm(const std::string& Text, TComponent* Owner, TComponent* ExistingRoot) {
  const TJson Form = Parse(Text);
  return TFormBuilder(TFormChecker(ExistingRoot).Check(Form), ExistingRoot).Build(Owner);
}

}  // namespace

std::string WriteComponentForm(TComponent* Root) {
  const TJson Form = TFormWriter(Root).Write();
  try {
    return Form.dump(2) + "\n";
  } catch (const TJson::exception& Error) {
    throw Exception(std::string("Cannot write stored form: ") + Error.what());
  }
}

TComponent* ReadComponentForm(const std::string& Text, TComponent* Owner) {
  return ReadForm(Text, Owner, nullptr);
}

void ReadComponentFormInto(TComponent* Root, const std::string& Text) {
  ReadForm(Text, nullptr, Root);
}

}  // namespace gaugery
