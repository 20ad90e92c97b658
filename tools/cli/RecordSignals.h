// The signals that steer `gaugery record`: SIGINT and SIGTERM end the recording, SIGHUP
// (where there is one) asks for a new volume. A signal never ends the program itself, so
// that the log is always closed with its index.
#pragma once

#include <chrono>

namespace gaugery::cli {

class TRecordSignals {
 public:
  enum class TEvent { Timeout, Stop, NewVolume };

  // Handles the signals for the object's lifetime; the former handlers come back after.
  TRecordSignals();
  ~TRecordSignals();
  TRecordSignals(const TRecordSignals&) = delete;
  TRecordSignals& operator=(const TRecordSignals&) = delete;

  // Waits until Deadline, or less when a signal came (before the wait as well); a stop
  // outranks a new volume.
  TEvent WaitUntil(std::chrono::steady_clock::time_point Deadline);
};

}  // namespace gaugery::cli
