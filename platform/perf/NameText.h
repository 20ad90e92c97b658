// One entry of a name table: the title of an object or counter under its title index;
// its help text goes under the index plus one.
#pragma once

#include "framework/WinTypes.h"

namespace gaugery {

struct TNameText {
  DWORD Index;
  const char* Title;
  const char* Help;
};

}  // namespace gaugery
