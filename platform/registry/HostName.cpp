#include "registry/HostName.h"

#include <unistd.h>

#include <array>
#include <string>

#include "framework/Unicode.h"

namespace gaugery {

WideView LocalHostName() {
  static std::string LastRead;
  static WideString Converted;
  std::array<char, 256> Buffer{};
  if (gethostname(Buffer.data(), Buffer.size() - 1) != 0) Buffer[0] = '\0';
  if (LastRead != Buffer.data()) {
    LastRead = Buffer.data();
    Converted = ToWide(LastRead);
  }
  return Converted;
}

}  // namespace gaugery
