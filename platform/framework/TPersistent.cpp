#include "framework/TPersistent.h"

#include <string>

namespace gaugery {

void TPersistent::Assign(TPersistent* Source) {
  if (Source == nullptr) {
    throw EConvertError("Cannot assign a nil to a " + ClassName());
  }
  Source->AssignTo(this);
}

TPersistent* TPersistent::GetOwner() { return nullptr; }

void TPersistent::AssignTo(TPersistent* Dest) {
  const std::string DestName = Dest == nullptr ? "nil" : Dest->ClassName();
  throw EConvertError("Cannot assign a " + ClassName() + " to a " + DestName);
}

}  // namespace gaugery
