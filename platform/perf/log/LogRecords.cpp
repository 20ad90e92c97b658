#include "perf/log/LogRecords.h"

#include <zlib.h>

#include <algorithm>

#include "framework/Exceptions.h"
#include "perf/log/LogBytes.h"
#include "perf/log/LogFrame.h"

namespace gaugery::counterlog {

namespace {

// Deflate never shrinks data by more than this; a claimed size beyond it is damage.
constexpr std::uint64_t kLargestInflation = 1032;

std::vector<BYTE> Compress(const std::vector<BYTE>& Data) {
  uLongf Size = compressBound(static_cast<uLong>(Data.size()));
  std::vector<BYTE> Packed(Size);
  if (compress2(Packed.data(), &Size, Data.data(), static_cast<uLong>(Data.size()),
                Z_DEFAULT_COMPRESSION) != Z_OK) {
    throw Exception("Cannot compress a counter log record");
  }
  Packed.resize(Size);
  return Packed;
}

// Inflates the rest of In into exactly Size bytes.
std::vector<BYTE> Uncompress(TByteReader& In, std::uint64_t Size) {
  const std::size_t Packed = In.Remaining();
  if (Size > kLargestRecordBody || Size > Packed * kLargestInflation + 64) {
    In.Fail("its size does not fit its compressed bytes");
  }
  const BYTE* Source = In.Bytes(Packed);
  std::vector<BYTE> Data(static_cast<std::size_t>(Size));
  uLongf Made = static_cast<uLongf>(Size);
  // uncompress wants a non-null destination even for nothing.
  BYTE Empty = 0;
  if (uncompress(Data.empty() ? &Empty : Data.data(), &Made, Source, static_cast<uLong>(Packed)) !=
          Z_OK ||
      Made != Size) {
    In.Fail("its compressed bytes do not inflate to its size");
  }
  return Data;
}

// A multi-string as a Perflib value holds it: strings each ended by NUL, the whole
// ended by an extra NUL (a lone NUL when it holds none).
bool IsMultiString(const WideString& Text) {
  if (Text.empty() || Text.back() != 0) return false;
  return Text.size() == 1 || Text[Text.size() - 2] == 0;
}

void ExpectEnd(const TByteReader& In) {
  if (In.Remaining() != 0) In.Fail("it holds more than its fields");
}

}  // namespace

std::vector<BYTE> HeaderBody(const TLogMachine& Machine) {
  std::vector<BYTE> Body;
  TByteWriter Out(Body);
  Out.Text(Machine.ComputerName);
  Out.Text(Machine.System);
  Out.U32(static_cast<std::uint32_t>(Machine.Bias));
  Out.Text(Machine.TimeZoneName);
  Out.U64(static_cast<std::uint64_t>(Machine.StartTime));
  return Body;
}

TLogMachine ReadHeaderBody(const BYTE* Body, std::size_t Size) {
  TByteReader In(Body, Size, "the log's header");
  TLogMachine Machine;
  Machine.ComputerName = In.Text();
  Machine.System = In.Text();
  Machine.Bias = static_cast<LONG>(In.U32());
  Machine.TimeZoneName = In.Text();
  Machine.StartTime = static_cast<std::int64_t>(In.U64());
  ExpectEnd(In);
  return Machine;
}

std::vector<BYTE> NamesBody(const TLogNames& Names) {
  std::vector<BYTE> Tables;
  TByteWriter Table(Tables);
  Table.Number(Names.size());
  for (const TLogLocaleNames& Locale : Names) {
    Table.Text(Locale.Locale);
    Table.Wide(Locale.Counter);
    Table.Wide(Locale.Help);
  }
  std::vector<BYTE> Body;
  TByteWriter Out(Body);
  Out.U32(static_cast<std::uint32_t>(Tables.size()));
  const std::vector<BYTE> Packed = Compress(Tables);
  Out.Bytes(Packed.data(), Packed.size());
  return Body;
}

TLogNames ReadNamesBody(const BYTE* Body, std::size_t Size) {
  TByteReader Packed(Body, Size, "the log's names section");
  const std::uint32_t TablesSize = Packed.U32();
  const std::vector<BYTE> Tables = Uncompress(Packed, TablesSize);
  TByteReader In(Tables.data(), Tables.size(), "the log's names section");
  const std::uint64_t Count = In.Number();
  TLogNames Names;
  for (std::uint64_t Locale = 0; Locale < Count; ++Locale) {
    TLogLocaleNames Entry;
    Entry.Locale = In.Text();
    Entry.Counter = In.Wide();
    Entry.Help = In.Wide();
    if (!IsMultiString(Entry.Counter) || !IsMultiString(Entry.Help)) {
      In.Fail("the tables of locale \"" + Entry.Locale + "\" are not multi-strings");
    }
    Names.push_back(std::move(Entry));
  }
  ExpectEnd(In);
  return Names;
}

std::uint32_t BlockChecksum(const std::vector<BYTE>& Block) {
  return static_cast<std::uint32_t>(
      crc32(0L, Block.data(), static_cast<uInt>(std::min<std::size_t>(Block.size(), 0xFFFFFFFFu))));
}

std::vector<BYTE> SampleBody(const TSampleRecord& Sample) {
  std::vector<BYTE> Body;
  TByteWriter Out(Body);
  Out.U64(Sample.Number);
  Out.U64(static_cast<std::uint64_t>(Sample.Time));
  Out.U8(Sample.Full ? 0 : 1);
  Out.U32(Sample.BlockSize);
  Out.U32(Sample.BlockChecksum);
  Out.U32(static_cast<std::uint32_t>(Sample.Payload.size()));
  const std::vector<BYTE> Packed = Compress(Sample.Payload);
  Out.Bytes(Packed.data(), Packed.size());
  return Body;
}

TSampleRecord ReadSampleHead(const BYTE* Body) {
  TByteReader In(Body, kSampleHeadSize, "a sample record");
  TSampleRecord Sample;
  Sample.Number = In.U64();
  Sample.Time = static_cast<std::int64_t>(In.U64());
  Sample.Full = In.U8() == 0;
  return Sample;
}

TSampleRecord ReadSampleBody(const BYTE* Body, std::size_t Size) {
  TByteReader In(Body, Size, "a sample record");
  TSampleRecord Sample = ReadSampleHead(In.Bytes(kSampleHeadSize));
  if (Body[kSampleHeadSize - 1] > 1) In.Fail("its form is unknown");
  Sample.BlockSize = In.U32();
  Sample.BlockChecksum = In.U32();
  Sample.Payload = Uncompress(In, In.U32());
  if (Sample.Full && Sample.Payload.size() != Sample.BlockSize) {
    In.Fail("its block does not have its size");
  }
  return Sample;
}

std::vector<BYTE> GapBody(const TGapRecord& Gap) {
  std::vector<BYTE> Body;
  TByteWriter Out(Body);
  Out.U64(static_cast<std::uint64_t>(Gap.Time));
  Out.Text(Gap.Reason);
  return Body;
}

TGapRecord ReadGapBody(const BYTE* Body, std::size_t Size) {
  TByteReader In(Body, Size, "a gap record");
  TGapRecord Gap;
  Gap.Time = static_cast<std::int64_t>(In.U64());
  Gap.Reason = In.Text();
  ExpectEnd(In);
  return Gap;
}

std::vector<BYTE> IndexBody(const TIndexRecord& Index) {
  std::vector<BYTE> Body;
  TByteWriter Out(Body);
  Out.U64(Index.Previous);
  Out.U32(static_cast<std::uint32_t>(Index.Entries.size()));
  for (const TIndexEntry& Entry : Index.Entries) {
    Out.U64(Entry.Number);
    Out.U64(static_cast<std::uint64_t>(Entry.Time));
    Out.U64(Entry.Offset);
    Out.U64(Entry.NamesOffset);
  }
  return Body;
}

TIndexRecord ReadIndexBody(const BYTE* Body, std::size_t Size) {
  TByteReader In(Body, Size, "an index record");
  TIndexRecord Index;
  Index.Previous = In.U64();
  const std::uint32_t Count = In.U32();
  if (Count != In.Remaining() / 32 || In.Remaining() % 32 != 0) In.Fail("its entries are cut");
  Index.Entries.resize(Count);
  for (TIndexEntry& Entry : Index.Entries) {
    Entry.Number = In.U64();
    Entry.Time = static_cast<std::int64_t>(In.U64());
    Entry.Offset = In.U64();
    Entry.NamesOffset = In.U64();
  }
  return Index;
}

std::vector<BYTE> EndBody(const TEndRecord& End) {
  std::vector<BYTE> Body;
  TByteWriter Out(Body);
  Out.U64(End.LastIndex);
  Out.U64(End.Samples);
  Out.U64(static_cast<std::uint64_t>(End.FirstTime));
  Out.U64(static_cast<std::uint64_t>(End.LastTime));
  return Body;
}

TEndRecord ReadEndBody(const BYTE* Body, std::size_t Size) {
  TByteReader In(Body, Size, "the log's end record");
  TEndRecord End;
  End.LastIndex = In.U64();
  End.Samples = In.U64();
  End.FirstTime = static_cast<std::int64_t>(In.U64());
  End.LastTime = static_cast<std::int64_t>(In.U64());
  ExpectEnd(In);
  return End;
}

}  // namespace gaugery::counterlog
