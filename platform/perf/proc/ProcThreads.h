// The threads of the machine as the Thread object shows them: one sample per thread
// from /proc/<pid>/task/<tid>/stat and status.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "perf/proc/SampleClock.h"
#include "perf/proc/ProcFiles.h"
#include "perf/proc/ProcRoot.h"

namespace gaugery {

// The numbers Windows gives thread states, which the Thread State counter shows.
enum class TThreadState : std::uint64_t {
  Initialized = 0,
  Ready = 1,
  Running = 2,
  Standby = 3,
  Terminated = 4,
  Wait = 5,
  Transition = 6,
  Unknown = 7,
};

// The Windows state of a thread in the Linux state of that letter: R (running or
// runnable) is Running; S, D, I, T, t, P, K and W, every kind of sleeping or stopped,
// are Wait; Z, X and x are Terminated; any other letter is Unknown.
TThreadState ThreadStateOfLetter(char Letter);

// voluntary_ctxt_switches + nonvoluntary_ctxt_switches of a status file.
std::uint64_t ParseContextSwitches(std::string_view Status);

// One thread in the units of its counters: times in 100 ns.
struct TThreadSample {
  std::uint32_t Pid = 0;
  std::uint32_t Tid = 0;
  std::uint64_t UserTime = 0;
  std::uint64_t KernelTime = 0;
  std::uint64_t ContextSwitches = 0;
  std::uint64_t PriorityBase = 0;
  TThreadState State = TThreadState::Unknown;
  std::int64_t StartTime = 0;  // file time
};

// Adds a thread into the "_Total/_Total" instance: times and context switches are
// summed, the start time is the earliest one; ids, priority and state stay 0, since
// their sums mean nothing.
void AddToTotal(TThreadSample& Total, const TThreadSample& Thread);

class TThreadSampler {
 public:
  explicit TThreadSampler(TProcRoot Root = TProcRoot());

  // Lists the threads of one process: its main thread (whose id is the process id)
  // first, then the others in ascending id order. False when the process has vanished.
  bool ListThreads(std::uint32_t Pid);
  std::span<const std::uint32_t> Tids() const { return Tids_; }

  // Reads one thread of the listed process. False when it has ended; a status file it
  // may not read gives zero context switches. Reading the main thread takes the
  // process name from it.
  bool Read(std::uint32_t Pid, std::uint32_t Tid, const TSampleClock& Clock,
            TThreadSample& Sample);

  // "<process name>/<tid>", valid until the next call.
  std::string_view InstanceName(std::uint32_t Tid);

 private:
  TProcRoot Root_;
  TProcFileReader Files_;
  TDirectoryReader Directories_;
  std::vector<std::uint32_t> Tids_;
  std::string ProcessName_;
  std::string InstanceName_;
};

}  // namespace gaugery
