#include "PropertySnapshot.h"

#include <exception>

namespace gaugery {

TPropertySnapshot::TPropertySnapshot(const TDesignSelection& Objects) {
  for (TPersistent* Object : Objects) {
    const TClassInfo* Class = ClassInfoOf(Object);
    if (Class == nullptr) continue;
    for (const TPropertyInfo* Property : PublishedProperties(*Class)) {
      if (!IsSimple(*Property)) continue;
      try {
        Values_.push_back({Object, Property, Read(Object, *Property)});
      } catch (const std::exception&) {
        // A value that cannot be read cannot be compared or put back either.
      }
    }
  }
}

void TPropertySnapshot::Restore() const {
  for (const TEntry& Entry : Values_) {
    try {
      if (Read(Entry.Object, *Entry.Property) != Entry.Value) Write(Entry);
    } catch (const std::exception&) {
      // Put back what can be; the error that made the restore necessary is reported.
    }
  }
}

bool TPropertySnapshot::IsSimple(const TPropertyInfo& Property) {
  return Property.Stored && Property.Kind != TPropertyKind::pkCollection &&
         Property.Kind != TPropertyKind::pkObject;
}

TPropertySnapshot::TValue TPropertySnapshot::Read(TPersistent* Object,
                                                  const TPropertyInfo& Property) {
  switch (Property.Kind) {
    case TPropertyKind::pkInteger:
      return Property.GetInteger(Object);
    case TPropertyKind::pkBoolean:
      return Property.GetBoolean(Object);
    case TPropertyKind::pkComponent:
      return Property.GetComponent(Object);
    default:
      return Property.GetString(Object);
  }
}

void TPropertySnapshot::Write(const TEntry& Entry) {
  const TPropertyInfo& Property = *Entry.Property;
  switch (Property.Kind) {
    case TPropertyKind::pkInteger:
      return Property.SetInteger(Entry.Object, std::get<std::int64_t>(Entry.Value));
    case TPropertyKind::pkBoolean:
      return Property.SetBoolean(Entry.Object, std::get<bool>(Entry.Value));
    case TPropertyKind::pkComponent:
      return Property.SetComponent(Entry.Object, std::get<TComponent*>(Entry.Value));
    default:
      return Property.SetString(Entry.Object, std::get<std::string>(Entry.Value));
  }
}

}  // namespace gaugery
