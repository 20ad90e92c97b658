#include "registry/HostName.h"

#ifdef _WIN32
#include "framework/WindowsApi.h"
#else
#include <unistd.h>

#include <array>
#include <string>

#include "framework/Unicode.h"
#endif

namespace gaugery {

#ifdef _WIN32

// The DNS host name, the one gethostname gives on Linux; Windows converts it already.
WideView LocalHostName() {
  static WideString Name;
  WCHAR Buffer[256];
  DWORD Length = 256;
  if (!::GetComputerNameExW(ComputerNameDnsHostname, Buffer, &Length)) Length = 0;
  if (WideView(Buffer, Length) != Name) Name.assign(Buffer, Length);
  return Name;
}

#else

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

#endif

}  // namespace gaugery
