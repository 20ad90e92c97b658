#include "RecordSignals.h"

#include <algorithm>
#include <csignal>
#include <thread>

namespace gaugery::cli {

namespace {

volatile std::sig_atomic_t StopAsked = 0;
volatile std::sig_atomic_t NewVolumeAsked = 0;

// Short enough that a signal is answered at once to the user's eye; the wait needs no
// wake-up channel of its own on either system.
constexpr std::chrono::milliseconds WaitSlice{50};

extern "C" void OnRecordSignal(int Signal) {
#ifdef SIGHUP
  if (Signal == SIGHUP) {
    NewVolumeAsked = 1;
    return;
  }
#endif
  static_cast<void>(Signal);
  StopAsked = 1;
}

using THandler = void (*)(int);
THandler SavedInterrupt = SIG_DFL;
THandler SavedTerminate = SIG_DFL;
#ifdef SIGHUP
THandler SavedHangUp = SIG_DFL;
#endif

}  // namespace

TRecordSignals::TRecordSignals() {
  StopAsked = 0;
  NewVolumeAsked = 0;
  SavedInterrupt = std::signal(SIGINT, OnRecordSignal);
  SavedTerminate = std::signal(SIGTERM, OnRecordSignal);
#ifdef SIGHUP
  SavedHangUp = std::signal(SIGHUP, OnRecordSignal);
#endif
}

TRecordSignals::~TRecordSignals() {
  std::signal(SIGINT, SavedInterrupt);
  std::signal(SIGTERM, SavedTerminate);
#ifdef SIGHUP
  std::signal(SIGHUP, SavedHangUp);
#endif
}

TRecordSignals::TEvent TRecordSignals::WaitUntil(std::chrono::steady_clock::time_point Deadline) {
  for (;;) {
    if (StopAsked != 0) return TEvent::Stop;
    if (NewVolumeAsked != 0) {
      NewVolumeAsked = 0;
      return TEvent::NewVolume;
    }
    const auto Now = std::chrono::steady_clock::now();
    if (Now >= Deadline) return TEvent::Timeout;
    std::this_thread::sleep_for(
        std::min<std::chrono::steady_clock::duration>(Deadline - Now, WaitSlice));
  }
}

}  // namespace gaugery::cli
