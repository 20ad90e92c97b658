#include "PerfData.h"

#include <atomic>
#include <cstddef>
#include <cstring>
#include <limits>
#include <string>

#include "registry/PerfBlockCheck.h"
#include "registry/RemoteRegistry.h"
#include "WinGaugery.h"
#include "framework/Format.h"
#include "framework/TextFunctions.h"
#include "framework/Unicode.h"

namespace gaugery {

namespace {

constexpr DWORD InitialBufferSize = 8192;
// Beyond this the doubled size would not fit in 32 bits.
constexpr DWORD LargestBufferSize = std::numeric_limits<DWORD>::max() / 2 + 1;
// Bytes each buffer has beyond the size offered to the registry. Wine hands a provider
// a place 88 bytes past where the block says its objects begin, together with all the
// room up to the end of the buffer, so a provider that fills that room writes 88 bytes
// past the size offered; the slack keeps such writes off the heap.
constexpr std::size_t RegistrySlack = 256;

std::size_t AllocatedSize(DWORD BufferSize) { return std::size_t{BufferSize} + RegistrySlack; }

// Calls Visit with the title index of each object of Block, in block order.
template <typename TVisit>
void ForEachObjectIndex(PPERF_DATA_BLOCK Block, TVisit Visit) {
  PPERF_OBJECT_TYPE Object = FirstObject(Block);
  for (DWORD Position = 0; Position < Block->NumObjectTypes; ++Position) {
    Visit(Object->ObjectNameTitleIndex);
    Object = NextObject(Object);
  }
}

// Generations are unique across all snapshots of the process, so a position found in
// one snapshot never matches another snapshot that happens to sit at the same address.
std::atomic<std::uint64_t> LastGeneration{0};

TPerfDataList* PerfDataListInstance = nullptr;

// Creates the registry when the library is loaded and empties it when it is unloaded.
struct TPerfDataUnit {
  TPerfDataUnit() { GlobalPerfDataList(); }
  ~TPerfDataUnit() {
    TPerfDataList* List = PerfDataListInstance;
    PerfDataListInstance = nullptr;
    for (int Index = 0; Index < List->Count(); ++Index) delete List->Entries(Index);
    delete List;
  }
} PerfDataUnit;

// The query's result code in words.
std::string QueryProblem(LONG Result) {
  if (Result == ERROR_MORE_DATA) return "the block would need more than 2 GiB";
  return Format("the query failed (error %d)", {Result});
}

HKEY ConnectPerformanceData(const std::string& ComputerName) {
  if (ComputerName.empty()) return HKEY_PERFORMANCE_DATA;
  HKEY Key = nullptr;
  const LONG Result =
      RegConnectRegistryW(ToWide(ComputerName).c_str(), HKEY_PERFORMANCE_DATA, &Key);
  if (Result != ERROR_SUCCESS) {
    throw Exception(WithRemoteConnectionNote(
        Format("Error connecting to remote registry on %s (%d)", {ComputerName, Result})));
  }
  return Key;
}

}  // namespace

TPerfData::TPerfData(const std::string& Key, const std::string& ComputerName)
    : Key_(Key),
      BufferSize_(InitialBufferSize),
      Current_(AllocatedSize(InitialBufferSize), 0),
      ComputerName_(ComputerName),
      WideKey_(ToWide(Key)),
      Spare_(AllocatedSize(InitialBufferSize), 0) {
  HKey_ = ConnectPerformanceData(ComputerName);
  try {
    Refresh();
  } catch (...) {
    RegCloseKey(HKey_);
    throw;
  }
}

TPerfData::~TPerfData() { RegCloseKey(HKey_); }

void TPerfData::Refresh() {
  std::memcpy(&PrevPerfData_, Current_.data(), sizeof PrevPerfData_);
  ReadSample();
}

void TPerfData::ReadSample() {
  DWORD Size = 0;
  const LONG Result = QueryIntoSpare(Size);
  if (Result != ERROR_SUCCESS) {
    LastRefresh_ = {TRefreshResult::Failed, 0, 0, QueryProblem(Result)};
  } else {
    TBlockCheck Check = CheckBlock(Spare_.data(), Size);
    if (!Check.HeaderSound) {
      LastRefresh_ = {TRefreshResult::Refused, 0, 0, std::move(Check.Problem)};
    } else {
      const TRefreshResult Kept = Check.WellFormed() ? TRefreshResult::Whole : TRefreshResult::Cut;
      LastRefresh_ = {Kept, Check.Objects, Check.SoundObjects, std::move(Check.Problem)};
      AcceptSpare(Check.SoundObjects);
    }
  }
  // Both buffers keep the grown size, so that a steady-state refresh allocates nothing.
  if (Spare_.size() < AllocatedSize(BufferSize_)) Spare_.assign(AllocatedSize(BufferSize_), 0);
}

bool TPerfData::IncludeObject(DWORD ObjectIndex) {
  if (HoldsObject(ObjectIndex)) return true;
  // Without an accepted block the objects that the value brings are not known.
  if (Generation_ == 0 || Absent_.contains(ObjectIndex) || Seen_.contains(ObjectIndex)) {
    return false;
  }
  const std::string Before = Key_;
  SetKey(ObjectListWith(ObjectIndex));
  ReadSample();
  if (HoldsObject(ObjectIndex)) return true;
  Absent_.insert(ObjectIndex);
  SetKey(Before);
  return false;
}

bool TPerfData::HoldsObject(DWORD ObjectIndex) {
  bool Holds = false;
  ForEachObjectIndex(PerfData(), [&](DWORD Index) { Holds = Holds || Index == ObjectIndex; });
  return Holds;
}

std::string TPerfData::ObjectListWith(DWORD ObjectIndex) {
  std::string List;
  ForEachObjectIndex(PerfData(), [&](DWORD Index) { List += std::to_string(Index) + ' '; });
  return List + std::to_string(ObjectIndex);
}

void TPerfData::SetKey(const std::string& Key) {
  Key_ = Key;
  WideKey_ = ToWide(Key);
}

LONG TPerfData::QueryIntoSpare(DWORD& Size) {
  for (;;) {
    Size = BufferSize_;
    const LONG Result =
        RegQueryValueExW(HKey_, WideKey_.c_str(), nullptr, nullptr, Spare_.data(), &Size);
    if (Result != ERROR_MORE_DATA) {
      // A size beyond what was offered would make the check read past the block.
      return Result == ERROR_SUCCESS && Size > BufferSize_ ? ERROR_INVALID_DATA : Result;
    }
    if (BufferSize_ >= LargestBufferSize) return ERROR_MORE_DATA;
    BufferSize_ *= 2;
    Spare_.assign(AllocatedSize(BufferSize_), 0);
  }
}

void TPerfData::AcceptSpare(DWORD KeptObjects) {
  std::memcpy(Spare_.data() + offsetof(TPERF_DATA_BLOCK, NumObjectTypes), &KeptObjects,
              sizeof KeptObjects);
  Current_.swap(Spare_);
  Generation_ = ++LastGeneration;
  NoteObjects();
}

// Runs on every accepted block, so it must not allocate: the set holds these indexes
// already in the steady state.
void TPerfData::NoteObjects() {
  ForEachObjectIndex(PerfData(), [&](DWORD Index) { Seen_.insert(Index); });
}

const TPERF_DATA_BLOCK& TPerfData::Header() const {
  return *reinterpret_cast<const TPERF_DATA_BLOCK*>(Current_.data());
}

SYSTEMTIME TPerfData::SystemTime() const { return Header().SystemTime; }
std::int64_t TPerfData::PerfTime() const { return Header().PerfTime; }
std::int64_t TPerfData::PerfFreq() const { return Header().PerfFreq; }
std::int64_t TPerfData::PerfTime100nSec() const { return Header().PerfTime100nSec; }

std::string TPerfData::SystemName() const {
  return WideTextAt(Current_.data() + static_cast<std::size_t>(Header().SystemNameOffset));
}

TPerfDataEntry* TPerfDataList::Entries(int Index) const {
  return static_cast<TPerfDataEntry*>(Objects(Index));
}

int TPerfDataList::IndexOfPerfData(const TPerfData* PerfData) const {
  for (int Index = 0; Index < Count(); ++Index) {
    const TPerfDataEntry* Entry = Entries(Index);
    if (Entry != nullptr && Entry->PerfData.get() == PerfData) return Index;
  }
  return -1;
}

TPerfDataList* GlobalPerfDataList() {
  if (PerfDataListInstance == nullptr) PerfDataListInstance = new TPerfDataList;
  return PerfDataListInstance;
}

TPerfData* GetGlobalPerfData(const std::string& ComputerName) {
  TPerfDataList* List = GlobalPerfDataList();
  const std::string Name = UpperCase(ComputerName);
  int Index = List->IndexOf(Name);
  if (Index < 0) {
    // The snapshot is made first: a failed connection leaves nothing registered.
    auto Entry = std::make_unique<TPerfDataEntry>();
    Entry->PerfData = std::make_unique<TPerfData>("Global", ComputerName);
    Index = List->AddObject(Name, Entry.get());
    Entry.release();
  }
  TPerfDataEntry* Entry = List->Entries(Index);
  ++Entry->RefCount;
  return Entry->PerfData.get();
}

void ReleaseGlobalPerfData(TPerfData*& PerfData) {
  TPerfDataList* List = PerfDataListInstance;
  if (List == nullptr || PerfData == nullptr) return;
  const int Index = List->IndexOfPerfData(PerfData);
  if (Index < 0) return;
  TPerfDataEntry* Entry = List->Entries(Index);
  if (Entry->RefCount <= 0) return;
  if (--Entry->RefCount == 0) {
    List->Delete(Index);
    delete Entry;
  }
}

}  // namespace gaugery
