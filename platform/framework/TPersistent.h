// Objects that can copy their state from one another.
#pragma once

#include "framework/LibraryExport.h"
#include "framework/TObject.h"

namespace gaugery {

class GAUGERY_PLATFORM_API TPersistent : public TObject {
 public:
  // Copies Source's state into this object. The base asks Source to do it
  // (AssignTo); when neither side knows the other, EConvertError
  // "Cannot assign a <Source class> to a <this class>" (or "nil" for a null Source).
  virtual void Assign(TPersistent* Source);

  // The object that owns this one for naming and storing, or null.
  virtual TPersistent* GetOwner();

 protected:
  virtual void AssignTo(TPersistent* Dest);
};

}  // namespace gaugery
