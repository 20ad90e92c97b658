// The root of the framework's classes.
#pragma once

#include <string>

#include "framework/Exceptions.h"
#include "framework/LibraryExport.h"

namespace gaugery {

class GAUGERY_PLATFORM_API TObject {
 public:
  TObject() = default;
  virtual ~TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;

  // The class name of the object's dynamic type, without namespace ("TPerfFilter").
  std::string ClassName() const;
};

// Deletes the object (nothing for a null reference) and clears the reference.
template <class T>
void FreeAndNil(T*& Object) {
  T* Doomed = Object;
  Object = nullptr;
  delete Doomed;
}

// The checked conversion: the object as a T, EInvalidCast when it is not one.
// A null reference converts to null.
template <class T, class From>
T* As(From* Object) {
  if (Object == nullptr) return nullptr;
  if (auto* Result = dynamic_cast<T*>(Object)) return Result;
  throw EInvalidCast("Invalid class typecast");
}

}  // namespace gaugery
