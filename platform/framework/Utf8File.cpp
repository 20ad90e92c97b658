#include "framework/Utf8File.h"

#ifdef _WIN32
#include "framework/Unicode.h"
#endif

namespace gaugery {

std::FILE* OpenUtf8File(const std::string& Path, const char* Mode) {
#ifdef _WIN32
  return _wfopen(ToWide(Path).c_str(), ToWide(Mode).c_str());
#else
  return std::fopen(Path.c_str(), Mode);
#endif
}

}  // namespace gaugery
