#include "DesignIntf.h"

#include <QDialog>
#include <algorithm>

#include "framework/Exceptions.h"

namespace gaugery {

void RaiseInvalidProperty() { throw Exception("Invalid property"); }

TPropertyEditor::TPropertyEditor(TDesignSelection AComponents, const TPropertyInfo& AProperty)
    : Components_(std::move(AComponents)), Property_(AProperty) {}

TPropertyAttributes TPropertyEditor::GetAttributes() { return paMultiSelect; }

std::string TPropertyEditor::GetValue() {
  return Property_.Kind == TPropertyKind::pkString ? GetStrValue() : std::string();
}

void TPropertyEditor::SetValue(const std::string& Value) {
  if (Property_.Kind == TPropertyKind::pkString) SetStrValue(Value);
}

void TPropertyEditor::GetValues(const TGetStrProc& /*Proc*/) {}

void TPropertyEditor::Edit() {}

TPersistent* TPropertyEditor::GetComponent(int Index) const {
  if (Index < 0 || Index >= PropCount()) RaiseListIndexError(Index);
  return Components_[static_cast<std::size_t>(Index)];
}

std::string TPropertyEditor::GetStrValue() const { return Property_.GetString(GetComponent(0)); }

void TPropertyEditor::SetStrValue(const std::string& Value) {
  for (TPersistent* Component : Components_) Property_.SetString(Component, Value);
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

TModalRunner& ModalRunner() {
  static TModalRunner Runner;
  return Runner;
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
  for (const TPersistent* Component : Components) {
    if (PublishedPropertyOf(Component, PropertyName) == nullptr) return nullptr;
  }
  const TPropertyInfo& Property = *PublishedPropertyOf(Components.front(), PropertyName);
  const TPropertyEditorClass* EditorClass =
      RegisteredEditor(*ClassInfoOf(Components.front()), Property);
  std::unique_ptr<TPropertyEditor> Editor =
      EditorClass != nullptr ? EditorClass->Create(Components, Property)
                             : std::make_unique<TPropertyEditor>(Components, Property);
  if (Components.size() > 1 && (Editor->GetAttributes() & paMultiSelect) == 0) return nullptr;
  return Editor;
}

void SetModalRunner(TModalRunner Runner) { ModalRunner() = std::move(Runner); }

int ShowModal(QDialog& Dialog) {
  const TModalRunner& Runner = ModalRunner();
  return Runner ? Runner(Dialog) : Dialog.exec();
}

}  // namespace gaugery
