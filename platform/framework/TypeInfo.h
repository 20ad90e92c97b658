// Published properties and the class registry.
//
// Every class whose objects are stored with a form describes its published properties
// once, in declaration order: name, kind, reader, writer and whether the value is
// stored. Component classes registered here can be created by class name, which is how
// the stored-form reader (StoredForm.h) rebuilds a form. The registry is process-wide
// and filled while the libraries are loaded; it is not meant to change afterwards.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <type_traits>
#include <typeindex>
#include <typeinfo>
#include <vector>

#include "framework/LibraryExport.h"
#include "framework/TCollection.h"
#include "framework/TComponent.h"

namespace gaugery {

enum class TPropertyKind {
  pkString,   // UTF-8 text
  pkInteger,  // 64-bit signed
  pkBoolean,
  pkCollection,  // an owned collection, filled in place; the property has no writer
  pkComponent,   // a reference to another component of the same form, by name
  pkObject,      // a reference to any object; never stored
};

// The kind as the stored-form messages name it ("string", "integer", ...).
GAUGERY_PLATFORM_API std::string PropertyKindName(TPropertyKind Kind);

// One published property. Only the reader and writer of its kind are set.
struct GAUGERY_PLATFORM_API TPropertyInfo {
  std::string Name;
  TPropertyKind Kind = TPropertyKind::pkString;
  bool Stored = true;

  std::function<std::string(TPersistent*)> GetString;
  std::function<void(TPersistent*, const std::string&)> SetString;
  std::function<std::int64_t(TPersistent*)> GetInteger;
  std::function<void(TPersistent*, std::int64_t)> SetInteger;
  std::function<bool(TPersistent*)> GetBoolean;
  std::function<void(TPersistent*, bool)> SetBoolean;
  std::function<TCollection*(TPersistent*)> GetCollection;
  std::function<TComponent*(TPersistent*)> GetComponent;
  std::function<void(TPersistent*, TComponent*)> SetComponent;
  std::function<TObject*(TPersistent*)> GetObject;
  std::function<void(TPersistent*, TObject*)> SetObject;

  // pkCollection: the class of the collection's items. pkComponent: the class a
  // referenced component must be (or derive from).
  std::optional<std::type_index> ValueClass;
};

// A class with its own published properties.
struct GAUGERY_PLATFORM_API TClassInfo {
  std::string ClassName;
  std::type_index Type;
  // The registered class it derives from, whose properties come first.
  std::optional<std::type_index> Parent;
  // The properties this class declares, in declaration order.
  std::vector<TPropertyInfo> Properties;
  // Creates an instance with the given owner; null for classes that are not created
  // by name (collection items, abstract bases).
  std::function<TComponent*(TComponent*)> Create;
};

// Registers a class. Raises Exception when the class or its name is registered
// already, or when a property is named "class", "name" or "components" (the keys a
// stored form uses for itself) or twice.
GAUGERY_PLATFORM_API void RegisterClassInfo(TClassInfo Info);

// The class registered under ClassName (exact spelling), or null.
GAUGERY_PLATFORM_API const TClassInfo* FindClassInfo(const std::string& ClassName);
// The class registered for this C++ type, or null.
GAUGERY_PLATFORM_API const TClassInfo* FindClassInfo(const std::type_index& Type);
// The class registered for the object's dynamic type, or null.
GAUGERY_PLATFORM_API const TClassInfo* ClassInfoOf(const TPersistent* Object);
// The registered parent of Info, or null.
GAUGERY_PLATFORM_API const TClassInfo* ParentClassInfo(const TClassInfo& Info);
// True when Info is Ancestor or derives from it through registered parents.
GAUGERY_PLATFORM_API bool InheritsFrom(const TClassInfo& Info, const std::type_index& Ancestor);

// All published properties of a class, inherited ones first, each in declaration
// order.
GAUGERY_PLATFORM_API std::vector<const TPropertyInfo*> PublishedProperties(const TClassInfo& Info);
// The published property Name (exact spelling) of a class or its ancestors, or null.
GAUGERY_PLATFORM_API const TPropertyInfo* FindPublishedProperty(const TClassInfo& Info,
                                                                const std::string& Name);

// Puts component classes on a page of the designer's palette, in the given order.
GAUGERY_PLATFORM_API void RegisterComponents(const std::string& Page,
                                             const std::vector<std::string>& ClassNames);
// The palette's pages, in the order their first class was registered.
GAUGERY_PLATFORM_API std::vector<std::string> PalettePages();
// The class names of a palette page, in registration order (empty for an unknown page).
GAUGERY_PLATFORM_API std::vector<std::string> PaletteClasses(const std::string& Page);

// --- Helpers that describe a property of class T through its member functions (or
// any callable taking T*). The writer receives the value in the type the member
// function takes.

template <class T, class TGetter, class TSetter>
TPropertyInfo StringProperty(std::string Name, TGetter Getter, TSetter Setter, bool Stored = true) {
  TPropertyInfo Info{.Name = std::move(Name), .Kind = TPropertyKind::pkString, .Stored = Stored};
  Info.GetString = [Getter](TPersistent* Object) {
    return std::string(std::invoke(Getter, static_cast<T*>(Object)));
  };
  Info.SetString = [Setter](TPersistent* Object, const std::string& Value) {
    std::invoke(Setter, static_cast<T*>(Object), Value);
  };
  return Info;
}

template <class T, class TGetter, class TSetter>
TPropertyInfo IntegerProperty(std::string Name, TGetter Getter, TSetter Setter,
                              bool Stored = true) {
  TPropertyInfo Info{.Name = std::move(Name), .Kind = TPropertyKind::pkInteger, .Stored = Stored};
  Info.GetInteger = [Getter](TPersistent* Object) {
    return static_cast<std::int64_t>(std::invoke(Getter, static_cast<T*>(Object)));
  };
  Info.SetInteger = [Setter](TPersistent* Object, std::int64_t Value) {
    std::invoke(Setter, static_cast<T*>(Object), Value);
  };
  return Info;
}

template <class T, class TGetter, class TSetter>
TPropertyInfo BooleanProperty(std::string Name, TGetter Getter, TSetter Setter,
                              bool Stored = true) {
  TPropertyInfo Info{.Name = std::move(Name), .Kind = TPropertyKind::pkBoolean, .Stored = Stored};
  Info.GetBoolean = [Getter](TPersistent* Object) {
    return static_cast<bool>(std::invoke(Getter, static_cast<T*>(Object)));
  };
  Info.SetBoolean = [Setter](TPersistent* Object, bool Value) {
    std::invoke(Setter, static_cast<T*>(Object), Value);
  };
  return Info;
}

// A collection of TItem objects that T owns; stored forms clear it and add the stored
// items to it.
template <class T, class TItem, class TGetter>
TPropertyInfo CollectionProperty(std::string Name, TGetter Getter) {
  TPropertyInfo Info{.Name = std::move(Name), .Kind = TPropertyKind::pkCollection};
  Info.GetCollection = [Getter](TPersistent* Object) -> TCollection* {
    return std::invoke(Getter, static_cast<T*>(Object));
  };
  Info.ValueClass = std::type_index(typeid(TItem));
  return Info;
}

// A reference to a TValue component of the same form.
template <class T, class TValue, class TGetter, class TSetter>
TPropertyInfo ComponentProperty(std::string Name, TGetter Getter, TSetter Setter,
                                bool Stored = true) {
  TPropertyInfo Info{.Name = std::move(Name), .Kind = TPropertyKind::pkComponent, .Stored = Stored};
  Info.GetComponent = [Getter](TPersistent* Object) -> TComponent* {
    return std::invoke(Getter, static_cast<T*>(Object));
  };
  Info.SetComponent = [Setter](TPersistent* Object, TComponent* Value) {
    std::invoke(Setter, static_cast<T*>(Object), dynamic_cast<TValue*>(Value));
  };
  Info.ValueClass = std::type_index(typeid(TValue));
  return Info;
}

// A reference to a TValue object, shown by the designer, never stored.
template <class T, class TValue, class TGetter, class TSetter>
TPropertyInfo ObjectProperty(std::string Name, TGetter Getter, TSetter Setter) {
  TPropertyInfo Info{.Name = std::move(Name), .Kind = TPropertyKind::pkObject, .Stored = false};
  Info.GetObject = [Getter](TPersistent* Object) -> TObject* {
    return std::invoke(Getter, static_cast<T*>(Object));
  };
  Info.SetObject = [Setter](TPersistent* Object, TObject* Value) {
    std::invoke(Setter, static_cast<T*>(Object), dynamic_cast<TValue*>(Value));
  };
  Info.ValueClass = std::type_index(typeid(TValue));
  return Info;
}

// Registers component class T, created by name as new T(Owner). TParent is the
// registered class whose properties T inherits (void: none).
template <class T, class TParent = void>
void RegisterComponentClass(std::string ClassName, std::vector<TPropertyInfo> Properties) {
  TClassInfo Info{.ClassName = std::move(ClassName),
                  .Type = std::type_index(typeid(T)),
                  .Parent = std::nullopt,
                  .Properties = std::move(Properties),
                  .Create = [](TComponent* Owner) -> TComponent* { return new T(Owner); }};
  if constexpr (!std::is_void_v<TParent>) Info.Parent = std::type_index(typeid(TParent));
  RegisterClassInfo(std::move(Info));
}

// Registers a class that is described but not created by name: a collection item
// class, or an abstract base of components.
template <class T, class TParent = void>
void RegisterPersistentClass(std::string ClassName, std::vector<TPropertyInfo> Properties) {
  TClassInfo Info{.ClassName = std::move(ClassName),
                  .Type = std::type_index(typeid(T)),
                  .Parent = std::nullopt,
                  .Properties = std::move(Properties),
                  .Create = nullptr};
  if constexpr (!std::is_void_v<TParent>) Info.Parent = std::type_index(typeid(TParent));
  RegisterClassInfo(std::move(Info));
}

}  // namespace gaugery
