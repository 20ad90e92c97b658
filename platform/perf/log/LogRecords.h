// The bodies of counter log records: what each kind holds and how it is laid out
// (docs/log-format.md). Every Read function raises an Exception for a body that does not
// hold what its kind says, and never allocates more than its body can justify.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "framework/WinTypes.h"
#include "perf/log/CounterLog.h"

namespace gaugery::counterlog {

std::vector<BYTE> HeaderBody(const TLogMachine& Machine);
TLogMachine ReadHeaderBody(const BYTE* Body, std::size_t Size);

// Compressed; every multi-string must be well-formed to be read back.
std::vector<BYTE> NamesBody(const TLogNames& Names);
TLogNames ReadNamesBody(const BYTE* Body, std::size_t Size);

// A sample: the block whole (Full) or as a delta against the sample numbered one less.
struct TSampleRecord {
  std::uint64_t Number = 0;  // from 1
  std::int64_t Time = 0;     // file time
  bool Full = true;
  DWORD BlockSize = 0;
  std::uint32_t BlockChecksum = 0;
  std::vector<BYTE> Payload;  // the block or the delta, uncompressed
};
// The uncompressed start of a sample body: number, time and form.
inline constexpr std::size_t kSampleHeadSize = 17;

std::vector<BYTE> SampleBody(const TSampleRecord& Sample);
TSampleRecord ReadSampleBody(const BYTE* Body, std::size_t Size);
// Number, Time and Full of the kSampleHeadSize bytes at Body.
TSampleRecord ReadSampleHead(const BYTE* Body);

std::uint32_t BlockChecksum(const std::vector<BYTE>& Block);

struct TGapRecord {
  std::int64_t Time = 0;
  std::string Reason;
};
std::vector<BYTE> GapBody(const TGapRecord& Gap);
TGapRecord ReadGapBody(const BYTE* Body, std::size_t Size);

// Where a full sample lies, and the names record in force there.
struct TIndexEntry {
  std::uint64_t Number = 0;
  std::int64_t Time = 0;
  std::uint64_t Offset = 0;
  std::uint64_t NamesOffset = 0;
};
// An index record lists the full samples since the one before it (at Previous), so that
// the chain read back from the last one lists them all; the one written at close lists
// every full sample and has no Previous (0).
struct TIndexRecord {
  std::uint64_t Previous = 0;
  std::vector<TIndexEntry> Entries;
};
std::vector<BYTE> IndexBody(const TIndexRecord& Index);
TIndexRecord ReadIndexBody(const BYTE* Body, std::size_t Size);

// The last record of a closed log, of a fixed size so that a reader finds it at the end.
struct TEndRecord {
  std::uint64_t LastIndex = 0;  // offset of the last index record; 0 when none
  std::uint64_t Samples = 0;
  std::int64_t FirstTime = 0;
  std::int64_t LastTime = 0;
};
inline constexpr std::size_t kEndBodySize = 32;
std::vector<BYTE> EndBody(const TEndRecord& End);
TEndRecord ReadEndBody(const BYTE* Body, std::size_t Size);

}  // namespace gaugery::counterlog
