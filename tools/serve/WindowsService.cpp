#include "WindowsService.h"

#include "ServiceCommandLine.h"

#include <atomic>
#include <chrono>
#include <exception>
#include <thread>

#include "framework/Exceptions.h"
#include "framework/TextFunctions.h"
#include "framework/Unicode.h"
#include "framework/WindowsApi.h"

namespace gaugery::cli {

namespace {

constexpr wchar_t WideServiceName[] = L"gaugery";
constexpr wchar_t DisplayName[] = L"Gaugery performance data server";
constexpr wchar_t Description[] =
    L"Serves this computer's performance data over HTTP: /metrics for Prometheus, and the "
    L"performance data and names for the machines that read this one with --computer.";
// How long an uninstall waits for the running service to stop.
constexpr auto StopWait = std::chrono::seconds(30);
// What the service tells the manager to wait for while it starts and stops.
constexpr DWORD StartHint = 10000;
constexpr DWORD StopHint = 5000;

// A handle of the service control manager or of a service, closed at the end of its scope.
class TServiceHandle {
 public:
  explicit TServiceHandle(SC_HANDLE Handle) : Handle_(Handle) {}
  ~TServiceHandle() {
    if (Handle_ != nullptr) CloseServiceHandle(Handle_);
  }
  TServiceHandle(const TServiceHandle&) = delete;
  TServiceHandle& operator=(const TServiceHandle&) = delete;
  SC_HANDLE Get() const { return Handle_; }

 private:
  SC_HANDLE Handle_;
};

const std::string TheService = std::string("the service \"") + ServiceName + "\"";

// The failure Code of Doing (what the user asked for: "installing the service"), in words.
[[noreturn]] void RaiseServiceError(const std::string& Doing, DWORD Code) {
  switch (Code) {
    case ERROR_ACCESS_DENIED:
      throw Exception(Doing + " needs an administrator: run it from a command prompt started " +
                      "as administrator");
    case ERROR_SERVICE_EXISTS:
      throw Exception(TheService + " is already installed; `gaugery serve --uninstall-service` " +
                      "removes it");
    case ERROR_SERVICE_DOES_NOT_EXIST:
      throw Exception(TheService + " is not installed");
    case ERROR_SERVICE_MARKED_FOR_DELETE:
      throw Exception(TheService + " is being removed: close what holds it open (the Services " +
                      "console) and try again");
    default:
      throw Exception(Doing + " failed: " + SysErrorMessage(static_cast<std::int32_t>(Code)) +
                      " (" + std::to_string(Code) + ")");
  }
}

SC_HANDLE OpenManager(DWORD Access, const std::string& Doing) {
  const SC_HANDLE Manager = OpenSCManagerW(nullptr, nullptr, Access);
  if (Manager == nullptr) RaiseServiceError(Doing, GetLastError());
  return Manager;
}

// Asks the running service to stop and waits until it has; nothing when it does not run.
void StopService(SC_HANDLE Service, const std::string& Doing) {
  SERVICE_STATUS Status{};
  if (!ControlService(Service, SERVICE_CONTROL_STOP, &Status)) {
    const DWORD Code = GetLastError();
    if (Code == ERROR_SERVICE_NOT_ACTIVE) return;
    // A service still starting accepts no stop yet: it is waited for below like one stopping.
    if (Code != ERROR_SERVICE_CANNOT_ACCEPT_CTRL) RaiseServiceError(Doing, Code);
  }
  const auto Deadline = std::chrono::steady_clock::now() + StopWait;
  while (QueryServiceStatus(Service, &Status) && Status.dwCurrentState != SERVICE_STOPPED) {
    if (std::chrono::steady_clock::now() > Deadline)
      throw Exception(TheService + " did not stop within 30 s; it is still installed");
    if (Status.dwCurrentState == SERVICE_RUNNING)
      ControlService(Service, SERVICE_CONTROL_STOP, &Status);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
}

// The full path of this program's file.
std::string ThisProgram() {
  std::wstring Path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD Length = GetModuleFileNameW(nullptr, Path.data(), static_cast<DWORD>(Path.size()));
    if (Length == 0) throw Exception("the program's own path cannot be read");
    if (Length < Path.size()) return ToUtf8(Path.data(), Length);
    Path.resize(Path.size() * 2);
  }
}

// The state of the service run by this process, as reported to the manager.
SERVICE_STATUS_HANDLE StatusHandle = nullptr;
TServiceWork* Running = nullptr;
std::atomic<DWORD> CheckPoint{0};

void Report(DWORD State, DWORD ExitCode = NO_ERROR) {
  SERVICE_STATUS Status{};
  Status.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
  Status.dwCurrentState = State;
  Status.dwControlsAccepted =
      State == SERVICE_RUNNING ? SERVICE_ACCEPT_STOP | SERVICE_ACCEPT_SHUTDOWN : 0;
  Status.dwWin32ExitCode = ExitCode == NO_ERROR ? NO_ERROR : ERROR_SERVICE_SPECIFIC_ERROR;
  Status.dwServiceSpecificExitCode = ExitCode;
  const bool Pending = State == SERVICE_START_PENDING || State == SERVICE_STOP_PENDING;
  Status.dwCheckPoint = Pending ? ++CheckPoint : 0;
  Status.dwWaitHint = State == SERVICE_START_PENDING ? StartHint : Pending ? StopHint : 0;
  SetServiceStatus(StatusHandle, &Status);
}

// A service has no console for its errors: they go to the Application event log.
void LogError(const std::string& Message) {
  const HANDLE Log = RegisterEventSourceW(nullptr, WideServiceName);
  if (Log == nullptr) return;
  const std::wstring Text = ToWide("gaugery serve: " + Message);
  LPCWSTR Strings[] = {Text.c_str()};
  ReportEventW(Log, EVENTLOG_ERROR_TYPE, 0, 0, nullptr, 1, 0, Strings, nullptr);
  DeregisterEventSource(Log);
}

DWORD WINAPI OnControl(DWORD Control, DWORD, LPVOID, LPVOID) {
  switch (Control) {
    case SERVICE_CONTROL_STOP:
    case SERVICE_CONTROL_SHUTDOWN:
      Report(SERVICE_STOP_PENDING);
      Running->Stop();
      return NO_ERROR;
    case SERVICE_CONTROL_INTERROGATE:
      return NO_ERROR;
    default:
      return ERROR_CALL_NOT_IMPLEMENTED;
  }
}

void WINAPI ServiceMain(DWORD, LPWSTR*) {
  StatusHandle = RegisterServiceCtrlHandlerExW(WideServiceName, &OnControl, nullptr);
  if (StatusHandle == nullptr) return;
  Report(SERVICE_START_PENDING);
  try {
    Running->Start();
    Report(SERVICE_RUNNING);
    Running->Serve();
  } catch (const std::exception& Error) {
    LogError(Error.what());
    Report(SERVICE_STOPPED, 1);
    return;
  }
  Report(SERVICE_STOPPED);
}

}  // namespace

std::string InstallService(const std::vector<std::string>& Arguments) {
  const std::string Doing = "installing the service";
  const std::string CommandLine = ServiceCommandLine(ThisProgram(), Arguments);
  const TServiceHandle Manager(OpenManager(SC_MANAGER_CREATE_SERVICE, Doing));
  // Started with the system: a monitoring target is to answer after every boot, whether
  // anyone logs on or not. LocalSystem reads the counters of every process.
  const TServiceHandle Service(
      CreateServiceW(Manager.Get(), WideServiceName, DisplayName, SERVICE_CHANGE_CONFIG,
                     SERVICE_WIN32_OWN_PROCESS, SERVICE_AUTO_START, SERVICE_ERROR_NORMAL,
                     ToWide(CommandLine).c_str(), nullptr, nullptr, nullptr, nullptr, nullptr));
  if (Service.Get() == nullptr) RaiseServiceError(Doing, GetLastError());
  SERVICE_DESCRIPTIONW Text{const_cast<LPWSTR>(Description)};
  ChangeServiceConfig2W(Service.Get(), SERVICE_CONFIG_DESCRIPTION, &Text);
  return CommandLine;
}

void UninstallService() {
  const std::string Doing = "removing the service";
  const TServiceHandle Manager(OpenManager(SC_MANAGER_CONNECT, Doing));
  const TServiceHandle Service(
      OpenServiceW(Manager.Get(), WideServiceName, SERVICE_STOP | SERVICE_QUERY_STATUS | DELETE));
  if (Service.Get() == nullptr) RaiseServiceError(Doing, GetLastError());
  StopService(Service.Get(), Doing);
  if (!DeleteService(Service.Get())) RaiseServiceError(Doing, GetLastError());
}

void RunAsService(TServiceWork Work) {
  Running = &Work;
  wchar_t Name[] = L"gaugery";
  const SERVICE_TABLE_ENTRYW Services[] = {{Name, &ServiceMain}, {nullptr, nullptr}};
  if (!StartServiceCtrlDispatcherW(Services)) {
    const DWORD Code = GetLastError();
    if (Code == ERROR_FAILED_SERVICE_CONTROLLER_CONNECT)
      throw Exception(
          "--service is for the service control manager, which starts the "
          "installed service (`sc start gaugery`); in a console, run gaugery serve "
          "without it");
    RaiseServiceError("running the service", Code);
  }
}

}  // namespace gaugery::cli
