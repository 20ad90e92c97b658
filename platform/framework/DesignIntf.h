// The form designer's interfaces that a host and its design packages share: the
// property-editor base class with its attribute flags, and the registry that binds
// editors to component properties. A package registers its editors when the host loads
// it; the host asks the registry for the editor of a property of the selected components,
// and calls GetAttributes, GetValue, GetValues, SetValue and Edit on it. Both sides must
// reach the one registry of the process, which is why it lives here and not in a package.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <typeindex>
#include <vector>

#include "framework/LibraryExport.h"
#include "framework/TComponent.h"
#include "framework/TObject.h"
#include "framework/TPersistent.h"
#include "framework/TypeInfo.h"

namespace gaugery {

// The attribute set an editor reports to the designer, one bit per attribute.
using TPropertyAttributes = std::uint32_t;
inline constexpr TPropertyAttributes paValueList = 1u << 0;      // offers a drop-down list
inline constexpr TPropertyAttributes paSubProperties = 1u << 1;  // unfolds into sub-rows
inline constexpr TPropertyAttributes paDialog = 1u << 2;         // has an ellipsis button
inline constexpr TPropertyAttributes paMultiSelect = 1u << 3;    // edits several components
inline constexpr TPropertyAttributes paAutoUpdate = 1u << 4;     // writes at every keystroke
inline constexpr TPropertyAttributes paSortList = 1u << 5;       // the designer sorts the list
inline constexpr TPropertyAttributes paReadOnly = 1u << 6;       // text cannot be typed into

// Raises Exception "Invalid property": an editor was given a component it does not serve.
[[noreturn]] GAUGERY_PLATFORM_API void RaiseInvalidProperty();

// The components selected in the designer, first selected first. Collection items are
// selected like components when their collection is being edited.
using TDesignSelection = std::vector<TPersistent*>;
// Receives one drop-down entry per call.
using TGetStrProc = std::function<void(const std::string& Value)>;

// The component whose stored form holds Object: for a component its owner (or itself
// when it has none), for a collection item that of the component owning the
// collection. Null for an object outside any component.
GAUGERY_PLATFORM_API TComponent* DesignedFormOf(TPersistent* Object);

// Edits one published property of the selected components. The base editor handles a
// property by its kind, as text read from the first component and written to every one:
// strings as they are; integers in decimal; booleans "False" and "True" from a list;
// component references by the name of a component of the same form, offered in a list
// of the form's components of the referenced class (the empty text clears the link);
// collections read "(<collection class>)" and are edited by the host's collection
// editor; other objects read empty and are read-only.
class GAUGERY_PLATFORM_API TPropertyEditor : public TObject {
 public:
  // The property must be published by every selected component's class.
  TPropertyEditor(TDesignSelection AComponents, const TPropertyInfo& AProperty);

  virtual TPropertyAttributes GetAttributes();
  virtual std::string GetValue();
  // EConvertError for a text that is not an integer or a boolean of an integer or
  // boolean property; Exception "Invalid property value" for a name that no component of
  // the form of the referenced class carries. The component's own setter may raise too.
  virtual void SetValue(const std::string& Value);
  virtual void GetValues(const TGetStrProc& Proc);
  // Does nothing.
  virtual void Edit();

  int PropCount() const { return static_cast<int>(Components_.size()); }
  // EListError outside 0 to PropCount - 1.
  TPersistent* GetComponent(int Index) const;
  const TPropertyInfo& Property() const { return Property_; }
  const std::string& GetName() const { return Property_.Name; }

 protected:
  std::string GetStrValue() const;
  void SetStrValue(const std::string& Value);

 private:
  // The property as Component's own class describes it: the selected components may be
  // of different classes that each publish a property of this name and type. A property
  // the class does not publish (one a host describes itself) is the editor's own.
  const TPropertyInfo& PropertyOf(TPersistent* Component) const;
  // The components of the first component's form that the reference property accepts.
  std::vector<TComponent*> ReferableComponents() const;
  TComponent* ReferencedComponent(const std::string& Name) const;

  TDesignSelection Components_;
  const TPropertyInfo& Property_;
};

// The type of the properties a registration applies to: string properties, or object
// properties whose declared class is ValueClass.
struct GAUGERY_PLATFORM_API TPropertyType {
  TPropertyKind Kind = TPropertyKind::pkString;
  std::optional<std::type_index> ValueClass;
};
inline TPropertyType StringPropertyType() { return {}; }
template <class T>
TPropertyType ObjectPropertyType() {
  return {TPropertyKind::pkObject, std::type_index(typeid(T))};
}

// An editor class: its type and how the designer makes one.
struct GAUGERY_PLATFORM_API TPropertyEditorClass {
  std::type_index Type;
  std::function<std::unique_ptr<TPropertyEditor>(TDesignSelection, const TPropertyInfo&)> Create;
};
template <class TEditor>
TPropertyEditorClass PropertyEditorClass() {
  return {std::type_index(typeid(TEditor)),
          [](TDesignSelection Components, const TPropertyInfo& Property) {
            return std::unique_ptr<TPropertyEditor>(
                std::make_unique<TEditor>(std::move(Components), Property));
          }};
}

// Binds EditorClass to the property PropertyName of type PropertyType on ComponentClass
// and the classes derived from it (an empty name: every property of that type).
GAUGERY_PLATFORM_API void RegisterPropertyEditor(const TPropertyType& PropertyType,
                                                 std::type_index ComponentClass,
                                                 const std::string& PropertyName,
                                                 TPropertyEditorClass EditorClass);

// The editor registered for a property of a registered component class: of the
// registrations that match, the latest. Null when none does, and for a class or
// property that is not published.
GAUGERY_PLATFORM_API const TPropertyEditorClass* FindPropertyEditor(
    const std::string& ComponentClassName, const std::string& PropertyName);

// The editor the designer shows for a property of the selection: the registered one
// for the first component's class, else the base editor. Null when a selected class
// does not publish the property or publishes it with another type, or when several
// components are selected and the editor does not report paMultiSelect: the designer
// then shows no row.
GAUGERY_PLATFORM_API std::unique_ptr<TPropertyEditor> CreatePropertyEditor(
    const TDesignSelection& Components, const std::string& PropertyName);

}  // namespace gaugery
