// gaugery serve: the performance data of this computer over HTTP, for Prometheus and
// for the registry of other machines that read this one as a remote computer.
#ifdef _WIN32
#include <windows.h>
#else
#include <malloc.h>
#include <pthread.h>
#include <signal.h>
#endif

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <iostream>
#include <mutex>
#include <optional>
#include <thread>

#include "Commands.h"
#include "ComputerOption.h"
#include "PerfServer.h"
#include "Replay.h"
#include "registry/RemoteToken.h"
#include "framework/Exceptions.h"
#include "http/OpenFileLimit.h"
#ifdef _WIN32
#include "WindowsService.h"
#include "framework/Unicode.h"
#endif

namespace gaugery::cli {

namespace {

constexpr int LargeAllocation = 128 * 1024;

TRemoteAddress ListenAddress(const Arguments& Args) {
  const std::string Text = Args.Value("--listen", "127.0.0.1:" + std::to_string(GaugeryServePort));
  const std::optional<TRemoteAddress> Address = ParseRemoteAddress(Text);
  if (!Address || Text.starts_with("\\\\"))
    throw UsageError("option --listen needs ADDRESS:PORT, for example 127.0.0.1:9441, not \"" +
                     Text + "\"");
  return *Address;
}

// The token of --token FILE.
std::string TokenOf(const Arguments& Args) {
  return Args.Has("--token") ? ReadTokenFile(Args.Value("--token")) : std::string();
}

#ifdef _WIN32
// Stops the server at Ctrl+C, Ctrl+Break, or the console's closing. The console calls
// the handler on a thread of its own, which may wait there until Run has returned.
class TStopOnSignal {
 public:
  explicit TStopOnSignal(TPerfServer& Server) {
    Server_ = &Server;
    SetConsoleCtrlHandler(&OnControl, TRUE);
  }
  ~TStopOnSignal() {
    RunEnded_ = true;
    SetConsoleCtrlHandler(&OnControl, FALSE);
  }
  TStopOnSignal(const TStopOnSignal&) = delete;
  TStopOnSignal& operator=(const TStopOnSignal&) = delete;

 private:
  static BOOL WINAPI OnControl(DWORD) {
    // An interrupt may come before Run has started to listen, when a stop would be lost.
    while (!RunEnded_) {
      Server_->Stop();
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return TRUE;
  }
  static inline TPerfServer* Server_ = nullptr;
  static inline std::atomic<bool> RunEnded_{false};
};
#else
// Stops the server at SIGINT or SIGTERM. The signals are blocked in every thread (the
// server's workers inherit the mask) and awaited by a thread of its own.
class TStopOnSignal {
 public:
  explicit TStopOnSignal(TPerfServer& Server) {
    sigemptyset(&Signals_);
    sigaddset(&Signals_, SIGINT);
    sigaddset(&Signals_, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &Signals_, nullptr);
    Waiter_ = std::thread([this, &Server] {
      int Signal = 0;
      sigwait(&Signals_, &Signal);
      // A signal may come before Run has started to listen, when a stop would be lost.
      while (!RunEnded_) {
        Server.Stop();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
      }
    });
  }
  // Called once Run has returned: wakes the waiting thread if no signal came.
  ~TStopOnSignal() {
    RunEnded_ = true;
    pthread_kill(Waiter_.native_handle(), SIGTERM);
    Waiter_.join();
  }
  TStopOnSignal(const TStopOnSignal&) = delete;
  TStopOnSignal& operator=(const TStopOnSignal&) = delete;

 private:
  sigset_t Signals_;
  std::atomic<bool> RunEnded_{false};
  std::thread Waiter_;
};
#endif

// Gives the heap's free memory back to the system every TrimEvery until destroyed:
// connections of slow or idle clients come and go by the thousand, and the memory they
// held would otherwise stay with the process, scattered through the heap.
class TPeriodicTrim {
  static void TrimHeap() {
#ifndef _WIN32
    malloc_trim(0);
#endif
  }

 public:
  TPeriodicTrim()
      : Trimmer_([this] {
          std::unique_lock<std::mutex> Guard(Lock_);
          while (!Finished_.wait_for(Guard, TrimEvery, [this] { return Ended_; })) TrimHeap();
        }) {}
  ~TPeriodicTrim() {
    {
      const std::lock_guard<std::mutex> Guard(Lock_);
      Ended_ = true;
    }
    Finished_.notify_all();
    Trimmer_.join();
  }
  TPeriodicTrim(const TPeriodicTrim&) = delete;
  TPeriodicTrim& operator=(const TPeriodicTrim&) = delete;

 private:
  static constexpr std::chrono::seconds TrimEvery{5};
  std::mutex Lock_;
  std::condition_variable Finished_;
  bool Ended_ = false;
  std::thread Trimmer_;
};

// The options of a service's installation and run: one at most, on Windows only.
const std::vector<std::string> ServiceFlags = {"--install-service", "--uninstall-service",
                                               "--service"};

// The service option given, or empty for a run in the console.
std::string ServiceFlagOf(const Arguments& Args) {
  std::vector<std::string> Given;
  for (const std::string& Flag : ServiceFlags)
    if (Args.Has(Flag)) Given.push_back(Flag);
  if (Given.empty()) return {};
#ifndef _WIN32
  throw UsageError("option " + Given[0] + " is for Windows; on Linux, run serve as a systemd " +
                   "service (deploy/gaugery-serve.service)");
#endif
  if (Given.size() > 1)
    throw UsageError("options " + Given[0] + " and " + Given[1] + " exclude each other");
  return Given[0];
}

// Keeps a long-running server's memory flat and lets it hold a descriptor per connection.
void PrepareProcess() {
#ifndef _WIN32
  signal(SIGPIPE, SIG_IGN);
  // Every exposition and block is a large allocation made once per sample: with a fixed
  // threshold they are mapped and unmapped whole, which keeps a long-running server's
  // memory flat instead of fragmenting it. (Each thread keeps a heap of its own, so that
  // what the serving threads free after a burst of connections lies together.)
  mallopt(M_MMAP_THRESHOLD, LargeAllocation);
#endif
  // A descriptor per connection: the default soft limit would stop accepting early.
  http::RaiseOpenFileLimit();
}

void ServeInConsole(const TServeOptions& Options) {
  TPerfServer Server(Options);
  const int Port = Server.Bind();
  std::cout << "gaugery serve: listening on http://"
            << AddressText({Options.Listen.Host, static_cast<std::uint16_t>(Port)}) << "/"
            << std::endl;
  const TStopOnSignal Stopper(Server);
  const TPeriodicTrim Trim;
  Server.Run();
}

#ifdef _WIN32
// The serve options of Args as the installed service is to get them: the token file by
// its full path, since a service starts in the system folder.
std::vector<std::string> ServiceArguments(const Arguments& Args) {
  std::vector<std::string> Forwarded = {"serve", "--service"};
  for (const std::string Option : {"--listen", "--interval", "--history", "--token"}) {
    if (!Args.Has(Option)) continue;
    std::string Value = Args.Value(Option);
    if (Option == "--token")
      Value = ToUtf8(std::filesystem::absolute(std::filesystem::path(ToWide(Value))).wstring());
    Forwarded.insert(Forwarded.end(), {Option, Value});
  }
  return Forwarded;
}

int InstallServeService(const Arguments& Args) {
  if (ReplayInService())
    throw UsageError("the service serves the live machine: --install-service takes no --replay");
  const std::string CommandLine = InstallService(ServiceArguments(Args));
  std::cout << "gaugery serve: installed the service \"" << ServiceName
            << "\", started with the system (`sc start " << ServiceName
            << "` starts it now): " << CommandLine << std::endl;
  return 0;
}

int UninstallServeService(const Arguments& Args) {
  for (const std::string Option : {"--listen", "--interval", "--history", "--token"})
    if (Args.Has(Option)) throw UsageError("--uninstall-service takes no other options");
  UninstallService();
  std::cout << "gaugery serve: removed the service \"" << ServiceName << "\"" << std::endl;
  return 0;
}

// Serves for the service control manager, stopped by it instead of the console: a
// service's console handler would also hear every user's logoff.
void ServeAsService(const TServeOptions& Options) {
  std::optional<TPerfServer> Server;
  std::optional<TPeriodicTrim> Trim;
  RunAsService({[&] {
                  Server.emplace(Options);
                  Server->Bind();
                },
                [&] {
                  Trim.emplace();
                  Server->Run();
                },
                [&] { Server->Stop(); }});
}
#endif

int Run(const Arguments& Args) {
  ExpectLocalComputer("serve");
  if (!Args.Operands().empty()) throw UsageError("serve takes no operands");
  const std::string ServiceFlag = ServiceFlagOf(Args);
#ifdef _WIN32
  if (ServiceFlag == "--uninstall-service") return UninstallServeService(Args);
#endif
  // Read in every case, so that a service is installed only with options that work.
  TServeOptions Options{
      ListenAddress(Args), Args.Seconds("--interval", "1"), TokenOf(Args),
      std::chrono::duration_cast<std::chrono::milliseconds>(Args.Seconds("--history", "600"))};
#ifdef _WIN32
  if (ServiceFlag == "--install-service") return InstallServeService(Args);
#endif
  PrepareProcess();
#ifdef _WIN32
  if (ServiceFlag == "--service") {
    ServeAsService(Options);
    return 0;
  }
#endif
  ServeInConsole(Options);
  return 0;
}

#ifdef _WIN32
constexpr char ServiceSynopsis[] = " [--install-service | --uninstall-service]";
constexpr char ServiceDetails[] =
    "  --install-service      install a Windows service (\"gaugery\", started with the "
    "system) that runs serve with the options given; needs an administrator\n"
    "  --uninstall-service    stop the service and remove it\n"
    "  --service              run for the service control manager (the installed service's "
    "command line)\n";
#else
constexpr char ServiceSynopsis[] = "";
constexpr char ServiceDetails[] = "";
#endif

}  // namespace

Command ServeCommand() {
  return {"serve",
          std::string("serve [--listen ADDRESS:PORT] [--interval SECONDS] [--history SECONDS] "
                      "[--token FILE]") +
              ServiceSynopsis,
          "Serves the performance data of this computer over HTTP until interrupted: "
          "a live web view at /, /metrics for Prometheus, /perfdata and /perflib for the "
          "registry of machines that read this one with --computer. Replaying a counter log "
          "(--replay LOG), the web view shows the log's whole range, with the process table "
          "at the time picked on its chart.",
          std::string(
              "  --listen ADDRESS:PORT  where to listen (default 127.0.0.1:9441, this machine "
              "only; 0.0.0.0:9441 for every network, port 0 for any free port)\n"
              "  --interval SECONDS     least time between two samples, however many clients "
              "ask (default 1; fractions allowed)\n"
              "  --history SECONDS      how far back the web view's charts reach when a page "
              "opens (default 600; beyond 3,599 samples of the interval, the view samples less "
              "often)\n"
              "  --token FILE           answer only requests with \"Authorization: Bearer "
              "TOKEN\", TOKEN being the file's text (a browser asks for it as the password)\n") +
              ServiceDetails,
          ServiceFlags,
          {"--listen", "--interval", "--history", "--token"},
          Run};
}

}  // namespace gaugery::cli
