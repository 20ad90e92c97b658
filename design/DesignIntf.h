// The form designer's side of the plug-in: the property-editor base class with its
// attribute flags, the registry that binds editors to component properties, and the
// way an editor shows a modal dialog. A designer host asks the registry which editor
// serves a property of the selected components, creates it, and calls GetAttributes,
// GetValue, GetValues, SetValue and Edit on it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <typeindex>
#include <vector>

#include "framework/TObject.h"
#include "framework/TPersistent.h"
#include "framework/TypeInfo.h"

class QDialog;

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
[[noreturn]] void RaiseInvalidProperty();

// The components selected in the designer, first selected first.
using TDesignSelection = std::vector<TPersistent*>;
// Receives one drop-down entry per call.
using TGetStrProc = std::function<void(const std::string& Value)>;

// Edits one published property of the selected components. The base editor reads the
// property as text from the first component and writes text to every one of them.
class TPropertyEditor : public TObject {
 public:
  // The property must be published by every selected component's class.
  TPropertyEditor(TDesignSelection AComponents, const TPropertyInfo& AProperty);

  virtual TPropertyAttributes GetAttributes();
  // The text of a string property; empty for other kinds.
  virtual std::string GetValue();
  // Writes a string property; ignored for other kinds.
  virtual void SetValue(const std::string& Value);
  // Offers no entries.
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
  TDesignSelection Components_;
  const TPropertyInfo& Property_;
};

// The type of the properties a registration applies to: string properties, or object
// properties whose declared class is ValueClass.
struct TPropertyType {
  TPropertyKind Kind = TPropertyKind::pkString;
  std::optional<std::type_index> ValueClass;
};
inline TPropertyType StringPropertyType() { return {}; }
template <class T>
TPropertyType ObjectPropertyType() {
  return {TPropertyKind::pkObject, std::type_index(typeid(T))};
}

// An editor class: its type and how the designer makes one.
struct TPropertyEditorClass {
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
void RegisterPropertyEditor(const TPropertyType& PropertyType, std::type_index ComponentClass,
                            const std::string& PropertyName, TPropertyEditorClass EditorClass);

// The editor registered for a property of a registered component class: of the
// registrations that match, the latest. Null when none does, and for a class or
// property that is not published.
const TPropertyEditorClass* FindPropertyEditor(const std::string& ComponentClassName,
                                               const std::string& PropertyName);

// The editor the designer shows for a property of the selection: the registered one
// for the first component's class, else the base editor. Null when a selected class
// does not publish the property, or when several components are selected and the
// editor does not report paMultiSelect: the designer then shows no row.
std::unique_ptr<TPropertyEditor> CreatePropertyEditor(const TDesignSelection& Components,
                                                      const std::string& PropertyName);

// Shows a dialog modally and answers its result (QDialog::Accepted or Rejected). A
// host or a test may replace the way this is done; an empty runner restores exec().
using TModalRunner = std::function<int(QDialog& Dialog)>;
void SetModalRunner(TModalRunner Runner);
int ShowModal(QDialog& Dialog);

}  // namespace gaugery
