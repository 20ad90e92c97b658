// Writes a counter log: the machine and its names, then sample after sample, each a raw
// block exactly as a query returned it. Every record reaches the operating system as
// soon as it is written (a process killed at any moment leaves every written sample
// readable); Sync also asks for it to reach the disk.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "framework/LibraryExport.h"
#include "perf/log/CounterLog.h"

namespace gaugery {

struct GAUGERY_PLATFORM_API TLogWriterOptions {
  // A sample is stored whole at least this often (1 to 60); the others are stored
  // against the sample before them.
  unsigned FullEvery = 60;
  // An index record is written after this many full samples, and at close.
  unsigned IndexEvery = 10;
  // A sample that would go into a volume of at least this many bytes goes into a new
  // volume instead (FILE, FILE.1, FILE.2, ...); 0 for one volume.
  std::uint64_t MaxVolumeBytes = 0;
  // Starting a volume removes the oldest ones beyond this many; 0 keeps them all.
  unsigned KeepVolumes = 0;
};

class GAUGERY_PLATFORM_API TCounterLogWriter {
 public:
  // Creates File (replacing what was there, and removing the volumes FILE.N of an earlier
  // log) with its header and names. Exception "Cannot write counter log "FILE": reason"
  // when it cannot be written.
  TCounterLogWriter(const std::string& File, const TLogMachine& Machine, const TLogNames& Names,
                    TLogWriterOptions Options = {});
  // Closes the log, as Close does, when it was not closed.
  ~TCounterLogWriter();
  TCounterLogWriter(const TCounterLogWriter&) = delete;
  TCounterLogWriter& operator=(const TCounterLogWriter&) = delete;

  // Stores the Size bytes at Block as the next sample, at the time its header carries
  // (SystemTime). A block that the block check does not find well-formed is not
  // stored: a gap is, with the check's finding as its reason, and the answer is false.
  bool WriteSample(const void* Block, DWORD Size);
  // Records that no sample was taken at Time (a file time), and why.
  void WriteGap(std::int64_t Time, const std::string& Reason);
  // Records Names as the tables in force from the next sample on, when they differ
  // from those in force now.
  void WriteNames(const TLogNames& Names);
  // Closes the current volume and continues in the next one, which starts with the
  // header, the names in force and a full sample. Sample numbers go on counting.
  void StartVolume();
  // Asks the operating system to put what was written on the disk.
  void Sync();
  // Writes the index and the end record, and closes the volume. Later calls do nothing.
  void Close();

  std::uint64_t SamplesWritten() const;
  // Of every volume.
  std::uint64_t BytesWritten() const;
  // The raw bytes of the samples written, for comparison with BytesWritten.
  std::uint64_t BlockBytesWritten() const;

 private:
  struct TState;
  std::unique_ptr<TState> State_;
};

}  // namespace gaugery
