#include "registry/PerfDataBlock.h"

#include <cstdint>
#include <cstring>
#include <optional>

#include "framework/WinTime.h"
#include "registry/HostName.h"
#include "registry/PerfValueName.h"
#include "registry/Registry.h"

namespace gaugery {

namespace {

constexpr DWORD kHeaderSize = sizeof(TPERF_DATA_BLOCK);
constexpr LONG kDefaultObject = 238;  // Processor
constexpr std::int64_t kPerfFreq = 10'000'000;

// The value name Collect receives: "Global" in its canonical spelling, an index list as
// given. Collect's parameter is not const, but providers only read it.
WCHAR GlobalName[] = GAUGERY_WTEXT("Global");
WCHAR EmptyName[] = GAUGERY_WTEXT("");

LPWSTR CollectArgument(TPerfValueKind Kind, LPCWSTR ValueName) {
  if (Kind == TPerfValueKind::Global) return GlobalName;
  return ValueName ? const_cast<LPWSTR>(ValueName) : EmptyName;
}

std::uint64_t AlignTo8(std::uint64_t Value) { return (Value + 7) & ~std::uint64_t{7}; }

// Fills the header and the system name that follows it.
void WriteHeader(LPBYTE Data, WideView SystemName, DWORD HeaderLength, DWORD TotalLength,
                 DWORD NumObjectTypes, const TPerfSampleTime& Time) {
  TPERF_DATA_BLOCK Header{};
  std::memcpy(Header.Signature, GAUGERY_WTEXT("PERF"), sizeof Header.Signature);
  Header.LittleEndian = 1;
  Header.Version = 1;
  Header.Revision = 1;
  Header.TotalByteLength = TotalLength;
  Header.HeaderLength = HeaderLength;
  Header.NumObjectTypes = NumObjectTypes;
  Header.DefaultObject = kDefaultObject;
  FILETIME SampleFileTime = Int64ToFileTime(Time.FileTime);
  FileTimeToSystemTime(&SampleFileTime, &Header.SystemTime);
  Header.PerfTime = Time.Monotonic;
  Header.PerfFreq = kPerfFreq;
  Header.PerfTime100nSec = Time.FileTime;
  Header.SystemNameLength = static_cast<DWORD>((SystemName.size() + 1) * sizeof(WCHAR));
  Header.SystemNameOffset = kHeaderSize;
  std::memcpy(Data, &Header, kHeaderSize);
  std::memset(Data + kHeaderSize, 0, HeaderLength - kHeaderSize);
  std::memcpy(Data + kHeaderSize, SystemName.data(), SystemName.size() * sizeof(WCHAR));
}

LONG CollectWholeBlock(TPerfProviderSlot& Slot, LPWSTR ValueName, LPBYTE Data, DWORD Size,
                       DWORD& Written) {
  if (!Data) return ERROR_MORE_DATA;
  void* Cursor = Data;
  DWORD Bytes = Size;
  DWORD Objects = 0;
  auto Result = static_cast<LONG>(Slot.Provider.Collect(ValueName, &Cursor, &Bytes, &Objects));
  if (Result != ERROR_SUCCESS) return Result;
  // A provider that reports more bytes than it was given has written past the buffer.
  if (Bytes > Size) return ERROR_INVALID_DATA;
  Written = Bytes;
  return ERROR_SUCCESS;
}

// A provider keeps to the contract when it wrote within the space it was given, moved
// the data pointer from Start past exactly the bytes it reports (objects written further
// on would leave stale bytes where the block says they begin), and every object it
// counts has at least a header's worth of those bytes.
bool KeptTheContract(const BYTE* Start, const void* Cursor, DWORD Bytes, DWORD Space,
                     DWORD Objects) {
  return Bytes <= Space && static_cast<const BYTE*>(Cursor) == Start + Bytes &&
         Objects <= Bytes / sizeof(TPERF_OBJECT_TYPE);
}

// Lets every provider with a Collect append its objects after the header. A provider
// that fails (other than for want of space) or breaks the contract contributes nothing.
// Time receives the sample time of the first provider that contributed and tells one.
LONG CollectObjects(std::vector<TPerfProviderSlot>& Providers, LPWSTR ValueName, LPBYTE Data,
                    DWORD Size, DWORD& Position, DWORD& NumObjectTypes,
                    std::optional<TPerfSampleTime>& Time) {
  for (TPerfProviderSlot& Slot : Providers) {
    if (!Slot.Provider.Collect || Slot.Provider.WritesWholeBlock) continue;
    if (!EnsurePerfProviderOpen(Slot)) continue;
    LPBYTE Start = Data + Position;
    void* Cursor = Start;
    DWORD Space = Size - Position;
    DWORD Bytes = Space;
    DWORD Objects = 0;
    DWORD Result = Slot.Provider.Collect(ValueName, &Cursor, &Bytes, &Objects);
    if (Result == static_cast<DWORD>(ERROR_MORE_DATA)) return ERROR_MORE_DATA;
    if (Result != ERROR_SUCCESS || !KeptTheContract(Start, Cursor, Bytes, Space, Objects)) continue;
    Position += Bytes;
    NumObjectTypes += Objects;
    if (!Time && Slot.Provider.SampleTime) Time = Slot.Provider.SampleTime();
  }
  return ERROR_SUCCESS;
}

}  // namespace

LONG QueryPerfDataBlock(std::vector<TPerfProviderSlot>& Providers, LPCWSTR ValueName,
                        LPBYTE Data, DWORD Size, DWORD& Written) {
  TPerfValueKind Kind = ClassifyPerfValueName(ValueName);
  LPWSTR Argument = CollectArgument(Kind, ValueName);
  for (TPerfProviderSlot& Slot : Providers) {
    if (Slot.Provider.WritesWholeBlock && Slot.Provider.Collect && EnsurePerfProviderOpen(Slot)) {
      return CollectWholeBlock(Slot, Argument, Data, Size, Written);
    }
  }

  WideView SystemName = LocalHostName();
  std::uint64_t HeaderLength = AlignTo8(kHeaderSize + (SystemName.size() + 1) * sizeof(WCHAR));
  if (!Data || Size < HeaderLength) return ERROR_MORE_DATA;

  auto Position = static_cast<DWORD>(HeaderLength);
  DWORD NumObjectTypes = 0;
  std::optional<TPerfSampleTime> Time;
  if (Kind != TPerfValueKind::Other && CollectObjects(Providers, Argument, Data, Size, Position,
                                                      NumObjectTypes, Time) != ERROR_SUCCESS) {
    return ERROR_MORE_DATA;
  }
  if (!Time) Time = TPerfSampleTime{NowAsFileTime(), MonotonicTime100ns()};
  std::uint64_t TotalLength = AlignTo8(Position);
  if (TotalLength > Size) return ERROR_MORE_DATA;
  std::memset(Data + Position, 0, TotalLength - Position);
  WriteHeader(Data, SystemName, static_cast<DWORD>(HeaderLength), static_cast<DWORD>(TotalLength),
              NumObjectTypes, *Time);
  Written = static_cast<DWORD>(TotalLength);
  return ERROR_SUCCESS;
}

}  // namespace gaugery
