// `gaugery serve` as a Windows service: its registration with the service control
// manager, and the run that the manager starts.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace gaugery::cli {

// The name by which `sc` and the Services console know the service.
inline constexpr char ServiceName[] = "gaugery";

// Registers the service to start with the system and run this program with Arguments;
// returns the command line registered. Raises Exception when the service is already
// installed or the caller may not install services.
std::string InstallService(const std::vector<std::string>& Arguments);

// Stops the service when it runs, then removes it. Raises Exception when it is not
// installed, does not stop, or the caller may not remove it.
void UninstallService();

// What the service runs.
struct TServiceWork {
  std::function<void()> Start;  // gets ready to answer (binds); raises when it cannot
  std::function<void()> Serve;  // answers until Stop
  std::function<void()> Stop;   // ends Serve; called on the manager's thread
};

// Runs Work for the service control manager: reports the service running once Start has
// returned and ends Serve when the manager stops the service or the system shuts down.
// Returns once the service has stopped. Raises Exception when the process was not
// started by the manager.
void RunAsService(TServiceWork Work);

}  // namespace gaugery::cli
