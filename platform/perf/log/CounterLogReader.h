// Reads a counter log sample by sample, all its volumes in turn (FILE, FILE.1, ...), and
// finds a time through its index (rebuilt from the records when the log has none, as
// after a crash). Every block it returns has
// passed the block check. Damage never stops it: a torn last record is reported once
// ("the log ends in a partial record after sample N") and ignored; a damaged record
// is reported and skipped, and reading resumes at the next full sample.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/LibraryExport.h"
#include "perf/log/CounterLog.h"

namespace gaugery {

struct GAUGERY_PLATFORM_API TLogEntry {
  enum class TKind { Sample, Gap };
  TKind Kind = TKind::Sample;
  // A sample's number, from 1; for a gap, the number of the last sample before it.
  std::uint64_t Number = 0;
  std::int64_t Time = 0;  // file time
  // A sample's block, exactly as recorded and well-formed.
  std::vector<BYTE> Block;
  // Why a gap has no sample.
  std::string Reason;
};

// How much a log holds, from its index.
struct GAUGERY_PLATFORM_API TLogExtent {
  std::uint64_t Samples = 0;
  std::int64_t FirstTime = 0;
  std::int64_t LastTime = 0;
  // The numbers of the first and the last sample; 0 when there is none.
  std::uint64_t FirstNumber = 0;
  std::uint64_t LastNumber = 0;
};

class GAUGERY_PLATFORM_API TCounterLogReader {
 public:
  // Opens the first volume of File and reads its header and names. Exception with a
  // message naming the file when it cannot be read, is not a counter log, is of a newer
  // format version, or its header or names section is truncated or damaged. A later
  // volume like that is skipped with a warning.
  explicit TCounterLogReader(const std::string& File);
  // The same for a log held in memory, called Name in messages.
  TCounterLogReader(std::vector<BYTE> Bytes, const std::string& Name);
  ~TCounterLogReader();
  TCounterLogReader(const TCounterLogReader&) = delete;
  TCounterLogReader& operator=(const TCounterLogReader&) = delete;

  // The machine as the first volume names it.
  const TLogMachine& Machine() const;
  // The names in force for the last entry read; NamesVersion changes when they do.
  const TLogNames& Names() const;
  std::uint64_t NamesVersion() const;

  // The next sample or gap; false at the end of the log.
  bool Next(TLogEntry& Entry);
  // Makes the next entry the first one at or after Time (a file time), or the first
  // sample when Time lies before it. Reads only the index and the records from the
  // last full sample before Time.
  void Seek(std::int64_t Time);
  // Makes the next sample the one numbered Number (samples are numbered on across
  // volumes), or the first after it when that one cannot be read; the first sample
  // when Number lies before it. Reads as Seek does, from the last full sample before it.
  void SeekNumber(std::uint64_t Number);
  // Reads from the first entry again.
  void Rewind();
  TLogExtent Extent();
  // The bytes of all the volumes, those that could not be read included.
  std::uint64_t Size();

  // What was found wrong since the last call, one message each, oldest first.
  std::vector<std::string> TakeWarnings();

 private:
  struct TState;
  std::unique_ptr<TState> State_;
};

}  // namespace gaugery
