// Snapshots of a computer's performance data block and the process-wide registry
// that shares one snapshot per computer name between all components.
#pragma once

#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "WinPerf.h"
#include "framework/LibraryExport.h"
#include "framework/TObject.h"
#include "framework/TStringList.h"
#include "registry/Registry.h"

namespace gaugery {

// How the latest refresh of a snapshot went.
enum class TRefreshResult {
  // The new block was kept as it came.
  Whole,
  // The new block was kept with NumObjectTypes cut to the objects before its first
  // malformed one.
  Cut,
  // The new block's header was malformed; the block before stays current.
  Refused,
  // The query returned no block; the block before stays current.
  Failed,
};

struct GAUGERY_RUNTIME_API TRefreshReport {
  TRefreshResult Result = TRefreshResult::Failed;
  // NumObjectTypes of the new block as it came, and as kept (both 0 when the block
  // was refused or none came).
  DWORD Objects = 0;
  DWORD KeptObjects = 0;
  // What was wrong, in words; empty for a whole block.
  std::string Problem;
};

// Owns the latest data block of one computer and a copy of the header before it.
//
// A refresh reads into a spare buffer and keeps the new block only when the query
// succeeded and the block's header checks out (CheckBlock); a block with a malformed
// object is kept up to the object before it. Otherwise the current block stays.
// Every accepted block gets a generation number unique in the process, so that
// positions found in an older block can be recognised as stale.
class GAUGERY_RUNTIME_API TPerfData : public TObject {
 public:
  // Connects to ComputerName's HKEY_PERFORMANCE_DATA when it is not empty (Exception
  // "Error connecting to remote registry on %s (%d)" on failure) and reads the first
  // sample of the value Key.
  TPerfData(const std::string& Key, const std::string& ComputerName);
  // Closes the key and frees the buffers.
  ~TPerfData() override;

  // Saves the current header as the previous one, then reads a new sample.
  void Refresh();

  // Makes the snapshot carry the object with title index ObjectIndex, which a value
  // such as "Global" may leave out because it is costly to read. When the current block
  // lacks it, the value becomes the index list of the block's objects and this one and
  // the block is read again, keeping the previous header. True when the block now holds
  // the object. An object that an earlier block carried is merely absent from this one
  // and is not asked for; one that does not come is remembered and not asked for
  // again, and the value stays as it was. So a snapshot whose components name only
  // objects it holds never reads more.
  bool IncludeObject(DWORD ObjectIndex);

  SYSTEMTIME SystemTime() const;
  std::int64_t PerfTime() const;
  std::int64_t PerfFreq() const;
  std::int64_t PerfTime100nSec() const;
  // The measured computer's name as the block stores it.
  std::string SystemName() const;

  const std::string& Key() const { return Key_; }
  // The current block; all zero bytes until a first block was accepted.
  PPERF_DATA_BLOCK PerfData() { return reinterpret_cast<PPERF_DATA_BLOCK>(Current_.data()); }
  // The header that was current before the latest Refresh.
  PPERF_DATA_BLOCK GetPrevPerfData() { return &PrevPerfData_; }
  PPERF_DATA_BLOCK PrevPerfData() { return GetPrevPerfData(); }
  const std::string& ComputerName() const { return ComputerName_; }
  // Number of the current block; 0 while no block has been accepted.
  std::uint64_t Generation() const { return Generation_; }
  // The size offered to the registry: 8192 at first, doubled whenever a query needs
  // more. Each buffer holds a little more, as a margin against registries that write
  // past the size they were offered.
  DWORD BufferSize() const { return BufferSize_; }
  // How the latest refresh (the one of the constructor included) went.
  const TRefreshReport& LastRefresh() const { return LastRefresh_; }

 private:
  const TPERF_DATA_BLOCK& Header() const;
  // Reads a new sample into the current block; the previous header is not touched.
  void ReadSample();
  bool HoldsObject(DWORD ObjectIndex);
  // The index list of the current block's objects followed by ObjectIndex.
  std::string ObjectListWith(DWORD ObjectIndex);
  void SetKey(const std::string& Key);
  void NoteObjects();
  // Queries into the spare buffer, growing it while the answer is ERROR_MORE_DATA.
  // Size receives the bytes returned; the result is the query's, ERROR_MORE_DATA when
  // the buffer cannot grow further.
  LONG QueryIntoSpare(DWORD& Size);
  // Makes the spare buffer's block current, cut to KeptObjects objects.
  void AcceptSpare(DWORD KeptObjects);

  HKEY HKey_ = nullptr;
  std::string Key_;
  DWORD BufferSize_ = 0;
  std::vector<BYTE> Current_;
  TPERF_DATA_BLOCK PrevPerfData_{};
  std::string ComputerName_;
  WideString WideKey_;
  std::vector<BYTE> Spare_;
  std::uint64_t Generation_ = 0;
  TRefreshReport LastRefresh_;
  // Objects that IncludeObject asked for in vain, and those the accepted blocks carried.
  std::set<DWORD> Absent_;
  std::set<DWORD> Seen_;
};

// One line of the snapshot registry: the shared snapshot and its number of holders.
class GAUGERY_RUNTIME_API TPerfDataEntry : public TObject {
 public:
  std::unique_ptr<TPerfData> PerfData;
  LONG RefCount = 0;
};

// The snapshot registry: one line per upper-cased computer name (empty for the
// local computer), its object a TPerfDataEntry.
class GAUGERY_RUNTIME_API TPerfDataList : public TStringList {
 public:
  // Position of the line whose entry holds exactly this snapshot, or -1.
  int IndexOfPerfData(const TPerfData* PerfData) const;
  // The entry of a line (null when the line has none).
  TPerfDataEntry* Entries(int Index) const;
};

// The process-wide registry, created when the library is loaded. At unload every
// snapshot still registered is destroyed, then the registry.
GAUGERY_RUNTIME_API TPerfDataList* GlobalPerfDataList();

// The shared snapshot of ComputerName (letter case ignored; empty for the local
// computer), created on first request, with one more holder counted.
GAUGERY_RUNTIME_API TPerfData* GetGlobalPerfData(const std::string& ComputerName);

// Drops one holder of the snapshot; the last one destroys it. Nothing happens for a
// snapshot that is not registered or a null reference. PerfData is left unchanged.
GAUGERY_RUNTIME_API void ReleaseGlobalPerfData(TPerfData*& PerfData);

}  // namespace gaugery
