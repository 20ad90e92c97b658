// Stored forms: a component with the components it owns, as JSON text.
//
//   {"class": "TPerfFilter", "name": "PerfFilter", <stored properties>,
//    "components": [{"class": ..., "name": ..., <stored properties>}, ...]}
//
// Properties appear in the order their class declares them, inherited ones first.
// Collections are arrays of items (objects of the item class's stored properties),
// component references the name of a component of the same form (the root or one of
// the components it owns) or null. Only the root lists "components": components owned
// by the root's components belong to them and are not part of the form.
//
// Reading checks the whole text against the registered classes before it creates
// anything; a refused form raises Exception "Invalid stored form at <place>: <reason>"
// (the place as a JSON pointer, "/components/0/Items/1/ObjectName") or "Invalid stored
// form: <reason>" for text that is not JSON. A form that fails while its components
// are being filled in is destroyed again: nothing half-built is left behind.
//
// While a form is read, every component of it carries csLoading; the properties are
// applied in declaration order whatever the key order of the text, references are
// resolved after all components exist, then the flag is cleared and Loaded called,
// root first.
#pragma once

#include <string>

#include "framework/LibraryExport.h"
#include "framework/TComponent.h"

namespace gaugery {

// The stored form of Root and the components it owns. Raises Exception for a class
// that is not registered, or a reference to a component outside the form or without
// a name.
GAUGERY_PLATFORM_API std::string WriteComponentForm(TComponent* Root);

// Creates the form's root (of the stored class) with the given owner, with all its
// components, and returns it.
GAUGERY_PLATFORM_API TComponent* ReadComponentForm(const std::string& Text, TComponent* Owner);

// Reads a form into an existing root, whose registered class must be the stored one.
// A stored component whose name and class match a component Root owns already fills
// that one instead of a new one. Components created for the form are destroyed again
// when reading fails; properties already applied stay as they are.
GAUGERY_PLATFORM_API void ReadComponentFormInto(TComponent* Root, const std::string& Text);

}  // namespace gaugery
