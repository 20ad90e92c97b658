#include "perf/ReplayProvider.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>
#include <utility>

#include "framework/Exceptions.h"
#include "registry/PerfValueName.h"
#include "registry/Registry.h"

namespace gaugery {

namespace {

using TBlockBytes = std::vector<BYTE>;

constexpr DWORD kHeaderSize = sizeof(TPERF_DATA_BLOCK);
constexpr DWORD kObjectHeaderSize = sizeof(TPERF_OBJECT_TYPE);
// A header-only block made for a capture without a usable header: the 88 bytes and an
// empty system name, padded to 8 bytes.
constexpr DWORD kBareHeaderLength = kHeaderSize + 8;

// The blocks to serve and the position of the next one. Collect is a plain function,
// so the state lives here; the lock makes replacing it safe while the registry queries.
struct TReplayState {
  std::mutex Lock;
  std::vector<TBlockBytes> Blocks;
  std::size_t Next = 0;
};
TReplayState Replay;

[[noreturn]] void RaiseUnreadable(const std::string& File, const char* Reason) {
  throw Exception("Cannot read capture file \"" + File + "\": " + Reason);
}

TBlockBytes ReadCaptureFile(const std::string& File) {
  std::unique_ptr<FILE, int (*)(FILE*)> Stream(std::fopen(File.c_str(), "rb"), &std::fclose);
  if (!Stream) RaiseUnreadable(File, std::strerror(errno));
  TBlockBytes Bytes;
  BYTE Chunk[65536];
  std::size_t Read = 0;
  while ((Read = std::fread(Chunk, 1, sizeof Chunk, Stream.get())) > 0) {
    if (Bytes.size() + Read > UINT32_MAX) RaiseUnreadable(File, std::strerror(EFBIG));
    Bytes.insert(Bytes.end(), Chunk, Chunk + Read);
  }
  if (std::ferror(Stream.get())) RaiseUnreadable(File, std::strerror(errno));
  if (Bytes.empty()) RaiseUnreadable(File, "File is empty");
  return Bytes;
}

template <typename TRecord>
TRecord ReadRecord(const TBlockBytes& Block, std::uint64_t Offset) {
  TRecord Record;
  std::memcpy(&Record, Block.data() + Offset, sizeof Record);
  return Record;
}

// What of a captured block can be walked safely. A header is sound when it and the
// system name lie inside the block; the objects are when each one, walked from the
// header, lies inside the block's TotalByteLength and that inside the file.
struct TCaptureLayout {
  bool HeaderSound = false;
  bool ObjectsSound = false;
  TPERF_DATA_BLOCK Header{};
};

TCaptureLayout InspectCapture(const TBlockBytes& Block) {
  TCaptureLayout Layout;
  if (Block.size() < kHeaderSize) return Layout;
  const TPERF_DATA_BLOCK Header = ReadRecord<TPERF_DATA_BLOCK>(Block, 0);
  Layout.Header = Header;
  std::uint64_t NameEnd = std::uint64_t{Header.SystemNameOffset} + Header.SystemNameLength;
  Layout.HeaderSound = Header.HeaderLength >= kHeaderSize && Header.HeaderLength <= Block.size() &&
                       Header.SystemNameOffset >= kHeaderSize && NameEnd <= Header.HeaderLength;
  if (!Layout.HeaderSound) return Layout;
  if (Header.TotalByteLength < Header.HeaderLength || Header.TotalByteLength > Block.size()) {
    return Layout;
  }
  std::uint64_t Offset = Header.HeaderLength;
  for (DWORD Index = 0; Index < Header.NumObjectTypes; ++Index) {
    if (Offset + kObjectHeaderSize > Header.TotalByteLength) return Layout;
    DWORD Length = ReadRecord<TPERF_OBJECT_TYPE>(Block, Offset).TotalByteLength;
    // Every object is at least a header long, so the walk ends within the block.
    if (Length < kObjectHeaderSize || Offset + Length > Header.TotalByteLength) return Layout;
    Offset += Length;
  }
  Layout.ObjectsSound = true;
  return Layout;
}

// Calls Visit(offset, length) for every object of a sound capture.
template <typename TVisit>
void ForEachObject(const TBlockBytes& Block, const TCaptureLayout& Layout, TVisit Visit) {
  std::uint64_t Offset = Layout.Header.HeaderLength;
  for (DWORD Index = 0; Index < Layout.Header.NumObjectTypes; ++Index) {
    const TPERF_OBJECT_TYPE Object = ReadRecord<TPERF_OBJECT_TYPE>(Block, Offset);
    Visit(Offset, Object);
    Offset += Object.TotalByteLength;
  }
}

// The answer to a query for part of a block: its header and the objects selected.
class TFilteredBlock {
 public:
  TFilteredBlock(const TBlockBytes& Block, LPCWSTR ValueName)
      : Block_(Block), Layout_(InspectCapture(Block)) {
    bool IndexList = ClassifyPerfValueName(ValueName) == TPerfValueKind::IndexList;
    // A copy of the packed field: a reference to it may be misaligned.
    HeaderLength_ = Layout_.HeaderSound ? DWORD{Layout_.Header.HeaderLength} : kBareHeaderLength;
    Length_ = HeaderLength_;
    if (!IndexList || !Layout_.ObjectsSound) return;
    ForEachObject(Block_, Layout_, [&](std::uint64_t, const TPERF_OBJECT_TYPE& Object) {
      if (!PerfIndexListContains(ValueName, Object.ObjectNameTitleIndex)) return;
      Length_ += Object.TotalByteLength;
      ++NumObjectTypes_;
    });
    ValueName_ = ValueName;
  }

  DWORD Length() const { return static_cast<DWORD>(Length_); }
  DWORD NumObjectTypes() const { return NumObjectTypes_; }

  void Write(BYTE* Out) const {
    TPERF_DATA_BLOCK Header = Layout_.Header;
    if (Layout_.HeaderSound) {
      std::memcpy(Out, Block_.data(), HeaderLength_);
    } else {
      std::memset(Out, 0, kBareHeaderLength);
      Header.HeaderLength = kBareHeaderLength;
      Header.SystemNameOffset = kHeaderSize;
      Header.SystemNameLength = sizeof(WCHAR);
    }
    Header.TotalByteLength = Length();
    Header.NumObjectTypes = NumObjectTypes_;
    std::memcpy(Out, &Header, kHeaderSize);
    if (NumObjectTypes_ == 0) return;
    BYTE* Cursor = Out + HeaderLength_;
    ForEachObject(Block_, Layout_, [&](std::uint64_t Offset, const TPERF_OBJECT_TYPE& Object) {
      if (!PerfIndexListContains(ValueName_, Object.ObjectNameTitleIndex)) return;
      std::memcpy(Cursor, Block_.data() + Offset, Object.TotalByteLength);
      Cursor += Object.TotalByteLength;
    });
  }

 private:
  const TBlockBytes& Block_;
  TCaptureLayout Layout_;
  LPCWSTR ValueName_ = nullptr;
  DWORD HeaderLength_ = 0;
  std::uint64_t Length_ = 0;
  DWORD NumObjectTypes_ = 0;
};

DWORD WholeBlockObjects(const TBlockBytes& Block) {
  return Block.size() < kHeaderSize ? 0 : ReadRecord<TPERF_DATA_BLOCK>(Block, 0).NumObjectTypes;
}

DWORD GAUGERY_WINAPI CollectReplay(LPWSTR ValueName, PPointer Data, LPDWORD TotalBytes,
                                   LPDWORD NumObjectTypes) {
  std::lock_guard<std::mutex> Guard(Replay.Lock);
  DWORD Space = *TotalBytes;
  *TotalBytes = 0;
  *NumObjectTypes = 0;
  if (Replay.Blocks.empty()) return ERROR_FILE_NOT_FOUND;
  const TBlockBytes& Block = Replay.Blocks[Replay.Next];
  auto* Out = static_cast<BYTE*>(*Data);
  DWORD Written = 0;
  DWORD Objects = 0;
  if (ClassifyPerfValueName(ValueName) == TPerfValueKind::Global) {
    Written = static_cast<DWORD>(Block.size());
    if (Space < Written) return ERROR_MORE_DATA;
    std::memcpy(Out, Block.data(), Written);
    Objects = WholeBlockObjects(Block);
  } else {
    TFilteredBlock Filtered(Block, ValueName);
    Written = Filtered.Length();
    if (Space < Written) return ERROR_MORE_DATA;
    Filtered.Write(Out);
    Objects = Filtered.NumObjectTypes();
  }
  *Data = Out + Written;
  *TotalBytes = Written;
  *NumObjectTypes = Objects;
  Replay.Next = std::min(Replay.Next + 1, Replay.Blocks.size() - 1);
  return ERROR_SUCCESS;
}

}  // namespace

TPerfProvider ReplayProvider(const std::vector<std::string>& Files) {
  if (Files.empty()) throw Exception("No capture file given");
  std::vector<TBlockBytes> Blocks;
  for (const std::string& File : Files) Blocks.push_back(ReadCaptureFile(File));
  {
    std::lock_guard<std::mutex> Guard(Replay.Lock);
    Replay.Blocks = std::move(Blocks);
    Replay.Next = 0;
  }
  TPerfProvider Provider;
  Provider.Name = "Replay";
  Provider.Collect = &CollectReplay;
  Provider.WritesWholeBlock = true;
  return Provider;
}

void RestartReplay() {
  std::lock_guard<std::mutex> Guard(Replay.Lock);
  Replay.Next = 0;
}

}  // namespace gaugery
