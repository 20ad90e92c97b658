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
#include <iostream>
#include <mutex>
#include <optional>
#include <thread>

#include "Commands.h"
#include "ComputerOption.h"
#include "PerfServer.h"
#include "registry/RemoteToken.h"
#include "framework/Exceptions.h"
#include "http/OpenFileLimit.h"

namespace gaugery::cli {

namespace {

constexpr int LargeAllocation = 128 * 1024;
constexpr int HeapArenas = 2;

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

int Run(const Arguments& Args) {
  ExpectLocalComputer("serve");
  if (!Args.Operands().empty()) throw UsageError("serve takes no operands");
  TServeOptions Options{
      ListenAddress(Args), Args.Seconds("--interval", "1"), TokenOf(Args),
      std::chrono::duration_cast<std::chrono::milliseconds>(Args.Seconds("--history", "600"))};
#ifndef _WIN32
  signal(SIGPIPE, SIG_IGN);
  // Every exposition and block is a large allocation made once per sample: with a fixed
  // threshold they are mapped and unmapped whole. The server's threads share a few
  // heaps instead of one each. Both keep a long-running server's memory flat instead of
  // fragmenting it.
  mallopt(M_MMAP_THRESHOLD, LargeAllocation);
  mallopt(M_ARENA_MAX, HeapArenas);
#endif
  // A descriptor per connection: the default soft limit would stop accepting early.
  http::RaiseOpenFileLimit();
  TPerfServer Server(Options);
  const int Port = Server.Bind();
  std::cout << "gaugery serve: listening on http://"
            << AddressText({Options.Listen.Host, static_cast<std::uint16_t>(Port)}) << "/"
            << std::endl;
  const TStopOnSignal Stopper(Server);
  const TPeriodicTrim Trim;
  Server.Run();
  return 0;
}

}  // namespace

Command ServeCommand() {
  return {"serve",
          "serve [--listen ADDRESS:PORT] [--interval SECONDS] [--history SECONDS] [--token FILE]",
          "Serves the performance data of this computer over HTTP until interrupted: "
          "a live web view at /, /metrics for Prometheus, /perfdata and /perflib for the "
          "registry of machines that read this one with --computer. Replaying a counter log "
          "(--replay LOG), the web view shows the log's whole range, with the process table "
          "at the time picked on its chart.",
          "  --listen ADDRESS:PORT  where to listen (default 127.0.0.1:9441, this machine "
          "only; 0.0.0.0:9441 for every network, port 0 for any free port)\n"
          "  --interval SECONDS     least time between two samples, however many clients ask "
          "(default 1; fractions allowed)\n"
          "  --history SECONDS      how far back the web view's charts reach when a page "
          "opens (default 600; beyond 3,599 samples of the interval, the view samples less "
          "often)\n"
          "  --token FILE           answer only requests with \"Authorization: Bearer TOKEN\", "
          "TOKEN being the file's text (a browser asks for it as the password)\n",
          {},
          {"--listen", "--interval", "--history", "--token"},
          Run};
}

}  // namespace gaugery::cli
