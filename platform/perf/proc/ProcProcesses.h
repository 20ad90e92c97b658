// The processes of the machine as the Process object shows them: one sample per
// process from /proc/<pid>/stat, status and io and the count of /proc/<pid>/fd.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "perf/proc/DescriptorCount.h"
#include "perf/proc/ProcFiles.h"
#include "perf/proc/ProcRoot.h"
#include "perf/proc/SampleClock.h"

namespace gaugery {

// The fields of /proc/<pid>/stat (or of a thread's /proc/<pid>/task/<tid>/stat, whose
// "pid" is the thread id) that the Process and Thread objects use, in the file's units.
struct TProcessStat {
  std::string_view Name;  // points into the parsed text
  char State = '?';       // the state letter: R, S, D, Z, ...
  std::uint32_t Pid = 0;
  std::uint32_t ParentPid = 0;
  std::uint64_t Flags = 0;  // the kernel's flags of the task (PF_*)
  std::uint64_t MinorFaults = 0;
  std::uint64_t MajorFaults = 0;
  std::uint64_t UserTicks = 0;
  std::uint64_t SystemTicks = 0;
  std::int64_t Nice = 0;
  std::uint64_t Threads = 0;
  std::uint64_t StartTicks = 0;
};

// The name is the text between the first "(" and the last ")", since the command
// name may itself hold ")" and blanks. False for a text without the fields up to the
// start time.
bool ParseProcessStat(std::string_view Text, TProcessStat& Stat);

// Whether the process has a memory map of its own: kernel threads never have one, and a
// zombie has given its map back. The status file of one without it lists no sizes.
bool HasMemoryMap(const TProcessStat& Stat);

// The base priority a process of that nice value shows: 8 for nice 0 as in Windows'
// normal priority class, up to 13 (its high class) for nice -20 and down to 4 (its
// idle class) for nice 19.
std::uint64_t PriorityBaseOfNice(std::int64_t Nice);

// One process in the units of its counters: times in 100 ns, sizes in bytes.
struct TProcessSample {
  std::string_view Name;
  std::uint32_t Pid = 0;
  std::uint32_t ParentPid = 0;
  std::uint64_t UserTime = 0;
  std::uint64_t KernelTime = 0;
  std::uint64_t VirtualBytesPeak = 0;
  std::uint64_t VirtualBytes = 0;
  std::uint64_t WorkingSetPeak = 0;
  std::uint64_t WorkingSet = 0;
  std::uint64_t PrivateWorkingSet = 0;
  std::uint64_t PageFileBytes = 0;
  std::uint64_t PageFileBytesPeak = 0;
  std::uint64_t PageTableBytes = 0;
  std::uint64_t PageFaults = 0;
  std::uint64_t Threads = 0;
  std::uint64_t PriorityBase = 0;
  std::uint64_t Handles = 0;
  std::int64_t StartTime = 0;  // file time
  std::uint64_t ReadOperations = 0;
  std::uint64_t WriteOperations = 0;
  std::uint64_t ReadBytes = 0;
  std::uint64_t WriteBytes = 0;
};

// Adds a process into the "_Total" instance: the sum of every value, except that the
// ids stay 0 and the start time is the earliest one (sums of ids and of points in
// time mean nothing).
void AddToTotal(TProcessSample& Total, const TProcessSample& Process);

class TProcessSampler {
 public:
  explicit TProcessSampler(TProcRoot Root = TProcRoot());

  // Lists the processes of this moment in ascending pid order and starts a sample.
  void ListProcesses();
  std::span<const std::uint32_t> Pids() const { return Pids_; }

  // Reads one process of the sample ListProcesses started. False when it has vanished
  // or its stat cannot be read; files it may not read give zeros. The sample's name
  // stays valid until the next Read.
  bool Read(std::uint32_t Pid, const TSampleClock& Clock, TProcessSample& Sample);

  // Ends the sample: the page-file peaks and processor times seen in it are the ones
  // the next sample continues from, and /proc is closed. A sample that is not
  // committed leaves them as they were.
  void Commit();

 private:
  // What a process showed in the committed sample, told apart from a later process
  // with the same pid by its start time: the largest page-file size seen, and its
  // processor times.
  struct TKept {
    std::uint32_t Pid;
    std::uint64_t StartTicks;
    std::uint64_t PageFileBytes;
    std::uint64_t UserTime;
    std::uint64_t KernelTime;
  };

  // "<pid>/<name>": the files of every process are opened relative to the /proc
  // directory held for the sample, which saves opening each process's directory.
  static TShortText ProcessEntry(std::uint32_t Pid, std::string_view Name);
  bool ReadProcessFile(std::uint32_t Pid, std::string_view Name, std::string_view* Text);
  // Each reads one file of the process.
  void ReadMemory(std::uint32_t Pid, TProcessSample& Sample);
  void ReadIo(std::uint32_t Pid, TProcessSample& Sample);
  const TKept* KeptOf(const TProcessStat& Stat);
  void HoldProcessorTimes(const TKept& Before, const TSampleClock& Clock,
                          TProcessSample& Sample) const;

  TProcRoot Root_;
  TProcFileReader Files_;
  TDirectoryReader Directories_;
  TDescriptorCounter Descriptors_;
  TDirectoryHandle Proc_;  // /proc, open from the listing that starts a sample to its end
  std::vector<std::uint32_t> Pids_;
  std::string Name_;
  std::vector<TKept> Kept_;
  std::vector<TKept> NextKept_;
  std::size_t KeptCursor_ = 0;
  std::int64_t KeptNow_ = 0;    // the committed sample's time stamp; 0 before the first
  std::int64_t SampleNow_ = 0;  // this sample's
};

}  // namespace gaugery
