#include "framework/Exceptions.h"

#include <string>

namespace gaugery {

void RaiseListIndexError(int Index) {
  throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
}

void RaiseAbstractError() { throw EAbstractError("Abstract Error"); }

}  // namespace gaugery
