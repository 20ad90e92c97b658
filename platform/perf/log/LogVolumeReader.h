// Reads one volume of a counter log (one file, or bytes in memory): its header and
// names, then sample by sample through damage, and by time through its index.
// CounterLogReader.h reads the volumes of a log in turn with it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "perf/log/CounterLogReader.h"
#include "perf/log/LogSource.h"

namespace gaugery::counterlog {

class TLogVolumeReader {
 public:
  // Reads the header and names; Exception for a source that is not a readable log.
  explicit TLogVolumeReader(std::unique_ptr<TLogSource> Source);
  ~TLogVolumeReader();
  TLogVolumeReader(const TLogVolumeReader&) = delete;
  TLogVolumeReader& operator=(const TLogVolumeReader&) = delete;

  const TLogMachine& Machine() const;
  const TLogNames& Names() const;
  std::uint64_t NamesVersion() const;
  bool Next(TLogEntry& Entry);
  void Seek(std::int64_t Time);
  void SeekNumber(std::uint64_t Number);
  void Rewind();
  TLogExtent Extent();
  // The bytes of the volume.
  std::uint64_t Size() const;
  std::vector<std::string> TakeWarnings();

 private:
  struct TState;
  std::unique_ptr<TState> State_;
};

}  // namespace gaugery::counterlog
