#include "framework/ProgramArguments.h"

#ifdef _WIN32
#include "framework/Unicode.h"
#include "framework/WindowsApi.h"

#include <shellapi.h>
#endif

namespace gaugery {

#ifdef _WIN32

std::vector<std::string> ProgramArguments(int, char**) {
  int Count = 0;
  LPWSTR* Arguments = ::CommandLineToArgvW(::GetCommandLineW(), &Count);
  std::vector<std::string> Result;
  for (int Index = 1; Arguments != nullptr && Index < Count; ++Index) {
    Result.push_back(ToUtf8(Arguments[Index]));
  }
  ::LocalFree(Arguments);
  return Result;
}

#else

std::vector<std::string> ProgramArguments(int argc, char** argv) {
  return argc > 1 ? std::vector<std::string>(argv + 1, argv + argc) : std::vector<std::string>();
}

#endif

}  // namespace gaugery
