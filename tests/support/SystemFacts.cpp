#include "SystemFacts.h"

#ifdef _WIN32
#include "framework/Unicode.h"
#include "framework/WindowsApi.h"
#else
#include <unistd.h>
#endif

namespace gaugery::test {

#ifdef _WIN32

std::string ThisHostName() {
  wchar_t Buffer[256] = {};
  DWORD Length = 256;
  if (!::GetComputerNameExW(ComputerNameDnsHostname, Buffer, &Length)) return {};
  return ToUtf8(Buffer, Length);
}

std::string SystemMessage(std::int32_t ErrorCode) {
  wchar_t Buffer[1024] = {};
  const DWORD Length =
      ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                       static_cast<DWORD>(ErrorCode), 0, Buffer, 1024, nullptr);
  std::string Text = ToUtf8(Buffer, Length);
  return Text.substr(0, Text.find_last_not_of("\r\n") + 1);
}

#else

std::string ThisHostName() {
  char Buffer[256] = {};
  gethostname(Buffer, sizeof Buffer - 1);
  return Buffer;
}

#endif

}  // namespace gaugery::test
