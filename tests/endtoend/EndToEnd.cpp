#include "EndToEnd.h"

#include <stdexcept>
#include <string>

#include "TestObjects.h"

#include "framework/WindowsApi.h"

namespace gaugery::test {

namespace {

// The path the registry loads the provider from (its Library value).
std::wstring InstalledPath() {
  const std::wstring Library = std::wstring(L"%SystemRoot%\\system32\\") + kTestProviderFile;
  wchar_t Path[MAX_PATH];
  const DWORD Length = ::ExpandEnvironmentStringsW(Library.c_str(), Path, MAX_PATH);
  return Length > 0 && Length <= MAX_PATH ? std::wstring(Path) : Library;
}

TTestProviderState* LoadProvider() {
  HMODULE Module = ::LoadLibraryW(InstalledPath().c_str());
  // Through void (*)(), the one function type any other may be cast to and back.
  const auto State = Module == nullptr
                         ? nullptr
                         : reinterpret_cast<TTestProviderStateProc>(reinterpret_cast<void (*)()>(
                               ::GetProcAddress(Module, "TestProviderState")));
  if (State == nullptr) {
    throw std::runtime_error(
        "the test performance provider is not installed in the system directory "
        "(scripts/test-windows.sh installs and registers it)");
  }
  return State();
}

}  // namespace

TTestProviderState& TestProvider() {
  static TTestProviderState* const State = LoadProvider();
  return *State;
}

std::vector<std::string> LinesOf(const TStringList& List) {
  std::vector<std::string> Lines;
  for (int Index = 0; Index < List.Count(); ++Index) Lines.push_back(List.Strings(Index));
  return Lines;
}

void EndToEnd::SetUp() {
  Provider.Devices = kDefaultDevices;
  Provider.NaiveLayout = false;
  Provider.Opens = Provider.Collects = Provider.Closes = 0;
  Provider.OfferCount = 0;
}

}  // namespace gaugery::test
