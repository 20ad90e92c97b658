// Files named by the UTF-8 paths of the public interface. Windows takes such a name only
// through its wide functions: the narrow ones read it in the ANSI code page.
#pragma once

#include <cstdio>
#include <string>

#include "framework/LibraryExport.h"

namespace gaugery {

// std::fopen for a UTF-8 path: nullptr with errno set when the file cannot be opened.
GAUGERY_PLATFORM_API std::FILE* OpenUtf8File(const std::string& Path, const char* Mode);

}  // namespace gaugery
