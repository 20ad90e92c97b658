#include "ThisMachine.h"

#ifdef _WIN32
#include "framework/WindowsApi.h"
#else
#include <sys/utsname.h>

#include <ctime>
#endif

namespace gaugery::cli {

#ifdef _WIN32

namespace {

// The system's own conversion: this unit cannot see the project's Unicode helpers, whose
// header and <windows.h> declare the same names.
std::string Utf8Name(const WCHAR* Name) {
  const int Bytes = WideCharToMultiByte(CP_UTF8, 0, Name, -1, nullptr, 0, nullptr, nullptr);
  if (Bytes <= 1) return "";
  std::string Text(static_cast<std::size_t>(Bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, Name, -1, Text.data(), Bytes, nullptr, nullptr);
  Text.pop_back();
  return Text;
}

}  // namespace

std::string ThisSystem() {
  OSVERSIONINFOW Version{};
  Version.dwOSVersionInfoSize = sizeof Version;
  // GetVersionEx is said to lie to programs without a manifest; the build number is
  // still the one of the running system.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  GetVersionExW(&Version);
#pragma GCC diagnostic pop
  return "Windows " + std::to_string(Version.dwMajorVersion) + "." +
         std::to_string(Version.dwMinorVersion) + "." + std::to_string(Version.dwBuildNumber);
}

TTimeZone ThisTimeZone() {
  TIME_ZONE_INFORMATION Zone{};
  const DWORD Which = GetTimeZoneInformation(&Zone);
  const bool Daylight = Which == TIME_ZONE_ID_DAYLIGHT;
  return {Zone.Bias + (Daylight ? Zone.DaylightBias : Zone.StandardBias),
          Utf8Name(Daylight ? Zone.DaylightName : Zone.StandardName)};
}

#else

std::string ThisSystem() {
  utsname Name{};
  if (uname(&Name) != 0) return "";
  return std::string(Name.sysname) + " " + Name.release + " " + Name.machine;
}

TTimeZone ThisTimeZone() {
  const std::time_t Now = std::time(nullptr);
  std::tm Local{};
  localtime_r(&Now, &Local);
  return {static_cast<long>(-Local.tm_gmtoff / 60), Local.tm_zone != nullptr ? Local.tm_zone : ""};
}

#endif

}  // namespace gaugery::cli
