#include "framework/DesignIntf.h"

#include <algorithm>

#include "framework/Exceptions.h"
#include "framework/TCollection.h"
#include "framework/TextFunctions.h"

namespace gaugery {

void RaiseInvalidProperty() { throw Exception("Invalid property"); }

TComponent* DesignedFormOf(TPersistent* Object) {
  while (Object != nullptr) {
    if (auto* Component = dynamic_cast<TComponent*>(Object)) {
      return Component->Owner() != nullptr ? Component->Owner() : Component;
    }
    Object = Object->GetOwner();
  }
  return nullptr;
}

namespace {

constexpr const char* FalseText = "False";
constexpr const char* TrueText = "True";

bool BooleanOf(const std::string& Text) {
  if (SameText(Text, TrueText)) return true;
  if (SameText(Text, FalseText)) return false;
  throw EConvertError("'" + Text + "' is not a valid boolean value");
}

// "(TPerfCounterItems)": the collection's class in parentheses.
std::string CollectionCaption(const TCollection& Collection) {
  std::string Caption(1, '(');
  Caption += Collection.ClassName();
  Caption += ')';
  return Caption;
}

}  // namespace

TPropertyEditor::TPropertyEditor(TDesignSelection AComponents, const TPropertyInfo& AProperty)
    : Components_(std::move(AComponents)), Property_(AProperty) {}

TPropertyAttributes TPropertyEditor::GetAttributes() {
  switch (Property_.Kind) {
    case TPropertyKind::pkString:
    case TPropertyKind::pkInteger:
      return paMultiSelect;
    case TPropertyKind::pkBoolean:
      return paValueList | paMultiSelect;
    case TPropertyKind::pkComponent:
      return paValueList | paSortList | paMultiSelect;
    case TPropertyKind::pkCollection:
      return paDialog | paReadOnly;
    case TPropertyKind::pkObject:
      break;
  }
  return paMultiSelect | paReadOnly;
}

std::string TPropertyEditor::GetValue() {
  TPersistent* First = GetComponent(0);
  switch (Property_.Kind) {
    case TPropertyKind::pkString:
      return GetStrValue();
    case TPropertyKind::pkInteger:
      return IntToStr(Property_.GetInteger(First));
    case TPropertyKind::pkBoolean:
      return Property_.GetBoolean(First) ? TrueText : FalseText;
    case TPropertyKind::pkComponent: {
      const TComponent* Linked = Property_.GetComponent(First);
      return Linked == nullptr ? std::string() : Linked->Name();
    }
    case TPropertyKind::pkCollection:
      return CollectionCaption(*Property_.GetCollection(First));
    case TPropertyKind::pkObject:
      break;
  }
  return {};
}

void TPropertyEditor::SetValue(const std::string& Value) {
  switch (Property_.Kind) {
    case TPropertyKind::pkString:
      return SetStrValue(Value);
    case TPropertyKind::pkInteger: {
      const std::int64_t Number = StrToInt(Value);
      for (TPersistent* Component : Components_)
        PropertyOf(Component).SetInteger(Component, Number);
      return;
    }
    case TPropertyKind::pkBoolean: {
      const bool Flag = BooleanOf(Value);
      for (TPersistent* Component : Components_) PropertyOf(Component).SetBoolean(Component, Flag);
      return;
    }
    case TPropertyKind::pkComponent: {
      TComponent* Linked = Value.empty() ? nullptr : ReferencedComponent(Value);
      for (TPersistent* Component : Components_) {
        PropertyOf(Component).SetComponent(Component, Linked);
      }
      return;
    }
    case TPropertyKind::pkCollection:
    case TPropertyKind::pkObject:
      return;
  }
}

void TPropertyEditor::GetValues(const TGetStrProc& Proc) {
  if (Property_.Kind == TPropertyKind::pkBoolean) {
    Proc(FalseText);
    Proc(TrueText);
  } else if (Property_.Kind == TPropertyKind::pkComponent) {
    for (const TComponent* Component : ReferableComponents()) Proc(Component->Name());
  }
}

void TPropertyEditor::Edit() {}

TPersistent* TPropertyEditor::GetComponent(int Index) const {
  if (Index < 0 || Index >= PropCount()) RaiseListIndexError(Index);
  return Components_[static_cast<std::size_t>(Index)];
}

std::string TPropertyEditor::GetStrValue() const { return Property_.GetString(GetComponent(0)); }

void TPropertyEditor::SetStrValue(const std::string& Value) {
  for (TPersistent* Component : Components_) PropertyOf(Component).SetString(Component, Value);
}

const TPropertyInfo& TPropertyEditor::PropertyOf(TPersistent* Component) const {
  const TClassInfo* Class = ClassInfoOf(Component);
  const TPropertyInfo* Own =
      Class == nullptr ? nullptr : FindPublishedProperty(*Class, Property_.Name);
  return Own != nullptr ? *Own : Property_;
}

std::vector<TComponent*> TPropertyEditor::ReferableComponents() const {
  TComponent* Form = DesignedFormOf(GetComponent(0));
  if (Form == nullptr) return {};
  std::vector<TComponent*> Candidates{Form};
  for (int I = 0; I < Form->ComponentCount(); ++I) Candidates.push_back(Form->Components(I));
  std::vector<TComponent*> Referable;
  for (TComponent* Candidate : Candidates) {
    const TClassInfo* Class = ClassInfoOf(Candidate);
    if (Class != nullptr && !Candidate->Name().empty() &&
        InheritsFrom(*Class, *Property_.ValueClass)) {
      Referable.push_back(Candidate);
    }
  }
  return Referable;
}

TComponent* TPropertyEditor::ReferencedComponent(const std::string& Name) const {
  for (TComponent* Candidate : ReferableComponents()) {
    if (SameText(Candidate->Name(), Name)) return Candidate;
  }
  throw Exception("Invalid property value");
}

namespace {

struct TEditorRegistration {
  TPropertyType PropertyType;
  std::type_index ComponentClass;
  std::string PropertyName;
  TPropertyEditorClass EditorClass;
};

std::vector<TEditorRegistration>& EditorRegistry() {
  static std::vector<TEditorRegistration> Registrations;
  return Registrations;
}

bool HasType(const TPropertyInfo& Property, const TPropertyType& Type) {
  if (Property.Kind != Type.Kind) return false;
  return Type.Kind != TPropertyKind::pkObject || Property.ValueClass == Type.ValueClass;
}

bool Matches(const TEditorRegistration& Registration, const TClassInfo& Class,
             const TPropertyInfo& Property) {
  return HasType(Property, Registration.PropertyType) &&
         InheritsFrom(Class, Registration.ComponentClass) &&
         (Registration.PropertyName.empty() || Registration.PropertyName == Property.Name);
}

const TPropertyEditorClass* RegisteredEditor(const TClassInfo& Class,
                                             const TPropertyInfo& Property) {
  const auto& Registrations = EditorRegistry();
  const auto Found =
      std::find_if(Registrations.rbegin(), Registrations.rend(),
                   [&](const TEditorRegistration& R) { return Matches(R, Class, Property); });
  return Found == Registrations.rend() ? nullptr : &Found->EditorClass;
}

const TPropertyInfo* PublishedPropertyOf(const TPersistent* Component, const std::string& Name) {
  const TClassInfo* Class = Component == nullptr ? nullptr : ClassInfoOf(Component);
  return Class == nullptr ? nullptr : FindPublishedProperty(*Class, Name);
}

// Whether one editor can write both: the same kind, of the same class for references.
bool SameType(const TPropertyInfo& A, const TPropertyInfo& B) {
  return A.Kind == B.Kind && A.ValueClass == B.ValueClass;
}

}  // namespace

void RegisterPropertyEditor(const TPropertyType& PropertyType, std::type_index ComponentClass,
                            const std::string& PropertyName, TPropertyEditorClass EditorClass) {
  EditorRegistry().push_back({PropertyType, ComponentClass, PropertyName, std::move(EditorClass)});
}

const TPropertyEditorClass* FindPropertyEditor(const std::string& ComponentClassName,
                                               const std::string& PropertyName) {
  const TClassInfo* Class = FindClassInfo(ComponentClassName);
  if (Class == nullptr) return nullptr;
  const TPropertyInfo* Property = FindPublishedProperty(*Class, PropertyName);
  return Property == nullptr ? nullptr : RegisteredEditor(*Class, *Property);
}

std::unique_ptr<TPropertyEditor> CreatePropertyEditor(const TDesignSelection& Components,
                                                      const std::string& PropertyName) {
  if (Components.empty()) return nullptr;
  const TPropertyInfo* First = PublishedPropertyOf(Components.front(), PropertyName);
  for (const TPersistent* Component : Components) {
    const TPropertyInfo* Property = PublishedPropertyOf(Component, PropertyName);
    if (Property == nullptr || First == nullptr || !SameType(*Property, *First)) return nullptr;
  }
  const TPropertyInfo& Property = *First;
  const TPropertyEditorClass* EditorClass =
      RegisteredEditor(*ClassInfoOf(Components.front()), Property);
  std::unique_ptr<TPropertyEditor> Editor =
      EditorClass != nullptr ? EditorClass->Create(Components, Property)
                             : std::make_unique<TPropertyEditor>(Components, Property);
  if (Components.size() > 1 && (Editor->GetAttributes() & paMultiSelect) == 0) return nullptr;
  return Editor;
}

}  // namespace gaugery
